#pragma once

#include <string>
#include <string_view>

namespace gk {

// The BMP path with its extension (from the last "." of the file name part) replaced by ".png";
// ".png" appended when the file name has no ".". A "." in a folder name does not count.
std::string PngPathFor(const std::string& bmpPath);
// The same with ".bmp": where `gridkiln-bmp bmp` writes the BMP of a PNG.
std::string BmpPathFor(const std::string& pngPath);
// True when the file name ends in `extension` (given in lower case), in any case: ".png" for a
// document saved as PNG.
bool HasExtension(std::string_view path, std::string_view extension);

}  // namespace gk
