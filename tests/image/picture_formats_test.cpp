#include "image/picture_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "support/surface_pixels.h"

namespace gk {
namespace {

// Each kind reads back what it writes, knows its own files by their first bytes alone, and
// describes the picture from no more than the bytes it asks for.
TEST(PictureFormats, EveryKindReadsBackWhatItWritesAndKnowsItsOwnFiles) {
  const Surface pictures[] = {
      testing::ColourPattern(7, 3),
      Surface(9, 2, PixelFormat::Indexed(1, {Black, Red}), Red),
      Surface(5, 4, PixelFormat::Indexed(8, testing::RandomColours(256, 7)), 0x123456),
  };
  for (const PictureFormat* format : PictureFormats()) {
    for (const Surface& picture : pictures) {
      SCOPED_TRACE(std::string(format->label) + std::to_string(picture.Format().bitsPerPixel));
      const PictureBytes bytes = format->encode(picture, "x");
      const std::vector<std::uint8_t> head(
          bytes.begin(), bytes.begin() + std::min(bytes.size(), format->headBytes));
      EXPECT_EQ(FormatOfBytes(head), format);
      const PictureSize size = format->declared(head, bytes.size(), "x");
      EXPECT_EQ(std::tie(size.width, size.height, size.bitsPerPixel),
                std::make_tuple(picture.Width(), picture.Height(), picture.Format().bitsPerPixel));
      EXPECT_EQ(testing::Pixels(format->decode(bytes, "x")), testing::Pixels(picture));
      const Surface eight = format->decode(format->encode(format->eightBit(picture), "x"), "x");
      EXPECT_EQ(eight.Format().bitsPerPixel, 8);
    }
  }
  for (const std::vector<std::uint8_t>& head :
       {std::vector<std::uint8_t>{}, {'B'}, {'b', 'm'}, {0x89, 'P', 'N', 'G'}}) {
    EXPECT_EQ(FormatOfBytes(head), nullptr) << head.size();
  }
}

// The name decides the kind of a save, the command the kind of a conversion; BMP is the dialogs'
// first filter and the only kind of a series.
TEST(PictureFormats, NamesAndCommandsChooseTheKind) {
  const struct {
    const char* name;
    const PictureFormat* saved;
    bool series;
  } names[] = {
      {"/a/hero.png", &PngFormat, false}, {"x.pNg", &PngFormat, false},
      {"HERO.BMP", &BmpFormat, true},     {"hero.png.bmp", &BmpFormat, true},
      {"hero", &BmpFormat, false},        {"hero.png ", &BmpFormat, false},
      {"a.png/hero", &BmpFormat, false},  {"", &BmpFormat, false},
  };
  for (const auto& n : names) {
    EXPECT_EQ(&SaveFormatOf(n.name), n.saved) << n.name;
    EXPECT_EQ(IsSeriesKind(n.name), n.series) << n.name;
  }
  for (const auto& [command, kind] :
       {std::pair{"png", &PngFormat}, {"bmp", &BmpFormat}, {"PNG", nullptr}, {"copy", nullptr}}) {
    EXPECT_EQ(FormatOfCommand(command), kind) << command;
  }
  EXPECT_EQ(DialogFilters(), (std::vector<std::string>{"*.bmp (*.bmp)", "*.png (*.png)"}));
  EXPECT_EQ(KindsText(), "BMP or PNG");
}

}  // namespace
}  // namespace gk
