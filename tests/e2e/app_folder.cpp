#include "e2e/app_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace gk::e2e {

namespace {

void Require(bool ok, const QString& what) {
  if (!ok) throw std::runtime_error(what.toStdString());
}

}  // namespace

AppFolder::AppFolder(const QString& editor, const std::optional<QByteArray>& settings) {
  Require(root_.isValid(), "cannot make a temporary folder");
  QDir root(root_.path());
  Require(root.mkpath("app/bmp") && root.mkpath("docs"), "cannot make the journey's folders");
  Require(QFile::copy(editor, Program()), "cannot copy " + editor);
  Require(QFile::setPermissions(Program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup),
          "cannot make the copy executable");
  const QString palette = QFileInfo(editor).absolutePath() + "/palette.bmp";
  Require(QFile::copy(palette, PalettePath()), "cannot copy " + palette);
  if (settings) {
    QFile ini(AppDir() + "/gridkiln.ini");
    Require(ini.open(QIODevice::WriteOnly) && ini.write(*settings) == settings->size(),
            "cannot write gridkiln.ini");
  }
}

}  // namespace gk::e2e
