#pragma once

#include <string>

#include "image/picture_bytes.h"
#include "image/surface.h"

namespace gk {

// The surface as the bytes of a PNG file showing the same pixels. An indexed surface of 1, 4 or
// 8 bits whose indices all lie within its depth stays indexed at that depth with its own table
// and its entries' alpha (an index beyond a short table gets the colour the surface shows for
// it); a 32-bit surface with alpha keeps it, as grey or colour with an alpha channel or a
// transparent colour, the kind its file had where that holds the pixels; any other becomes
// 8-bit RGB. Rows are filtered for pixel art where that pays. `level` is zlib's compression
// level, 0 to 9, or -1 for libpng's default. Throws std::runtime_error naming `name` and
// libpng's reason ("hero.png: cannot write: ..."), std::bad_alloc when the bytes do not fit.
PictureBytes EncodePng(const Surface& surface, int level, const std::string& name);

}  // namespace gk
