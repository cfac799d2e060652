#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "image/surface.h"

namespace gk {

// A PNG file the reader refuses; the text names the file and the reason ("hero.png: file is
// truncated").
class PngError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// True when `bytes` begin with the eight bytes every PNG file begins with.
bool HasPngSignature(std::span<const std::uint8_t> bytes);

// What the header chunk says.
struct PngInfo {
  int width = 0;
  int height = 0;
  int bitDepth = 0;    // bits of a channel, or of an index: 1, 2, 4, 8 or 16
  int colourType = 0;  // 0 grey, 2 RGB, 3 indexed, 4 grey and alpha, 6 RGB and alpha
  bool interlaced = false;
};

// The bytes up to the end of the header chunk: signature, then the chunk's length, type, 13 bytes
// and CRC.
inline constexpr std::size_t PngHeaderBytes = 8 + 12 + 13;

// The header chunk alone, checked as ReadPngInfo checks it (size bounds, bit depth): enough to
// describe the picture from the first bytes of a file.
PngInfo ReadPngHeader(std::span<const std::uint8_t> bytes, const std::string& name);
// Bits per pixel of the surface DecodePng gives: the index depth (2 bits widened to 4), 32 with
// an alpha channel, else 24 (32 when a transparent colour follows the header).
int SurfaceBits(const PngInfo& info);

// Checks the header and the chunks up to the end of the image data without decoding them. It
// refuses what is not a PNG, a size beyond the BMP codec's bounds (MaxBmpSide a side,
// MaxBmpPixels in all), an animated PNG, and image data too short for the declared size even at
// deflate's best ratio, so that a small file cannot make the decoder allocate a large image.
// `name` is used only in error texts.
PngInfo ReadPngInfo(std::span<const std::uint8_t> bytes, const std::string& name);

// The picture as the editor holds it. An indexed PNG gives an indexed surface with its palette
// at 1, 4 or 8 bits (2 bits are widened to 4), with each entry's alpha where the file has a
// transparency chunk; grey and colour PNGs give 24-bit surfaces, or 32-bit ones with alpha where
// the file has an alpha channel or a transparent colour, which remember how the file held it;
// 16-bit channels are rounded to 8 bits. Interlaced files are read; gamma, colour profiles and
// text chunks are skipped, so the surface holds the stored values.
Surface DecodePng(std::span<const std::uint8_t> bytes, const std::string& name);

}  // namespace gk
