#include "image/flood_fill.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <utility>
#include <vector>

#include "support/surface_pixels.h"

namespace gk {
namespace {

constexpr Colour Blue = MakeColour(0, 0, 255);

using testing::Pixels;

// Rows of wall with one gap, alternately at the right and left end: a single path that
// visits every even row.
Surface Maze(int size) {
  Surface s(size, size, PixelFormat::Rgb24(), Black);
  for (int y = 1; y < size; y += 2) {
    s.FillRectangle(0, y, size, y + 1, White);
    const int gap = (y / 2) % 2 == 0 ? size - 1 : 0;
    s.WritePixel(gap, y, Black);
  }
  return s;
}

// Reference fill: breadth first over pixels, by colour.
void ReferenceFill(std::vector<Colour>& px, int w, int h, int x, int y, Colour target, Colour c) {
  if (px[y * w + x] != target) return;
  std::deque<std::pair<int, int>> todo{{x, y}};
  px[y * w + x] = c;
  while (!todo.empty()) {
    const auto [cx, cy] = todo.front();
    todo.pop_front();
    const int nx[] = {cx - 1, cx + 1, cx, cx}, ny[] = {cy, cy, cy - 1, cy + 1};
    for (int i = 0; i < 4; ++i) {
      if (nx[i] < 0 || ny[i] < 0 || nx[i] >= w || ny[i] >= h || px[ny[i] * w + nx[i]] != target)
        continue;
      px[ny[i] * w + nx[i]] = c;
      todo.push_back({nx[i], ny[i]});
    }
  }
}

TEST(FloodFill, MatchesAReferenceOnRandomImages) {
  std::mt19937 rng(7);
  // Indices 0 and 3 of the indexed table are the same black, so both must be filled.
  const PixelFormat formats[] = {PixelFormat::Rgb24(), PixelFormat::Rgb565(),
                                 PixelFormat::Indexed(8, {Black, White, Blue, Black, Red})};
  const Colour colours[] = {Black, White, Blue, Black};
  for (int round = 0; round < 600; ++round) {
    // Every fourth picture is long runs of black with a few other pixels, in rows as wide as
    // several of the 64-byte blocks the fill tests at once.
    const bool runs = round % 4 == 0;
    const int w = 1 + static_cast<int>(rng() % (runs ? 200 : 40));
    const int h = 1 + static_cast<int>(rng() % 17);
    const PixelFormat& format = formats[round % 3];
    Surface s(w, h, format);
    const unsigned kinds = round % 2 ? 2 : 4;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const unsigned pick = !runs ? rng() % kinds : rng() % 24 == 0 ? 1 + rng() % 3 : 0;
        if (format.IsIndexed()) {
          s.Row<std::uint8_t>(y)[x] = static_cast<std::uint8_t>(pick);
        } else {
          s.WritePixel(x, y, colours[pick]);
        }
      }
    }
    const int x = static_cast<int>(rng() % w), y = static_cast<int>(rng() % h);
    const Colour target = s.ReadPixel(x, y);
    std::vector<Colour> expected = Pixels(s);
    ReferenceFill(expected, w, h, x, y, target, Red);
    FloodFillArea(s, x, y, target, Red);
    ASSERT_EQ(Pixels(s), expected) << "round " << round;
  }
}

TEST(FloodFill, NoOps) {
  Surface s(6, 6, PixelFormat::Rgb24(), Blue);
  s.FillRectangle(2, 2, 4, 4, Red);
  const std::vector<Colour> before = Pixels(s);
  FloodFillArea(s, -1, 0, Blue, Black);   // outside
  FloodFillArea(s, 6, 5, Blue, Black);    // outside
  FloodFillArea(s, 2, 2, Blue, Black);    // start not of the target
  FloodFillArea(s, 0, 0, Blue, Blue);     // already the new colour
  FloodFillArea(s, 0, 0, NoColour, Red);  // nothing reads NoColour
  EXPECT_EQ(Pixels(s), before);

  // A replacement that the format stores as the target: nothing, and no endless loop.
  Surface hi(5, 5, PixelFormat::Rgb555(), Black);
  FloodFillArea(hi, 2, 2, Black, MakeColour(3, 3, 3));
  EXPECT_EQ(hi.ReadPixel(4, 4), Black);
  Surface idx(5, 5, PixelFormat::Indexed(1, {Black, White}), Black);
  FloodFillArea(idx, 0, 0, Black, MakeColour(40, 40, 40));
  EXPECT_EQ(idx.ReadPixel(4, 4), Black);
}

TEST(FloodFill, OnIndexedMatchesEveryIndexOfTheColour) {
  // Entries 0 and 2 are both black.
  Surface s(4, 1, PixelFormat::Indexed(4, {Black, White, Black, Blue}), Black);
  std::uint8_t* row = s.Row<std::uint8_t>(0);
  row[1] = 2;
  row[2] = 0;
  row[3] = 1;
  FloodFillArea(s, 0, 0, Black, Blue);
  EXPECT_EQ(testing::RawPixels(s), (std::vector<std::uint32_t>{3, 3, 3, 1}));
}

TEST(FloodFill, RunsThroughALargeMazeWithoutRecursion) {
  const int size = 4096;
  Surface s = Maze(size);
  FloodFillArea(s, 0, 0, Black, Red);
  long black = 0, red = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const Colour c = s.ReadPixel(x, y);
      black += c == Black;
      red += c == Red;
    }
  }
  EXPECT_EQ(black, 0);
  EXPECT_EQ(red, size / 2 * size + size / 2);  // path rows plus one gap per wall row
}

// The fill records the rectangle it filled, so that the screen repaints only that.
TEST(FloodFill, RecordsTheRectangleItFilled) {
  Surface s(12, 10, PixelFormat::Rgb24(), Black);
  s.FillRectangle(0, 4, 12, 5, White);  // a wall: the fill from the top stays above it
  s.FillRectangle(2, 1, 7, 3, Blue);    // an island of another colour inside the area
  s.TakeChanged();
  FloodFillArea(s, 3, 1, Blue, Red);
  EXPECT_EQ(s.TakeChanged(), (PixelRect{2, 1, 7, 3}));
  FloodFillArea(s, 0, 0, Black, Red);
  EXPECT_EQ(s.TakeChanged(), (PixelRect{0, 0, 12, 4}));
  FloodFillArea(s, 0, 0, Blue, Red);  // not the pixel's colour: nothing
  EXPECT_TRUE(s.TakeChanged().Empty());
}

}  // namespace
}  // namespace gk
