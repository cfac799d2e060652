#include "widgets/file_dialog.h"

#include <QChildEvent>
#include <QFileInfo>
#include <QMessageBox>

#include <exception>
#include <string>

#include "filesystem/file_io.h"
#include "image/picture_formats.h"
#include "widgets/qt_text.h"
#include "widgets/shown_path.h"

namespace gk {

QStringList PictureFilters() {
  QStringList filters;
  for (const std::string& filter : DialogFilters()) filters << FromUtf8(filter);
  return filters;
}

QString DefaultPictureSuffix() {
  return FromUtf8(SaveFormatOf("").extensions.front().substr(1));
}

FileDialog::FileDialog(QWidget* parent) : QFileDialog(parent) {
  connect(this, &QFileDialog::filterSelected, this, &FileDialog::TakeSuffixOf);
}

void FileDialog::SelectKindOf(const QString& path) {
  const PictureFormat* kind = FormatOfName(ToUtf8(path));
  const QString filter = kind != nullptr && kind->dialogFilter != nullptr
                             ? FromUtf8(kind->dialogFilter)
                             : PictureFilters().value(0);
  selectNameFilter(filter);
  TakeSuffixOf(filter);
}

void FileDialog::TakeSuffixOf(const QString& filter) {
  for (const PictureFormat* kind : PictureFormats()) {
    if (kind->dialogFilter != nullptr && FromUtf8(kind->dialogFilter) == filter) {
      setDefaultSuffix(FromUtf8(kind->extensions.front().substr(1)));
      return;
    }
  }
}

void FileDialog::accept() {
  const QStringList files = selectedFiles();
  if (files.isEmpty() || QFileInfo::exists(files.first())) {
    QFileDialog::accept();
    return;
  }
  const std::string shown = ToUtf8(files.first());
  std::string onDisk;
  try {
    onDisk = PathOnDisk(shown);
  } catch (const std::exception& e) {
    Warn(FromUtf8(e.what()));
    return;
  }
  if (onDisk == shown || !FileExists(onDisk)) {
    // No file hides behind the text: Qt decides (a new name to save under, or "not found").
    QFileDialog::accept();
    return;
  }
  // A file Qt cannot see under the text it shows: ask before replacing it as Qt would ask.
  if (acceptMode() == AcceptSave && !testOption(DontConfirmOverwrite)) {
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    tr("%1 already exists.\nDo you want to replace it?")
                        .arg(QFileInfo(files.first()).fileName()),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return;
  }
  QDialog::accept();
}

void FileDialog::childEvent(QChildEvent* event) {
  // Qt's own boxes (replace, not found, delete) put file names into their text; left to guess,
  // a name such as "a<b>x.bmp" would be read as markup.
  if (event->polished()) {
    if (auto* box = qobject_cast<QMessageBox*>(event->child())) box->setTextFormat(Qt::PlainText);
  }
  QFileDialog::childEvent(event);
}

void FileDialog::Warn(const QString& text) {
  QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace gk
