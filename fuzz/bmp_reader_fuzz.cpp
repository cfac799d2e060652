#include <cstddef>
#include <cstdint>
#include <span>

#include "image/bmp_codec.h"

// Arbitrary bytes through the header reader and the decoder: refusals are BmpErrors, anything
// else (a crash, a sanitizer report, another exception) is a fault.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  try {
    const gk::BmpInfo info = gk::ReadBmpInfo(bytes, "fuzz.bmp");
    // Large run-length images are legal from a few bytes; they only slow the search.
    if (std::int64_t{info.width} * info.height > (std::int64_t{1} << 22)) return 0;
    gk::DecodeBmp(bytes, "fuzz.bmp");
  } catch (const gk::BmpError&) {
  }
  return 0;
}
