#pragma once

#include <string>

#include "editor/option_ui.h"
#include "settings/option_values.h"
#include "settings/settings.h"
#include "settings/start_sizes.h"

namespace gk {

// What the options command works on.
struct OptionContext {
  Settings& settings;
  // The sizes the dialog opens with: the program's current ones.
  StartSizes shown;
  const std::string& iniPath;
  OptionUi& ui;
};

// "Window=<w> x <h>" from the dot-size and edit-window boxes, "Window=???" when one does not
// convert; products wrap at 32 bits.
std::string WindowSizeLabel(const OptionValues& values);

// The "&Option" command: fill, show, and on OK store, write and ask for a restart.
void BtnOptionClick(const OptionContext& ctx);

}  // namespace gk
