#include "image/flood_fill.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace gk {

namespace {

// 16 bytes of pixels in one vector register (a GCC and Clang extension); the block tests below
// compile to a few vector instructions, where plain loops stay scalar.
template <typename Pixel>
struct LanesOf;
template <>
struct LanesOf<std::uint8_t> {
  typedef std::uint8_t Type __attribute__((vector_size(16)));
};
template <>
struct LanesOf<std::uint16_t> {
  typedef std::uint16_t Type __attribute__((vector_size(16)));
};
template <>
struct LanesOf<std::uint32_t> {
  typedef std::uint32_t Type __attribute__((vector_size(16)));
};

// Runs are tested a block of four vectors (a cache line) at a time, so open areas cost little
// more than writing their bytes.
template <typename Pixel>
constexpr int Block = 64 / sizeof(Pixel);

// How far ahead of a filled run the fill asks for memory: about the band of rows the undo copy
// takes at once.
constexpr std::size_t AheadBytes = std::size_t{256} << 10;

template <typename Pixel>
typename LanesOf<Pixel>::Type LoadLanes(const Pixel* p) {
  typename LanesOf<Pixel>::Type v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// True when every bit of a 16-byte vector (of any lane type) is 0.
template <typename Vector>
bool AllZero(Vector v) {
  static_assert(sizeof v == 16);
  std::uint64_t halves[2];
  std::memcpy(halves, &v, sizeof halves);
  return (halves[0] | halves[1]) == 0;
}

// A pixel matches when its bits under `mask` equal the target's: colour bits for direct
// formats (each colour has one raw value there), all bits for an index.
template <typename Pixel>
struct RawMatcher {
  Pixel target;
  Pixel mask;
  bool operator()(Pixel raw) const { return ((raw ^ target) & mask) == 0; }
  bool All(const Pixel* p) const {
    constexpr int Q = Block<Pixel> / 4;
    return AllZero(((LoadLanes(p) ^ target) | (LoadLanes(p + Q) ^ target) |
                    (LoadLanes(p + 2 * Q) ^ target) | (LoadLanes(p + 3 * Q) ^ target)) &
                   mask);
  }
  bool None(const Pixel* p) const {
    constexpr int Q = Block<Pixel> / 4;
    const auto hits = (((LoadLanes(p) ^ target) & mask) == 0) |
                      (((LoadLanes(p + Q) ^ target) & mask) == 0) |
                      (((LoadLanes(p + 2 * Q) ^ target) & mask) == 0) |
                      (((LoadLanes(p + 3 * Q) ^ target) & mask) == 0);
    return AllZero(hits);
  }
};

// Indexed formats whose table holds the target colour more than once: every such index matches.
struct TableMatcher {
  std::array<bool, 256> matching{};
  bool operator()(std::uint8_t raw) const { return matching[raw]; }
  bool All(const std::uint8_t* p) const {
    return std::all_of(p, p + Block<std::uint8_t>,
                       [this](std::uint8_t raw) { return (*this)(raw); });
  }
  bool None(const std::uint8_t* p) const {
    return std::none_of(p, p + Block<std::uint8_t>,
                        [this](std::uint8_t raw) { return (*this)(raw); });
  }
};

// Fills r[x], r[x + 1], ... while they match; returns the first x that does not (or width).
template <typename Pixel, typename Matcher>
int FillRun(Pixel* r, int x, int width, Pixel fill, const Matcher& matches,
            std::ptrdiff_t aheadBytes) {
  constexpr int N = Block<Pixel>;
  while (x + N <= width && matches.All(r + x)) {
    // A prefetch never faults, even outside the picture.
    __builtin_prefetch(
        reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(r + x) + aheadBytes), 1);
    std::fill(r + x, r + x + N, fill);
    x += N;
  }
  while (x < width && matches(r[x])) r[x++] = fill;
  return x;
}

// The first x in [x, limit) whose pixel matches, or limit.
template <typename Pixel, typename Matcher>
int SkipRun(const Pixel* r, int x, int limit, const Matcher& matches) {
  constexpr int N = Block<Pixel>;
  while (x + N <= limit && matches.None(r + x)) x += N;
  while (x < limit && !matches(r[x])) ++x;
  return x;
}

// Span flood fill: each entry is a run [x1, x2] of row y whose pixels, and their neighbours in
// row y + dy, are still to be examined. Filled pixels stop matching, so no visited set is
// needed, and the work follows the filled area rather than the surface size. Returns the
// rectangle it filled.
template <typename Pixel, typename Matcher>
PixelRect SpanFill(Surface& surface, int x, int y, Pixel fill, const Matcher& matches,
                   const BeforeRowWritten& beforeRowWritten) {
  const int width = surface.Width();
  const int height = surface.Height();
  struct Seed {
    int x1, x2, y, dy;
  };
  std::vector<Seed> stack;
  auto push = [&](int x1, int x2, int yy, int dy) {
    if (yy >= 0 && yy < height) stack.push_back({x1, x2, yy, dy});
  };
  // An open area is walked row after row: while a run is filled, the same place about 256 KiB
  // further along the walk is asked for, so that memory works while the fill does. The rows
  // ahead are then in the cache when the fill, or the undo copy taken before it, reaches them.
  const std::size_t rowBytes = std::max<std::size_t>(surface.RowBytes(), 1);
  const auto aheadBytes =
      static_cast<std::ptrdiff_t>(std::max<std::size_t>(AheadBytes / rowBytes, 1) * rowBytes);
  PixelRect filled{x, y, x + 1, y + 1};
  push(x, x, y, 1);
  push(x, x, y - 1, -1);
  while (!stack.empty()) {
    const Seed s = stack.back();
    stack.pop_back();
    if (beforeRowWritten) beforeRowWritten(s.y);
    Pixel* r = surface.Row<Pixel>(s.y);
    int x1 = s.x1;
    int lx = x1;
    if (matches(r[x1])) {
      while (lx > 0 && matches(r[lx - 1])) r[--lx] = fill;
      if (lx < x1) push(lx, x1 - 1, s.y - s.dy, -s.dy);
    }
    while (x1 <= s.x2) {
      const int end = FillRun(r, x1, width, fill, matches, s.dy * aheadBytes);
      if (end > lx) {
        push(lx, end - 1, s.y + s.dy, s.dy);
        filled.left = std::min(filled.left, lx);
        filled.right = std::max(filled.right, end);
        filled.top = std::min(filled.top, s.y);
        filled.bottom = std::max(filled.bottom, s.y + 1);
      }
      if (end - 1 > s.x2) push(s.x2 + 1, end - 1, s.y - s.dy, -s.dy);
      x1 = SkipRun(r, end + 1, s.x2 + 1, matches);
      lx = x1;
    }
  }
  return filled;
}

}  // namespace

void FloodFillArea(Surface& surface, int x, int y, Colour target, Colour c,
                   const BeforeRowWritten& beforeRowWritten) {
  const int width = surface.Width();
  const int height = surface.Height();
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  if (surface.ReadPixel(x, y) != target) return;
  // With alpha, a pixel matches only at the start pixel's alpha as well: a transparent pixel is
  // not its colour made opaque.
  const std::uint8_t targetAlpha = WithPixelType(
      surface.BytesPerPixel(),
      [&]<typename Pixel>(Pixel*) { return surface.AlphaOf(surface.Row<Pixel>(y)[x]); });
  const std::uint32_t fill = surface.Encode(c);
  // A replacement that reads as the target would leave every filled pixel matching.
  if (surface.Decode(fill) == target && surface.AlphaOf(fill) == targetAlpha) return;

  PixelRect filled;
  if (surface.BytesPerPixel() == 1) {
    TableMatcher table;
    int count = 0;
    std::uint8_t only = 0;
    for (int i = 0; i < 256; ++i) {
      const auto raw = static_cast<std::uint32_t>(i);
      table.matching[i] = surface.Decode(raw) == target && surface.AlphaOf(raw) == targetAlpha;
      if (table.matching[i]) {
        ++count;
        only = static_cast<std::uint8_t>(i);
      }
    }
    const auto fillIndex = static_cast<std::uint8_t>(fill);
    filled = count == 1 ? SpanFill(surface, x, y, fillIndex, RawMatcher<std::uint8_t>{only, 0xFF},
                                   beforeRowWritten)
                        : SpanFill(surface, x, y, fillIndex, table, beforeRowWritten);
  } else {
    // Raw values hold only colour bits (and, at 32 bits, a constant top byte or the alpha): one
    // raw value a colour and alpha.
    WithPixelType(surface.BytesPerPixel(), [&]<typename Pixel>(Pixel*) {
      const std::uint32_t top = surface.HasAlpha() ? 0xFFFFFFFFu : 0xFFFFFFu;
      const auto mask = static_cast<Pixel>(sizeof(Pixel) == 4 ? top : 0xFFFFu);
      const RawMatcher<Pixel> matcher{static_cast<Pixel>(surface.Encode(target, targetAlpha)),
                                      mask};
      filled = SpanFill(surface, x, y, static_cast<Pixel>(fill), matcher, beforeRowWritten);
    });
  }
  surface.MarkChanged(filled.left, filled.top, filled.right, filled.bottom);
}

}  // namespace gk
