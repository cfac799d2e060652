#pragma once

#include <string>
#include <string_view>

namespace gk {

// The path with the extension of its file name (from the last "." of the file name part)
// replaced by `extension`; `extension` appended when the file name has no ".". A "." in a folder
// name does not count.
std::string WithExtension(const std::string& path, std::string_view extension);
// WithExtension for the PNG export beside a save: the BMP path with ".png".
std::string PngPathFor(const std::string& bmpPath);

}  // namespace gk
