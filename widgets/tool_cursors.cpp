#include "widgets/tool_cursors.h"

#include <QPainter>
#include <QPolygon>

#include <cstddef>

#include "widgets/glyphs.h"

namespace gk {

namespace {

// The shapes lie along the diagonal from the bottom left, where each acts, to the top right.
void DrawPen(QPainter& p) {
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Yellow);
  p.drawPolygon(QPolygon({QPoint(3, 16), QPoint(15, 4), QPoint(19, 8), QPoint(7, 20)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Fuchsia);
  p.drawPolygon(QPolygon({QPoint(15, 4), QPoint(17, 2), QPoint(21, 6), QPoint(19, 8)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Silver);
  p.drawPolygon(QPolygon({QPoint(1, 22), QPoint(3, 16), QPoint(7, 20)}));
  p.setPen(ColourOf(ClassicColour::Black));
  p.drawLine(1, 21, 2, 21);
  p.drawLine(1, 22, 2, 22);
}

void DrawEraser(QPainter& p) {
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Blue);
  p.drawPolygon(QPolygon({QPoint(6, 10), QPoint(12, 4), QPoint(19, 11), QPoint(13, 17)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::White);
  p.drawPolygon(QPolygon({QPoint(1, 15), QPoint(6, 10), QPoint(13, 17), QPoint(8, 22)}));
}

void DrawFill(QPainter& p) {
  // A bucket tipped towards the bottom left, its paint running out to where it lands.
  p.setPen(ColourOf(ClassicColour::Black));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(
      QPolygon({QPoint(8, 6), QPoint(15, 1), QPoint(21, 3), QPoint(21, 12), QPoint(16, 14)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Silver);
  p.drawPolygon(QPolygon({QPoint(3, 9), QPoint(14, 3), QPoint(19, 8), QPoint(12, 18)}));
  SetShapeColours(p, ClassicColour::Navy, ClassicColour::Blue);
  p.drawPolygon(QPolygon(
      {QPoint(4, 11), QPoint(10, 17), QPoint(5, 20), QPoint(2, 22), QPoint(1, 22), QPoint(1, 19)}));
}

void DrawEyedropper(QPainter& p) {
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Silver);
  p.drawPolygon(
      QPolygon({QPoint(1, 22), QPoint(2, 19), QPoint(12, 9), QPoint(14, 11), QPoint(4, 21)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Grey);
  p.drawPolygon(QPolygon({QPoint(10, 8), QPoint(12, 6), QPoint(17, 11), QPoint(15, 13)}));
  SetShapeColours(p, ClassicColour::Black, ClassicColour::Maroon);
  p.drawEllipse(14, 2, 7, 7);
  p.setPen(ColourOf(ClassicColour::Blue));
  p.drawLine(3, 19, 7, 15);
}

// Paints white every transparent pixel beside the shape, corners included.
void AddRim(QImage& image) {
  const QImage shape = image.copy();
  const QRgb white = ClassicColours()[static_cast<std::size_t>(ClassicColour::White)];
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(shape.pixel(x, y)) != 0) continue;
      bool beside = false;
      for (int dy = -1; dy <= 1 && !beside; ++dy) {
        for (int dx = -1; dx <= 1 && !beside; ++dx) {
          const QPoint q(x + dx, y + dy);
          beside = shape.rect().contains(q) && qAlpha(shape.pixel(q)) != 0;
        }
      }
      if (beside) image.setPixel(x, y, white);
    }
  }
}

}  // namespace

CursorPicture DrawToolCursor(ToolCursor cursor) {
  QImage image(ToolCursorSide, ToolCursorSide, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPoint hotSpot;
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (cursor) {
      case ToolCursor::Pen:
        DrawPen(p);
        hotSpot = QPoint(1, 22);
        break;
      case ToolCursor::Eraser:
        DrawEraser(p);
        hotSpot = QPoint(4, 18);
        break;
      case ToolCursor::Fill:
        DrawFill(p);
        hotSpot = QPoint(2, 22);
        break;
      case ToolCursor::Eyedropper:
        DrawEyedropper(p);
        hotSpot = QPoint(1, 22);
        break;
    }
  }
  AddRim(image);
  return {image, hotSpot};
}

}  // namespace gk
