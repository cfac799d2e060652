#pragma once

#include <cstdint>
#include <vector>

#include "platform/colour.h"

namespace gk {

// Which BMP header an image was read with, so a save can write the same kind back.
enum class BmpHeaderKind { Core, Info, V4, V5 };

// How a surface holds its pixels: the record a save uses to write the file's own format back.
struct PixelFormat {
  int bitsPerPixel = 24;            // 1, 4, 8 (indexed), 16, 24 or 32
  std::vector<Colour> colourTable;  // indexed formats only; may be shorter than 2^bits
  std::uint32_t redMask = 0;        // 16 and 32 bits: where each channel lies in a pixel
  std::uint32_t greenMask = 0;
  std::uint32_t blueMask = 0;
  bool bitfields = false;  // masks were given explicitly (BI_BITFIELDS) and are written back so
  BmpHeaderKind header = BmpHeaderKind::Info;
  bool rleCompressed = false;  // read from an RLE file; informational, saves are uncompressed

  bool IsIndexed() const { return bitsPerPixel <= 8; }

  static PixelFormat Rgb24();
  static PixelFormat Indexed(int bits, std::vector<Colour> table);
  static PixelFormat Rgb555();  // 16-bit BI_RGB
  static PixelFormat Rgb565();  // 16-bit BI_BITFIELDS
  static PixelFormat Rgb32();   // 32-bit BI_RGB (fourth byte is padding)

  friend bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

// A rectangular grid of colours. Pixels are stored as raw values: the table index for indexed
// formats, the colour (reduced to what the format can hold) for the others. Writes store the
// nearest colour the format can hold, so ReadPixel after WritePixel returns the stored colour.
class Surface {
 public:
  Surface() = default;  // 0 x 0
  // A surface filled with the colour nearest to `fill`. Sizes below 0 count as 0.
  Surface(int width, int height, PixelFormat format = PixelFormat::Rgb24(), Colour fill = White);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const PixelFormat& Format() const { return format_; }

  // NoColour outside the surface.
  Colour ReadPixel(int x, int y) const;
  // Outside: nothing.
  void WritePixel(int x, int y, Colour c);
  // Pixels with x1 <= x < x2 and y1 <= y < y2, clipped; NoColour paints black.
  void FillRectangle(int x1, int y1, int x2, int y2, Colour c);
  // The block (0, 0)-(w, h), edges excluded, to raw value 0 (black, or table entry 0).
  void FillBlack(int w, int h);
  // The same block to the colour nearest to white.
  void FillWhite(int w, int h);

  // Raw access for the codec and for fast whole-image work.
  std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  // The raw value the surface stores for colour c (nearest table index, or reduced colour).
  std::uint32_t Encode(Colour c) const;
  // The colour of a raw value.
  Colour Decode(std::uint32_t raw) const;

 private:
  int width_ = 0;
  int height_ = 0;
  PixelFormat format_;
  std::vector<std::uint32_t> pixels_;
};

// Copies the w x h block at (sx, sy) of src to (dx, dy) of dst, clipped against both surfaces.
// src and dst may be the same surface with overlapping blocks: the result is as if the source
// block had been read whole first. Raw values are copied when both formats are equal, colours
// otherwise.
void CopyBlock(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy);

}  // namespace gk
