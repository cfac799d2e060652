#pragma once

#include "image/surface.h"

namespace gk {

// Whole-image mappings: `doc` is rewritten from `old`, a copy of it taken before (or `doc`
// itself). A source in another format is read by colour. Both must have the same size;
// std::invalid_argument otherwise.

// Every pixel moves by (dx, dy), wrapping round the edges:
// new(x, y) = old((x - dx) mod width, (y - dy) mod height).
void ShiftImage(Surface& doc, const Surface& old, int dx, int dy);
void MirrorVertical(Surface& doc, const Surface& old);    // left and right swapped
void MirrorHorizontal(Surface& doc, const Surface& old);  // top and bottom swapped
// A quarter turn counter-clockwise; pixels whose source lies outside keep their values.
void Rotate(Surface& doc, const Surface& old);

}  // namespace gk
