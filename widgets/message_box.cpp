#include "widgets/message_box.h"

#include <QMessageBox>

#include "widgets/qt_text.h"

namespace gk {

namespace {

// Qt wraps a label's text only where a line may break, so a long name without spaces would run
// past the box, which Qt keeps within the screen, and be cut. A zero-width space after each "/"
// and after every few dozen characters of a run without one lets it wrap; it shows nothing.
QString WithLineBreaks(const QString& text) {
  constexpr int LongestRun = 32;
  constexpr QChar Break(0x200B);
  QString shown;
  shown.reserve(text.size() + text.size() / LongestRun + 8);
  int run = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    shown += c;
    run = c.isSpace() ? 0 : run + 1;
    if (i + 1 == text.size() || run == 0) continue;
    // Never inside a surrogate pair, nor before a mark that belongs to the character before it.
    const QChar next = text[i + 1];
    if (next.isSpace() || next.isLowSurrogate() || next.isMark()) continue;
    if (c == u'/' || run >= LongestRun) {
      shown += Break;
      run = 0;
    }
  }
  return shown;
}

}  // namespace

MessageResult ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                             MessageButtons buttons, MessageIcon icon) {
  QMessageBox::StandardButtons standard = QMessageBox::Ok;
  if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoDefaultNo) {
    standard = QMessageBox::Yes | QMessageBox::No;
  }
  if (buttons == MessageButtons::YesNoCancel) {
    standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  QMessageBox box(icon == MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon, caption,
                  WithLineBreaks(text), standard, parent);
  box.setTextFormat(Qt::PlainText);
  if (buttons == MessageButtons::YesNoCancel) box.setEscapeButton(QMessageBox::Cancel);
  if (buttons == MessageButtons::YesNoDefaultNo) box.setDefaultButton(QMessageBox::No);
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
