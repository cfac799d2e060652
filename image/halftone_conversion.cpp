#include "image/halftone_conversion.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "image/halftone_palette.h"

namespace gk {

Surface ConvertTo8BitHalftone(const Surface& surface) {
  if (surface.Format().bitsPerPixel == 8) return surface;
  const auto& palette = HalftonePalette();
  PixelFormat format = PixelFormat::Indexed(8, std::vector<Colour>(palette.begin(), palette.end()));
  Surface out = Surface::Unfilled(surface.Width(), surface.Height(), std::move(format));

  const int width = surface.Width();
  auto nearest = [&](Colour c) {
    return static_cast<std::uint8_t>(NearestColourIndex(palette.data(), 256, c));
  };

  if (surface.BytesPerPixel() == 1) {
    // One-byte indices of a 1- or 4-bit table: map each value once; values past the depth's
    // range read black, like every index past the table.
    const int used = 1 << std::min(surface.Format().bitsPerPixel, 8);
    std::array<std::uint8_t, 256> map;
    map.fill(nearest(Black));
    for (int i = 0; i < used; ++i) map[i] = nearest(surface.Decode(static_cast<std::uint32_t>(i)));
    for (int y = 0; y < surface.Height(); ++y) {
      const std::uint8_t* src = surface.Row<std::uint8_t>(y);
      std::uint8_t* dst = out.Row<std::uint8_t>(y);
      for (int x = 0; x < width; ++x) dst[x] = map[src[x]];
    }
    return out;
  }

  // Other formats: a direct-mapped cache of colour -> palette index. Pixel art repeats a few
  // colours, so the 256-entry search runs about once per colour.
  constexpr std::size_t CacheSize = 4096;
  std::vector<Colour> keys(CacheSize, NoColour);
  std::vector<std::uint8_t> values(CacheSize, 0);
  WithPixelType(surface.BytesPerPixel(), [&]<typename Pixel>(Pixel*) {
    Pixel last = 0;
    std::uint8_t lastIndex = nearest(surface.Decode(last));
    for (int y = 0; y < surface.Height(); ++y) {
      const Pixel* src = surface.Row<Pixel>(y);
      std::uint8_t* dst = out.Row<std::uint8_t>(y);
      for (int x = 0; x < width; ++x) {
        if (src[x] != last) {
          last = src[x];
          const Colour c = surface.Decode(last);
          const std::size_t slot = ((c * 0x9E3779B1u) >> 20) & (CacheSize - 1);
          if (keys[slot] != c) {
            keys[slot] = c;
            values[slot] = nearest(c);
          }
          lastIndex = values[slot];
        }
        dst[x] = lastIndex;
      }
    }
  });
  return out;
}

}  // namespace gk
