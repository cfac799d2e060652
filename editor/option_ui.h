#pragma once

#include "editor/message_ui.h"
#include "settings/option_values.h"

namespace gk {

// What the options command needs of the window: the dialog and the message boxes.
class OptionUi : public MessageUi {
 public:
  // FrmOption filled from `values`; true on OK with `values` holding what the user left there.
  virtual bool RunOptionDialog(OptionValues& values) = 0;
};

}  // namespace gk
