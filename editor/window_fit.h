#pragma once

#include <cstdint>
#include <optional>

#include "editor/window_layout.h"
#include "settings/start_sizes.h"

namespace gk {

// Where the main window's frame is placed on the screen.
inline constexpr int WindowLeft = 0;
inline constexpr int WindowTop = 16;

// The room the main window has on its screen, in screen pixels: the screen's area left free by
// panels and docks, and what the window adds around its client area there (its menu bar, title
// bar and borders).
struct ScreenRoom {
  ControlRect available;
  int aroundWidth = 0;
  int aroundHeight = 0;
};

// The dot size a start lays the window out with. A dot size the settings give is kept, and so is
// every size without a screen to fit. Otherwise the initial dot size gives way, for this run, to
// the largest smaller one with which the whole window fits the available area: the window stands
// at (WindowLeft, WindowTop), or where the area begins when that lies further in. A direction in
// which not even a dot size of 1 fits (a button row wider than the screen) does not count, so
// where the window cannot fit either way the initial size stays.
std::int32_t StartDotSize(const StartSizes& sizes, bool dotSizeGiven, int paletteWidth,
                          int paletteHeight, const std::optional<ScreenRoom>& screen);

}  // namespace gk
