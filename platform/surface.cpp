#include "platform/surface.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "platform/halftone_palette.h"

namespace gk {

namespace {

// Table entries an indexed format can address: the table, cut at 2^bits.
int UsableTableSize(const PixelFormat& format) {
  const int bits = std::clamp(format.bitsPerPixel, 0, 8);
  const std::size_t limit = std::size_t{1} << bits;
  return static_cast<int>(std::min(format.colourTable.size(), limit));
}

// One 8-bit channel reduced to a field of `bits` bits (rounded) and expanded back to 8 bits.
std::uint32_t QuantiseChannel(std::uint32_t c, int bits) {
  if (bits >= 8) return c;
  if (bits <= 0) return 0;
  const std::uint32_t max = (1u << bits) - 1;
  const std::uint32_t v = (c * max + 127) / 255;
  return (v * 255 + max / 2) / max;
}

// A half-open range [begin, end) of one axis after clipping.
struct Span {
  int begin = 0;
  int end = 0;
  bool Empty() const { return begin >= end; }
};

Span Clip(int from, int to, int size) {
  return {std::max(from, 0), std::min(to, size)};
}

}  // namespace

PixelFormat PixelFormat::Rgb24() {
  PixelFormat f;
  f.bitsPerPixel = 24;
  return f;
}

PixelFormat PixelFormat::Indexed(int bits, std::vector<Colour> table) {
  PixelFormat f;
  f.bitsPerPixel = bits;
  f.colourTable = std::move(table);
  return f;
}

namespace {

PixelFormat Masked(int bits, std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                   bool bitfields) {
  PixelFormat f;
  f.bitsPerPixel = bits;
  f.redMask = red;
  f.greenMask = green;
  f.blueMask = blue;
  f.bitfields = bitfields;
  return f;
}

}  // namespace

PixelFormat PixelFormat::Rgb555() {
  return Masked(16, 0x7C00, 0x03E0, 0x001F, false);
}
PixelFormat PixelFormat::Rgb565() {
  return Masked(16, 0xF800, 0x07E0, 0x001F, true);
}
PixelFormat PixelFormat::Rgb32() {
  return Masked(32, 0x00FF0000, 0x0000FF00, 0x000000FF, false);
}

Surface::Surface(int width, int height, PixelFormat format, Colour fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), format_(std::move(format)) {
  pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                 Encode(fill));
}

std::uint32_t Surface::Encode(Colour c) const {
  // NoColour is never stored: it paints black.
  if (c == NoColour) c = Black;
  c &= 0xFFFFFF;
  if (format_.IsIndexed()) {
    return static_cast<std::uint32_t>(
        NearestColourIndex(format_.colourTable.data(), UsableTableSize(format_), c));
  }
  if (format_.bitsPerPixel == 24) return c;
  // Masked formats: only the width of each mask matters for which colours it can hold.
  const int redBits = std::popcount(format_.redMask);
  const int greenBits = std::popcount(format_.greenMask);
  const int blueBits = std::popcount(format_.blueMask);
  return MakeColour(static_cast<std::uint8_t>(QuantiseChannel(RedOf(c), redBits)),
                    static_cast<std::uint8_t>(QuantiseChannel(GreenOf(c), greenBits)),
                    static_cast<std::uint8_t>(QuantiseChannel(BlueOf(c), blueBits)));
}

Colour Surface::Decode(std::uint32_t raw) const {
  if (format_.IsIndexed()) {
    // An index beyond the table (possible in a file) reads black.
    if (raw < static_cast<std::uint32_t>(UsableTableSize(format_))) {
      return format_.colourTable[raw] & 0xFFFFFF;
    }
    return Black;
  }
  return raw & 0xFFFFFF;
}

Colour Surface::ReadPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return NoColour;
  return Decode(Row(y)[x]);
}

void Surface::WritePixel(int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Row(y)[x] = Encode(c);
}

void Surface::FillRectangle(int x1, int y1, int x2, int y2, Colour c) {
  const Span xs = Clip(x1, x2, width_);
  const Span ys = Clip(y1, y2, height_);
  if (xs.Empty() || ys.Empty()) return;
  const std::uint32_t raw = Encode(c);
  for (int y = ys.begin; y < ys.end; ++y) {
    std::uint32_t* row = Row(y);
    std::fill(row + xs.begin, row + xs.end, raw);
  }
}

void Surface::FillBlack(int w, int h) {
  const Span xs = Clip(0, w, width_);
  const Span ys = Clip(0, h, height_);
  if (xs.Empty() || ys.Empty()) return;
  for (int y = ys.begin; y < ys.end; ++y) {
    std::uint32_t* row = Row(y);
    std::fill(row + xs.begin, row + xs.end, 0u);
  }
}

void Surface::FillWhite(int w, int h) {
  FillRectangle(0, 0, w, h, White);
}

void CopyBlock(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy) {
  // Clip in 64 bits so that extreme arguments cannot overflow.
  std::int64_t x0 = sx, y0 = sy, x1 = dx, y1 = dy, cw = w, ch = h;
  if (cw <= 0 || ch <= 0) return;
  auto clipStart = [](std::int64_t& a, std::int64_t& b, std::int64_t& len) {
    const std::int64_t shift = std::max<std::int64_t>({0, -a, -b});
    a += shift;
    b += shift;
    len -= shift;
  };
  clipStart(x0, x1, cw);
  clipStart(y0, y1, ch);
  cw = std::min({cw, src.Width() - x0, dst.Width() - x1});
  ch = std::min({ch, src.Height() - y0, dst.Height() - y1});
  if (cw <= 0 || ch <= 0) return;

  const int width = static_cast<int>(cw);
  const int height = static_cast<int>(ch);
  const int sx0 = static_cast<int>(x0), sy0 = static_cast<int>(y0);
  const int dx0 = static_cast<int>(x1), dy0 = static_cast<int>(y1);

  if (src.Format() == dst.Format()) {
    // Rows are copied in the order that reads each source row before it is overwritten;
    // memmove handles overlap within a row.
    const bool bottomFirst = &src == &dst && dy0 > sy0;
    for (int i = 0; i < height; ++i) {
      const int row = bottomFirst ? height - 1 - i : i;
      std::memmove(dst.Row(dy0 + row) + dx0, src.Row(sy0 + row) + sx0,
                   static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    }
    return;
  }

  // Different formats, hence different surfaces: convert by colour, remembering the last
  // conversion since neighbouring pixels usually share one.
  std::uint32_t lastRaw = src.Row(sy0)[sx0];
  std::uint32_t lastOut = dst.Encode(src.Decode(lastRaw));
  for (int row = 0; row < height; ++row) {
    const std::uint32_t* in = src.Row(sy0 + row) + sx0;
    std::uint32_t* out = dst.Row(dy0 + row) + dx0;
    for (int i = 0; i < width; ++i) {
      if (in[i] != lastRaw) {
        lastRaw = in[i];
        lastOut = dst.Encode(src.Decode(lastRaw));
      }
      out[i] = lastOut;
    }
  }
}

}  // namespace gk
