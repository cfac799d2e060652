#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/channel_masks.h"
#include "image/colour.h"

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
  // Pixels carry an alpha beside their colour, 0 transparent to 255 opaque: the fourth byte of a
  // 32-bit pixel (0xAARRGGBB), or the table's for an index. Only PNG documents have one.
  bool alpha = false;
  std::vector<std::uint8_t> tableAlpha;  // indexed with alpha: entry i's; 255 past its end
  // How the PNG file of a 32-bit document with alpha held it, so that a save writes that kind
  // back where it holds the pixels: grey channels, and one transparent colour instead of an
  // alpha channel.
  bool greyFile = false;
  bool colourKey = false;

  bool IsIndexed() const { return bitsPerPixel <= 8; }
  // Bytes a surface of this format gives each pixel: 1 for a table index (at any depth up to
  // 8), 2 for a 16-bit pixel, 4 for the rest.
  int BytesPerPixel() const { return bitsPerPixel <= 8 ? 1 : bitsPerPixel <= 16 ? 2 : 4; }

  static PixelFormat Rgb24();
  static PixelFormat Indexed(int bits, std::vector<Colour> table);
  static PixelFormat Rgb555();  // 16-bit BI_RGB
  static PixelFormat Rgb565();  // 16-bit BI_BITFIELDS
  static PixelFormat Rgb32();   // 32-bit BI_RGB (fourth byte is padding)
  static PixelFormat Rgba32();  // 32-bit with alpha

  friend bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

// A half-open rectangle of pixels: left <= x < right, top <= y < bottom.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool Empty() const { return left >= right || top >= bottom; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The raw value of colour c in a 24- or 32-bit surface: 0xFFRRGGBB.
constexpr std::uint32_t Rgb32Word(Colour c) {
  return 0xFF000000u | (std::uint32_t{RedOf(c)} << 16) | (std::uint32_t{GreenOf(c)} << 8) |
         BlueOf(c);
}

// Pixel memory, allocated without being cleared and copied whole. Large buffers start on a
// 2 MiB boundary and are advised into 2 MiB pages where the system has them.
class PixelBuffer {
 public:
  PixelBuffer() = default;
  explicit PixelBuffer(std::size_t bytes);  // throws std::bad_alloc
  PixelBuffer(const PixelBuffer& other);
  PixelBuffer& operator=(const PixelBuffer& other);
  PixelBuffer(PixelBuffer&& other) noexcept;
  PixelBuffer& operator=(PixelBuffer&& other) noexcept;
  ~PixelBuffer();

  void* Data() { return data_; }
  const void* Data() const { return data_; }

 private:
  void Release() noexcept;

  void* data_ = nullptr;
  std::size_t size_ = 0;
};

// A rectangular grid of colours, each pixel held in the size its format needs. Raw values are
// the table index (one byte) for indexed formats, the pixel packed with the format's masks (two
// bytes) at 16 bits, and the colour as 0xFFRRGGBB (four bytes: B, G, R, 0xFF in memory, the
// order of a 32-bit BMP file and of a 32-bit screen image) at 24 and 32 bits, reduced to what
// the masks hold; with alpha, 0xAARRGGBB. Writes store the nearest colour the format can hold,
// so ReadPixel after WritePixel returns the stored colour. Colours are read and written without
// their alpha, which a write gives apart (opaque unless told) and AlphaOf reads.
//
// The surface keeps the rectangle written since it was last taken (TakeChanged), so that the
// screen can follow at the cost of the change; a new surface counts as written whole.
class Surface {
 public:
  Surface() = default;  // 0 x 0
  // A surface filled with the colour nearest to `fill`. Sizes below 0 count as 0.
  Surface(int width, int height, PixelFormat format = PixelFormat::Rgb24(), Colour fill = White);
  // A surface whose pixels hold no defined values yet: the caller writes every one of them
  // through Row() before anything reads them (the decoder does).
  static Surface Unfilled(int width, int height, PixelFormat format);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const PixelFormat& Format() const { return format_; }
  int BytesPerPixel() const { return bytesPerPixel_; }
  // Bytes from one row to the next: the rows lie one after another, without padding.
  std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * bytesPerPixel_; }

  // NoColour outside the surface.
  Colour ReadPixel(int x, int y) const;
  // 255 outside the surface and in a format without alpha.
  std::uint8_t ReadAlpha(int x, int y) const;
  // Outside: nothing. `alpha` counts only in a format with alpha.
  void WritePixel(int x, int y, Colour c, std::uint8_t alpha = 255);
  // Pixels with x1 <= x < x2 and y1 <= y < y2, clipped; NoColour paints black.
  void FillRectangle(int x1, int y1, int x2, int y2, Colour c);
  // The block (0, 0)-(w, h), edges excluded, to black (raw value 0, table entry 0, when indexed).
  void FillBlack(int w, int h);
  // The same block to the colour nearest to white.
  void FillWhite(int w, int h);

  // Raw rows for the codec and for whole-image work. Pixel is std::uint8_t, std::uint16_t or
  // std::uint32_t, of BytesPerPixel() bytes. Writes through a row are not recorded: the writer
  // marks them with MarkChanged, and writes only raw values that Encode gives.
  template <typename Pixel>
  Pixel* Row(int y) {
    assert(sizeof(Pixel) == static_cast<std::size_t>(bytesPerPixel_));
    return static_cast<Pixel*>(pixels_.Data()) + static_cast<std::size_t>(y) * width_;
  }
  template <typename Pixel>
  const Pixel* Row(int y) const {
    assert(sizeof(Pixel) == static_cast<std::size_t>(bytesPerPixel_));
    return static_cast<const Pixel*>(pixels_.Data()) + static_cast<std::size_t>(y) * width_;
  }
  // The bytes of row y, whatever the pixel size.
  std::uint8_t* Bytes(int y) {
    return static_cast<std::uint8_t*>(pixels_.Data()) + static_cast<std::size_t>(y) * RowBytes();
  }
  const std::uint8_t* Bytes(int y) const {
    return static_cast<const std::uint8_t*>(pixels_.Data()) +
           static_cast<std::size_t>(y) * RowBytes();
  }
  bool HasAlpha() const { return format_.alpha; }
  // The raw value the surface stores for colour c at `alpha` (nearest table index, or reduced
  // colour). A table with alpha gives the nearest colour among the entries whose alpha lies
  // closest to `alpha`, so an opaque colour never becomes a transparent entry.
  std::uint32_t Encode(Colour c, std::uint8_t alpha = 255) const;
  // The colour of a raw value; an index beyond the table reads black.
  Colour Decode(std::uint32_t raw) const {
    if (bytesPerPixel_ == 1) return raw < 256 ? indexColours_[raw] : Black;
    if (bytesPerPixel_ == 2) return masks_.ToColour(raw);
    return MakeColour(static_cast<std::uint8_t>(raw >> 16), static_cast<std::uint8_t>(raw >> 8),
                      static_cast<std::uint8_t>(raw));
  }
  // The alpha of a raw value: 255 in a format without alpha.
  std::uint8_t AlphaOf(std::uint32_t raw) const {
    if (!format_.alpha) return 255;
    if (bytesPerPixel_ == 1) return raw < 256 ? indexAlpha_[raw] : 255;
    return bytesPerPixel_ == 4 ? static_cast<std::uint8_t>(raw >> 24) : 255;
  }

  // The rectangle written since the last TakeChanged (empty when nothing was).
  const PixelRect& Changed() const { return changed_; }
  PixelRect TakeChanged();
  // Adds a written block, clipped to the surface.
  void MarkChanged(int x1, int y1, int x2, int y2);
  void MarkAllChanged() { MarkChanged(0, 0, width_, height_); }

 private:
  Surface(int width, int height, PixelFormat format, std::nullptr_t);
  template <typename Pixel>
  void FillBlock(int x1, int y1, int x2, int y2, std::uint32_t raw);

  int width_ = 0;
  int height_ = 0;
  PixelFormat format_;
  int bytesPerPixel_ = 4;
  std::array<Colour, 256> indexColours_{};      // indexed: the colour of every byte value
  std::array<std::uint8_t, 256> indexAlpha_{};  // indexed with alpha: the alpha of every value
  ChannelMasks masks_;                          // 16 bits
  PixelBuffer pixels_;
  PixelRect changed_;
};

// Calls f with a null pointer of the pixel type of `bytesPerPixel` (std::uint8_t*, std::uint16_t*
// or std::uint32_t*), so that raw-pixel code is written once for all three sizes.
template <typename F>
decltype(auto) WithPixelType(int bytesPerPixel, F&& f) {
  switch (bytesPerPixel) {
    case 1:
      return f(static_cast<std::uint8_t*>(nullptr));
    case 2:
      return f(static_cast<std::uint16_t*>(nullptr));
    default:
      return f(static_cast<std::uint32_t*>(nullptr));
  }
}

// Copies the w x h block at (sx, sy) of src to (dx, dy) of dst, clipped against both surfaces.
// src and dst may be the same surface with overlapping blocks: the result is as if the source
// block had been read whole first. Raw values are copied when both formats are equal, colours
// and their alpha otherwise.
void CopyBlock(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy);

}  // namespace gk
