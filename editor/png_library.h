#pragma once

#include <cstdint>
#include <string>

namespace gk::png {

// Our stand-in for the outside image library of the PNG export: three operations.
struct Image;
using ImageHandle = Image*;

// The options record handed to WritePng: 36 bytes, little-endian fields. The editor sets
// flags = 9 and level = 9 and zeroes the three 32-bit fields; the rest is not set.
struct PngOptions {
  std::uint32_t flags;  // bit 0: `level` holds the zlib compression level
  std::uint16_t level;  // 0 to 9; 7, 8 and 9 compress as 6
  std::uint8_t unset1[10];
  std::uint32_t field16;
  std::uint8_t unset2[8];
  std::uint32_t field28;
  std::uint32_t field32;
};
static_assert(sizeof(PngOptions) == 36);

// Loads a BMP file; nullptr when it cannot be loaded.
ImageHandle LoadBmp(const std::string& bmpPath);
// Writes the image as a PNG showing the same pixels (indexed images stay indexed). Returns 0 on
// success, non-zero on failure; the reason is then in LastError().
int WritePng(const std::string& pngPath, ImageHandle image, const PngOptions* options);
// Releases a handle from LoadBmp; nullptr is ignored.
void Release(ImageHandle image);
// The reason of the last failure of LoadBmp or WritePng on this thread.
std::string LastError();

}  // namespace gk::png
