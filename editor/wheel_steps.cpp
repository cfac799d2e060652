#include "editor/wheel_steps.h"

#include <algorithm>

namespace gk {

WheelMove WheelSteps::Add(int angleX, int angleY, bool shift) {
  // Summed wide: two extreme deltas cannot overflow.
  const std::int64_t left = shift ? std::int64_t{angleX} + angleY : angleX;
  const std::int64_t up = shift ? 0 : angleY;
  return {-Take(keptX_, left), -Take(keptY_, up)};
}

int WheelSteps::Take(std::int64_t& kept, std::int64_t delta) {
  if ((kept > 0 && delta < 0) || (kept < 0 && delta > 0)) kept = 0;
  kept += delta;
  // The division truncates toward zero, so the rest keeps the sign of the turn.
  const std::int64_t steps = kept / NotchUnits;
  kept -= steps * NotchUnits;
  return static_cast<int>(std::clamp<std::int64_t>(steps, -MaxSteps, MaxSteps));
}

}  // namespace gk
