#include "image/png_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "editor/picture_files.h"
#include "image/bmp_codec.h"
#include "image/png_writer.h"
#include "support/file_contents.h"
#include "support/png_samples.h"
#include "support/surface_pixels.h"
#include "support/temp_dir.h"

namespace gk {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Sample(const std::string& name) {
  return testing::ReadBytes(testing::SamplePath(name));
}

void PutBe32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}

std::uint32_t Be32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

// Where the first chunk of `type` starts (its length field).
std::size_t FindChunk(const Bytes& png, const char* type) {
  for (std::size_t at = 8; at + 12 <= png.size(); at += 12 + Be32(&png[at])) {
    if (std::memcmp(&png[at + 4], type, 4) == 0) return at;
  }
  ADD_FAILURE() << "no " << type << " chunk";
  return 8;
}

// Makes the CRC of the chunk at `at` right again after its type or data changed.
void FixCrc(Bytes& png, std::size_t at) {
  const std::uint32_t length = Be32(&png[at]);
  PutBe32(&png[at + 8 + length], static_cast<std::uint32_t>(crc32(0, &png[at + 4], length + 4)));
}

Bytes Chunk(const char* type, const Bytes& data) {
  Bytes chunk(12 + data.size());
  PutBe32(chunk.data(), static_cast<std::uint32_t>(data.size()));
  std::memcpy(&chunk[4], type, 4);
  std::copy(data.begin(), data.end(), chunk.begin() + 8);
  FixCrc(chunk, 0);
  return chunk;
}

Bytes InsertBefore(Bytes png, const char* type, const Bytes& chunk) {
  png.insert(png.begin() + static_cast<std::ptrdiff_t>(FindChunk(png, type)), chunk.begin(),
             chunk.end());
  return png;
}

Bytes WithHeader(Bytes png, std::uint32_t width, std::uint32_t height, int bitDepth = -1,
                 int colourType = -1) {
  PutBe32(&png[16], width);
  PutBe32(&png[20], height);
  if (bitDepth >= 0) png[24] = static_cast<std::uint8_t>(bitDepth);
  if (colourType >= 0) png[25] = static_cast<std::uint8_t>(colourType);
  FixCrc(png, 8);
  return png;
}

// The reader's refusal text, or "read" when it took the bytes.
std::string Outcome(const Bytes& png) {
  try {
    DecodePng(png, "hero.png");
    return "read";
  } catch (const PngError& e) {
    return e.what();
  }
}

TEST(PngReaderTest, ReadsEveryKindOfPngThatImageMagickWrites) {
  for (const testing::PngSample& sample : testing::PngSamples) {
    SCOPED_TRACE(sample.file);
    const Surface s = DecodePng(Sample(sample.file), sample.file);
    const testing::Netpbm reference = testing::ReadNetpbm(sample.colours);
    EXPECT_EQ(s.Width(), reference.width);
    EXPECT_EQ(s.Height(), reference.height);
    EXPECT_EQ(s.Format().bitsPerPixel, sample.bits);
    EXPECT_EQ(testing::Pixels(s), testing::ExpectedPixels(sample));
  }
}

TEST(PngReaderTest, ATransparentColourOfGreyAndRgbImagesIsKeptAndWrittenBack) {
  // The picture holds 200,10,30 twice; the levels hold grey 85 six times.
  const Surface rgb = DecodePng(
      InsertBefore(Sample("picture_rgb8.png"), "IDAT", Chunk("tRNS", {0, 200, 0, 10, 0, 30})),
      "keyed.png");
  const Surface grey = DecodePng(
      InsertBefore(Sample("levels_grey8.png"), "IDAT", Chunk("tRNS", {0, 85})), "keyed.png");
  for (auto [surface, source, key, type] :
       {std::tuple{&rgb, "picture.ppm", MakeColour(200, 10, 30), 2},
        std::tuple{&grey, "levels.pgm", MakeColour(85, 85, 85), 0}}) {
    std::vector<Colour> expected = testing::ExpectedPixels({"", source, nullptr, 24});
    int keyed = 0;
    for (Colour& c : expected) {
      if (c == key) {
        c |= 0xFF000000u;
        ++keyed;
      }
    }
    EXPECT_GE(keyed, 2) << source;
    EXPECT_EQ(testing::Pixels(*surface), expected) << source;
    // Written back in the same kind: the colour type and a transparent colour, not a channel.
    const PictureBytes back = EncodePng(*surface, 6, "keyed.png");
    const Bytes written(back.begin(), back.end());
    EXPECT_EQ(ReadPngInfo(written, "keyed.png").colourType, type) << source;
    EXPECT_EQ(testing::Pixels(DecodePng(written, "keyed.png")), expected) << source;
  }
}

TEST(PngReaderTest, ReadsImageDataPackedAtDeflatesBestRatio) {
  // A black grey image at the widest size: filter bytes and pixels are all zeros, which zlib
  // packs about a thousand to one, close to what deflate can do at all.
  const std::uint32_t width = MaxBmpSide, height = 64;
  const Bytes raw(std::size_t{width + 1} * height, 0);
  Bytes packed(compressBound(raw.size()));
  uLongf packedSize = packed.size();
  ASSERT_EQ(compress2(packed.data(), &packedSize, raw.data(), raw.size(), 9), Z_OK);
  packed.resize(packedSize);
  EXPECT_GT(raw.size() / packed.size(), 1000u);

  Bytes header(13, 0);
  PutBe32(&header[0], width);
  PutBe32(&header[4], height);
  header[8] = 8;  // grey, 8 bits
  Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const Bytes& chunk : {Chunk("IHDR", header), Chunk("IDAT", packed), Chunk("IEND", {})}) {
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  const Surface read = DecodePng(file, "flat.png");
  EXPECT_EQ(read.Width(), MaxBmpSide);
  EXPECT_EQ(read.Height(), 64);
  EXPECT_EQ(read.ReadPixel(MaxBmpSide - 1, 63), Black);
}

TEST(PngReaderTest, RefusesDamagedFilesNamingThemAndTheReason) {
  const Bytes good = Sample("picture_rgb8.png");
  const std::size_t idat = FindChunk(good, "IDAT");
  ASSERT_EQ(Outcome(good), "read");

  // Cut anywhere: in the header, in the image data, before or inside the end chunk.
  for (std::size_t size : {std::size_t{8}, std::size_t{20}, std::size_t{33}, idat + 6, idat + 20,
                           good.size() - 12, good.size() - 1}) {
    EXPECT_EQ(Outcome(Bytes(good.begin(), good.begin() + size)), "hero.png: file is truncated")
        << size;
  }

  // The image data's CRC, and the header's.
  Bytes badData = good;
  badData[idat + 8 + Be32(&good[idat])] ^= 0x40;
  Bytes badHeader = good;
  badHeader[29] ^= 0x01;
  for (const Bytes& bad : {badData, badHeader}) {
    const std::string outcome = Outcome(bad);
    EXPECT_EQ(outcome.rfind("hero.png: damaged PNG file: ", 0), 0u) << outcome;
    EXPECT_NE(outcome.find("CRC error"), std::string::npos) << outcome;
  }

  // Image data that does not inflate, and an indexed image without its palette.
  Bytes garbage = good;
  for (std::size_t i = idat + 10; i < idat + 8 + Be32(&good[idat]); ++i) garbage[i] = 0xA5;
  FixCrc(garbage, idat);
  Bytes noPalette = Sample("picture_indexed8.png");
  const std::size_t plte = FindChunk(noPalette, "PLTE");
  noPalette.erase(
      noPalette.begin() + static_cast<std::ptrdiff_t>(plte),
      noPalette.begin() + static_cast<std::ptrdiff_t>(plte + 12 + Be32(&noPalette[plte])));
  for (const Bytes& bad : {garbage, noPalette}) {
    const std::string outcome = Outcome(bad);
    EXPECT_EQ(outcome.rfind("hero.png: damaged PNG file: ", 0), 0u) << outcome;
  }

  EXPECT_EQ(Outcome(Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0}), "hero.png: not a PNG file");
  EXPECT_EQ(Outcome({}), "hero.png: not a PNG file");
  EXPECT_EQ(Outcome(InsertBefore(good, "IDAT", Chunk("acTL", {0, 0, 0, 2, 0, 0, 0, 0}))),
            "hero.png: animated PNG files are not supported");
  EXPECT_EQ(Outcome(WithHeader(good, 6, 4, 4, 2)),
            "hero.png: unsupported bit depth 4 for colour type 2");
  EXPECT_EQ(Outcome(WithHeader(good, 6, 4, 8, 5)),
            "hero.png: unsupported bit depth 8 for colour type 5");
}

TEST(PngReaderTest, RefusesSizesBeyondTheBoundsBeforeAllocating) {
  const Bytes good = Sample("picture_rgb8.png");
  EXPECT_EQ(Outcome(WithHeader(good, 0, 4)), "hero.png: bad image size 0 x 4");
  EXPECT_EQ(Outcome(WithHeader(good, 6, 0x80000000u)), "hero.png: bad image size 6 x 2147483648");
  EXPECT_EQ(Outcome(WithHeader(good, MaxBmpSide + 1, 1)), "hero.png: image too large (16385 x 1)");
  EXPECT_EQ(Outcome(WithHeader(good, 1, MaxBmpSide + 1)), "hero.png: image too large (1 x 16385)");
  EXPECT_EQ(Outcome(WithHeader(good, MaxBmpSide, MaxBmpSide)),
            "hero.png: image too large (16384 x 16384)");
  // Within the bounds, but a hundred bytes of data cannot hold 200 MB of pixels.
  EXPECT_EQ(Outcome(WithHeader(good, MaxBmpSide, 4096)),
            "hero.png: image data too short for 16384 x 4096 pixels");
  const Bytes cut(good.begin(),
                  good.begin() + static_cast<std::ptrdiff_t>(FindChunk(good, "IDAT") + 20));
  EXPECT_EQ(Outcome(WithHeader(cut, MaxBmpSide, 4096)), "hero.png: file is truncated");
}

TEST(PngReaderTest, PicturesAreToldApartByTheirFirstBytesNotTheirNames) {
  testing::TempDir dir;
  const std::string pngAsBmp = dir.Path("hero.bmp");
  const std::string bmpAsPng = dir.Path("hero.png");
  const std::string other = dir.Path("hero.gif");
  ASSERT_TRUE(testing::WriteBytes(pngAsBmp, Sample("picture_rgb8.png")));
  ASSERT_TRUE(testing::WriteBytes(bmpAsPng, Sample("picture_info8.bmp")));
  ASSERT_TRUE(testing::WriteText(other, "GIF89a"));

  const std::vector<Colour> picture = testing::ExpectedPixels({"", "picture.ppm", nullptr, 24});
  EXPECT_EQ(testing::Pixels(LoadPictureFile(pngAsBmp)), picture);
  const Surface bmp = LoadPictureFile(bmpAsPng);
  EXPECT_EQ(bmp.Format().bitsPerPixel, 8);
  EXPECT_EQ(testing::Pixels(bmp), picture);
  try {
    LoadPictureFile(other);
    ADD_FAILURE() << "read a GIF";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), other + ": not a BMP or PNG file");
  }
}

}  // namespace
}  // namespace gk
