#pragma once

#include <cstdint>

namespace gk {

// Whole moves of the edit window asked for by wheel turns: positive right or down, negative left
// or up.
struct WheelMove {
  int right = 0;
  int down = 0;
};

// Turns wheel deltas into moves of the edit window, one per notch. A notch is 120 units;
// high-resolution wheels and touchpads send parts of one, which add up until a notch is whole.
// A turn the other way drops what was kept, so a reversal acts at once. Shift turns the vertical
// wheel into the horizontal one.
class WheelSteps {
 public:
  static constexpr int NotchUnits = 120;
  // Enough steps of 4 pixels to cross the largest image a file may hold (16384), and no more.
  static constexpr int MaxSteps = 4096;

  // `angleX` and `angleY` as the platform gives them: positive when the wheel turns away from
  // the user (up) or to the left.
  WheelMove Add(int angleX, int angleY, bool shift);

 private:
  // The whole notches in `kept` plus `delta`, positive towards the left or up; the rest stays
  // kept.
  static int Take(std::int64_t& kept, std::int64_t delta);

  std::int64_t keptX_ = 0;
  std::int64_t keptY_ = 0;
};

}  // namespace gk
