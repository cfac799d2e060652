#include "editor/window_layout.h"

#include <algorithm>

namespace gk {

namespace {

// The button row's gaps of 8 pixels divide it into four groups: file, tools, navigation, series.
constexpr int ButtonGroupOf[10] = {0, 0, 0, 1, 1, 2, 2, 2, 2, 3};
constexpr int ButtonGroupGap = 8;

}  // namespace

WindowLayout LayOutWindow(const StartSizes& sizes, int paletteWidth, int paletteHeight) {
  const int d = sizes.DotSize;
  const int gridWidth = d * sizes.Width2;
  const int gridHeight = d * sizes.Height2;
  const int belowGrid = gridHeight + sizes.ButtonH;

  WindowLayout l;
  l.clientHeight = belowGrid + paletteHeight;
  l.ImgMain = {0, sizes.ButtonH, gridWidth, gridHeight};
  l.ImgPallete = {0, belowGrid + 1, paletteWidth, paletteHeight};
  l.ImgColor = {paletteWidth + 1, belowGrid + 1, d, d};
  l.ImgView = {paletteWidth + 1, belowGrid + d + 2, sizes.Width, sizes.Height};
  l.ImgViewB = {0, 0, sizes.Width, sizes.Height};
  l.ImgCurV = {0, 0, 2, 4};
  l.ImgCurH = {0, 0, 4, 2};

  for (int i = 0; i < 10; ++i) {
    l.buttons[i] = {i * sizes.ButtonW + ButtonGroupOf[i] * ButtonGroupGap, 0, sizes.ButtonW,
                    sizes.ButtonH};
  }
  const ControlRect& last = l.buttons.back();
  l.clientWidth = std::max(gridWidth, last.left + last.width);
  return l;
}

}  // namespace gk
