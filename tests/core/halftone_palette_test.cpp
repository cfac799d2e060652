#include "platform/halftone_palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace gk {
namespace {

TEST(HalftonePalette, HoldsTheCubeTheVgaColoursAndDistinctGreys) {
  const auto& p = HalftonePalette();
  EXPECT_EQ(std::set<Colour>(p.begin(), p.end()).size(), 256u);
  auto has = [&](Colour c) { return std::find(p.begin(), p.end(), c) != p.end(); };
  for (int r = 0; r <= 255; r += 51) {
    for (int g = 0; g <= 255; g += 51) {
      for (int b = 0; b <= 255; b += 51) EXPECT_TRUE(has(MakeColour(r, g, b)));
    }
  }
  for (int i = 0; i < 16; ++i) {
    // The classic 16: intensity bit 8 gives 255 levels, otherwise 128; light grey is 192.
    const int level = i & 8 ? 255 : 128;
    Colour c = MakeColour(i & 4 ? level : 0, i & 2 ? level : 0, i & 1 ? level : 0);
    if (i == 7) c = MakeColour(192, 192, 192);
    if (i == 8) c = MakeColour(128, 128, 128);
    EXPECT_TRUE(has(c)) << i;
  }
  for (int i = 0; i < 216; ++i) {
    EXPECT_TRUE(RedOf(p[i]) % 51 == 0 && GreenOf(p[i]) % 51 == 0 && BlueOf(p[i]) % 51 == 0) << i;
  }
  for (int i = 224; i < 256; ++i) {
    EXPECT_TRUE(RedOf(p[i]) == GreenOf(p[i]) && GreenOf(p[i]) == BlueOf(p[i])) << i;
  }
  // Saved 8-bit files store indices into this table: its order must never change.
  const std::pair<int, Colour> pinned[] = {{0, Black},
                                           {1, MakeColour(0, 0, 51)},
                                           {6, MakeColour(0, 51, 0)},
                                           {36, MakeColour(51, 0, 0)},
                                           {215, White},
                                           {216, MakeColour(128, 0, 0)},
                                           {222, MakeColour(192, 192, 192)},
                                           {224, MakeColour(8, 8, 8)},
                                           {255, MakeColour(247, 247, 247)}};
  for (const auto& [index, colour] : pinned) EXPECT_EQ(p[index], colour) << index;
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
