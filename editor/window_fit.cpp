#include "editor/window_fit.h"

#include <algorithm>

namespace gk {

namespace {

struct Fit {
  bool across = false;
  bool down = false;
};

Fit FitsWith(StartSizes sizes, std::int32_t dotSize, int paletteWidth, int paletteHeight,
             const ScreenRoom& screen) {
  sizes.DotSize = dotSize;
  const WindowLayout layout = LayOutWindow(sizes, paletteWidth, paletteHeight);
  const ControlRect& area = screen.available;
  // 64 bits: a screen's edges and a window's extent may each come near the int range.
  const std::int64_t left = std::max(WindowLeft, area.left);
  const std::int64_t top = std::max(WindowTop, area.top);
  return {left + layout.clientWidth + screen.aroundWidth <= std::int64_t{area.left} + area.width,
          top + layout.clientHeight + screen.aroundHeight <= std::int64_t{area.top} + area.height};
}

}  // namespace

std::int32_t StartDotSize(const StartSizes& sizes, bool dotSizeGiven, int paletteWidth,
                          int paletteHeight, const std::optional<ScreenRoom>& screen) {
  if (dotSizeGiven || !screen) return sizes.DotSize;
  const Fit smallest = FitsWith(sizes, 1, paletteWidth, paletteHeight, *screen);
  for (std::int32_t dotSize = InitialSizes.DotSize; dotSize > 1; --dotSize) {
    const Fit fit = FitsWith(sizes, dotSize, paletteWidth, paletteHeight, *screen);
    if ((fit.across || !smallest.across) && (fit.down || !smallest.down)) return dotSize;
  }
  return 1;
}

}  // namespace gk
