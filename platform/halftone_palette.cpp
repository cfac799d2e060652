#include "platform/halftone_palette.h"

#include <limits>

namespace gk {

namespace {

// The order, fixed because 8-bit saves store indices into it:
//   0..215    the 6 x 6 x 6 cube of levels 0, 51, 102, 153, 204, 255; entry 36*r + 6*g + b
//             for level numbers r, g, b (blue varies fastest), so entry 0 is black, 215 white;
//   216..223  the classic VGA colours that the cube lacks: maroon, green, olive, navy, purple,
//             teal, silver, grey;
//   224..255  32 greys (k*255/33 rounded, k = 1..32), none equal to a cube or VGA grey.
std::array<Colour, 256> MakeHalftonePalette() {
  std::array<Colour, 256> table{};
  int n = 0;
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        table[n++] =
            MakeColour(static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
                       static_cast<std::uint8_t>(51 * b));
      }
    }
  }
  const Colour vga[] = {MakeColour(128, 0, 0),     MakeColour(0, 128, 0),
                        MakeColour(128, 128, 0),   MakeColour(0, 0, 128),
                        MakeColour(128, 0, 128),   MakeColour(0, 128, 128),
                        MakeColour(192, 192, 192), MakeColour(128, 128, 128)};
  for (Colour c : vga) table[n++] = c;
  for (int k = 1; k <= 32; ++k) {
    const auto level = static_cast<std::uint8_t>((k * 85 + 5) / 11);  // k*255/33, rounded
    table[n++] = MakeColour(level, level, level);
  }
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
