#include "image/halftone_palette.h"

#include <limits>

namespace gk {

namespace {

// A colour written as 0xRRGGBB, the way the palette script lists it.
constexpr Colour Rgb(std::uint32_t rgb) {
  return MakeColour(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                    static_cast<std::uint8_t>(rgb));
}

// Entries 216..255 in order: the shipped palette's colours outside the cube, ramp by ramp (the
// list assets/make_palette.py --table prints), then greys halfway between the cube's levels.
constexpr Colour ExtraColours[40] = {
    // greys
    Rgb(0x181425),
    Rgb(0x4d4c53),
    Rgb(0x817e7c),
    Rgb(0xb6b2ac),
    Rgb(0xeae6dc),
    // skin and earth
    Rgb(0x34181d),
    Rgb(0x4d2529),
    Rgb(0x81463e),
    Rgb(0x9d5a47),
    Rgb(0xb86f50),
    Rgb(0xc28569),
    Rgb(0xe5b27f),
    Rgb(0xfff0d8),
    // reds to yellows
    Rgb(0x380a28),
    Rgb(0xb31d34),
    Rgb(0xe64d34),
    Rgb(0xfee761),
    // greens
    Rgb(0x001d24),
    Rgb(0x044d3b),
    Rgb(0x4a7f36),
    Rgb(0x7eb235),
    Rgb(0xb2e54e),
    Rgb(0xf1ffba),
    // blues
    Rgb(0x211d46),
    Rgb(0x364c81),
    Rgb(0x357fb3),
    Rgb(0x4db2e5),
    Rgb(0x77e7ff),
    // purples to pinks
    Rgb(0x1e1237),
    Rgb(0x3d2465),
    Rgb(0x8a429c),
    Rgb(0xac539c),
    Rgb(0xe57fb2),
    Rgb(0xffb2c5),
    Rgb(0xffdce0),
    // filler greys
    Rgb(0x1a1a1a),
    Rgb(0x4d4d4d),
    Rgb(0x808080),
    Rgb(0xb3b3b3),
    Rgb(0xe6e6e6),
};

std::array<Colour, 256> MakeHalftonePalette() {
  std::array<Colour, 256> table{};
  int n = 0;
  // Entry 36*r + 6*g + b for level numbers r, g, b (blue varies fastest): 0 is black, 215 white.
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        table[n++] =
            MakeColour(static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
                       static_cast<std::uint8_t>(51 * b));
      }
    }
  }
  for (Colour c : ExtraColours) table[n++] = c;
  return table;
}

}  // namespace

const std::array<Colour, 256>& HalftonePalette() {
  static const std::array<Colour, 256> table = MakeHalftonePalette();
  return table;
}

int NearestColourIndex(const Colour* table, int count, Colour c) {
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (int i = 0; i < count; ++i) {
    const int dr = RedOf(table[i]) - RedOf(c);
    const int dg = GreenOf(table[i]) - GreenOf(c);
    const int db = BlueOf(table[i]) - BlueOf(c);
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
      if (distance == 0) break;
    }
  }
  return best;
}

}  // namespace gk
