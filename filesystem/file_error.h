#pragma once

#include <stdexcept>
#include <string>

namespace gk {

// Every file error names the file first, then what failed: "hero.bmp: cannot write: No space
// left on device", "hero.bmp: not a regular file".
std::runtime_error FileError(const std::string& path, const std::string& what);
// `action` ("cannot open", "cannot write") followed by the system's text for `err`.
std::runtime_error SystemFileError(const std::string& path, const char* action, int err);

}  // namespace gk
