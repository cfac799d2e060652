#include "platform/image_widget.h"

#include <array>
#include <cstdint>

#include <QMouseEvent>
#include <QPainter>

namespace gk {

namespace {

// 0x00BBGGRR to Qt's 0xAARRGGBB, opaque.
constexpr QRgb ToQRgb(Colour c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

}  // namespace

void SurfaceToImage(const Surface& surface, QImage& image) {
  const int w = surface.Width();
  const int h = surface.Height();
  if (image.width() != w || image.height() != h || image.format() != QImage::Format_RGB32) {
    image = QImage(w, h, QImage::Format_RGB32);
  }
  if (w == 0 || h == 0) return;

  if (surface.Format().IsIndexed()) {
    // Raw values are table indices; anything past 255 decodes like index 256.
    std::array<QRgb, 257> lookup;
    for (std::uint32_t i = 0; i < lookup.size(); ++i) lookup[i] = ToQRgb(surface.Decode(i));
    for (int y = 0; y < h; ++y) {
      const std::uint32_t* in = surface.Row(y);
      auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < w; ++x) out[x] = lookup[in[x] < 256 ? in[x] : 256];
    }
    return;
  }
  // Other formats hold the colour itself.
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* in = surface.Row(y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) out[x] = ToQRgb(in[x]);
  }
}

ImageWidget::ImageWidget(const ImageSource& source, bool stretch, QWidget* parent)
    : QWidget(parent), source_(source), stretch_(stretch) {
  // Moves without a button arrive too; while a button is held Qt grabs the mouse for us.
  setMouseTracking(true);
}

void ImageWidget::paintEvent(QPaintEvent*) {
  const Surface* surface = source_.SurfaceIfAny();
  if (surface == nullptr || surface->Width() == 0 || surface->Height() == 0) return;
  SurfaceToImage(*surface, image_);
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (stretch_) {
    painter.drawImage(rect(), image_);
  } else {
    painter.drawImage(0, 0, image_);
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
