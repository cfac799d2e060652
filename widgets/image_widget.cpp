#include "widgets/image_widget.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "image/alpha_blend.h"

namespace gk {

namespace {

// a * b / c rounded down and up, for a, b >= 0 and c > 0.
std::int64_t FloorScale(std::int64_t a, std::int64_t b, std::int64_t c) {
  return a * b / c;
}
std::int64_t CeilScale(std::int64_t a, std::int64_t b, std::int64_t c) {
  return (a * b + c - 1) / c;
}

// Surface pixels converted at a time for a format Qt cannot show as it is: the conversion's
// memory stays bounded whatever the exposed area.
constexpr std::int64_t BandPixels = std::int64_t{1} << 20;

// At a scale that is not a whole number a pixel on an edge may show either neighbour: one more
// pixel on each side covers it.
int EdgePad(std::int64_t ww, std::int64_t wh, std::int64_t sw, std::int64_t sh) {
  return ww % sw == 0 && wh % sh == 0 ? 0 : 1;
}

QRect RectOf(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
  return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
               static_cast<int>(bottom - top));
}

// Squares of 4 widget pixels, two to a side of the tile, from the widget's corner.
QBrush CheckerBrush() {
  constexpr int Square = 4;
  QImage tile(2 * Square, 2 * Square, QImage::Format_RGB32);
  for (int y = 0; y < tile.height(); ++y) {
    for (int x = 0; x < tile.width(); ++x) {
      const Colour c = CheckerAt(x, y, Square);
      tile.setPixel(x, y, qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
    }
  }
  return QBrush(tile);
}

}  // namespace

ImageWidget::ImageWidget(const ImageSource& source, bool stretch, QWidget* parent)
    : QWidget(parent), source_(source), stretch_(stretch) {
  // Moves without a button arrive too; while a button is held Qt grabs the mouse for us.
  setMouseTracking(true);
}

QRect ImageWidget::WidgetRectOf(const PixelRect& changed) const {
  const Surface* surface = source_.SurfaceIfAny();
  if (surface == nullptr || changed.Empty()) return {};
  if (!stretch_) return RectOf(changed.left, changed.top, changed.right, changed.bottom) & rect();
  const std::int64_t sw = surface->Width(), sh = surface->Height();
  const std::int64_t ww = width(), wh = height();
  if (sw <= 0 || sh <= 0) return {};
  const int pad = EdgePad(ww, wh, sw, sh);
  return RectOf(FloorScale(changed.left, ww, sw) - pad, FloorScale(changed.top, wh, sh) - pad,
                CeilScale(changed.right, ww, sw) + pad, CeilScale(changed.bottom, wh, sh) + pad) &
         rect();
}

// repaint() and update() without a rectangle are those of rect().
void ImageWidget::RepaintChanged(const PixelRect& changed, bool whole) {
  const QRect part = whole ? rect() : WidgetRectOf(changed);
  if (!part.isEmpty()) repaint(part);
}

void ImageWidget::UpdateChanged(const PixelRect& changed, bool whole) {
  const QRect part = whole ? rect() : WidgetRectOf(changed);
  if (!part.isEmpty()) update(part);
}

void ImageWidget::paintEvent(QPaintEvent* event) {
  const Surface* surface = source_.SurfaceIfAny();
  if (surface == nullptr || surface->Width() == 0 || surface->Height() == 0) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  for (const QRect& exposed : event->region()) PaintPart(painter, *surface, exposed);
}

// Paints the surface pixels that `exposed` (widget pixels) shows, and only those.
void ImageWidget::PaintPart(QPainter& painter, const Surface& surface, const QRect& exposed) {
  const std::int64_t sw = surface.Width(), sh = surface.Height();
  if (!stretch_) {
    const QRect source = exposed & QRect(0, 0, surface.Width(), surface.Height());
    if (!source.isEmpty()) DrawSource(painter, surface, source);
    return;
  }
  const std::int64_t ww = width(), wh = height();
  if (ww <= 0 || wh <= 0) return;
  const int pad = EdgePad(ww, wh, sw, sh);
  const std::int64_t left = std::max<std::int64_t>(FloorScale(exposed.left(), sw, ww) - pad, 0);
  const std::int64_t top = std::max<std::int64_t>(FloorScale(exposed.top(), sh, wh) - pad, 0);
  const std::int64_t right = std::min(CeilScale(exposed.right() + 1, sw, ww) + pad, sw);
  const std::int64_t bottom = std::min(CeilScale(exposed.bottom() + 1, sh, wh) + pad, sh);
  if (left >= right || top >= bottom) return;
  DrawSource(painter, surface, RectOf(left, top, right, bottom));
}

// Draws the surface pixels of `source` where the widget shows them: 1:1 at their own place, or
// scaled to the widget.
void ImageWidget::DrawSource(QPainter& painter, const Surface& surface, const QRect& source) {
  const double sx = stretch_ ? static_cast<double>(width()) / surface.Width() : 1.0;
  const double sy = stretch_ ? static_cast<double>(height()) / surface.Height() : 1.0;
  const auto target = [&](const QRect& part) {
    return QRectF(part.left() * sx, part.top() * sy, part.width() * sx, part.height() * sy);
  };
  const auto stride = static_cast<qsizetype>(surface.RowBytes());
  // Pixels that are not opaque show over a fine checkerboard of two light greys.
  const bool alpha = surface.HasAlpha();
  if (alpha) painter.fillRect(target(source), CheckerBrush());
  const QImage::Format shown = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;

  if (surface.BytesPerPixel() == 4) {
    // 0xFFRRGGBB words (0xAARRGGBB with alpha): Qt's own 32-bit layout, shown straight from the
    // surface.
    const QImage view(surface.Bytes(source.top()) + std::size_t{4} * source.left(), source.width(),
                      source.height(), stride, shown);
    painter.drawImage(target(source), view);
    return;
  }

  // Table indices and 16-bit pixels: converted by bands of rows into a reused image.
  std::array<QRgb, 256> lookup{};
  if (surface.BytesPerPixel() == 1) {
    for (std::uint32_t i = 0; i < lookup.size(); ++i) {
      const Colour c = surface.Decode(i);
      lookup[i] = qRgba(RedOf(c), GreenOf(c), BlueOf(c), surface.AlphaOf(i));
    }
  }
  const int bandRows =
      static_cast<int>(std::clamp<std::int64_t>(BandPixels / source.width(), 1, source.height()));
  if (scratch_.width() < source.width() || scratch_.height() < bandRows ||
      scratch_.format() != shown) {
    scratch_ = QImage(std::max(scratch_.width(), source.width()),
                      std::max(scratch_.height(), bandRows), shown);
  }
  for (int top = source.top(); top <= source.bottom(); top += bandRows) {
    const int rows = std::min(bandRows, source.bottom() + 1 - top);
    for (int r = 0; r < rows; ++r) {
      auto* out = reinterpret_cast<QRgb*>(scratch_.scanLine(r));
      if (surface.BytesPerPixel() == 1) {
        const std::uint8_t* in = surface.Row<std::uint8_t>(top + r) + source.left();
        for (int x = 0; x < source.width(); ++x) out[x] = lookup[in[x]];
      } else {
        const std::uint16_t* in = surface.Row<std::uint16_t>(top + r) + source.left();
        for (int x = 0; x < source.width(); ++x) {
          const Colour c = surface.Decode(in[x]);
          out[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
        }
      }
    }
    const QRect band(source.left(), top, source.width(), rows);
    painter.drawImage(target(band), scratch_, QRect(0, 0, source.width(), rows));
  }
}

void ImageWidget::mousePressEvent(QMouseEvent* event) {
  if (!onPress_) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint p = event->position().toPoint();
  onPress_(p.x(), p.y(), event->button());
}

void ImageWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!onMove_) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  const QPoint p = event->position().toPoint();
  onMove_(p.x(), p.y(), (event->buttons() & Qt::LeftButton) != 0);
}

}  // namespace gk
