#pragma once

#include "image/surface.h"

namespace gk {

// Whole-image mappings: every pixel of `doc` is rewritten from `old`, the picture as it was (a
// copy, or `doc` itself), so what `doc` held before does not matter. A source in another format
// is read by colour. Both must have the same size; std::invalid_argument otherwise.

// Every pixel moves by (dx, dy), wrapping round the edges:
// new(x, y) = old((x - dx) mod width, (y - dy) mod height).
void ShiftImage(Surface& doc, const Surface& old, int dx, int dy);
void MirrorVertical(Surface& doc, const Surface& old);    // left and right swapped
void MirrorHorizontal(Surface& doc, const Surface& old);  // top and bottom swapped
// A quarter turn counter-clockwise; pixels whose source lies outside keep the values they had
// in `old`.
void Rotate(Surface& doc, const Surface& old);

}  // namespace gk
