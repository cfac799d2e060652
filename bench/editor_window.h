#pragma once

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>
#include <string>

#include "app/main_window.h"
#include "editor/picture_files.h"
#include "widgets/image_widget.h"

namespace gk {

// The main window in a temporary AppDir with a plain palette and the given settings file (none
// when empty), shown.
struct EditorWindow {
  QTemporaryDir dir;
  std::unique_ptr<TForm1> form;

  explicit EditorWindow(const std::string& settings = {}) {
    if (!dir.isValid()) throw std::runtime_error("no temporary folder");
    const std::string appDir = (dir.path() + "/").toStdString();
    SaveBmpFile(appDir + "palette.bmp", Surface(384, 144, PixelFormat::Rgb24(), 0x808080));
    if (!settings.empty()) {
      QFile file(dir.filePath("gridkiln.ini"));
      if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write the settings");
      file.write(settings.c_str());
    }
    form = std::make_unique<TForm1>(appDir);
    form->show();
    QApplication::processEvents();
  }
  ~EditorWindow() {
    // Nothing may ask to save while the window goes.
    form->ctx.state.Modified = false;
  }
};

// A mouse event delivered to `widget` as the platform would, then the event loop run after it.
inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
  QApplication::processEvents();
}

// A press and release of the left button at `pos`.
inline void Click(QWidget* widget, QPoint pos) {
  SendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

}  // namespace gk
