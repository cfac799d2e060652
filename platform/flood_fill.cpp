#include "platform/flood_fill.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace gk {

namespace {

// Runs are tested a block of pixels at a time; for direct formats the block tests compile to
// vector compares, so open areas cost little more than writing their bytes.
constexpr int Block = 8;

// Four pixels in one vector register (a GCC and Clang extension); the block tests below
// compile to a few vector instructions, where plain loops stay scalar.
typedef std::uint32_t Lanes __attribute__((vector_size(16)));

Lanes LoadLanes(const std::uint32_t* p) {
  Lanes v;
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

// Direct formats store colours, so a pixel matches when its colour bits equal the target.
struct DirectMatcher {
  std::uint32_t target;
  bool operator()(std::uint32_t raw) const { return ((raw ^ target) & 0xFFFFFF) == 0; }
  bool All(const std::uint32_t* p) const {
    return AllZero(((LoadLanes(p) ^ target) | (LoadLanes(p + 4) ^ target)) & 0xFFFFFFu);
  }
  bool None(const std::uint32_t* p) const {
    const auto hits = (((LoadLanes(p) ^ target) & 0xFFFFFFu) == 0) |
                      (((LoadLanes(p + 4) ^ target) & 0xFFFFFFu) == 0);
    return AllZero(hits);
  }
};
static_assert(Block == 8, "DirectMatcher tests two vectors of four pixels");

// Indexed formats: every index whose table colour is the target matches.
struct IndexedMatcher {
  std::array<bool, 256> matching{};
  bool beyond = false;  // indices past the table, which read black
  bool operator()(std::uint32_t raw) const { return raw < 256 ? matching[raw] : beyond; }
  bool All(const std::uint32_t* p) const {
    return std::all_of(p, p + Block, [this](std::uint32_t raw) { return (*this)(raw); });
  }
  bool None(const std::uint32_t* p) const {
    return std::none_of(p, p + Block, [this](std::uint32_t raw) { return (*this)(raw); });
  }
};

// Fills r[x], r[x + 1], ... while they match; returns the first x that does not (or width).
template <typename Matcher>
int FillRun(std::uint32_t* r, int x, int width, std::uint32_t fill, const Matcher& matches) {
  while (x + Block <= width && matches.All(r + x)) {
    std::fill(r + x, r + x + Block, fill);
    x += Block;
  }
  while (x < width && matches(r[x])) r[x++] = fill;
  return x;
}

// The first x in [x, limit) whose pixel matches, or limit.
template <typename Matcher>
int SkipRun(const std::uint32_t* r, int x, int limit, const Matcher& matches) {
  while (x + Block <= limit && matches.None(r + x)) x += Block;
  while (x < limit && !matches(r[x])) ++x;
  return x;
}

// Span flood fill: each entry is a run [x1, x2] of row y whose pixels, and their neighbours in
// row y + dy, are still to be examined. Filled pixels stop matching, so no visited set is
// needed, and the work follows the filled area rather than the surface size.
template <typename Matcher>
void SpanFill(std::uint32_t* pixels, int width, int height, int x, int y, std::uint32_t fill,
              const Matcher& matches) {
  struct Seed {
    int x1, x2, y, dy;
  };
  std::vector<Seed> stack;
  auto push = [&](int x1, int x2, int yy, int dy) {
    if (yy >= 0 && yy < height) stack.push_back({x1, x2, yy, dy});
  };
  push(x, x, y, 1);
  push(x, x, y - 1, -1);
  while (!stack.empty()) {
    const Seed s = stack.back();
    stack.pop_back();
    std::uint32_t* r = pixels + static_cast<std::size_t>(s.y) * width;
    int x1 = s.x1;
    int lx = x1;
    if (matches(r[x1])) {
      while (lx > 0 && matches(r[lx - 1])) r[--lx] = fill;
      if (lx < x1) push(lx, x1 - 1, s.y - s.dy, -s.dy);
    }
    while (x1 <= s.x2) {
      const int end = FillRun(r, x1, width, fill, matches);
      if (end > lx) push(lx, end - 1, s.y + s.dy, s.dy);
      if (end - 1 > s.x2) push(s.x2 + 1, end - 1, s.y - s.dy, -s.dy);
      x1 = SkipRun(r, end + 1, s.x2 + 1, matches);
      lx = x1;
    }
  }
}

}  // namespace

void FloodFillArea(Surface& surface, int x, int y, Colour target, Colour c) {
  const int width = surface.Width();
  const int height = surface.Height();
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  if (surface.ReadPixel(x, y) != target) return;
  const std::uint32_t fill = surface.Encode(c);
  // A replacement that reads as the target would leave every filled pixel matching.
  if (surface.Decode(fill) == target) return;
  // The rows lie one after another, so the first row's pointer reaches every pixel.
  std::uint32_t* pixels = surface.Row(0);
  if (surface.Format().IsIndexed()) {
    IndexedMatcher matcher;
    for (std::uint32_t i = 0; i < 256; ++i) matcher.matching[i] = surface.Decode(i) == target;
    matcher.beyond = surface.Decode(256) == target;
    SpanFill(pixels, width, height, x, y, fill, matcher);
  } else {
    SpanFill(pixels, width, height, x, y, fill, DirectMatcher{target});
  }
}

}  // namespace gk
