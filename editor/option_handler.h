#pragma once

#include "editor/editor_context.h"

namespace gk {

// The "&Option" item: the options command over the editor's settings list, its current sizes
// and its settings file.
void BtnOptionClick(EditorContext& ctx);

}  // namespace gk
