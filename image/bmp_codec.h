#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "image/picture_bytes.h"
#include "image/surface.h"

namespace gk {

// A file the codec refuses; the text names the file and the reason ("hero.bmp: not a BMP file").
class BmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int MaxBmpSide = 16384;
inline constexpr std::int64_t MaxBmpPixels = std::int64_t{1} << 26;

// BMP compression codes.
inline constexpr std::uint32_t BiRgb = 0;
inline constexpr std::uint32_t BiRle8 = 1;
inline constexpr std::uint32_t BiRle4 = 2;
inline constexpr std::uint32_t BiBitfields = 3;

// What the headers of a file say, without decoding the pixels.
struct BmpInfo {
  int width = 0;
  int height = 0;  // always positive
  bool topDown = false;
  int bitsPerPixel = 0;
  BmpHeaderKind header = BmpHeaderKind::Info;
  std::uint32_t compression = BiRgb;
  int colourTableSize = 0;
};

// `name` is used only in error texts.
BmpInfo ReadBmpInfo(std::span<const std::uint8_t> bytes, const std::string& name);
// The same from the start of a file, without its pixels: `head` holds at least the first
// MaxBmpHeaderBytes bytes (all of a shorter file), `fileSize` is the whole file's length.
inline constexpr std::size_t MaxBmpHeaderBytes = 14 + 124 + 12;  // file header, V5, masks
BmpInfo ReadBmpInfo(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                    const std::string& name);
Surface DecodeBmp(std::span<const std::uint8_t> bytes, const std::string& name);

using BmpBytes = PictureBytes;

// The surface in its own format: core header for core-header images, 40-byte header otherwise,
// colour table at its own length, masks kept, never compressed.
BmpBytes EncodeBmp(const Surface& surface);

std::string HeaderKindName(BmpHeaderKind kind);   // "core", "info", "v4", "v5"
std::string CompressionName(std::uint32_t code);  // "BI_RGB", "BI_RLE8", ...

}  // namespace gk
