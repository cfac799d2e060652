#include "image/halftone_palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "editor/picture_files.h"
#include "image/bmp_codec.h"
#include "image/halftone_conversion.h"

namespace gk {
namespace {

constexpr int Cell = 24;  // the palette's cells are 24 x 24 pixels of one colour

bool InCube(Colour c) {
  return RedOf(c) % 51 == 0 && GreenOf(c) % 51 == 0 && BlueOf(c) % 51 == 0;
}

Surface ShippedPalette() {
  return LoadBmpFile(std::string(GK_ASSETS_DIR) + "/palette.bmp");
}

TEST(HalftonePalette, KeepsTheCubeInOrderAndEveryEntryDistinct) {
  const auto& p = HalftonePalette();
  EXPECT_EQ(std::set<Colour>(p.begin(), p.end()).size(), 256u);
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        EXPECT_EQ(p[36 * r + 6 * g + b], MakeColour(51 * r, 51 * g, 51 * b)) << r << g << b;
      }
    }
  }
  // Saved 8-bit files store indices into this table: its order must never change.
  const std::pair<int, Colour> pinned[] = {{0, Black},
                                           {1, MakeColour(0, 0, 51)},
                                           {6, MakeColour(0, 51, 0)},
                                           {36, MakeColour(51, 0, 0)},
                                           {215, White},
                                           {216, MakeColour(0x18, 0x14, 0x25)},
                                           {225, MakeColour(0xb8, 0x6f, 0x50)},
                                           {232, MakeColour(0xfe, 0xe7, 0x61)},
                                           {250, MakeColour(0xff, 0xdc, 0xe0)},
                                           {251, MakeColour(26, 26, 26)},
                                           {255, MakeColour(230, 230, 230)}};
  for (const auto& [index, colour] : pinned) EXPECT_EQ(p[index], colour) << index;
}

// The whole table, each entry made again from the rule: the cube with blue varying fastest, the
// shipped palette's colours outside it cell by cell, then greys halfway between the cube's grey
// levels (rounded up). Saved 8-bit files store indices into it, so no two entries may move.
TEST(HalftonePalette, EveryEntryFollowsTheRuleThatMakesIt) {
  std::vector<Colour> rule;
  for (int i = 0; i < 216; ++i)
    rule.push_back(MakeColour(51 * (i / 36), 51 * (i / 6 % 6), 51 * (i % 6)));
  const Surface palette = ShippedPalette();
  for (int y = Cell / 2; y < palette.Height(); y += Cell) {
    for (int x = Cell / 2; x < palette.Width(); x += Cell) {
      if (!InCube(palette.ReadPixel(x, y))) rule.push_back(palette.ReadPixel(x, y));
    }
  }
  for (int level = 0; level + 51 <= 255; level += 51) {
    const int grey = (2 * level + 51 + 1) / 2;
    rule.push_back(MakeColour(grey, grey, grey));
  }
  ASSERT_EQ(rule.size(), 256u);
  const auto& p = HalftonePalette();
  for (int i = 0; i < 256; ++i) EXPECT_EQ(p[i], rule[i]) << "entry " << i;
}

TEST(HalftonePalette, HoldsEveryColourOfTheShippedPalette) {
  const Surface palette = ShippedPalette();
  ASSERT_EQ(palette.Width() % Cell, 0);
  ASSERT_EQ(palette.Height() % Cell, 0);

  // A drawing made with the palette saves at 8 bits without one colour changing.
  const Surface saved = DecodeBmp(EncodeBmp(ConvertTo8BitHalftone(palette)), "palette");
  ASSERT_EQ(saved.Format().bitsPerPixel, 8);
  std::vector<Colour> ownColours;  // outside the cube, in reading order
  for (int y = 0; y < palette.Height(); ++y) {
    for (int x = 0; x < palette.Width(); ++x) {
      const Colour c = palette.ReadPixel(x, y);
      ASSERT_EQ(saved.ReadPixel(x, y), c) << "pixel (" << x << ", " << y << ")";
      ASSERT_EQ(c, palette.ReadPixel(x / Cell * Cell, y / Cell * Cell)) << "cell not plain";
      const bool seen = std::find(ownColours.begin(), ownColours.end(), c) != ownColours.end();
      if (!InCube(c) && !seen) ownColours.push_back(c);
    }
  }

  // The entries after the cube are those colours in the same order, then neutral greys that
  // the palette does not use.
  const auto& p = HalftonePalette();
  ASSERT_LE(ownColours.size(), 40u);
  for (std::size_t i = 0; i < ownColours.size(); ++i) EXPECT_EQ(p[216 + i], ownColours[i]) << i;
  for (std::size_t i = 216 + ownColours.size(); i < 256; ++i) {
    EXPECT_TRUE(RedOf(p[i]) == GreenOf(p[i]) && GreenOf(p[i]) == BlueOf(p[i])) << i;
  }
}

TEST(HalftonePalette, ShippedRampsRunFromDarkToLight) {
  auto luminance = [](Colour c) {
    auto linear = [](int channel) {
      const double v = channel / 255.0;
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(RedOf(c)) + 0.7152 * linear(GreenOf(c)) + 0.0722 * linear(BlueOf(c));
  };
  const Surface palette = ShippedPalette();
  for (int y = Cell / 2; y < palette.Height(); y += Cell) {
    for (int x = Cell + Cell / 2; x < palette.Width(); x += Cell) {
      EXPECT_LT(luminance(palette.ReadPixel(x - Cell, y)), luminance(palette.ReadPixel(x, y)))
          << "cell " << x / Cell << " of row " << y / Cell;
    }
  }
}

TEST(HalftonePalette, NearestColourIndex) {
  const auto& p = HalftonePalette();
  for (int i = 0; i < 256; ++i) EXPECT_EQ(NearestColourIndex(p.data(), 256, p[i]), i);
  EXPECT_EQ(p[NearestColourIndex(p.data(), 256, MakeColour(30, 200, 110))],
            MakeColour(51, 204, 102));

  const std::vector<Colour> table = {Red, Black, Black, MakeColour(0, 0, 20)};
  EXPECT_EQ(NearestColourIndex(table.data(), 4, MakeColour(0, 0, 10)), 1);  // tie: lowest
  EXPECT_EQ(NearestColourIndex(table.data(), 4, MakeColour(0, 0, 11)), 3);
  EXPECT_EQ(NearestColourIndex(table.data(), 1, Black), 0);
  EXPECT_EQ(NearestColourIndex(table.data(), 0, White), 0);
  EXPECT_EQ(NearestColourIndex(nullptr, 0, White), 0);
}

}  // namespace
}  // namespace gk
