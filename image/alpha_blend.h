#pragma once

#include <cstdint>

#include "image/colour.h"
#include "image/surface.h"

namespace gk {

// A channel of `alpha` laid over `under`, rounded to the nearest value.
constexpr std::uint8_t BlendChannel(std::uint8_t top, std::uint8_t under, std::uint8_t alpha) {
  return static_cast<std::uint8_t>((top * alpha + under * (255 - alpha) + 127) / 255);
}

// Colour `top` of `alpha` laid over `under`: what it shows on that background.
constexpr Colour Blend(Colour top, std::uint8_t alpha, Colour under) {
  return MakeColour(BlendChannel(RedOf(top), RedOf(under), alpha),
                    BlendChannel(GreenOf(top), GreenOf(under), alpha),
                    BlendChannel(BlueOf(top), BlueOf(under), alpha));
}

// How the editor shows a pixel that is not opaque: over a checkerboard of two light greys, of
// squares `square` pixels a side counted from (0, 0) of whatever shows it.
inline constexpr Colour CheckerLight = 0xEEEEEEu;
inline constexpr Colour CheckerDark = 0xCCCCCCu;
constexpr Colour CheckerAt(std::int64_t x, std::int64_t y, int square) {
  return ((x / square + y / square) & 1) == 0 ? CheckerLight : CheckerDark;
}

// True when some pixel of `surface` is not opaque.
bool HasTransparentPixels(const Surface& surface);

// The picture as a file without alpha holds it: every pixel laid over black, at 24 bits, or an
// index over its table laid over black. A surface without alpha comes back as it is.
Surface LaidOverBlack(const Surface& surface);

}  // namespace gk
