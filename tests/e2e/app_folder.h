#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace gk::e2e {

// A fresh folder laid out as the build lays out the editor: a copy of the built executable with
// palette.bmp and an empty bmp/ beside it, plus gridkiln.ini when a journey gives one. Beside
// the editor's folder lies a folder for the journey's own documents.
class AppFolder {
 public:
  // `editor` is the built executable; its palette.bmp is copied from beside it.
  AppFolder(const QString& editor, const std::optional<QByteArray>& settings);

  QString Root() const { return root_.path(); }
  QString AppDir() const { return root_.path() + "/app"; }
  QString Program() const { return AppDir() + "/gridkiln"; }
  QString BmpDir() const { return AppDir() + "/bmp"; }
  QString PalettePath() const { return AppDir() + "/palette.bmp"; }
  QString DocDir() const { return root_.path() + "/docs"; }

 private:
  QTemporaryDir root_;
};

}  // namespace gk::e2e
