#pragma once

#include <string>

namespace gk {

// The BMP path with its extension (from the last "." of the file name part) replaced by ".png";
// ".png" appended when the file name has no ".". A "." in a folder name does not count.
std::string PngPathFor(const std::string& bmpPath);
// The same with ".bmp": where `gridkiln-bmp bmp` writes the BMP of a PNG.
std::string BmpPathFor(const std::string& pngPath);
// True when the file name part ends in ".png", in any case: a document saved as PNG.
bool HasPngExtension(const std::string& path);

}  // namespace gk
