#include "widgets/glyphs.h"

#include <cstddef>
#include <vector>

#include <QPainter>
#include <QPolygon>

namespace gk {

namespace {

// A line one glyph pixel wide. Drawn smaller than 32 pixels it stays one screen pixel wide:
// Qt paints thinner lines half transparent even without antialiasing.
void SetPen(QPainter& p, ClassicColour colour) {
  QPen pen(ColourOf(colour), 1);
  pen.setCosmetic(p.transform().m11() < 1);
  p.setPen(pen);
}

void Page(QPainter& p, int left, int top, int right, int bottom, int fold) {
  SetShapeColours(p, ClassicColour::Black, ClassicColour::White);
  p.drawPolygon(QPolygon({QPoint(left, top), QPoint(right - fold, top), QPoint(right, top + fold),
                          QPoint(right, bottom), QPoint(left, bottom)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Silver);
  p.drawPolygon(QPolygon(
      {QPoint(right - fold, top), QPoint(right - fold, top + fold), QPoint(right, top + fold)}));
}

void DrawBlankPage(QPainter& p) {
  Page(p, 6, 2, 25, 29, 6);
}

void DrawOpenFolder(QPainter& p) {
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Olive);
  p.drawPolygon(QPolygon({QPoint(2, 8), QPoint(10, 8), QPoint(12, 10), QPoint(25, 10),
                          QPoint(25, 26), QPoint(2, 26)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::White);
  p.drawRect(6, 5, 14, 10);
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Yellow);
  p.drawPolygon(QPolygon({QPoint(7, 14), QPoint(30, 14), QPoint(25, 26), QPoint(2, 26)}));
}

void DrawFloppyDisk(QPainter& p) {
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Navy);
  p.drawPolygon(
      QPolygon({QPoint(3, 3), QPoint(26, 3), QPoint(29, 6), QPoint(29, 29), QPoint(3, 29)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Silver);
  p.drawRect(9, 3, 14, 9);
  SetShapeColours(p, ClassicColour::Silver, ClassicColour::Navy);
  p.drawRect(18, 5, 3, 5);
  SetShapeColours(p, ClassicColour::Black, ClassicColour::White);
  p.drawRect(7, 16, 18, 13);
  SetPen(p, ClassicColour::Grey);
  for (int y = 19; y <= 26; y += 3) p.drawLine(9, y, 23, y);
}

void DrawShapes(QPainter& p) {
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Blue);
  p.drawRect(3, 15, 14, 14);
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Red);
  p.drawEllipse(14, 3, 15, 15);
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Lime);
  p.drawPolygon(QPolygon({QPoint(20, 14), QPoint(30, 29), QPoint(10, 29)}));
}

void DrawEyedropper(QPainter& p) {
  // The glass tube runs from the bulb at the top right down to the tip at the bottom left.
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Silver);
  p.drawPolygon(QPolygon(
      {QPoint(17, 9), QPoint(22, 14), QPoint(8, 28), QPoint(5, 28), QPoint(3, 26), QPoint(3, 23)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Grey);
  p.drawPolygon(QPolygon({QPoint(14, 8), QPoint(23, 17), QPoint(21, 19), QPoint(12, 10)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Maroon);
  p.drawEllipse(19, 2, 10, 10);
  SetShapeColours(p, ClassicColour::Navy, ClassicColour::Blue);
  p.drawPolygon(QPolygon({QPoint(4, 24), QPoint(11, 17), QPoint(15, 17), QPoint(6, 26)}));
}

// A right-pointing arrow symmetric about the row 15.5, so that mirroring and transposing it
// gives the other three directions on the same pixel grid.
std::vector<QPoint> RightArrow() {
  return {QPoint(4, 12),  QPoint(16, 12), QPoint(16, 4),  QPoint(27, 15),
          QPoint(27, 16), QPoint(16, 27), QPoint(16, 19), QPoint(4, 19)};
}

void DrawArrow(QPainter& p, Glyph direction) {
  QPolygon polygon;
  for (const QPoint& pt : RightArrow()) {
    switch (direction) {
      case Glyph::ArrowLeft:
        polygon << QPoint(31 - pt.x(), pt.y());
        break;
      case Glyph::ArrowDown:
        polygon << QPoint(pt.y(), pt.x());
        break;
      case Glyph::ArrowUp:
        polygon << QPoint(pt.y(), 31 - pt.x());
        break;
      default:
        polygon << pt;
        break;
    }
  }
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Teal);
  p.drawPolygon(polygon);
}

void DrawStackedSheets(QPainter& p) {
  Page(p, 14, 2, 29, 20, 4);
  Page(p, 9, 7, 24, 25, 4);
  Page(p, 4, 12, 19, 30, 4);
  SetPen(p, ClassicColour::Navy);
  for (int y = 19; y <= 27; y += 3) p.drawLine(7, y, 15, y);
}

}  // namespace

const std::array<QRgb, 16>& ClassicColours() {
  static const std::array<QRgb, 16> colours = {
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
      qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  return colours;
}

QColor ColourOf(ClassicColour colour) {
  return QColor::fromRgb(ClassicColours()[static_cast<std::size_t>(colour)]);
}

void SetShapeColours(QPainter& p, ClassicColour outline, ClassicColour fill) {
  SetPen(p, outline);
  p.setBrush(ColourOf(fill));
}

QImage DrawGlyph(Glyph glyph, int side) {
  QImage image(side, side, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  if (side != GlyphSide) {
    // A 1-pixel pen at (x, y) paints the pixel square from (x, y) to (x + 1, y + 1); centring
    // the scaled strokes on the scaled squares keeps outlines over their fills at every size.
    const qreal scale = static_cast<qreal>(side) / GlyphSide;
    p.scale(scale, scale);
    p.translate(0.5, 0.5);
  }
  switch (glyph) {
    case Glyph::BlankPage:
      DrawBlankPage(p);
      break;
    case Glyph::OpenFolder:
      DrawOpenFolder(p);
      break;
    case Glyph::FloppyDisk:
      DrawFloppyDisk(p);
      break;
    case Glyph::Shapes:
      DrawShapes(p);
      break;
    case Glyph::Eyedropper:
      DrawEyedropper(p);
      break;
    case Glyph::ArrowLeft:
    case Glyph::ArrowUp:
    case Glyph::ArrowDown:
    case Glyph::ArrowRight:
      DrawArrow(p, glyph);
      break;
    case Glyph::StackedSheets:
      DrawStackedSheets(p);
      break;
  }
  return image;
}

}  // namespace gk
