#include "editor/png_export.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "editor/document_files.h"
#include "editor/picture_files.h"
#include "filesystem/file_io.h"
#include "support/editor_fixture.h"
#include "support/surface_pixels.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

struct Decoded {
  int width = 0, height = 0;
  std::vector<Colour> pixels;
};

// Decodes with libpng itself, so the check does not rest on our own library.
Decoded ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << path << ": " << image.message;
    return {};
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    ADD_FAILURE() << path << ": " << image.message;
    return {};
  }
  Decoded d{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
    d.pixels.push_back(MakeColour(rgb[i], rgb[i + 1], rgb[i + 2]));
  }
  return d;
}

Decoded FromSurface(const Surface& s) {
  return {s.Width(), s.Height(), testing::Pixels(s)};
}

bool operator==(const Decoded& a, const Decoded& b) {
  return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

class PngExportTest : public testing::EditorFixture {
 protected:
  void SetUp() override {
    dir_ = tmp_.Path("pics/");
    fs::create_directories(dir_);
    ctx_.appTitle = "gridkiln";
  }

  void SetDocument(Surface s) {
    ctx_.state.Width = s.Width();
    ctx_.state.Height = s.Height();
    ctx_.controls.ImgView.SetSurface(std::move(s));
  }
  void SetFlags(const std::string& text) {
    ctx_.settings = Settings();
    ctx_.settings.SetText(text);
  }

  std::string dir_;
};

TEST_F(PngExportTest, PngFlagDecidesWhetherAPngIsWritten) {
  const std::string bmp = dir_ + "tile.blue.bmp";
  const std::string png = dir_ + "tile.blue.png";
  for (const char* flags :
       {"Png=0\r\n", "Png=\r\n", "Png=1 \r\n", "Png=yes\r\n", "", "Png=1\r\n"}) {
    SCOPED_TRACE(flags);
    SetFlags(flags);
    SetDocument(Surface(3, 3, PixelFormat::Rgb24(), 0x336699));
    SaveImageFile(ctx_, bmp);
    EXPECT_TRUE(FileExists(bmp));
    EXPECT_EQ(fs::exists(png), std::string(flags) == "Png=1\r\n");
  }
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(PngExportTest, PngShowsThePixelsOfTheBmpJustWritten) {
  PixelFormat masked = PixelFormat::Rgb32();
  masked.bitfields = true;
  masked.redMask = 0x0000FF00;
  masked.greenMask = 0x00FF0000;
  masked.blueMask = 0xFF000000;
  const PixelFormat formats[] = {
      PixelFormat::Indexed(1, {Black, White}),
      PixelFormat::Indexed(4, {Black, Red, 0x00FF00, 0xFF0000, White}),
      PixelFormat::Indexed(8, {0x102030, 0x405060, 0x708090}),
      PixelFormat::Rgb555(),
      PixelFormat::Rgb24(),
      masked,
  };
  const std::string bmp = dir_ + "hero.bmp";
  const std::string png = dir_ + "hero.png";
  for (const char* save256 : {"0", "1"}) {
    SetFlags(std::string("Png=1\r\nSave256=") + save256 + "\r\n");
    for (const PixelFormat& format : formats) {
      SCOPED_TRACE(std::string(save256) + " " + std::to_string(format.bitsPerPixel));
      Surface picture(9, 4, format, White);
      for (int i = 0; i < 36; ++i) {
        picture.WritePixel(i % 9, i / 9, MakeColour(i * 7, 200 - i * 5, 13 * (i % 19)));
      }
      SetDocument(picture);
      // The same path every time: each save replaces the previous PNG.
      SaveImageFile(ctx_, bmp);
      const Surface written = LoadBmpFile(bmp);
      EXPECT_EQ(ReadPng(png), FromSurface(written));
    }
  }
  // With Save256 the PNG carries the reduced colours of the 8-bit file, not the document's.
  SetDocument(Surface(2, 1, PixelFormat::Rgb24(), 0x123456));
  SaveImageFile(ctx_, bmp);
  EXPECT_EQ(ReadPng(png).pixels, FromSurface(LoadBmpFile(bmp)).pixels);
  EXPECT_NE(ReadPng(png).pixels[0], 0x123456u);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(PngExportTest, FailedExportIsReportedAfterTheSaveCompletes) {
  SetFlags("Png=1\r\n");
  SetDocument(Surface(4, 4, PixelFormat::Rgb24(), Red));
  ctx_.state.Modified = true;
  ui_.marker = "*";
  fs::create_directory(dir_ + "pic.png");  // the PNG's name is taken by a folder

  SaveImageFile(ctx_, dir_ + "pic.bmp");
  EXPECT_EQ(LoadBmpFile(dir_ + "pic.bmp").ReadPixel(0, 0), Red);
  EXPECT_EQ(ui_.title, "Saved as pic.bmp");
  EXPECT_TRUE(ui_.timerActive);
  EXPECT_FALSE(ctx_.state.Modified);
  EXPECT_EQ(ui_.marker, "");
  ASSERT_EQ(ui_.messages.size(), 1u);
  const auto& box = ui_.messages[0];
  const std::string prefix = "Could not write the PNG file " + dir_ + "pic.png: ";
  EXPECT_EQ(box.text.substr(0, prefix.size()), prefix);
  EXPECT_GT(box.text.size(), prefix.size());  // a reason follows
  EXPECT_EQ(box.text.find("pic.png", prefix.size()), std::string::npos)
      << "named once: " << box.text;
  EXPECT_EQ(box.caption, "gridkiln");
  EXPECT_EQ(box.buttons, MessageButtons::Ok);
  EXPECT_EQ(box.icon, MessageIcon::Stop);

  // A BMP that cannot be loaded is reported the same way, naming the PNG.
  ui_.messages.clear();
  ExportPng(ctx_, dir_ + "missing.bmp");
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_NE(ui_.messages[0].text.find(dir_ + "missing.png"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ + "missing.png"));
}

}  // namespace
}  // namespace gk
