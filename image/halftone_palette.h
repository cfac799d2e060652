#pragma once

#include <array>
#include <cstdint>

#include "image/colour.h"

namespace gk {

// The fixed 256-colour table of 8-bit saves: the 6 x 6 x 6 cube of levels 0, 51, 102, 153, 204,
// 255 (entries 0..215), then the shipped palette's colours outside the cube and five greys
// (216..255), so a drawing made with the palette saves at 8 bits without a colour changing.
// Saved files store indices into it: never change an entry.
const std::array<Colour, 256>& HalftonePalette();

// Index of the nearest entry of `table` (smallest squared RGB distance, lowest index on a tie).
int NearestColourIndex(const Colour* table, int count, Colour c);

}  // namespace gk
