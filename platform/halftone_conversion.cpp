#include "platform/halftone_conversion.h"

#include <array>
#include <cstdint>
#include <vector>

#include "platform/halftone_palette.h"

namespace gk {

Surface ConvertTo8BitHalftone(const Surface& surface) {
  if (surface.Format().bitsPerPixel == 8) return surface;
  const auto& palette = HalftonePalette();
  PixelFormat format = PixelFormat::Indexed(8, std::vector<Colour>(palette.begin(), palette.end()));
  Surface out(surface.Width(), surface.Height(), std::move(format), Black);

  const int width = surface.Width();
  auto nearest = [&](Colour c) {
    return static_cast<std::uint32_t>(NearestColourIndex(palette.data(), 256, c));
  };

  if (surface.Format().IsIndexed()) {
    // At most 16 raw values: map each once.
    std::array<std::uint32_t, 16> map{};
    for (std::uint32_t i = 0; i < map.size(); ++i) map[i] = nearest(surface.Decode(i));
    const std::uint32_t outside = nearest(Black);
    for (int y = 0; y < surface.Height(); ++y) {
      const std::uint32_t* src = surface.Row(y);
      std::uint32_t* dst = out.Row(y);
      for (int x = 0; x < width; ++x) dst[x] = src[x] < map.size() ? map[src[x]] : outside;
    }
    return out;
  }

  // Other formats store the colour itself. A direct-mapped cache of colour -> palette index:
  // pixel art repeats a few colours, so the 256-entry search runs about once per colour.
  constexpr std::size_t CacheSize = 4096;
  std::vector<Colour> keys(CacheSize, NoColour);
  std::vector<std::uint32_t> values(CacheSize, 0);
  Colour last = NoColour;
  std::uint32_t lastIndex = 0;
  for (int y = 0; y < surface.Height(); ++y) {
    const std::uint32_t* src = surface.Row(y);
    std::uint32_t* dst = out.Row(y);
    for (int x = 0; x < width; ++x) {
      const Colour c = src[x] & 0xFFFFFF;
      if (c != last) {
        const std::size_t slot = ((c * 0x9E3779B1u) >> 20) & (CacheSize - 1);
        if (keys[slot] != c) {
          keys[slot] = c;
          values[slot] = nearest(c);
        }
        last = c;
        lastIndex = values[slot];
      }
      dst[x] = lastIndex;
    }
  }
  return out;
}

}  // namespace gk
