#include "editor/png_library.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "editor/picture_files.h"
#include "support/libpng_defaults.h"
#include "support/temp_dir.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

// What a PNG file holds, read back independently of the writer.
struct DecodedPng {
  int width = 0, height = 0;
  int bitDepth = 0, colourType = -1;
  std::map<std::string, std::size_t> chunkBytes;  // chunk type -> data length (last seen)
  std::vector<Colour> pixels;                     // row by row, top row first
};

std::uint32_t BigEndian(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

DecodedPng ReadPng(const std::string& path) {
  DecodedPng out;
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  EXPECT_GE(bytes.size(), 33u);
  if (bytes.size() < 33) return out;
  for (std::size_t at = 8; at + 12 <= bytes.size();) {
    const std::size_t length = BigEndian(&bytes[at]);
    out.chunkBytes[std::string(reinterpret_cast<const char*>(&bytes[at + 4]), 4)] = length;
    at += 12 + length;
  }
  out.bitDepth = bytes[24];
  out.colourType = bytes[25];

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    ADD_FAILURE() << path << ": " << image.message;
    return out;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    ADD_FAILURE() << path << ": " << image.message;
    return out;
  }
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
    out.pixels.push_back(MakeColour(rgb[i], rgb[i + 1], rgb[i + 2]));
  }
  return out;
}

class PngLibraryTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return tmp_.Path(name); }

  // Saves `image` as a BMP, exports it through the library and checks the PNG pixel by pixel
  // against the BMP as the codec reads it back.
  DecodedPng ExportAndCompare(const Surface& image, const std::string& name) {
    const std::string bmp = Path(name + ".bmp"), pngPath = Path(name + ".png");
    SaveBmpFile(bmp, image);
    png::ImageHandle handle = png::LoadBmp(bmp);
    EXPECT_NE(handle, nullptr) << png::LastError();
    png::PngOptions options{};
    options.flags = 9;
    options.level = 9;
    EXPECT_EQ(png::WritePng(pngPath, handle, &options), 0) << png::LastError();
    png::Release(handle);

    const Surface reference = LoadBmpFile(bmp);
    DecodedPng decoded = ReadPng(pngPath);
    EXPECT_EQ(decoded.width, reference.Width()) << name;
    EXPECT_EQ(decoded.height, reference.Height()) << name;
    if (decoded.pixels.size() == static_cast<std::size_t>(reference.Width()) * reference.Height()) {
      int mismatches = 0;
      for (int y = 0; y < reference.Height(); ++y) {
        for (int x = 0; x < reference.Width(); ++x) {
          const Colour want = reference.ReadPixel(x, y);
          const Colour got = decoded.pixels[static_cast<std::size_t>(y) * reference.Width() + x];
          if (got != want && ++mismatches <= 3) {
            ADD_FAILURE() << name << " at " << x << "," << y << ": " << std::hex << got
                          << " != " << want;
          }
        }
      }
    } else {
      ADD_FAILURE() << name << ": " << decoded.pixels.size() << " pixels decoded";
    }
    // Every PNG the library writes is opaque.
    EXPECT_EQ(decoded.chunkBytes.count("tRNS"), 0u) << name;
    EXPECT_EQ(decoded.colourType & PNG_COLOR_MASK_ALPHA, 0) << name;
    return decoded;
  }

  testing::TempDir tmp_;
  const fs::path dir_ = tmp_.Root();
};

// Fills a surface with a pattern that visits every colour of `colours` and differs on every row.
Surface Patterned(int w, int h, const PixelFormat& format, const std::vector<Colour>& colours) {
  Surface s(w, h, format, Black);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s.WritePixel(x, y, colours[(x * 3 + y * 5) % colours.size()]);
  }
  return s;
}

std::vector<Colour> Spread(int n) {
  std::vector<Colour> c;
  for (int i = 0; i < n; ++i) {
    c.push_back(MakeColour(static_cast<std::uint8_t>(i * 37 + 11),
                           static_cast<std::uint8_t>(i * 91),
                           static_cast<std::uint8_t>(255 - i * 13)));
  }
  return c;
}

TEST_F(PngLibraryTest, IndexedImagesStayIndexedWithTheirOwnTable) {
  const struct {
    const char* name;
    int bits;
    int tableSize;
    int width, height;
  } cases[] = {
      {"mono", 1, 2, 13, 5},         {"mono_short", 1, 1, 9, 3}, {"nibble", 4, 16, 7, 6},
      {"nibble_short", 4, 5, 33, 4}, {"byte", 8, 256, 20, 17},   {"byte_short", 8, 3, 5, 5},
  };
  for (const auto& c : cases) {
    const std::vector<Colour> table = Spread(c.tableSize);
    const Surface image = Patterned(c.width, c.height, PixelFormat::Indexed(c.bits, table), table);
    const DecodedPng png = ExportAndCompare(image, c.name);
    EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_PALETTE) << c.name;
    EXPECT_EQ(png.bitDepth, c.bits) << c.name;
    EXPECT_EQ(png.chunkBytes.at("PLTE"), static_cast<std::size_t>(c.tableSize) * 3) << c.name;
  }
}

TEST_F(PngLibraryTest, DirectImagesBecomeEightBitRgb) {
  std::vector<Colour> colours = Spread(40);
  colours.push_back(White);
  colours.push_back(Black);
  const struct {
    const char* name;
    PixelFormat format;
  } cases[] = {
      {"rgb555", PixelFormat::Rgb555()},
      {"rgb565", PixelFormat::Rgb565()},
      {"rgb24", PixelFormat::Rgb24()},
      {"rgb32", PixelFormat::Rgb32()},
  };
  for (const auto& c : cases) {
    const DecodedPng png = ExportAndCompare(Patterned(31, 9, c.format, colours), c.name);
    EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_RGB) << c.name;
    EXPECT_EQ(png.bitDepth, 8) << c.name;
  }
}

// Pixel art (flat areas, few colours) exports no larger than libpng's defaults would write it,
// in colour and with a table: a picture scaled up, whose rows repeat, and a map of small tiles,
// whose rows do not.
TEST_F(PngLibraryTest, PixelArtIsNoLargerThanWithLibpngsDefaults) {
  const std::vector<Colour> colours = Spread(12);
  const auto scaledRings = [&](int x, int y) {
    const int sx = x / 8 - 16, sy = y / 8 - 16;
    return colours[((sx * sx + sy * sy) / 40 + y / 64) % colours.size()];
  };
  const auto tiles = [&](int x, int y) {
    const int tx = x / 16, ty = y / 16, lx = x % 16, ly = y % 16;
    switch ((tx * 7 + ty * 13) % 4) {
      case 0:
        return colours[ly % 4 == 0 || (lx + ly / 4 * 8) % 16 == 0 ? 1 : 2];
      case 1:
        return colours[(lx * 5 + ly * 3) % 11 == 0 ? 4 : 3];
      case 2:
        return colours[(lx + ly / 2 % 2 * 3) % 6 < 2 ? 6 : 5];
      default:
        return colours[lx == 0 || ly == 0 ? 7 : 8];
    }
  };
  const std::pair<const char*, std::function<Colour(int, int)>> pictures[] = {
      {"scaled", scaledRings}, {"tiles", tiles}};
  for (const auto& [name, colourAt] : pictures) {
    for (const PixelFormat& format : {PixelFormat::Rgb24(), PixelFormat::Indexed(8, colours)}) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(format.bitsPerPixel));
      Surface art(256, 256, format, Black);
      for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) art.WritePixel(x, y, colourAt(x, y));
      }
      ExportAndCompare(art, name);
      const auto ours = fs::file_size(Path(std::string(name) + ".png"));
      const std::size_t defaults = testing::EncodeWithLibpngDefaults(art).size();
      ASSERT_GT(defaults, 0u);
      EXPECT_LE(ours, defaults);
    }
  }
}

TEST_F(PngLibraryTest, CompressionLevelIsTakenOnlyWhenItsFlagIsSet) {
  Surface image(64, 64, PixelFormat::Rgb24(), White);
  image.FillRectangle(10, 10, 50, 30, Red);
  SaveBmpFile(Path("flat.bmp"), image);
  png::ImageHandle handle = png::LoadBmp(Path("flat.bmp"));
  ASSERT_NE(handle, nullptr) << png::LastError();

  const auto sizeWith = [&](std::uint32_t flags, std::uint16_t level, std::uint8_t junk) {
    png::PngOptions options;
    std::memset(&options, junk, sizeof options);
    options.flags = flags;
    options.level = level;
    options.field16 = options.field28 = options.field32 = 0;
    const std::string path = Path("flat.png");
    EXPECT_EQ(png::WritePng(path, handle, &options), 0) << png::LastError();
    return fs::file_size(path);
  };
  const auto stored = sizeWith(1, 0, 0);
  const auto best = sizeWith(9, 9, 0);
  EXPECT_GT(stored, 64u * 64u * 3u);  // level 0 does not compress
  EXPECT_LT(best, stored / 10);
  EXPECT_EQ(sizeWith(9, 9, 0xA5), best);  // the bytes the editor leaves unset do not matter
  EXPECT_LT(sizeWith(8, 0, 0), stored);   // bit 0 clear: the level field is not read
  EXPECT_EQ(png::WritePng(Path("default.png"), handle, nullptr), 0) << png::LastError();
  png::Release(handle);
}

TEST_F(PngLibraryTest, LoadFailuresGiveNoHandleAndAReason) {
  std::ofstream(Path("text.bmp")) << "not a picture at all, just some words";
  Surface image(4, 4);
  SaveBmpFile(Path("whole.bmp"), image);
  const std::uintmax_t size = fs::file_size(Path("whole.bmp"));
  fs::copy_file(Path("whole.bmp"), Path("cut.bmp"));
  fs::resize_file(Path("cut.bmp"), size / 2);

  for (const std::string name : {"missing.bmp", "text.bmp", "cut.bmp", "", "."}) {
    const std::string path = name.empty() ? name : Path(name);
    EXPECT_EQ(png::LoadBmp(path), nullptr) << path;
    EXPECT_FALSE(png::LastError().empty()) << path;
    if (!path.empty()) {
      EXPECT_NE(png::LastError().find(path), std::string::npos) << png::LastError();
    }
  }
}

TEST_F(PngLibraryTest, FailedWritesKeepThePreviousPngAndSayWhy) {
  SaveBmpFile(Path("hero.bmp"), Surface(3, 2, PixelFormat::Rgb24(), Red));
  png::ImageHandle handle = png::LoadBmp(Path("hero.bmp"));
  ASSERT_NE(handle, nullptr) << png::LastError();
  std::ofstream(Path("locked.png")) << "previous png";
  fs::permissions(Path("locked.png"), fs::perms::owner_read);
  fs::create_directory(Path("folder.png"));
  png::PngOptions options{};

  for (const std::string& target :
       {Path("nofolder/hero.png"), Path("locked.png"), Path("folder.png")}) {
    EXPECT_NE(png::WritePng(target, handle, &options), 0) << target;
    EXPECT_NE(png::LastError().find(target), std::string::npos) << png::LastError();
  }
  std::ifstream locked(Path("locked.png"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(locked), {}), "previous png");
  EXPECT_NE(png::WritePng("", handle, &options), 0);
  EXPECT_NE(png::WritePng(Path("none.png"), nullptr, &options), 0);
  EXPECT_FALSE(fs::exists(Path("none.png")));
  png::Release(handle);
  png::Release(nullptr);

  EXPECT_EQ(std::set<std::string>({"folder.png", "hero.bmp", "locked.png"}), [&] {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }());
}

}  // namespace
}  // namespace gk
