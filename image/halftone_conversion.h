#pragma once

#include "image/surface.h"

namespace gk {

// The 8-bit copy a "Save256" save writes: an 8-bit surface is returned as it is; any other
// becomes 8 bits over the halftone palette, each pixel its nearest colour, no dithering.
Surface ConvertTo8BitHalftone(const Surface& surface);

}  // namespace gk
