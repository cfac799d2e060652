#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "filesystem/user_folders.h"

// Arbitrary bytes as a user-dirs.dirs file: the reader never throws, and what it finds is an
// absolute path or the home with something after it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string home = "/home/ann";
  const std::optional<std::string> pictures = gk::PicturesDirFromUserDirs(text, home);
  if (pictures && pictures->front() != '/') __builtin_trap();
  if (pictures && pictures->size() > size + home.size()) __builtin_trap();
  return 0;
}
