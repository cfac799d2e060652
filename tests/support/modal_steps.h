// Answers modal dialogs and message boxes from inside their own event loops.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace gk::test {

// Runs `step` on the next modal window that comes up over the one now on top, once it is up; a
// window that never comes leaves the step unrun. Arm it before the call that runs the window.
inline void OnNextModal(std::function<void(QWidget*)> step, int triesLeft = 500,
                        QWidget* below = QApplication::activeModalWidget()) {
  QTimer::singleShot(triesLeft == 500 ? 0 : 10, [step, triesLeft, below] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == below) {
      if (triesLeft > 0) OnNextModal(step, triesLeft - 1, below);
      return;
    }
    step(modal);
  });
}

// The file dialog that came up, opened at `folder`; else a failure, and what came up is closed.
inline QFileDialog* FileDialogAt(QWidget* modal, const std::string& folder) {
  auto* dialog = qobject_cast<QFileDialog*>(modal);
  if (!dialog) {
    ADD_FAILURE() << "no file dialog";
    modal->close();
    return nullptr;
  }
  dialog->setDirectory(QString::fromStdString(folder));
  return dialog;
}

// Accepts a dialog as a double click on a file in its list does (QFileDialog::accept() is not
// public).
inline void Accept(QDialog* dialog) {
  QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
}

// What a message box showed, and the button that answered it.
struct BoxSeen {
  bool seen = false;
  QString text, caption;
  Qt::TextFormat format = Qt::AutoText;
};

// Records the next message box and presses `button` in it; anything else that comes up is a
// failure and is closed.
inline void AnswerNextBox(BoxSeen& seen, QMessageBox::StandardButton button) {
  OnNextModal([&seen, button](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      ADD_FAILURE() << "expected a message box, got " << modal->metaObject()->className();
      modal->close();
      return;
    }
    seen.seen = true;
    // The text as given: the box adds zero-width spaces where long names may wrap.
    seen.text = box->text().remove(QChar(0x200B));
    seen.caption = box->windowTitle();
    // The label that shows the text is the one to ask how it reads it.
    const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
    seen.format = label ? label->textFormat() : box->textFormat();
    box->button(button)->click();
  });
}

}  // namespace gk::test
