#include "widgets/app_icon.h"

#include <QPainter>

#include "widgets/glyphs.h"

namespace gk {

QImage DrawAppIcon(int side) {
  QImage icon(side, side, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.drawImage(0, 0, DrawGlyph(Glyph::StackedSheets, side));
  // The shapes take the lower right three quarters.
  const int front = side * 3 / 4;
  painter.drawImage(side - front, side - front, DrawGlyph(Glyph::Shapes, front));
  return icon;
}

}  // namespace gk
