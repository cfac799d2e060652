#include "editor/handler_guard.h"

namespace gk {

void ShowErrorBox(MessageUi& ui, const std::string& appTitle, const std::string& text) {
  ui.ShowMessage(text, appTitle, MessageButtons::Ok, MessageIcon::Stop);
}

}  // namespace gk
