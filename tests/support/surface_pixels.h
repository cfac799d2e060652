#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "image/surface.h"

namespace gk::testing {

// Every pixel of `s`, row by row from the top, so whole pictures compare in one check. A pixel
// that is not opaque carries its transparency (255 - alpha) in the top byte, so opaque pixels
// read as plain colours.
inline std::vector<Colour> Pixels(const Surface& s) {
  std::vector<Colour> out;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      out.push_back(s.ReadPixel(x, y) | std::uint32_t(255 - s.ReadAlpha(x, y)) << 24);
    }
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

// `n` colours from a seeded generator, the same on every run.
inline std::vector<Colour> RandomColours(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<Colour> out;
  for (int i = 0; i < n; ++i) out.push_back(rng() & 0xFFFFFF);
  return out;
}

// A 24-bit surface with every pixel a different colour (up to 256 columns).
inline Surface ColourPattern(int w, int h) {
  Surface s(w, h, PixelFormat::Rgb24(), Black);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.WritePixel(x, y, static_cast<Colour>(x + 256 * y));
  return s;
}

// Same size and the same colour at every pixel, naming the first pixel that differs.
inline void ExpectSamePixels(const Surface& a, const Surface& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      ASSERT_EQ(a.ReadPixel(x, y), b.ReadPixel(x, y)) << "at " << x << "," << y;
}

}  // namespace gk::testing
