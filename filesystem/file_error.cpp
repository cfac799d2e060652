#include "filesystem/file_error.h"

#include <cstring>

namespace gk {

std::runtime_error FileError(const std::string& path, const std::string& what) {
  return std::runtime_error(path + ": " + what);
}

std::runtime_error SystemFileError(const std::string& path, const char* action, int err) {
  return FileError(path, std::string(action) + ": " + std::strerror(err));
}

}  // namespace gk
