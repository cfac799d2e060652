#pragma once

#include <cstdint>
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

// Every raw value of `s`, row by row from the top, widened to 32 bits.
inline std::vector<std::uint32_t> RawPixels(const Surface& s) {
  std::vector<std::uint32_t> out;
  WithPixelType(s.BytesPerPixel(), [&]<typename Pixel>(Pixel*) {
    for (int y = 0; y < s.Height(); ++y)
      out.insert(out.end(), s.Row<Pixel>(y), s.Row<Pixel>(y) + s.Width());
  });
  return out;
}

}  // namespace gk::testing
