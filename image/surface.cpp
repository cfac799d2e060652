#include "image/surface.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "image/halftone_palette.h"

namespace gk {

namespace {

// Table entries an indexed format can address: the table, cut at 2^bits.
int UsableTableSize(const PixelFormat& format) {
  const int bits = std::clamp(format.bitsPerPixel, 0, 8);
  const std::size_t limit = std::size_t{1} << bits;
  return static_cast<int>(std::min(format.colourTable.size(), limit));
}

// The entry for colour c at `alpha` in a table with alpha: the nearest colour among the entries
// whose alpha lies closest to `alpha`, the lowest index on a tie.
int NearestEntryWithAlpha(const std::vector<Colour>& table, const std::uint8_t* alphas, int count,
                          Colour c, std::uint8_t alpha) {
  int closest = 256;
  for (int i = 0; i < count; ++i) closest = std::min(closest, std::abs(alphas[i] - alpha));
  std::array<Colour, 256> candidates;
  std::array<int, 256> indices;
  int n = 0;
  for (int i = 0; i < count; ++i) {
    if (std::abs(alphas[i] - alpha) != closest) continue;
    candidates[n] = table[i];
    indices[n++] = i;
  }
  return n == 0 ? 0 : indices[NearestColourIndex(candidates.data(), n, c)];
}

// One 8-bit channel reduced to a field of `bits` bits (rounded) and expanded back to 8 bits.
std::uint8_t QuantiseChannel(std::uint8_t c, int bits) {
  return bits >= 8 ? c : WidenChannel(NarrowChannel(c, bits), bits);
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
PixelFormat PixelFormat::Rgba32() {
  PixelFormat f = Rgb32();
  f.alpha = true;
  return f;
}

namespace {

// From this size on, pixel memory is mapped on its own, aligned to and advised into 2 MiB
// pages: a turn walks down the picture's columns, and with 4 KiB pages nearly every row it
// crosses costs a TLB miss. Untouched memory stays untouched, as with malloc.
constexpr std::size_t LargePage = std::size_t{2} << 20;

bool MappedOnItsOwn(std::size_t bytes) {
  return bytes >= LargePage;
}

// The bytes rounded up to whole pages of the system.
std::size_t MappedLength(std::size_t bytes) {
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return (bytes + page - 1) / page * page;
}

void* MapLarge(std::size_t bytes) {
  // Room to slide the start to a 2 MiB boundary; the slack on both sides goes back at once.
  std::size_t span = 0;
  if (__builtin_add_overflow(bytes, LargePage, &span)) throw std::bad_alloc();
  void* mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + LargePage - 1) & ~(LargePage - 1);
  const std::size_t head = aligned - start;
  const std::size_t used = MappedLength(bytes);
  if (head != 0) munmap(mapped, head);
  if (span - head > used) munmap(reinterpret_cast<void*>(aligned + used), span - head - used);
#if defined(MADV_HUGEPAGE)
  // Only advice: where the kernel has no huge pages to give, the mapping works as it is.
  madvise(reinterpret_cast<void*>(aligned), used, MADV_HUGEPAGE);
#endif
  return reinterpret_cast<void*>(aligned);
}

}  // namespace

PixelBuffer::PixelBuffer(std::size_t bytes) : size_(bytes) {
  if (bytes == 0) return;
  if (MappedOnItsOwn(bytes)) {
    data_ = MapLarge(bytes);
    return;
  }
  data_ = std::malloc(bytes);
  if (data_ == nullptr) throw std::bad_alloc();
}

PixelBuffer::PixelBuffer(const PixelBuffer& other) : PixelBuffer(other.size_) {
  if (size_ != 0) std::memcpy(data_, other.data_, size_);
}

PixelBuffer& PixelBuffer::operator=(const PixelBuffer& other) {
  if (this != &other) *this = PixelBuffer(other);
  return *this;
}

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

PixelBuffer::~PixelBuffer() {
  Release();
}

void PixelBuffer::Release() noexcept {
  if (data_ == nullptr) return;
  if (MappedOnItsOwn(size_)) {
    munmap(data_, MappedLength(size_));
  } else {
    std::free(data_);
  }
  data_ = nullptr;
}

Surface::Surface(int width, int height, PixelFormat format, std::nullptr_t)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      format_(std::move(format)),
      bytesPerPixel_(format_.BytesPerPixel()) {
  if (bytesPerPixel_ == 1) {
    const int usable = UsableTableSize(format_);
    for (int i = 0; i < usable; ++i) indexColours_[i] = format_.colourTable[i] & 0xFFFFFF;
    indexAlpha_.fill(255);
    const std::size_t alphas = std::min<std::size_t>(format_.tableAlpha.size(), 256);
    std::copy_n(format_.tableAlpha.begin(), alphas, indexAlpha_.begin());
  } else if (bytesPerPixel_ == 2) {
    masks_ = ChannelMasks(format_.redMask & 0xFFFF, format_.greenMask & 0xFFFF,
                          format_.blueMask & 0xFFFF);
  }
  // Row offsets are pointer differences, so the pixels must fit in ptrdiff_t.
  std::size_t bytes = 0;
  if (__builtin_mul_overflow(RowBytes(), static_cast<std::size_t>(height_), &bytes) ||
      bytes > static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max())) {
    throw std::bad_alloc();
  }
  pixels_ = PixelBuffer(bytes);
  MarkAllChanged();
}

Surface::Surface(int width, int height, PixelFormat format, Colour fill)
    : Surface(width, height, std::move(format), nullptr) {
  WithPixelType(bytesPerPixel_, [&]<typename Pixel>(Pixel*) {
    FillBlock<Pixel>(0, 0, width_, height_, Encode(fill));
  });
}

Surface Surface::Unfilled(int width, int height, PixelFormat format) {
  return Surface(width, height, std::move(format), nullptr);
}

std::uint32_t Surface::Encode(Colour c, std::uint8_t alpha) const {
  // NoColour is never stored: it paints black.
  if (c == NoColour) c = Black;
  c &= 0xFFFFFF;
  if (bytesPerPixel_ == 1) {
    const int usable = UsableTableSize(format_);
    if (format_.alpha) {
      return static_cast<std::uint32_t>(
          NearestEntryWithAlpha(format_.colourTable, indexAlpha_.data(), usable, c, alpha));
    }
    return static_cast<std::uint32_t>(NearestColourIndex(format_.colourTable.data(), usable, c));
  }
  if (bytesPerPixel_ == 2) return masks_.ToPixel(c);
  const std::uint32_t top = format_.alpha ? std::uint32_t{alpha} << 24 | 0xFFFFFFu : 0xFFFFFFFFu;
  if (format_.bitsPerPixel == 24) return Rgb32Word(c) & top;
  // Other 32-bit masks: only the width of each mask matters for which colours it can hold.
  const int redBits = std::popcount(format_.redMask);
  const int greenBits = std::popcount(format_.greenMask);
  const int blueBits = std::popcount(format_.blueMask);
  return Rgb32Word(MakeColour(QuantiseChannel(RedOf(c), redBits),
                              QuantiseChannel(GreenOf(c), greenBits),
                              QuantiseChannel(BlueOf(c), blueBits))) &
         top;
}

Colour Surface::ReadPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return NoColour;
  return WithPixelType(bytesPerPixel_,
                       [&]<typename Pixel>(Pixel*) { return Decode(Row<Pixel>(y)[x]); });
}

std::uint8_t Surface::ReadAlpha(int x, int y) const {
  if (!format_.alpha || x < 0 || y < 0 || x >= width_ || y >= height_) return 255;
  return WithPixelType(bytesPerPixel_,
                       [&]<typename Pixel>(Pixel*) { return AlphaOf(Row<Pixel>(y)[x]); });
}

void Surface::WritePixel(int x, int y, Colour c, std::uint8_t alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const std::uint32_t raw = Encode(c, alpha);
  WithPixelType(bytesPerPixel_,
                [&]<typename Pixel>(Pixel*) { Row<Pixel>(y)[x] = static_cast<Pixel>(raw); });
  MarkChanged(x, y, x + 1, y + 1);
}

template <typename Pixel>
void Surface::FillBlock(int x1, int y1, int x2, int y2, std::uint32_t raw) {
  const Span xs = Clip(x1, x2, width_);
  const Span ys = Clip(y1, y2, height_);
  if (xs.Empty() || ys.Empty()) return;
  for (int y = ys.begin; y < ys.end; ++y) {
    Pixel* row = Row<Pixel>(y);
    std::fill(row + xs.begin, row + xs.end, static_cast<Pixel>(raw));
  }
  MarkChanged(xs.begin, ys.begin, xs.end, ys.end);
}

void Surface::FillRectangle(int x1, int y1, int x2, int y2, Colour c) {
  const std::uint32_t raw = Encode(c);
  WithPixelType(bytesPerPixel_,
                [&]<typename Pixel>(Pixel*) { FillBlock<Pixel>(x1, y1, x2, y2, raw); });
}

void Surface::FillBlack(int w, int h) {
  // Indexed: raw 0, the table's first entry whatever its colour.
  const std::uint32_t raw = bytesPerPixel_ == 1 ? 0 : Encode(Black);
  WithPixelType(bytesPerPixel_, [&]<typename Pixel>(Pixel*) { FillBlock<Pixel>(0, 0, w, h, raw); });
}

void Surface::FillWhite(int w, int h) {
  FillRectangle(0, 0, w, h, White);
}

PixelRect Surface::TakeChanged() {
  return std::exchange(changed_, PixelRect{});
}

void Surface::MarkChanged(int x1, int y1, int x2, int y2) {
  const Span xs = Clip(x1, x2, width_);
  const Span ys = Clip(y1, y2, height_);
  if (xs.Empty() || ys.Empty()) return;
  if (changed_.Empty()) {
    changed_ = {xs.begin, ys.begin, xs.end, ys.end};
    return;
  }
  changed_.left = std::min(changed_.left, xs.begin);
  changed_.top = std::min(changed_.top, ys.begin);
  changed_.right = std::max(changed_.right, xs.end);
  changed_.bottom = std::max(changed_.bottom, ys.end);
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
  dst.MarkChanged(dx0, dy0, dx0 + width, dy0 + height);

  if (src.Format() == dst.Format()) {
    // Rows are copied in the order that reads each source row before it is overwritten;
    // memmove handles overlap within a row.
    const bool bottomFirst = &src == &dst && dy0 > sy0;
    const std::size_t pixelBytes = static_cast<std::size_t>(src.BytesPerPixel());
    for (int i = 0; i < height; ++i) {
      const int row = bottomFirst ? height - 1 - i : i;
      std::memmove(dst.Bytes(dy0 + row) + dx0 * pixelBytes, src.Bytes(sy0 + row) + sx0 * pixelBytes,
                   width * pixelBytes);
    }
    return;
  }

  // Different formats, hence different surfaces: convert by colour, remembering the last
  // conversion since neighbouring pixels usually share one.
  WithPixelType(src.BytesPerPixel(), [&]<typename In>(In*) {
    WithPixelType(dst.BytesPerPixel(), [&]<typename Out>(Out*) {
      const auto convert = [&](In raw) {
        return static_cast<Out>(dst.Encode(src.Decode(raw), src.AlphaOf(raw)));
      };
      In lastRaw = src.Row<In>(sy0)[sx0];
      Out lastOut = convert(lastRaw);
      for (int row = 0; row < height; ++row) {
        const In* in = src.Row<In>(sy0 + row) + sx0;
        Out* out = dst.Row<Out>(dy0 + row) + dx0;
        for (int i = 0; i < width; ++i) {
          if (in[i] != lastRaw) {
            lastRaw = in[i];
            lastOut = convert(lastRaw);
          }
          out[i] = lastOut;
        }
      }
    });
  });
}

}  // namespace gk
