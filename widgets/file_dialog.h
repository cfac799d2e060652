#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

class QChildEvent;

namespace gk {

// The filters of the open and save dialogs: one for each kind of picture listed, in order.
QStringList PictureFilters();
// What the save dialog adds to a name typed without an ending: the ending of the kind such a
// name saves as, without its dot ("bmp").
QString DefaultPictureSuffix();

// Qt's own file dialog with three changes. Choosing a kind's filter makes its ending the one
// added to a name typed without an ending. A file whose name is not UTF-8 shows with U+FFFD and
// is then unknown to Qt under that text; accepting it finds the name on disk (PathOnDisk) and
// treats that file as Qt treats any other: it may be opened, and replacing it is asked first.
// And the dialog's own message boxes show their text as plain text, never as markup from a
// file name.
class FileDialog : public QFileDialog {
 public:
  explicit FileDialog(QWidget* parent = nullptr);

  // Shows the filter of the kind `path` names (the first filter when it names none), with its
  // ending for names typed without one.
  void SelectKindOf(const QString& path);

 protected:
  void accept() override;
  void childEvent(QChildEvent* event) override;

 private:
  void Warn(const QString& text);
  void TakeSuffixOf(const QString& filter);
};

}  // namespace gk
