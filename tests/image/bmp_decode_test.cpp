#include "image/bmp_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/surface_pixels.h"

namespace gk {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The fields of a BMP file written byte by byte, for files our writer never makes.
struct BmpFields {
  std::uint32_t headerSize = 40;  // 12, 40, 52, 56, 108, 124 or anything else
  std::int32_t width = 1;
  std::int32_t height = 1;
  int bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t clrUsed = 0;
  // After a 40-byte header they follow it; in larger headers they fill the mask slots.
  std::vector<std::uint32_t> masks{};
  std::vector<Colour> table{};            // RGBTRIPLEs under a 12-byte header, RGBQUADs otherwise
  std::uint32_t gap = 0;                  // bytes between the table and the pixels
  std::optional<std::uint32_t> offset{};  // pixel offset, computed when not given
  std::vector<std::uint8_t> pixels{};
};

void Put(Bytes& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes BuildBmp(const BmpFields& f) {
  const bool core = f.headerSize == 12;
  Bytes header;
  Put(header, f.headerSize, 4);
  if (core) {
    Put(header, static_cast<std::uint32_t>(f.width), 2);
    Put(header, static_cast<std::uint32_t>(f.height), 2);
    Put(header, 1, 2);
    Put(header, static_cast<std::uint32_t>(f.bits), 2);
  } else {
    Put(header, static_cast<std::uint32_t>(f.width), 4);
    Put(header, static_cast<std::uint32_t>(f.height), 4);
    Put(header, 1, 2);
    Put(header, static_cast<std::uint32_t>(f.bits), 2);
    Put(header, f.compression, 4);
    Put(header, static_cast<std::uint32_t>(f.pixels.size()), 4);
    Put(header, 2835, 4);
    Put(header, 2835, 4);
    Put(header, f.clrUsed, 4);
    Put(header, 0, 4);
    if (f.headerSize > 40) {
      for (std::uint32_t m : f.masks) Put(header, m, 4);
    }
    header.resize(std::max<std::size_t>(header.size(), f.headerSize), 0);
    if (f.headerSize == 40) {
      for (std::uint32_t m : f.masks) Put(header, m, 4);
    }
  }
  for (Colour c : f.table) {
    header.push_back(BlueOf(c));
    header.push_back(GreenOf(c));
    header.push_back(RedOf(c));
    if (!core) header.push_back(0);
  }
  header.resize(header.size() + f.gap, 0xEE);

  Bytes out{'B', 'M'};
  const std::uint32_t offset = f.offset.value_or(static_cast<std::uint32_t>(14 + header.size()));
  Put(out, static_cast<std::uint32_t>(14 + header.size() + f.pixels.size()), 4);
  Put(out, 0, 4);
  Put(out, offset, 4);
  out.insert(out.end(), header.begin(), header.end());
  out.insert(out.end(), f.pixels.begin(), f.pixels.end());
  return out;
}

std::vector<Colour> Grey16() {
  std::vector<Colour> t;
  for (int i = 0; i < 16; ++i) t.push_back(MakeColour(i * 17, i * 17, i * 17));
  return t;
}

const std::vector<Colour> Four = {Black, Red, MakeColour(0, 255, 0), MakeColour(0, 0, 255)};

BmpFields Rle8(int w, int h, Bytes data) {
  return {.width = w,
          .height = h,
          .bits = 8,
          .compression = BiRle8,
          .clrUsed = 4,
          .table = Four,
          .pixels = std::move(data)};
}

BmpFields Rle4(int w, int h, Bytes data) {
  return {.width = w,
          .height = h,
          .bits = 4,
          .compression = BiRle4,
          .table = Grey16(),
          .pixels = std::move(data)};
}

// Files our writer never makes, each with the raw values it must decode to (table indices for
// indexed images, colours otherwise), row by row from the top.
struct DecodeCase {
  const char* what;
  BmpFields fields;
  BmpHeaderKind header;
  int tableSize;
  std::vector<std::uint32_t> raw;
};

TEST(BmpDecode, HandBuiltFilesDecodeToTheirPixels) {
  const Colour green = MakeColour(0, 255, 0);
  const std::vector<DecodeCase> cases = {
      {"v4 header, 5-6-5 masks",
       {.headerSize = 108,
        .width = 2,
        .bits = 16,
        .compression = BiBitfields,
        .masks = {0xF800, 0x07E0, 0x001F, 0},
        .pixels = {0x00, 0xF8, 0xFF, 0x07}},
       BmpHeaderKind::V4,
       0,
       {Red, MakeColour(0, 255, 255)}},
      {"v5 header, 32-bit BI_RGB: the fourth byte is padding, not alpha",
       {.headerSize = 124,
        .height = 2,
        .bits = 32,
        .masks = {1, 2, 3, 4},
        .pixels = {0x10, 0x20, 0x30, 0xAB, 1, 2, 3, 0xFF}},
       BmpHeaderKind::V5,
       0,
       {MakeColour(3, 2, 1), MakeColour(0x30, 0x20, 0x10)}},
      {"16-bit BI_RGB is 5-5-5 and ignores the top bit",
       {.width = 2, .bits = 16, .pixels = {0x00, 0xFC, 0xE0, 0x83}},
       BmpHeaderKind::Info,
       0,
       {Red, green}},
      {"52-byte header holds the masks; a gap before the pixels is skipped",
       {.headerSize = 52,
        .bits = 32,
        .compression = BiBitfields,
        .masks = {0xFF, 0xFF00, 0xFF0000},
        .gap = 6,
        .pixels = {0x11, 0x22, 0x33, 0x00}},
       BmpHeaderKind::Info,
       0,
       {MakeColour(0x11, 0x22, 0x33)}},
      {"10-bit channels after a 40-byte header",
       {.bits = 32,
        .compression = BiBitfields,
        .masks = {0x3FF00000, 0x000FFC00, 0x3FF},
        .pixels = {0x00, 0x00, 0xF8, 0x3F}},
       BmpHeaderKind::Info,
       0,
       {MakeColour(255, 128, 0)}},
      {"short table: an index past it reads as index 0",
       {.width = 3, .bits = 8, .clrUsed = 2, .table = {Red, green}, .pixels = {1, 5, 0, 0}},
       BmpHeaderKind::Info,
       2,
       {1, 0, 0}},
      {"core header: RGBTRIPLE table, shortened by the pixel offset",
       {.headerSize = 12,
        .width = 3,
        .bits = 4,
        .table = {Black, Red, green},
        .pixels = {0x21, 0x00, 0, 0}},
       BmpHeaderKind::Core,
       3,
       {2, 1, 0}},
      {"1 bit, rows longer than a byte",
       {.width = 10,
        .height = 2,
        .bits = 1,
        .table = {Black, White},
        .pixels = {0b10110000, 0b01000000, 0, 0, 0xFF, 0xC0, 0, 0}},
       BmpHeaderKind::Info,
       2,
       {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 0, 0, 0, 0, 1}},
      {"the last row's padding may be missing",
       {.height = 2, .pixels = {1, 2, 3, 0, 4, 5, 6}},
       BmpHeaderKind::Info,
       0,
       {MakeColour(6, 5, 4), MakeColour(3, 2, 1)}},
      {"top-down rows",
       {.width = 2,
        .height = -2,
        .bits = 4,
        .table = Grey16(),
        .pixels = {0x12, 0, 0, 0, 0x34, 0, 0, 0}},
       BmpHeaderKind::Info,
       16,
       {1, 2, 3, 4}},
      {"RLE8 runs, end of line, end of bitmap",
       Rle8(4, 2, {3, 1, 1, 2, 0, 0, 4, 3, 0, 1}),
       BmpHeaderKind::Info,
       4,
       {3, 3, 3, 3, 1, 1, 1, 2}},
      {"RLE8 delta skips pixels; an odd absolute run is padded",
       Rle8(5, 3, {0, 2, 2, 1, 0, 3, 1, 2, 3, 0, 0, 0, 1, 2, 0, 1}),
       BmpHeaderKind::Info,
       4,
       {2, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0, 0, 0, 0, 0}},
      {"RLE8 early end of bitmap; an index past the table",
       Rle8(3, 2, {2, 3, 1, 9, 0, 1}),
       BmpHeaderKind::Info,
       4,
       {0, 0, 0, 3, 3, 0}},
      {"RLE8 data may end after the last row without an end mark",
       Rle8(2, 1, {2, 1, 0, 0}),
       BmpHeaderKind::Info,
       4,
       {1, 1}},
      {"RLE8 runs into the row padding are cut at the row end",
       Rle8(2, 2, {3, 1, 0, 0, 1, 2, 2, 3, 0, 1}),
       BmpHeaderKind::Info,
       4,
       {2, 3, 1, 1}},
      {"RLE4 runs alternate the two nibbles",
       Rle4(5, 1, {5, 0x12, 0, 1}),
       BmpHeaderKind::Info,
       16,
       {1, 2, 1, 2, 1}},
      {"RLE4 absolute run past the row end is cut",
       Rle4(3, 1, {0, 5, 0x12, 0x34, 0x50, 0, 0, 1}),
       BmpHeaderKind::Info,
       16,
       {1, 2, 3}},
      {"RLE4 absolute runs of odd length, delta",
       Rle4(8, 2,
            {0, 3, 0x34, 0x50, 0, 5, 0x12, 0x34, 0x50, 0x00, 0, 0, 0, 2, 1, 0, 2, 0x77, 0, 1}),
       BmpHeaderKind::Info,
       16,
       {0, 7, 7, 0, 0, 0, 0, 0, 3, 4, 5, 1, 2, 3, 4, 5}},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes file = BuildBmp(c.fields);
    Surface s;
    try {
      s = DecodeBmp(file, "case.bmp");
    } catch (const BmpError& e) {
      ADD_FAILURE() << e.what();
      continue;
    }
    const BmpInfo info = ReadBmpInfo(file, "case.bmp");
    EXPECT_EQ(info.width, s.Width());
    EXPECT_EQ(info.height, s.Height());
    EXPECT_EQ(info.topDown, c.fields.height < 0);
    EXPECT_EQ(info.colourTableSize, c.tableSize);
    EXPECT_EQ(s.Format().header, c.header);
    EXPECT_EQ(s.Format().rleCompressed,
              c.fields.compression == BiRle8 || c.fields.compression == BiRle4);
    EXPECT_EQ(static_cast<int>(s.Format().colourTable.size()), c.tableSize);
    // Table indices for indexed images, colours for the others.
    EXPECT_EQ(s.Format().IsIndexed() ? testing::RawPixels(s) : testing::Pixels(s), c.raw);
  }
}

// A file the codec must refuse, with the reason it must give.
struct BadCase {
  const char* what;
  Bytes file;
  std::string reason;
  bool headerOnly = true;  // ReadBmpInfo must refuse it too
};

Bytes Valid24(int w, int h) {
  return BuildBmp({.width = w, .height = h, .pixels = Bytes((w * 3 + 3) / 4 * 4 * h, 0)});
}

BmpFields WithSize(std::int32_t w, std::int32_t h, int bits = 24) {
  return {.width = w, .height = h, .bits = bits};
}

TEST(BmpDecode, RefusesBadFilesNamingFileAndReason) {
  Bytes shortHeader = Valid24(2, 2);
  shortHeader.resize(30);
  Bytes shortPixels = Valid24(2, 2);
  shortPixels.resize(shortPixels.size() - 6);
  Bytes badMagic = Valid24(1, 1);
  badMagic[1] = 'A';
  BmpFields topDownRle = Rle8(2, 2, {0, 1});
  topDownRle.height = -2;
  BmpFields rle8At4 = Rle4(2, 2, {0, 1});
  rle8At4.compression = BiRle8;

  const std::vector<BadCase> cases = {
      {"empty file", {}, "not a BMP file"},
      {"wrong magic", badMagic, "not a BMP file"},
      {"file header only", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}, "file is truncated"},
      {"info header cut short", shortHeader, "file is truncated"},
      {"OS/2 header size", BuildBmp({.headerSize = 64}), "unsupported header size 64"},
      {"zero width", BuildBmp(WithSize(0, 1)), "bad image width 0"},
      {"negative width", BuildBmp(WithSize(-3, 1)), "bad image width -3"},
      {"zero height", BuildBmp(WithSize(1, 0)), "bad image height 0"},
      {"bit depth 7", BuildBmp(WithSize(1, 1, 7)), "unsupported bit depth 7"},
      {"16 bits in a core header", BuildBmp({.headerSize = 12, .bits = 16}),
       "unsupported bit depth 16"},
      {"JPEG inside", BuildBmp({.compression = 4}), "unsupported compression BI_JPEG"},
      {"unknown compression", BuildBmp({.compression = 9}), "unsupported compression code 9"},
      {"RLE8 at 4 bits", BuildBmp(rle8At4), "BI_RLE8 compression needs 8 bits per pixel, not 4"},
      {"masks at 24 bits", BuildBmp({.compression = BiBitfields, .masks = {1, 2, 4}}),
       "BI_BITFIELDS compression needs 16 or 32 bits per pixel, not 24"},
      {"top-down RLE", BuildBmp(topDownRle), "run-length encoded image stored top-down"},
      {"huge sides", BuildBmp(WithSize(70000, 70000)), "image too large (70000 x 70000)"},
      {"one side too long", BuildBmp(WithSize(16385, 1)), "image too large (16385 x 1)"},
      {"too many pixels", BuildBmp(WithSize(8193, 8193)), "image too large (8193 x 8193)"},
      {"height of -2^31", BuildBmp(WithSize(1, INT32_MIN)), "image too large (1 x 2147483648)"},
      {"masks missing after the header",
       BuildBmp({.bits = 16, .compression = BiBitfields, .offset = 66}), "file is truncated"},
      {"scattered mask bits",
       BuildBmp({.bits = 16, .compression = BiBitfields, .masks = {0xF00F, 0x0F0, 0}}),
       "colour masks are not contiguous"},
      {"overlapping masks",
       BuildBmp({.bits = 32, .compression = BiBitfields, .masks = {0xFF00, 0x0FF0, 0xF}}),
       "colour masks overlap"},
      {"16-bit masks beyond 16 bits",
       BuildBmp({.bits = 16, .compression = BiBitfields, .masks = {0x1F0000, 0x7E0, 0x1F}}),
       "colour masks do not fit in 16 bits"},
      {"table longer than the bit depth allows",
       BuildBmp({.bits = 8, .clrUsed = 300, .table = std::vector<Colour>(300, Black)}),
       "colour table too long (300 entries for 8 bits per pixel)"},
      {"table runs into the pixels", BuildBmp({.bits = 4, .clrUsed = 16, .table = Four}),
       "colour table overlaps the pixel data"},
      {"core header without room for a table", BuildBmp({.headerSize = 12, .bits = 8}),
       "colour table is missing"},
      {"pixel offset past the end", BuildBmp({.offset = 10000, .pixels = {0, 0, 0, 0}}),
       "pixel data offset lies past the end of the file"},
      {"pixel offset inside the header", BuildBmp({.offset = 20, .pixels = {0, 0, 0, 0}}),
       "pixel data offset lies inside the headers"},
      {"pixels cut short", shortPixels, "file is truncated", false},
      {"RLE data after the last row", BuildBmp(Rle8(2, 1, {0, 0, 1, 1, 0, 1})),
       "RLE data runs past the end of the image", false},
      {"RLE delta out of the image", BuildBmp(Rle8(2, 1, {0, 2, 0, 2, 0, 1})),
       "RLE data runs past the end of the image", false},
      {"RLE data stops mid-image", BuildBmp(Rle8(2, 2, {2, 1})), "file is truncated", false},
      {"RLE absolute run cut short", BuildBmp(Rle8(4, 1, {0, 4, 1, 2})), "file is truncated",
       false},
      {"RLE pair cut in half", BuildBmp(Rle8(4, 1, {2, 1, 0})), "file is truncated", false},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string expected = "hero.bmp: " + c.reason;
    try {
      DecodeBmp(c.file, "hero.bmp");
      ADD_FAILURE() << "decoded without an error";
    } catch (const BmpError& e) {
      EXPECT_EQ(e.what(), expected);
    }
    if (c.headerOnly) {
      try {
        ReadBmpInfo(c.file, "hero.bmp");
        ADD_FAILURE() << "header read without an error";
      } catch (const BmpError& e) {
        EXPECT_EQ(e.what(), expected);
      }
    }
  }
}

TEST(BmpDecode, SizeLimitsAreInclusive) {
  const BmpInfo widest = ReadBmpInfo(BuildBmp(WithSize(MaxBmpSide, 4096)), "big.bmp");
  EXPECT_EQ(widest.width, MaxBmpSide);
  EXPECT_EQ(std::int64_t{widest.width} * widest.height, MaxBmpPixels);
}

}  // namespace
}  // namespace gk
