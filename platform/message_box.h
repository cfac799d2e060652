#pragma once

#include <QString>

#include "workspace/editor_ui.h"

class QWidget;

namespace gk {

// Every message box of the program, the start-up error box included: the text and caption as
// given, the buttons and icon, Escape or the close box answering Cancel where there is one. The
// text is shown as plain text, never as markup: texts quote file names, and a name such as
// "a<b>x.bmp" must show as it is.
MessageResult ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                             MessageButtons buttons, MessageIcon icon);

}  // namespace gk
