#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/png_reader.h"

namespace {

std::uint32_t Be32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

// Gives every whole chunk its right CRC, so that changed bytes reach the decoder instead of
// stopping at the checksum (the unit tests cover wrong CRCs).
void FixCrcs(std::vector<std::uint8_t>& png) {
  for (std::size_t at = 8; png.size() - at >= 12;) {
    const std::uint32_t length = Be32(&png[at]);
    if (length > png.size() - at - 12) return;
    const auto crc = static_cast<std::uint32_t>(crc32(0, &png[at + 4], length + 4));
    std::uint8_t* out = &png[at + 8 + length];
    out[0] = static_cast<std::uint8_t>(crc >> 24);
    out[1] = static_cast<std::uint8_t>(crc >> 16);
    out[2] = static_cast<std::uint8_t>(crc >> 8);
    out[3] = static_cast<std::uint8_t>(crc);
    at += 12 + std::size_t{length};
  }
}

}  // namespace

// Arbitrary bytes through the chunk check and the decoder: refusals are PngErrors, anything else
// (a crash, a sanitizer report, another exception) is a fault.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> png(data, data + size);
  if (png.size() >= 8) FixCrcs(png);
  try {
    const gk::PngInfo info = gk::ReadPngInfo(png, "fuzz.png");
    // Large images are legal from a few hundred bytes; they only slow the search.
    if (std::int64_t{info.width} * info.height > (std::int64_t{1} << 22)) return 0;
    gk::DecodePng(png, "fuzz.png");
  } catch (const gk::PngError&) {
  }
  return 0;
}
