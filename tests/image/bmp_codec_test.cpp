#include "image/bmp_codec.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/surface_pixels.h"

namespace gk {
namespace {

using testing::RandomColours;

using testing::RawPixels;

using Bytes = std::vector<std::uint8_t>;

Bytes ReadSample(const std::string& file) {
  std::ifstream in(std::string(GK_TEST_DATA_DIR) + "/" + file, std::ios::binary);
  if (!in) throw std::runtime_error("missing sample " + file);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A plain-text PPM (P3, maxval 255) as rows of colours from the top.
std::vector<Colour> ReadPpm(const std::string& file, int& width, int& height) {
  const Bytes bytes = ReadSample(file);
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string magic;
  int maxval = 0;
  in >> magic >> width >> height >> maxval;
  if (magic != "P3" || maxval != 255) throw std::runtime_error("bad reference " + file);
  std::vector<Colour> pixels;
  int r = 0, g = 0, b = 0;
  while (in >> r >> g >> b) pixels.push_back(MakeColour(r, g, b));
  return pixels;
}

// The encoder's bytes as the tests hold files.
Bytes Encoded(const Surface& s) {
  const BmpBytes bytes = EncodeBmp(s);
  return Bytes(bytes.begin(), bytes.end());
}

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

PixelFormat With(PixelFormat f, BmpHeaderKind header) {
  f.header = header;
  return f;
}

PixelFormat Masked(int bits, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  PixelFormat f = bits == 16 ? PixelFormat::Rgb565() : PixelFormat::Rgb32();
  f.redMask = r;
  f.greenMask = g;
  f.blueMask = b;
  f.bitfields = true;
  return f;
}

struct RoundTrip {
  const char* what;
  PixelFormat format;
  std::optional<PixelFormat> readBack;  // what the file reads back as, when not `format`
  int headerSize;
};

// Every format the writer produces, at an odd width so every row needs padding.
TEST(BmpCodec, WrittenFilesReadBackUnchanged) {
  PixelFormat rle = PixelFormat::Indexed(8, RandomColours(40, 3));
  rle.rleCompressed = true;
  const PixelFormat v5 = With(Masked(32, 0xFF0000, 0xFF00, 0xFF), BmpHeaderKind::V5);
  const std::vector<RoundTrip> cases = {
      {"1 bit", PixelFormat::Indexed(1, {Black, White}), {}, 40},
      {"1 bit, one colour", PixelFormat::Indexed(1, {Red}), {}, 40},
      {"4 bits", PixelFormat::Indexed(4, RandomColours(16, 1)), {}, 40},
      {"4 bits, short table", PixelFormat::Indexed(4, RandomColours(5, 2)), {}, 40},
      {"8 bits", PixelFormat::Indexed(8, RandomColours(256, 3)), {}, 40},
      {"8 bits, short table", PixelFormat::Indexed(8, RandomColours(20, 4)), {}, 40},
      {"core 1 bit", With(PixelFormat::Indexed(1, {Black, White}), BmpHeaderKind::Core), {}, 12},
      {"core 4 bits",
       With(PixelFormat::Indexed(4, RandomColours(16, 5)), BmpHeaderKind::Core),
       {},
       12},
      {"core 8 bits, short table",
       With(PixelFormat::Indexed(8, RandomColours(30, 6)), BmpHeaderKind::Core),
       {},
       12},
      {"core 24 bits", With(PixelFormat::Rgb24(), BmpHeaderKind::Core), {}, 12},
      {"16 bits 5-5-5", PixelFormat::Rgb555(), {}, 40},
      {"16 bits 5-6-5", PixelFormat::Rgb565(), {}, 40},
      {"16 bits 4-4-4", Masked(16, 0xF00, 0xF0, 0xF), {}, 40},
      {"24 bits", PixelFormat::Rgb24(), {}, 40},
      {"32 bits BI_RGB", PixelFormat::Rgb32(), {}, 40},
      {"32 bits, masks in another order", Masked(32, 0xFF, 0xFF00, 0xFF0000), {}, 40},
      {"32 bits, 10-bit channels", Masked(32, 0x3FF00000, 0xFFC00, 0x3FF), {}, 40},
      {"v5 image is written with the 40-byte header", v5, With(v5, BmpHeaderKind::Info), 40},
      {"core 16 bits falls back to the 40-byte header",
       With(PixelFormat::Rgb565(), BmpHeaderKind::Core), PixelFormat::Rgb565(), 40},
      {"RLE image is written uncompressed", rle, PixelFormat::Indexed(8, RandomColours(40, 3)), 40},
  };
  const int w = 13, h = 5;
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.what);
    Surface s(w, h, c.format);
    const std::vector<Colour> colours = RandomColours(w * h, 9);
    for (int i = 0; i < w * h; ++i) s.WritePixel(i % w, i / w, colours[i]);

    const Bytes file = Encoded(s);
    ASSERT_GE(file.size(), 26u);
    EXPECT_EQ(Le32(file, 2), file.size());
    EXPECT_EQ(Le32(file, 14), static_cast<std::uint32_t>(c.headerSize));
    const std::int64_t stride = (std::int64_t{w} * c.format.bitsPerPixel + 31) / 32 * 4;
    EXPECT_EQ(Le32(file, 10) + stride * h, static_cast<std::int64_t>(file.size()));
    if (c.headerSize == 40) {
      EXPECT_EQ(std::int64_t{Le32(file, 34)}, stride * h);
    }

    const Surface back = DecodeBmp(file, "round.bmp");
    EXPECT_EQ(back.Format(), c.readBack.value_or(c.format));
    ASSERT_EQ(back.Width(), w);
    ASSERT_EQ(back.Height(), h);
    EXPECT_EQ(RawPixels(back), RawPixels(s));
    EXPECT_EQ(Encoded(back), file) << "a second save must write the same bytes";
  }
}

TEST(BmpCodec, WriterRefusesWhatTheReaderWouldRefuse) {
  PixelFormat odd = PixelFormat::Rgb24();
  odd.bitsPerPixel = 2;
  EXPECT_THROW(EncodeBmp(Surface(4, 4, odd)), BmpError);
  EXPECT_THROW(EncodeBmp(Surface()), BmpError);
  EXPECT_THROW(EncodeBmp(Surface(MaxBmpSide + 1, 1)), BmpError);
}

struct Sample {
  const char* file;
  const char* reference;
  int bits;
  const char* header;
  const char* compression;
};

// Files written by ImageMagick (tests/data/make_samples.sh) against their PPM sources.
TEST(BmpCodec, ReadsFilesOfAnotherWriter) {
  const std::vector<Sample> samples = {
      {"picture_info24.bmp", "picture.ppm", 24, "info", "BI_RGB"},
      {"picture_info8.bmp", "picture.ppm", 8, "info", "BI_RGB"},
      {"picture_rle8.bmp", "picture.ppm", 8, "info", "BI_RLE8"},
      {"picture_core24.bmp", "picture.ppm", 24, "core", "BI_RGB"},
      {"picture_core8.bmp", "picture.ppm", 8, "core", "BI_RGB"},
      {"picture_v5_32.bmp", "picture.ppm", 32, "v5", "BI_BITFIELDS"},
      {"primaries_info4.bmp", "primaries.ppm", 4, "info", "BI_RGB"},
      {"primaries_565.bmp", "primaries.ppm", 16, "v5", "BI_BITFIELDS"},
      {"primaries_555.bmp", "primaries.ppm", 16, "v5", "BI_BITFIELDS"},
      {"primaries_4444.bmp", "primaries.ppm", 16, "v5", "BI_BITFIELDS"},
      {"mono_info1.bmp", "mono.ppm", 1, "info", "BI_RGB"},
      {"mono_core1.bmp", "mono.ppm", 1, "core", "BI_RGB"},
  };
  for (const Sample& sample : samples) {
    SCOPED_TRACE(sample.file);
    const Bytes file = ReadSample(sample.file);
    int w = 0, h = 0;
    const std::vector<Colour> reference = ReadPpm(sample.reference, w, h);
    const BmpInfo info = ReadBmpInfo(file, sample.file);
    EXPECT_EQ(info.bitsPerPixel, sample.bits);
    EXPECT_EQ(HeaderKindName(info.header), sample.header);
    EXPECT_EQ(CompressionName(info.compression), sample.compression);

    const Surface s = DecodeBmp(file, sample.file);
    ASSERT_EQ(s.Width(), w);
    ASSERT_EQ(s.Height(), h);
    EXPECT_EQ(s.Format().bitsPerPixel, sample.bits);
    std::vector<Colour> pixels;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) pixels.push_back(s.ReadPixel(x, y));
    }
    EXPECT_EQ(pixels, reference);
  }
}

// The same file stored top-down: height negated, rows in the other order.
Bytes TopDown(const Bytes& file) {
  Bytes out = file;
  const std::int32_t height = static_cast<std::int32_t>(Le32(file, 22));
  const std::uint32_t flipped = static_cast<std::uint32_t>(-height);
  for (int i = 0; i < 4; ++i) out[22 + i] = static_cast<std::uint8_t>(flipped >> (8 * i));
  const std::size_t offset = Le32(file, 10);
  const std::size_t stride = (file.size() - offset) / height;
  for (std::int32_t row = 0; row < height; ++row) {
    std::copy_n(file.begin() + offset + row * stride, stride,
                out.begin() + offset + (height - 1 - row) * stride);
  }
  return out;
}

TEST(BmpCodec, TopDownFilesReadLikeBottomUpOnes) {
  for (const char* sample : {"picture_info24.bmp", "picture_info8.bmp", "primaries_info4.bmp",
                             "mono_info1.bmp", "primaries_565.bmp"}) {
    SCOPED_TRACE(sample);
    const Bytes file = ReadSample(sample);
    const Surface bottomUp = DecodeBmp(file, sample);
    const Bytes flipped = TopDown(file);
    EXPECT_TRUE(ReadBmpInfo(flipped, sample).topDown);
    const Surface topDown = DecodeBmp(flipped, sample);
    EXPECT_EQ(topDown.Format(), bottomUp.Format());
    EXPECT_EQ(RawPixels(topDown), RawPixels(bottomUp));
    EXPECT_EQ(EncodeBmp(topDown), EncodeBmp(bottomUp)) << "saves are always bottom-up";
  }
}

// Rows are converted in parts of 2048 surface bytes: widths around a part and across several
// keep every pixel at every depth, and the 24-bit bytes are the colours' B, G, R.
TEST(BmpCodec, WideRowsKeepEveryPixelAtEveryDepth) {
  const std::vector<PixelFormat> formats = {PixelFormat::Indexed(1, {Black, White}),
                                            PixelFormat::Indexed(4, RandomColours(16, 7)),
                                            PixelFormat::Indexed(8, RandomColours(200, 8)),
                                            PixelFormat::Rgb565(),
                                            PixelFormat::Rgb24(),
                                            PixelFormat::Rgb32()};
  for (const PixelFormat& format : formats) {
    for (int w : {1, 5, 511, 513, 1025, 2050}) {
      SCOPED_TRACE(std::to_string(format.bitsPerPixel) + " bits, width " + std::to_string(w));
      const int h = 3;
      Surface s(w, h, format);
      const std::vector<Colour> colours = RandomColours(w * h, static_cast<unsigned>(w));
      for (int i = 0; i < w * h; ++i) s.WritePixel(i % w, i / w, colours[i]);
      const Bytes file = Encoded(s);
      const Surface back = DecodeBmp(file, "wide.bmp");
      ASSERT_EQ(testing::Pixels(back), testing::Pixels(s));
      EXPECT_EQ(testing::RawPixels(DecodeBmp(TopDown(file), "wide.bmp")), RawPixels(s));
      if (format.bitsPerPixel == 24) {
        const std::size_t offset = Le32(file, 10);
        const std::size_t stride = (3 * static_cast<std::size_t>(w) + 3) / 4 * 4;
        for (int y = 0; y < h; ++y) {
          for (int x = 0; x < w; ++x) {
            const std::size_t at = offset + (h - 1 - y) * stride + 3 * static_cast<std::size_t>(x);
            const Colour c = colours[y * w + x];
            ASSERT_EQ(MakeColour(file[at + 2], file[at + 1], file[at]), c) << x << "," << y;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace gk
