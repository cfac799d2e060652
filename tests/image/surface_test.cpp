#include "image/surface.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "support/surface_pixels.h"

namespace gk {
namespace {

constexpr Colour Blue = MakeColour(0, 0, 255);
constexpr Colour Grey = MakeColour(128, 128, 128);

using testing::Pixels;

// A surface whose every pixel has its own colour, so that misplaced copies show.
Surface Numbered(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s.WritePixel(x, y, MakeColour(x * 8, y * 8, 1));
  }
  return s;
}

TEST(Surface, SizesAndOutsideAccess) {
  EXPECT_EQ(Surface(-3, 5).Width(), 0);
  EXPECT_EQ(Surface(4, -1).Height(), 0);
  EXPECT_EQ(Surface(2, 2, PixelFormat::Rgb24(), NoColour).ReadPixel(1, 1), Black);

  Surface s(5, 4, PixelFormat::Rgb24(), Blue);
  const std::vector<Colour> before = Pixels(s);
  const int outside[][2] = {{-1, 0}, {0, -1}, {5, 0}, {0, 4}, {5, 4}, {INT_MIN, 0}, {0, INT_MAX}};
  for (const auto& p : outside) {
    EXPECT_EQ(s.ReadPixel(p[0], p[1]), NoColour) << p[0] << "," << p[1];
    s.WritePixel(p[0], p[1], Red);
  }
  EXPECT_EQ(Pixels(s), before);
  s.WritePixel(4, 3, Red);
  EXPECT_EQ(s.ReadPixel(4, 3), Red);
  s.WritePixel(0, 0, NoColour);
  EXPECT_EQ(s.ReadPixel(0, 0), Black);
}

TEST(Surface, FillRectangleExcludesRightAndBottomAndClips) {
  struct Case {
    int x1, y1, x2, y2;
  };
  const Case cases[] = {{1, 1, 3, 2},  {0, 0, 6, 5}, {-2, -2, 2, 2},           {4, 3, 9, 9},
                        {2, 2, 2, 4},  {3, 3, 1, 1}, {INT_MIN, 1, INT_MAX, 2}, {6, 0, 9, 5},
                        {-5, -5, 0, 0}};
  for (const Case& c : cases) {
    for (Colour paint : {Red, NoColour}) {
      Surface s(6, 5, PixelFormat::Rgb24(), Blue);
      s.FillRectangle(c.x1, c.y1, c.x2, c.y2, paint);
      for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
          const bool in = x >= c.x1 && x < c.x2 && y >= c.y1 && y < c.y2;
          const Colour expected = in ? (paint == NoColour ? Black : paint) : Blue;
          ASSERT_EQ(s.ReadPixel(x, y), expected) << "rect " << c.x1 << "," << c.y1 << "," << c.x2
                                                 << "," << c.y2 << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(Surface, FillBlackIsRawZeroAndFillWhiteTheNearestWhite) {
  const std::vector<Colour> table = {Red, White, Black};
  Surface indexed(4, 3, PixelFormat::Indexed(8, table), Black);
  indexed.FillBlack(2, 9);
  EXPECT_EQ(indexed.ReadPixel(1, 2), Red);  // table entry 0
  EXPECT_EQ(indexed.ReadPixel(2, 0), Black);
  indexed.FillWhite(-1, 2);
  EXPECT_EQ(indexed.ReadPixel(0, 0), Red);
  indexed.FillWhite(9, 1);
  EXPECT_EQ(indexed.ReadPixel(3, 0), White);
  EXPECT_EQ(indexed.ReadPixel(3, 1), Black);

  Surface gray(3, 3, PixelFormat::Indexed(4, {Black, Grey}), Black);
  gray.FillWhite(3, 3);
  EXPECT_EQ(gray.ReadPixel(2, 2), Grey);

  for (const PixelFormat& f :
       {PixelFormat::Rgb555(), PixelFormat::Rgb565(), PixelFormat::Rgb32()}) {
    Surface s(2, 2, f, Red);
    s.FillWhite(2, 2);
    EXPECT_EQ(s.ReadPixel(1, 1), White);
    s.FillBlack(1, 1);
    EXPECT_EQ(s.ReadPixel(0, 0), Black);
    EXPECT_EQ(s.ReadPixel(1, 0), White);
  }
}

// CopyBlock against the plain definition: read the clipped source block whole, then write.
TEST(Surface, CopyBlockOverlapsAndClipsLikeAWholeRead) {
  struct Case {
    int dx, dy, w, h, sx, sy;
  };
  const Case cases[] = {
      {1, 0, 5, 4, 0, 0},  {0, 0, 5, 4, 1, 0},       {0, 1, 4, 5, 0, 0},
      {0, 0, 4, 5, 0, 1},  {2, 2, 5, 5, 0, 0},       {0, 0, 5, 5, 2, 2},
      {-2, 1, 5, 3, 1, 1}, {1, -3, 4, 6, 0, 0},      {3, 3, 5, 5, -2, -1},
      {5, 4, 9, 9, 0, 0},  {0, 0, 3, 3, 6, 0},       {0, 0, 0, 3, 0, 0},
      {1, 1, -2, 3, 0, 0}, {INT_MIN, 0, 3, 3, 0, 0}, {0, 0, INT_MAX, INT_MAX, INT_MIN, -1}};
  for (const Case& c : cases) {
    for (bool same : {true, false}) {
      const Surface src = Numbered(7, 6);
      Surface dst = same ? src : Surface(5, 5, PixelFormat::Rgb24(), Blue);
      std::vector<Colour> expected = Pixels(dst);
      for (int ty = 0; ty < dst.Height(); ++ty) {
        for (int tx = 0; tx < dst.Width(); ++tx) {
          const long long ox = 0LL + tx - c.dx, oy = 0LL + ty - c.dy;
          if (ox < 0 || oy < 0 || ox >= c.w || oy >= c.h) continue;
          const long long fx = c.sx + ox, fy = c.sy + oy;
          if (fx < 0 || fy < 0 || fx >= src.Width() || fy >= src.Height()) continue;
          expected[ty * dst.Width() + tx] =
              src.ReadPixel(static_cast<int>(fx), static_cast<int>(fy));
        }
      }
      if (same) {
        CopyBlock(dst, c.dx, c.dy, c.w, c.h, dst, c.sx, c.sy);
      } else {
        CopyBlock(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy);
      }
      EXPECT_EQ(Pixels(dst), expected) << "same " << same << " case " << c.dx << "," << c.dy << ","
                                       << c.w << "," << c.h << "," << c.sx << "," << c.sy;
    }
  }
}

TEST(Surface, CopyBlockConvertsColoursBetweenFormats) {
  const Surface src = Numbered(4, 4);
  Surface indexed(4, 4, PixelFormat::Indexed(8, {Black, Blue, Red, MakeColour(24, 24, 0)}));
  CopyBlock(indexed, 0, 0, 4, 4, src, 0, 0);
  EXPECT_EQ(indexed.ReadPixel(0, 0), Black);                  // (0, 0, 1)
  EXPECT_EQ(indexed.ReadPixel(3, 3), MakeColour(24, 24, 0));  // (24, 24, 1)
  Surface back(4, 4);
  CopyBlock(back, 0, 0, 4, 4, indexed, 0, 0);
  EXPECT_EQ(Pixels(back), Pixels(indexed));
  Surface hi(4, 4, PixelFormat::Rgb565());
  CopyBlock(hi, 0, 0, 4, 4, src, 0, 0);
  EXPECT_EQ(hi.ReadPixel(1, 2), MakeColour(8, 16, 0));
}

TEST(Surface, IndexedStoresTheNearestTableColour) {
  const std::vector<Colour> table = {Black, MakeColour(100, 0, 0), MakeColour(0, 100, 0),
                                     MakeColour(100, 0, 0), White};
  Surface s(1, 1, PixelFormat::Indexed(8, table));
  const struct {
    Colour in;
    std::uint32_t index;
  } cases[] = {{Black, 0},
               {MakeColour(100, 0, 0), 1},  // duplicate entries: the lowest
               {MakeColour(60, 60, 0), 1},  // tie between 1 and 2: the lowest
               {MakeColour(40, 60, 0), 2},
               {MakeColour(200, 200, 200), 4},
               {NoColour, 0}};
  for (const auto& c : cases) {
    s.WritePixel(0, 0, c.in);
    EXPECT_EQ(s.Row<std::uint8_t>(0)[0], c.index) << std::hex << c.in;
    EXPECT_EQ(s.ReadPixel(0, 0), table[c.index]);
  }
  // Entries beyond 2^bits are not used; an empty table holds black.
  Surface mono(1, 1, PixelFormat::Indexed(1, {Black, Blue, White}));
  EXPECT_EQ(mono.ReadPixel(0, 0), Blue);
  Surface empty(2, 1, PixelFormat::Indexed(8, {}), Red);
  EXPECT_EQ(empty.ReadPixel(1, 0), Black);
  empty.Row<std::uint8_t>(0)[0] = 200;  // an index a file may hold beyond its table
  EXPECT_EQ(empty.ReadPixel(0, 0), Black);
}

TEST(Surface, MaskedFormatsRoundTripWhatTheyHold) {
  auto masked = [](int bits, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    PixelFormat f;
    f.bitsPerPixel = bits;
    f.redMask = r;
    f.greenMask = g;
    f.blueMask = b;
    f.bitfields = true;
    return f;
  };
  const PixelFormat formats[] = {PixelFormat::Rgb555(),
                                 PixelFormat::Rgb565(),
                                 PixelFormat::Rgb32(),
                                 masked(16, 0x000F, 0x00F0, 0x0F00),
                                 masked(16, 0x8000, 0x0001, 0x0000),
                                 masked(32, 0x3FF00000, 0x000FFC00, 0x000003FF),
                                 masked(32, 0xFFFFFFFF, 0, 0)};
  for (const PixelFormat& f : formats) {
    Surface s(1, 1, f);
    for (int v = 0; v < 256; ++v) {
      for (Colour c : {MakeColour(v, 0, 0), MakeColour(0, v, 0), MakeColour(0, 0, v)}) {
        const std::uint32_t raw = s.Encode(c);
        const Colour held = s.Decode(raw);
        ASSERT_EQ(s.Encode(held), raw) << std::hex << f.redMask << " " << c;
        s.WritePixel(0, 0, held);
        ASSERT_EQ(s.ReadPixel(0, 0), held);
      }
    }
    EXPECT_EQ(s.Decode(0), Black);
  }
  // Rounding to the nearest level: 5 bits hold 0, 8, 16, ...; 6 bits 0, 4, 8, ...
  auto held = [](const Surface& s, Colour c) { return s.Decode(s.Encode(c)); };
  Surface s555(1, 1, PixelFormat::Rgb555());
  EXPECT_EQ(held(s555, MakeColour(4, 5, 255)), MakeColour(0, 8, 255));
  EXPECT_EQ(held(s555, MakeColour(12, 13, 251)), MakeColour(8, 16, 255));
  Surface s565(1, 1, PixelFormat::Rgb565());
  EXPECT_EQ(held(s565, MakeColour(4, 3, 2)), MakeColour(0, 4, 0));
  // A 1-bit channel holds 0 and 255; a channel without a mask reads 0.
  Surface odd(1, 1, masked(16, 0x8000, 0x0001, 0x0000));
  EXPECT_EQ(held(odd, MakeColour(127, 128, 255)), MakeColour(0, 255, 0));
}

// Each pixel takes the bytes its format needs, and a 32-bit pixel lies in memory as B, G, R and
// 0xFF, the order of a 32-bit BMP file and of a 32-bit screen image.
TEST(Surface, PixelsTakeTheBytesOfTheirFormat) {
  struct Case {
    PixelFormat format;
    int bytes;
  };
  const Case cases[] = {{PixelFormat::Indexed(1, {Black, White}), 1},
                        {PixelFormat::Indexed(8, {Black, White}), 1},
                        {PixelFormat::Rgb555(), 2},
                        {PixelFormat::Rgb24(), 4},
                        {PixelFormat::Rgb32(), 4}};
  for (const Case& c : cases) {
    Surface s(7, 3, c.format);
    EXPECT_EQ(s.BytesPerPixel(), c.bytes);
    EXPECT_EQ(s.RowBytes(), 7u * c.bytes);
    EXPECT_EQ(s.Bytes(2) - s.Bytes(0), static_cast<std::ptrdiff_t>(14 * c.bytes));
  }
  Surface rgb(2, 1);
  rgb.WritePixel(1, 0, MakeColour(0x11, 0x22, 0x33));
  const std::uint8_t* p = rgb.Bytes(0) + 4;
  EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{0x33, 0x22, 0x11, 0xFF}));
  Surface hi(1, 1, PixelFormat::Rgb565());
  hi.WritePixel(0, 0, MakeColour(255, 0, 255));
  EXPECT_EQ(hi.Row<std::uint16_t>(0)[0], 0xF81F);

  // A size whose bytes do not fit in memory's address range is refused, not wrapped round.
  EXPECT_THROW(Surface(INT_MAX, INT_MAX), std::bad_alloc);
  // A copy is a copy: its pixels are its own.
  Surface copy = rgb;
  copy.WritePixel(1, 0, Red);
  EXPECT_EQ(rgb.ReadPixel(1, 0), MakeColour(0x11, 0x22, 0x33));
}

// The record of what changed: the union of the writes since it was last taken, clipped.
TEST(Surface, RecordsTheRectangleWrittenSinceItWasTaken) {
  Surface s(10, 8, PixelFormat::Indexed(8, {Black, White}));
  EXPECT_EQ(s.TakeChanged(), (PixelRect{0, 0, 10, 8})) << "a new surface is written whole";
  EXPECT_TRUE(s.TakeChanged().Empty());

  s.WritePixel(3, 2, White);
  s.WritePixel(-1, 2, White);  // outside: nothing written, nothing recorded
  EXPECT_EQ(s.Changed(), (PixelRect{3, 2, 4, 3}));
  s.FillRectangle(8, 6, 20, 20, White);
  EXPECT_EQ(s.TakeChanged(), (PixelRect{3, 2, 10, 8}));

  s.FillRectangle(5, 5, 5, 9, White);  // empty
  s.FillBlack(2, 3);
  EXPECT_EQ(s.TakeChanged(), (PixelRect{0, 0, 2, 3}));

  Surface other(4, 4, PixelFormat::Rgb24(), Red);
  CopyBlock(s, 7, -1, 4, 4, other, 0, 0);
  EXPECT_EQ(s.TakeChanged(), (PixelRect{7, 0, 10, 3}));
  CopyBlock(s, 1, 1, 3, 3, s, 2, 2);  // within itself
  EXPECT_EQ(s.TakeChanged(), (PixelRect{1, 1, 4, 4}));

  s.MarkChanged(-5, 6, 3, 30);
  EXPECT_EQ(s.TakeChanged(), (PixelRect{0, 6, 3, 8}));
}

// Small buffers come from the heap, large ones are mapped on their own on a 2 MiB boundary:
// both keep every byte through copies, assignments and moves, up to the last one.
TEST(PixelBufferTest, KeepsItsBytesAndLargeOnesStartOnA2MiBBoundary) {
  constexpr std::size_t MiB = std::size_t{1} << 20;
  for (const std::size_t bytes :
       {std::size_t{1}, std::size_t{4097}, 2 * MiB - 1, 2 * MiB, 2 * MiB + 4095, 5 * MiB + 3}) {
    SCOPED_TRACE(::testing::Message() << bytes << " bytes");
    const auto fill = [bytes](PixelBuffer& b, unsigned char salt) {
      auto* p = static_cast<unsigned char*>(b.Data());
      for (std::size_t i = 0; i < bytes; i += 4093) p[i] = static_cast<unsigned char>(i + salt);
      p[bytes - 1] = static_cast<unsigned char>(salt ^ 0xA5);
    };
    const auto holds = [bytes](const PixelBuffer& b, unsigned char salt) {
      const auto* p = static_cast<const unsigned char*>(b.Data());
      for (std::size_t i = 0; i < bytes - 1; i += 4093) {
        if (p[i] != static_cast<unsigned char>(i + salt)) return false;
      }
      return p[bytes - 1] == static_cast<unsigned char>(salt ^ 0xA5);
    };
    PixelBuffer a(bytes);
    if (bytes >= 2 * MiB) {
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a.Data()) % (2 * MiB), 0u);
    }
    fill(a, 1);
    PixelBuffer copy(a);
    EXPECT_TRUE(holds(copy, 1));
    PixelBuffer other(bytes);
    fill(other, 2);
    copy = other;  // the old pixels go, the new ones are copied in
    EXPECT_TRUE(holds(copy, 2));
    PixelBuffer moved(std::move(a));
    EXPECT_EQ(a.Data(), nullptr);
    EXPECT_TRUE(holds(moved, 1));
    moved = std::move(copy);
    EXPECT_TRUE(holds(moved, 2));
  }
}

}  // namespace
}  // namespace gk
