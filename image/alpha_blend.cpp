#include "image/alpha_blend.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace gk {

// Alpha lives in a table or in the fourth byte of a pixel; no 16-bit format has it.
bool HasTransparentPixels(const Surface& surface) {
  if (!surface.HasAlpha() || surface.BytesPerPixel() == 2) return false;
  if (surface.BytesPerPixel() == 1) {
    for (int y = 0; y < surface.Height(); ++y) {
      const std::uint8_t* row = surface.Row<std::uint8_t>(y);
      if (std::any_of(row, row + surface.Width(),
                      [&](std::uint8_t raw) { return surface.AlphaOf(raw) != 255; })) {
        return true;
      }
    }
    return false;
  }
  for (int y = 0; y < surface.Height(); ++y) {
    const std::uint32_t* row = surface.Row<std::uint32_t>(y);
    if (std::any_of(row, row + surface.Width(),
                    [](std::uint32_t raw) { return raw < 0xFF000000u; }))
      return true;
  }
  return false;
}

Surface LaidOverBlack(const Surface& surface) {
  if (!surface.HasAlpha() || surface.BytesPerPixel() == 2) return surface;
  const int width = surface.Width();
  if (surface.BytesPerPixel() == 1) {
    PixelFormat format = surface.Format();
    for (std::size_t i = 0; i < format.colourTable.size() && i < 256; ++i) {
      const auto raw = static_cast<std::uint32_t>(i);
      format.colourTable[i] = Blend(surface.Decode(raw), surface.AlphaOf(raw), Black);
    }
    format.alpha = false;
    format.tableAlpha.clear();
    Surface out = Surface::Unfilled(width, surface.Height(), std::move(format));
    for (int y = 0; y < surface.Height(); ++y) {
      std::memcpy(out.Bytes(y), surface.Bytes(y), surface.RowBytes());
    }
    return out;
  }
  Surface out = Surface::Unfilled(width, surface.Height(), PixelFormat::Rgb24());
  for (int y = 0; y < surface.Height(); ++y) {
    const std::uint32_t* in = surface.Row<std::uint32_t>(y);
    std::uint32_t* row = out.Row<std::uint32_t>(y);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t raw = in[x];
      const std::uint8_t alpha = surface.AlphaOf(raw);
      row[x] = alpha == 255 ? raw : Rgb32Word(Blend(surface.Decode(raw), alpha, Black));
    }
  }
  return out;
}

}  // namespace gk
