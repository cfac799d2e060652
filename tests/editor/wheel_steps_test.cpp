#include "editor/wheel_steps.h"

#include <gtest/gtest.h>

#include <climits>

namespace gk {
namespace {

// One wheel, event after event (the window tests cover notches, Shift and parts of a notch).
TEST(WheelStepsTest, ReversalsStartAfreshAndExtremesStayBounded) {
  struct Turn {
    int x, y;
    bool shift;
    int right, down;
  };
  const Turn turns[] = {// The rest of a notch counts on; turning back drops it.
                        {0, -100, false, 0, 0},
                        {0, -40, false, 0, 1},
                        {0, -90, false, 0, 0},
                        {0, 120, false, 0, -1},
                        {INT_MIN, INT_MIN, true, WheelSteps::MaxSteps, 0},
                        {INT_MAX, INT_MAX, false, -WheelSteps::MaxSteps, -WheelSteps::MaxSteps}};
  WheelSteps wheel;
  for (const Turn& t : turns) {
    const WheelMove move = wheel.Add(t.x, t.y, t.shift);
    EXPECT_EQ(move.right, t.right) << t.x << "," << t.y;
    EXPECT_EQ(move.down, t.down) << t.x << "," << t.y;
  }
}

}  // namespace
}  // namespace gk
