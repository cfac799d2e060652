#pragma once

#include <exception>
#include <string>

#include "workspace/editor_ui.h"

namespace gk {

// The executable's file name up to its first full stop, all but its first character in lower
// case: "gridkiln" for our program.
std::string ApplicationTitle(const std::string& executableFileName);

// The error box: the text, the application title as caption, the stop icon and OK.
void ShowErrorBox(EditorUi& ui, const std::string& appTitle, const std::string& text);

// Runs one handler; an error that escapes it is shown in the error box and the program goes on
// with the state the handler had reached.
template <typename Handler>
void Guarded(EditorUi& ui, const std::string& appTitle, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowErrorBox(ui, appTitle, e.what());
  } catch (...) {
    ShowErrorBox(ui, appTitle, "");
  }
}

}  // namespace gk
