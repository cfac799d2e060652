#pragma once

#include <QString>

#include <string>

#include "editor/message_ui.h"

class QWidget;

namespace gk {

// Every message box of the program, the start-up error box included: the text and caption as
// given, the buttons and icon, Escape or the close box answering Cancel where there is one. The
// text is shown as plain text, never as markup: texts quote file names, and a name such as
// "a<b>x.bmp" must show as it is.
MessageResult ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                             MessageButtons buttons, MessageIcon icon);

// Message boxes over `parent`, or standing alone when there is none (before any window).
class MessageBoxes : public MessageUi {
 public:
  explicit MessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  MessageResult ShowMessage(const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon) override;

 private:
  QWidget* parent_;
};

}  // namespace gk
