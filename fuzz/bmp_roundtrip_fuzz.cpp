#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "image/bmp_codec.h"

namespace {

[[noreturn]] void Mismatch(const char* what) {
  std::fprintf(stderr, "round trip changed the image: %s\n", what);
  std::abort();
}

}  // namespace

// Whatever the decoder accepts, the encoder must write so that it reads back as the same image.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  gk::Surface first;
  try {
    const gk::BmpInfo info = gk::ReadBmpInfo(bytes, "fuzz.bmp");
    if (std::int64_t{info.width} * info.height > (std::int64_t{1} << 22)) return 0;
    first = gk::DecodeBmp(bytes, "fuzz.bmp");
  } catch (const gk::BmpError&) {
    return 0;
  }

  const gk::BmpBytes written = gk::EncodeBmp(first);
  gk::Surface second;
  try {
    second = gk::DecodeBmp(written, "written.bmp");
  } catch (const gk::BmpError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    Mismatch("the written file does not read");
  }
  if (second.Width() != first.Width() || second.Height() != first.Height()) Mismatch("size");
  if (second.Format().bitsPerPixel != first.Format().bitsPerPixel) Mismatch("bit depth");
  if (second.Format().colourTable != first.Format().colourTable) Mismatch("colour table");
  for (int y = 0; y < first.Height(); ++y) {
    for (int x = 0; x < first.Width(); ++x) {
      if (second.ReadPixel(x, y) != first.ReadPixel(x, y)) Mismatch("pixels");
    }
  }
  if (gk::EncodeBmp(second) != written) Mismatch("a second save writes other bytes");
  return 0;
}
