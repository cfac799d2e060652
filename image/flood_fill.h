#pragma once

#include <functional>

#include "image/surface.h"

namespace gk {

// Told a row of the surface before the fill writes to it (perhaps more than once a row), so that
// a copy of what the row held can be kept first.
using BeforeRowWritten = std::function<void(int row)>;

// 4-connected fill of the area of colour `target` around (x, y) with c, opaque; nothing when
// (x, y) is outside or not of colour `target`. In a surface with alpha the area also shares the
// alpha of (x, y). Iterative; the cost follows the filled area, not the
// surface's size.
void FloodFillArea(Surface& surface, int x, int y, Colour target, Colour c,
                   const BeforeRowWritten& beforeRowWritten = nullptr);

}  // namespace gk
