#pragma once

#include <string>

#include "workspace/editor_context.h"

namespace gk {

// "Window=<w> x <h>" from the dot-size and edit-window boxes, "Window=???" when one does not
// convert; products wrap at 32 bits.
std::string WindowSizeLabel(const OptionValues& values);

// The "&Option" command: fill, show, and on OK store, write and ask for a restart.
void BtnOptionClick(EditorContext& ctx);

}  // namespace gk
