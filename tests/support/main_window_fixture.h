// Shared pieces of the window tests: a temporary AppDir, synthetic mouse events and a main
// window built over the AppDir.
#pragma once

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "app/main_window.h"
#include "editor/picture_files.h"
#include "widgets/image_widget.h"
#include "widgets/option_dialog.h"

namespace gk::test {

inline const QString AssetPalette = QStringLiteral(GK_ASSETS_DIR "/palette.bmp");

// A temporary AppDir holding a palette (a copy of the shipped one unless one is given, none if
// `palette` is false) and, if given, a settings file.
class TempAppDir {
 public:
  explicit TempAppDir(const char* settings = nullptr, bool palette = true,
                      const Surface* ownPalette = nullptr) {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    if (ownPalette) {
      SaveBmpFile(Path() + "palette.bmp", *ownPalette);
    } else if (palette) {
      QFile::copy(AssetPalette, File("palette.bmp"));
    }
    if (settings) Write("gridkiln.ini", settings);
  }
  void Write(const char* name, const char* content) const {
    QFile file(File(name));
    if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write a test file");
    file.write(content);
  }
  std::string Path() const { return (dir_.path() + "/").toStdString(); }
  QString File(const char* name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
};

// Delivers one mouse event with the held buttons given explicitly, as QTest cannot for moves.
inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
  QApplication::processEvents();
}

// A main window over a fresh AppDir; Start() may be called again for a fresh window.
class MainWindowFixture : public ::testing::Test {
 public:
  void Start(const char* settings = nullptr, const Surface* palette = nullptr) {
    Forget();
    dir = std::make_unique<TempAppDir>(settings, true, palette);
    form = std::make_unique<TForm1>(dir->Path());
  }
  void TearDown() override { Forget(); }

  std::unique_ptr<TempAppDir> dir;
  std::unique_ptr<TForm1> form;

 private:
  // Nothing may ask to save while the window goes.
  void Forget() {
    if (form) form->ctx.state.Modified = false;
    form.reset();
  }
};

}  // namespace gk::test
