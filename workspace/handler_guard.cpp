#include "workspace/handler_guard.h"

#include <cctype>

namespace gk {

std::string ApplicationTitle(const std::string& executableFileName) {
  std::string title = executableFileName.substr(0, executableFileName.find('.'));
  for (std::size_t i = 1; i < title.size(); ++i) {
    title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
  }
  return title;
}

void ShowErrorBox(EditorUi& ui, const std::string& appTitle, const std::string& text) {
  ui.ShowMessage(text, appTitle, MessageButtons::Ok, MessageIcon::Stop);
}

}  // namespace gk
