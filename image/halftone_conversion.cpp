#include "image/halftone_conversion.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "image/alpha_blend.h"
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

Surface ConvertTo8BitKeepingTransparency(const Surface& surface) {
  if (!surface.HasAlpha() || surface.BytesPerPixel() == 2) return ConvertTo8BitHalftone(surface);
  if (surface.Format().bitsPerPixel == 8) return surface;
  const Surface out = ConvertTo8BitHalftone(LaidOverBlack(surface));
  const int width = surface.Width();
  const auto transparent = [&](int x, int y) {
    const std::uint32_t raw = surface.BytesPerPixel() == 1 ? surface.Row<std::uint8_t>(y)[x]
                                                           : surface.Row<std::uint32_t>(y)[x];
    return surface.AlphaOf(raw) == 0;
  };

  // How many pixels that stay visible take each halftone colour.
  std::array<std::int64_t, 256> uses{};
  bool anyTransparent = false;
  for (int y = 0; y < surface.Height(); ++y) {
    const std::uint8_t* row = out.Row<std::uint8_t>(y);
    for (int x = 0; x < width; ++x) {
      if (transparent(x, y)) {
        anyTransparent = true;
      } else {
        ++uses[row[x]];
      }
    }
  }
  if (!anyTransparent) return out;

  const auto& palette = HalftonePalette();
  std::array<int, 256> kept{};  // each halftone colour's entry in the new table
  std::vector<Colour> table{Black};
  int least = -1;
  if (std::count(uses.begin(), uses.end(), 0) == 0) {
    least = static_cast<int>(std::min_element(uses.begin(), uses.end()) - uses.begin());
    uses[least] = 0;
  }
  for (int i = 0; i < 256; ++i) {
    if (uses[i] == 0) continue;
    kept[i] = static_cast<int>(table.size());
    table.push_back(palette[i]);
  }
  if (least >= 0) {
    // Every colour was taken: the least taken one gives up its entry and its pixels take the
    // nearest of the rest.
    std::vector<Colour> others;
    for (int i = 0; i < 256; ++i) {
      if (i != least) others.push_back(palette[i]);
    }
    int nearest = NearestColourIndex(others.data(), 255, palette[least]);
    if (nearest >= least) ++nearest;
    kept[least] = kept[nearest];
  }
  PixelFormat format = PixelFormat::Indexed(8, std::move(table));
  format.alpha = true;
  format.tableAlpha = {0};
  Surface keyed = Surface::Unfilled(width, surface.Height(), std::move(format));
  for (int y = 0; y < surface.Height(); ++y) {
    const std::uint8_t* in = out.Row<std::uint8_t>(y);
    std::uint8_t* row = keyed.Row<std::uint8_t>(y);
    for (int x = 0; x < width; ++x) {
      row[x] = transparent(x, y) ? 0 : static_cast<std::uint8_t>(kept[in[x]]);
    }
  }
  return keyed;
}

}  // namespace gk
