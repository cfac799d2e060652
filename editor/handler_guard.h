#pragma once

#include <exception>
#include <string>

#include "editor/message_ui.h"

namespace gk {

// The error box: the text, the application title as caption, the stop icon and OK. The window's
// handlers and the start of the program both show their failures in it.
void ShowErrorBox(MessageUi& ui, const std::string& appTitle, const std::string& text);

// Runs one handler; an error that escapes it is shown in the error box and the program goes on
// with the state the handler had reached.
template <typename Handler>
void Guarded(MessageUi& ui, const std::string& appTitle, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowErrorBox(ui, appTitle, e.what());
  } catch (...) {
    ShowErrorBox(ui, appTitle, "");
  }
}

}  // namespace gk
