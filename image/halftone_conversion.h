#pragma once

#include "image/surface.h"

namespace gk {

// The 8-bit copy a "Save256" save writes: an 8-bit surface is returned as it is; any other
// becomes 8 bits over the halftone palette, each pixel its nearest colour, no dithering.
Surface ConvertTo8BitHalftone(const Surface& surface);

// The same for a picture that may have alpha, keeping its fully transparent pixels transparent.
// Pixels that are not fully transparent are laid over black and take their nearest halftone
// colour. Where some pixel is fully transparent, the table is entry 0, transparent black, for
// those pixels, then the halftone colours the others take, in the halftone table's order; when
// they take all 256, the one the fewest pixels take goes to its nearest among the rest. An 8-bit
// surface is returned as it is, with its own table's alpha.
Surface ConvertTo8BitKeepingTransparency(const Surface& surface);

}  // namespace gk
