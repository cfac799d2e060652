#pragma once

#include <string>

#include "image/picture_bytes.h"
#include "image/surface.h"

namespace gk {

// The surface as the bytes of a PNG file showing the same pixels. An indexed surface of 1, 4 or
// 8 bits whose indices all lie within its depth stays indexed at that depth with its own table
// (an index beyond a short table gets the colour the surface shows for it); any other becomes
// 8-bit RGB. Rows are filtered for pixel art where that pays. `level` is zlib's compression
// level, 0 to 9, or -1 for libpng's default. Throws std::runtime_error naming `name` and
// libpng's reason ("hero.png: cannot write: ..."), std::bad_alloc when the bytes do not fit.
PictureBytes EncodePng(const Surface& surface, int level, const std::string& name);

}  // namespace gk
