#pragma once

#include <string>

#include "image/picture_format.h"
#include "image/surface.h"

namespace gk {

// Writes `document` as the editor's Save and Save as write it under `path`: in the kind the name
// saves as (SaveFormatOf: PNG for a ".png" name, BMP otherwise), in the document's own format
// or, with `save256`, in that kind's 8-bit copy. `gridkiln-bmp copy` writes through here too.
// Errors name `path`, running out of memory included.
void WriteDocumentFile(const std::string& path, const Surface& document, bool save256);
// The same in the kind `format`, whatever the name.
void WriteDocumentAs(const PictureFormat& format, const std::string& path, const Surface& document,
                     bool save256);

}  // namespace gk
