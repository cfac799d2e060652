#pragma once

#include <array>
#include <cstdint>

#include "platform/colour.h"

namespace gk {

// The fixed 256-colour table of 8-bit saves: the 6 x 6 x 6 cube of levels 0, 51, 102, 153, 204,
// 255, then greys and the 16 classic VGA colours to fill it. Saved files depend on it: never
// change it.
const std::array<Colour, 256>& HalftonePalette();

// Index of the nearest entry of `table` (smallest squared RGB distance, lowest index on a tie).
int NearestColourIndex(const Colour* table, int count, Colour c);

}  // namespace gk
