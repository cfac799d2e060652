#include "image/picture_memory.h"

#include <algorithm>
#include <cstdint>

namespace gk {

std::string NotEnoughMemoryText(const std::string& name, const PictureSize& picture) {
  constexpr std::uint64_t MiB = std::uint64_t{1} << 20;
  const std::uint64_t bits = std::uint64_t(std::max(picture.width, 0)) *
                             std::uint64_t(std::max(picture.height, 0)) *
                             std::uint64_t(std::max(picture.bitsPerPixel, 0));
  const std::uint64_t bytes = (bits + 7) / 8;
  return name + ": not enough memory for a " + std::to_string(picture.width) + " x " +
         std::to_string(picture.height) + " picture (" + std::to_string((bytes + MiB - 1) / MiB) +
         " MiB)";
}

}  // namespace gk
