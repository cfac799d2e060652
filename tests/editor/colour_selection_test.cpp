#include "editor/colour_selection.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "support/fake_editor_ui.h"

namespace gk {
namespace {

struct TestEditor {
  testing::FakeEditorUi ui;
  EditorContext ctx{ui};

  TestEditor() {
    ctx.state.DotSize = 40;  // larger than the swatch's design size of 32
    ctx.controls.ImgColor.SetBounds(0, 0, 40, 40);
    Surface palette(4, 2, PixelFormat::Rgb24(), Black);
    palette.WritePixel(1, 0, 0x123456);
    palette.WritePixel(3, 1, 0xABCDEF);
    ctx.controls.ImgPallete.SetSurface(std::move(palette));
  }

  bool SwatchIsAll(Colour c) {
    const Surface& swatch = ctx.controls.ImgColor.Canvas();
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        if (swatch.ReadPixel(x, y) != c) return false;
    return true;
  }
  int SwatchRefreshes() const {
    return static_cast<int>(
        std::count(ui.refreshed.begin(), ui.refreshed.end(), ControlId::ImgColor));
  }
};

TEST(ColourSelectionTest, PaletteClickPicksThePixel) {
  struct Case {
    int x, y;
    Colour expected;
    int refreshes;
  };
  const std::vector<Case> cases = {
      {1, 0, 0x123456, 1}, {3, 1, 0xABCDEF, 1},
      {0, 0, Black, 1},  // colour 0 is black, not an absence of colour
      {4, 0, White, 0},  // outside the palette: nothing is taken
      {-1, 1, White, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    TestEditor e;
    ImgPalleteMouseDown(e.ctx, c.x, c.y);
    EXPECT_EQ(e.ctx.state.CurColor, c.expected);
    EXPECT_EQ(e.SwatchRefreshes(), c.refreshes);
    EXPECT_TRUE(e.SwatchIsAll(c.expected));
  }
}

TEST(ColourSelectionTest, SwatchClickRunsTheDialog) {
  TestEditor e;
  SetCurColor(e.ctx, 0x102030);
  e.ui.colourAnswers = {0x405060, std::nullopt};
  ImgColorMouseDown(e.ctx);
  EXPECT_EQ(e.ctx.state.CurColor, 0x405060u);
  EXPECT_TRUE(e.SwatchIsAll(0x405060));
  ImgColorMouseDown(e.ctx);  // Cancel
  EXPECT_EQ(e.ctx.state.CurColor, 0x405060u);
  EXPECT_EQ(e.SwatchRefreshes(), 2);
}

TEST(ColourSelectionTest, TrackBarsFromColour) {
  struct Case {
    Colour colour;
    int r, g, b;
  };
  // Beyond 0x00BBGGRR: blue is clamped by the track bar, not masked, and the signed
  // divisions of -1 give 0.
  const std::vector<Case> cases = {
      {0x123456, 0x56, 0x34, 0x12}, {0xFFFFFF, 255, 255, 255}, {0x000000, 0, 0, 0},
      {0x0000FF, 255, 0, 0},        {0x7F000000, 0, 0, 255},   {0xFFFFFFFF, 255, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.colour);
    const TrackBarPositions p = TrackBarsFromColour(c.colour);
    EXPECT_EQ(p.r, c.r);
    EXPECT_EQ(p.g, c.g);
    EXPECT_EQ(p.b, c.b);
  }
  for (Colour c : {0x123456u, 0x00FF01u, 0xFEDCBAu, 0x010000u}) {
    EXPECT_EQ(ColourFromTrackBars(TrackBarsFromColour(c)), c);
  }
  EXPECT_EQ(ColourFromTrackBars({86, 52, 18}), 0x123456u);
}

}  // namespace
}  // namespace gk
