#include "editor/image_control.h"

#include <utility>

namespace gk {

Surface& ImageControl::Canvas() {
  if (!surface_) {
    surface_.emplace(Width, Height, NewSurfaceFormat, White);
    replaced_ = true;
  }
  return *surface_;
}

void ImageControl::SwapSurface(ImageControl& other) {
  std::swap(Canvas(), other.Canvas());
  replaced_ = true;
  other.replaced_ = true;
}

ControlChange ImageControl::TakeChange() {
  ControlChange change;
  change.whole = std::exchange(replaced_, false);
  if (surface_) change.rect = surface_->TakeChanged();
  return change;
}

void ImageControl::SetBounds(int left, int top, int width, int height) {
  Left = left;
  Top = top;
  Width = width;
  Height = height;
}

ImageControl& EditorControls::Get(ControlId id) {
  switch (id) {
    case ControlId::ImgMain:
      return ImgMain;
    case ControlId::ImgPallete:
      return ImgPallete;
    case ControlId::ImgColor:
      return ImgColor;
    case ControlId::ImgView:
      return ImgView;
    case ControlId::ImgViewB:
      return ImgViewB;
    case ControlId::ImgCurV:
      return ImgCurV;
    case ControlId::ImgCurH:
      return ImgCurH;
  }
  return ImgMain;
}

}  // namespace gk
