#pragma once

#include <string>

#include "image/surface.h"

namespace gk {

// True when a save under `path` writes PNG: the name ends in ".png", in any case.
bool SavesAsPng(const std::string& path);

// Writes `document` as the editor's Save and Save as write it under `path`: PNG for a ".png"
// name, BMP otherwise, in the document's own format or, with `save256`, at 8 bits over the
// halftone palette. `gridkiln-bmp copy` writes through here too. Errors name `path`, running out
// of memory included.
void WriteDocumentFile(const std::string& path, const Surface& document, bool save256);

}  // namespace gk
