#include "platform/message_box.h"

#include <QMessageBox>

#include "platform/qt_text.h"

namespace gk {

MessageResult ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                             MessageButtons buttons, MessageIcon icon) {
  QMessageBox::StandardButtons standard = QMessageBox::Ok;
  if (buttons == MessageButtons::YesNo) standard = QMessageBox::Yes | QMessageBox::No;
  if (buttons == MessageButtons::YesNoCancel) {
    standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  QMessageBox box(icon == MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon, caption,
                  text, standard, parent);
  box.setTextFormat(Qt::PlainText);
  if (buttons == MessageButtons::YesNoCancel) box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Ok:
      return MessageResult::Ok;
    case QMessageBox::Yes:
      return MessageResult::Yes;
    case QMessageBox::No:
      return MessageResult::No;
    default:
      return MessageResult::Cancel;
  }
}

MessageResult MessageBoxes::ShowMessage(const std::string& text, const std::string& caption,
                                        MessageButtons buttons, MessageIcon icon) {
  return ShowMessageBox(parent_, FromUtf8(text), FromUtf8(caption), buttons, icon);
}

}  // namespace gk
