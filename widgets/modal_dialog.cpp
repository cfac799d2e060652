#include "widgets/modal_dialog.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace gk {

void CentreOnScreen(QWidget& dialog) {
  const QScreen* screen = dialog.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QSize outer = dialog.frameGeometry().size();
  dialog.move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

}  // namespace gk
