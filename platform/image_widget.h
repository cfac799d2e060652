#pragma once

#include <functional>

#include <QImage>
#include <QWidget>

#include "platform/image_source.h"
#include "platform/surface.h"

namespace gk {

// Converts a surface to an opaque 32-bit image, reusing `image`'s buffer when the size matches.
void SurfaceToImage(const Surface& surface, QImage& image);

// Shows its source's surface, 1:1 or stretched to the widget with nearest-neighbour scaling, and
// reports presses and moves in widget pixels. Without a surface it paints nothing. Its owner
// gives it its place and size.
class ImageWidget : public QWidget {
  Q_OBJECT
 public:
  using PressHandler = std::function<void(int x, int y, Qt::MouseButton button)>;
  using MoveHandler = std::function<void(int x, int y, bool leftHeld)>;

  ImageWidget(const ImageSource& source, bool stretch, QWidget* parent = nullptr);

  void SetPressHandler(PressHandler handler) { onPress_ = std::move(handler); }
  void SetMoveHandler(MoveHandler handler) { onMove_ = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  const ImageSource& source_;
  bool stretch_;
  QImage image_;  // kept between paints so its buffer is reused
  PressHandler onPress_;
  MoveHandler onMove_;
};

}  // namespace gk
