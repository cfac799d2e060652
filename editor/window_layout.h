#pragma once

#include <array>

#include "settings/start_sizes.h"

namespace gk {

// A place and size on the main window's client area, in pixels.
struct ControlRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const ControlRect&) const = default;
};

// Where everything stands on the main window, computed once at start-up.
struct WindowLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  ControlRect ImgMain, ImgPallete, ImgColor, ImgView, ImgViewB, ImgCurV, ImgCurH;
  // btnNew, btnOpen, btnSave, btnPaint, btnSpoit, btnLeft, btnUp, btnDown, btnRight, btnNextChr.
  std::array<ControlRect, 10> buttons;

  bool operator==(const WindowLayout&) const = default;
};

// The layout from the seven sizes and the palette picture's size. The view is Width x Height
// here (start-up doubles it after the first paint); the markers stand at (0, 0) until the grid
// is first drawn. The client is as wide as the grid, but never narrower than the button row.
WindowLayout LayOutWindow(const StartSizes& sizes, int paletteWidth, int paletteHeight);

}  // namespace gk
