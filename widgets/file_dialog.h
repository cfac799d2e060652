#pragma once

#include <QFileDialog>

class QChildEvent;

namespace gk {

// Qt's own file dialog with two changes. A file whose name is not UTF-8 shows with U+FFFD and
// is then unknown to Qt under that text; accepting it finds the name on disk (PathOnDisk) and
// treats that file as Qt treats any other: it may be opened, and replacing it is asked first.
// And the dialog's own message boxes show their text as plain text, never as markup from a
// file name.
class FileDialog : public QFileDialog {
 public:
  explicit FileDialog(QWidget* parent = nullptr);

 protected:
  void accept() override;
  void childEvent(QChildEvent* event) override;

 private:
  void Warn(const QString& text);
};

}  // namespace gk
