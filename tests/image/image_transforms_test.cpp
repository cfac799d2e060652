#include "image/image_transforms.h"
#include "support/surface_pixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace gk {
namespace {

using testing::ColourPattern;
using testing::ExpectSamePixels;

using Mapping = void (*)(Surface&, const Surface&);
// Where new(x, y) comes from in a w x h picture; nothing when the pixel keeps its value.
using SourceOf = std::function<std::optional<std::pair<int, int>>(int x, int y, int w, int h)>;

struct Transform {
  std::string name;
  Mapping mapping;
  SourceOf source;
};

std::optional<std::pair<int, int>> At(int x, int y) {
  return std::pair{x, y};
}

int Mod(int v, int n) {
  return ((v % n) + n) % n;
}

template <int dx, int dy>
void Shift(Surface& doc, const Surface& old) {
  ShiftImage(doc, old, dx, dy);
}

SourceOf ShiftedBy(int dx, int dy) {
  return [dx, dy](int x, int y, int w, int h) { return At(Mod(x - dx, w), Mod(y - dy, h)); };
}

const std::vector<Transform>& Transforms() {
  static const std::vector<Transform> all = {
      {"shift up", Shift<0, -1>, ShiftedBy(0, -1)},
      {"shift right", Shift<1, 0>, ShiftedBy(1, 0)},
      {"shift down", Shift<0, 1>, ShiftedBy(0, 1)},
      {"shift left", Shift<-1, 0>, ShiftedBy(-1, 0)},
      // Any offset wraps, farther than the picture too.
      {"shift by (0, 0)", Shift<0, 0>, ShiftedBy(0, 0)},
      {"shift by (3, -2)", Shift<3, -2>, ShiftedBy(3, -2)},
      {"shift by (-200, 75)", Shift<-200, 75>, ShiftedBy(-200, 75)},
      {"mirror vertical", MirrorVertical,
       [](int x, int y, int w, int) { return At(w - 1 - x, y); }},
      {"mirror horizontal", MirrorHorizontal,
       [](int x, int y, int, int h) { return At(x, h - 1 - y); }},
      {"rotate", Rotate,
       [](int x, int y, int w, int h) -> std::optional<std::pair<int, int>> {
         const int sx = h - 1 - y, sy = x;
         if (sx < 0 || sx >= w || sy < 0 || sy >= h) return std::nullopt;
         return At(sx, sy);
       }},
  };
  return all;
}

// An indexed pattern: the table holds exactly the pattern's colours.
Surface IndexedPattern(int w, int h) {
  std::vector<Colour> table;
  for (int i = 0; i < 256; ++i) table.push_back(MakeColour(i, 255 - i, i / 2));
  Surface s(w, h, PixelFormat::Indexed(8, table), Black);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.WritePixel(x, y, table[(x * 7 + y * 13) % 256]);
  return s;
}

// A 16-bit pattern with (almost) every pixel different.
Surface Rgb565Pattern(int w, int h) {
  Surface s(w, h, PixelFormat::Rgb565(), Black);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.WritePixel(x, y, static_cast<Colour>((x * 8 + y * 2048) * 8));
  return s;
}

TEST(ImageTransformsTest, EveryPixelFollowsItsMapping) {
  // Sizes below, at and beyond the blocks and tiles the turn works in, for each pixel size, and
  // one large enough that the work is shared between threads.
  const std::vector<std::pair<int, int>> sizes = {{5, 5},   {16, 8},    {8, 16},    {1, 6},
                                                  {6, 1},   {1, 1},     {3, 3},     {70, 130},
                                                  {64, 64}, {300, 261}, {259, 300}, {1000, 3100}};
  const std::vector<std::pair<std::string, Surface (*)(int, int)>> patterns = {
      {"24-bit", ColourPattern}, {"indexed", IndexedPattern}, {"16-bit", Rgb565Pattern}};
  for (const Transform& t : Transforms()) {
    for (auto [w, h] : sizes) {
      for (const auto& [format, pattern] : patterns) {
        // The large size (12 MiB at 24 bits, split between threads) only where it is split, and
        // for one shift of each kind of code.
        if (w * h > 1'000'000 && (format != "24-bit" ||
                                  (t.name.starts_with("shift ") && t.name != "shift by (3, -2)"))) {
          continue;
        }
        SCOPED_TRACE(::testing::Message() << t.name << " " << w << "x" << h << " " << format);
        const Surface old = pattern(w, h);
        // What the document held before does not matter: every pixel is rewritten.
        Surface doc(w, h, old.Format(), White);
        t.mapping(doc, old);
        for (int y = 0; y < h; ++y) {
          for (int x = 0; x < w; ++x) {
            const auto from = t.source(x, y, w, h).value_or(std::pair{x, y});
            ASSERT_EQ(doc.ReadPixel(x, y), old.ReadPixel(from.first, from.second))
                << "at " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(ImageTransformsTest, RepeatsGiveTheStartBack) {
  struct Case {
    std::string name;
    std::vector<Mapping> steps;
    int repeat;  // 0: the picture's height, -1: its width
  };
  const std::vector<Case> cases = {
      {"up, height times", {Shift<0, -1>}, 0},
      {"down, height times", {Shift<0, 1>}, 0},
      {"right, width times", {Shift<1, 0>}, -1},
      {"left, width times", {Shift<-1, 0>}, -1},
      {"up then down", {Shift<0, -1>, Shift<0, 1>}, 1},
      {"right then left", {Shift<1, 0>, Shift<-1, 0>}, 1},
      {"mirror vertical twice", {MirrorVertical}, 2},
      {"mirror horizontal twice", {MirrorHorizontal}, 2},
      {"rotate four times", {Rotate}, 4},
  };
  for (const Case& c : cases) {
    for (auto [w, h] : std::vector<std::pair<int, int>>{{7, 7}, {12, 5}, {5, 12}}) {
      if (c.name.starts_with("rotate") && w != h) continue;
      SCOPED_TRACE(::testing::Message() << c.name << " " << w << "x" << h);
      const Surface start = ColourPattern(w, h);
      Surface doc = start;
      const int n = c.repeat == 0 ? h : c.repeat == -1 ? w : c.repeat;
      for (int i = 0; i < n; ++i) {
        for (Mapping step : c.steps) {
          const Surface old = doc;
          step(doc, old);
        }
      }
      ExpectSamePixels(doc, start);
    }
  }
}

TEST(ImageTransformsTest, RotateMovesTheCornersCounterClockwise) {
  Surface old(3, 3, PixelFormat::Rgb24(), Black);
  old.WritePixel(2, 0, 0x0000FF);
  old.WritePixel(0, 0, 0x00FF00);
  Surface doc = old;
  Rotate(doc, old);
  EXPECT_EQ(doc.ReadPixel(0, 0), 0x0000FFu);
  EXPECT_EQ(doc.ReadPixel(0, 2), 0x00FF00u);
  EXPECT_EQ(doc.ReadPixel(2, 0), Black);
}

TEST(ImageTransformsTest, SourceInAnotherFormatOrTheDocumentItself) {
  for (const Transform& t : Transforms()) {
    SCOPED_TRACE(t.name);
    // The document itself as the source gives the same result as a separate copy.
    Surface expected = ColourPattern(9, 6);
    t.mapping(expected, ColourPattern(9, 6));
    Surface self = ColourPattern(9, 6);
    t.mapping(self, self);
    ExpectSamePixels(self, expected);
    // A source in another format is read by colour, not by raw value.
    const Surface indexed = IndexedPattern(9, 6);
    Surface rgb(9, 6, PixelFormat::Rgb24(), Black);
    CopyBlock(rgb, 0, 0, 9, 6, indexed, 0, 0);
    Surface fromRgb = indexed;
    t.mapping(fromRgb, rgb);
    Surface fromIndexed = indexed;
    t.mapping(fromIndexed, indexed);
    ExpectSamePixels(fromRgb, fromIndexed);
    // Different sizes are refused, not read past.
    Surface small = ColourPattern(4, 4);
    EXPECT_THROW(t.mapping(small, ColourPattern(5, 4)), std::invalid_argument);
  }
}

}  // namespace
}  // namespace gk
