#pragma once

#include <vector>

#include "platform/surface.h"

namespace gk::testing {

// Every pixel of `s`, row by row from the top, so whole pictures compare in one check.
inline std::vector<Colour> Pixels(const Surface& s) {
  std::vector<Colour> out;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) out.push_back(s.ReadPixel(x, y));
  }
  return out;
}

}  // namespace gk::testing
