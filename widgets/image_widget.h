#pragma once

#include <functional>

#include <QImage>
#include <QWidget>

#include "image/image_source.h"
#include "image/surface.h"

namespace gk {

// Shows its source's surface, 1:1 or stretched to the widget with nearest-neighbour scaling, and
// reports presses and moves in widget pixels. Without a surface it paints nothing. Its owner
// gives it its place and size.
//
// A paint costs the area it exposes, whatever the surface's size: 24- and 32-bit surfaces are
// laid out as Qt's 32-bit images and are shown without a copy; other formats convert only the
// exposed part.
class ImageWidget : public QWidget {
  Q_OBJECT
 public:
  using PressHandler = std::function<void(int x, int y, Qt::MouseButton button)>;
  using MoveHandler = std::function<void(int x, int y, bool leftHeld)>;

  ImageWidget(const ImageSource& source, bool stretch, QWidget* parent = nullptr);

  void SetPressHandler(PressHandler handler) { onPress_ = std::move(handler); }
  void SetMoveHandler(MoveHandler handler) { onMove_ = std::move(handler); }

  // The part of the widget that shows `changed`, a rectangle of the surface's pixels.
  QRect WidgetRectOf(const PixelRect& changed) const;
  // Repaints the part showing `changed` at once; with `whole`, the whole widget.
  void RepaintChanged(const PixelRect& changed, bool whole);
  // The same through Qt's next paint.
  void UpdateChanged(const PixelRect& changed, bool whole);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void PaintPart(QPainter& painter, const Surface& surface, const QRect& exposed);
  void DrawSource(QPainter& painter, const Surface& surface, const QRect& source);

  const ImageSource& source_;
  bool stretch_;
  QImage scratch_;  // the converted part of a surface Qt cannot show as it is; reused
  PressHandler onPress_;
  MoveHandler onMove_;
};

}  // namespace gk
