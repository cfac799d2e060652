#pragma once

#include "image/surface.h"

namespace gk {

// 4-connected fill of the area of colour `target` around (x, y) with c; nothing when (x, y) is
// outside or not of colour `target`. Iterative; the cost follows the filled area, not the
// surface's size.
void FloodFillArea(Surface& surface, int x, int y, Colour target, Colour c);

}  // namespace gk
