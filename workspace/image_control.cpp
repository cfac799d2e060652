#include "workspace/image_control.h"

namespace gk {

Surface& ImageControl::Canvas() {
  if (!surface_) surface_.emplace(Width, Height, NewSurfaceFormat, White);
  return *surface_;
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
