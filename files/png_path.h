#pragma once

#include <string>

namespace gk {

// The BMP path with its extension (from the last "." of the file name part) replaced by ".png";
// ".png" appended when the file name has no ".". A "." in a folder name does not count.
std::string PngPathFor(const std::string& bmpPath);

}  // namespace gk
