#pragma once

#include <optional>

#include "image/image_source.h"
#include "image/surface.h"

namespace gk {

enum class ControlId { ImgMain, ImgPallete, ImgColor, ImgView, ImgViewB, ImgCurV, ImgCurH };

// The controls the window shows: all but the undo copy.
inline constexpr ControlId ShownControls[] = {ControlId::ImgMain,  ControlId::ImgPallete,
                                              ControlId::ImgColor, ControlId::ImgView,
                                              ControlId::ImgCurV,  ControlId::ImgCurH};

// What changed on a control since it was last asked: a rectangle of its surface's pixels, or
// everything when the surface came, went or was replaced.
struct ControlChange {
  PixelRect rect;
  bool whole = false;
};

// The logic side of an image control: its place and size on the main window's client area and
// the one surface it owns. The window places its widget there and shows the surface.
class ImageControl final : public ImageSource {
 public:
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  // Format of the surface created on first use (the undo copy takes the document's).
  PixelFormat NewSurfaceFormat = PixelFormat::Rgb24();

  // The surface; created white at the control's size when there is none.
  Surface& Canvas();
  bool HasSurface() const { return surface_.has_value(); }
  const Surface* SurfaceIfAny() const override { return surface_ ? &*surface_ : nullptr; }
  void SetSurface(Surface surface) {
    surface_ = std::move(surface);
    replaced_ = true;
  }
  void DiscardSurface() {
    surface_.reset();
    replaced_ = true;
  }
  // Exchanges the pixels of the two controls' surfaces without copying them (each surface object
  // stays with its control); both count as replaced. Both must have a surface.
  void SwapSurface(ImageControl& other);
  void SetBounds(int left, int top, int width, int height);
  // What changed since the last call, which starts the record afresh.
  ControlChange TakeChange();

 private:
  std::optional<Surface> surface_;
  bool replaced_ = false;
};

struct EditorControls {
  ImageControl ImgMain;     // the edit grid
  ImageControl ImgPallete;  // the palette picture
  ImageControl ImgColor;    // the current-colour swatch
  ImageControl ImgView;     // the document, shown doubled
  ImageControl ImgViewB;    // the undo copy, never shown
  ImageControl ImgCurV;     // column marker
  ImageControl ImgCurH;     // row marker

  ImageControl& Get(ControlId id);
};

}  // namespace gk
