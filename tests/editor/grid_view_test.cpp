#include "editor/grid_view.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/fake_editor_ui.h"

namespace gk {
namespace {

constexpr int ViewLeft = 100;
constexpr int ViewTop = 200;
constexpr int Dot = 3;

// A colour unique to each document pixel, never black.
Colour PixelColour(int x, int y) {
  return MakeColour(static_cast<std::uint8_t>(x + 1), static_cast<std::uint8_t>(y + 1), 7);
}

class GridViewTest : public ::testing::Test {
 protected:
  void SetUp() override { MakeDocument(32, 32, 16, 16); }

  void MakeDocument(int width, int height, int width2, int height2) {
    EditorState& s = ctx.state;
    s.Width = width;
    s.Height = height;
    s.Width2 = width2;
    s.Height2 = height2;
    s.DotSize = Dot;
    Surface doc(width, height, PixelFormat::Rgb24(), Black);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) doc.WritePixel(x, y, PixelColour(x, y));
    }
    ctx.controls.ImgView.SetBounds(ViewLeft, ViewTop, 2 * width, 2 * height);
    ctx.controls.ImgView.SetSurface(std::move(doc));
    // Grey, so that a cell the redraw skips stands out.
    ctx.controls.ImgMain.SetSurface(
        Surface(Dot * width2, Dot * height2, PixelFormat::Rgb24(), 0x808080));
  }

  // The colour every pixel of cell (j, i) must have, or a failure naming the first that differs.
  ::testing::AssertionResult CellIs(int j, int i, Colour expected) {
    const Surface& grid = *ctx.controls.ImgMain.SurfaceIfAny();
    for (int y = i * Dot; y < (i + 1) * Dot; ++y) {
      for (int x = j * Dot; x < (j + 1) * Dot; ++x) {
        if (grid.ReadPixel(x, y) != expected) {
          return ::testing::AssertionFailure()
                 << "cell (" << j << ", " << i << ") pixel (" << x << ", " << y << ") is "
                 << std::hex << grid.ReadPixel(x, y) << ", expected " << expected;
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  // Every cell shows the document pixel at the origin plus its place, or black off the image.
  void ExpectGridShowsWindow() {
    const EditorState& s = ctx.state;
    for (int i = 0; i < s.Height2; ++i) {
      for (int j = 0; j < s.Width2; ++j) {
        const int x = s.OriginX + j;
        const int y = s.OriginY + i;
        const bool inside = x >= 0 && y >= 0 && x < s.Width && y < s.Height;
        ASSERT_TRUE(CellIs(j, i, inside ? PixelColour(x, y) : Black));
      }
    }
  }

  void ExpectMarkersAtOrigin() {
    const EditorControls& c = ctx.controls;
    EXPECT_EQ(c.ImgCurV.Left, ViewLeft + 2 * ctx.state.OriginX);
    EXPECT_EQ(c.ImgCurV.Top, ViewTop - 4);
    EXPECT_EQ(c.ImgCurH.Left, ViewLeft - 4);
    EXPECT_EQ(c.ImgCurH.Top, ViewTop + 2 * ctx.state.OriginY);
  }

  int Redraws() const {
    int n = 0;
    for (ControlId id : ui.refreshed) n += id == ControlId::ImgMain;
    return n;
  }

  testing::FakeEditorUi ui;
  EditorContext ctx{ui};
};

TEST_F(GridViewTest, RedrawRendersTheWindowAndPlacesTheMarkers) {
  for (auto [ox, oy] : {std::pair{0, 0}, std::pair{5, 3}, std::pair{16, 16}}) {
    SCOPED_TRACE(::testing::Message() << "origin " << ox << ", " << oy);
    ui.refreshed.clear();
    ui.moved.clear();
    ctx.state.OriginX = ox;
    ctx.state.OriginY = oy;
    RedrawGrid(ctx);
    ExpectGridShowsWindow();
    ExpectMarkersAtOrigin();
    EXPECT_EQ(ui.refreshed, (std::vector{ControlId::ImgMain, ControlId::ImgView}));
    EXPECT_EQ(ui.moved, (std::vector{ControlId::ImgCurH, ControlId::ImgCurV}));
  }
}

TEST_F(GridViewTest, ArrowsStepByFourAndStopAtTheEnds) {
  struct Case {
    const char* name;
    std::function<void(EditorContext&)> click;
    int startX, startY;
    std::vector<std::pair<int, int>> origins;  // after each click
  };
  const std::vector<Case> cases = {
      {"right", btnRightClick, 0, 0, {{4, 0}, {8, 0}, {12, 0}, {16, 0}, {16, 0}}},
      {"down", btnDownClick, 0, 0, {{0, 4}, {0, 8}, {0, 12}, {0, 16}, {0, 16}}},
      {"left", btnLeftClick, 16, 0, {{12, 0}, {8, 0}, {4, 0}, {0, 0}, {0, 0}}},
      {"up from 2", btnUpClick, 0, 2, {{0, 0}, {0, 0}}},
      {"down from 14", btnDownClick, 0, 14, {{0, 16}, {0, 16}}},
      {"left from 3", btnLeftClick, 3, 5, {{0, 5}, {0, 5}}},
      {"right from 13", btnRightClick, 13, 5, {{16, 5}, {16, 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctx.state.OriginX = c.startX;
    ctx.state.OriginY = c.startY;
    for (auto [x, y] : c.origins) {
      const bool moves = x != ctx.state.OriginX || y != ctx.state.OriginY;
      const int before = Redraws();
      c.click(ctx);
      EXPECT_EQ(ctx.state.OriginX, x);
      EXPECT_EQ(ctx.state.OriginY, y);
      // A click that cannot move does not redraw either.
      EXPECT_EQ(Redraws(), before + (moves ? 1 : 0));
    }
    ExpectGridShowsWindow();
    ExpectMarkersAtOrigin();
  }
}

TEST_F(GridViewTest, ArrowsNeverActWhenTheWindowSpansTheImage) {
  MakeDocument(16, 16, 16, 16);
  for (auto click : {btnLeftClick, btnRightClick, btnUpClick, btnDownClick}) click(ctx);
  EXPECT_EQ(ctx.state.OriginX, 0);
  EXPECT_EQ(ctx.state.OriginY, 0);
  EXPECT_EQ(Redraws(), 0);
}

TEST_F(GridViewTest, LeftDragMovesTheOriginOneToOneAndClamps) {
  ImgViewMouseDown(ctx, 10, 10);
  struct Step {
    int x, y;
    int originX, originY;
  };
  // Each step is relative to the last; clamping loses the part of a move past an end.
  const Step steps[] = {
      {15, 10, 5, 0},     {15, 12, 5, 2},     {500, 12, 16, 2},  {600, 900, 16, 16},
      {-300, 900, 0, 16}, {-295, 897, 5, 13}, {-295, -80, 5, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(::testing::Message() << "to " << step.x << ", " << step.y);
    const int before = Redraws();
    ImgViewMouseMove(ctx, true, step.x, step.y);
    EXPECT_EQ(ctx.state.OriginX, step.originX);
    EXPECT_EQ(ctx.state.OriginY, step.originY);
    EXPECT_EQ(ctx.state.DragX, step.x);
    EXPECT_EQ(ctx.state.DragY, step.y);
    // Redrawn on every step, also when clamping kept the origin.
    EXPECT_EQ(Redraws(), before + 1);
    ExpectMarkersAtOrigin();
  }
  ExpectGridShowsWindow();
}

TEST_F(GridViewTest, MovesWithoutTheLeftButtonChangeNothing) {
  ctx.state.OriginX = 4;
  ImgViewMouseDown(ctx, 20, 20);
  ImgViewMouseMove(ctx, false, 40, 40);
  EXPECT_EQ(ctx.state.OriginX, 4);
  EXPECT_EQ(ctx.state.OriginY, 0);
  EXPECT_EQ(ctx.state.DragX, 20);
  EXPECT_EQ(ctx.state.DragY, 20);
  EXPECT_EQ(Redraws(), 0);

  // A press of any button sets the anchor the next left drag starts from.
  ImgViewMouseDown(ctx, 30, 25);
  ImgViewMouseMove(ctx, true, 32, 26);
  EXPECT_EQ(ctx.state.OriginX, 6);
  EXPECT_EQ(ctx.state.OriginY, 1);
}

TEST_F(GridViewTest, WindowLargerThanTheImage) {
  MakeDocument(8, 8, 16, 16);
  RedrawGrid(ctx);
  ExpectGridShowsWindow();  // the image in the top-left 8 x 8 cells, black elsewhere

  for (auto click : {btnLeftClick, btnRightClick, btnUpClick, btnDownClick}) click(ctx);
  EXPECT_EQ(ctx.state.OriginX, 0);
  EXPECT_EQ(ctx.state.OriginY, 0);

  // The upper bound is applied last, so the first step lands on Width - Width2.
  ImgViewMouseDown(ctx, 5, 5);
  ImgViewMouseMove(ctx, true, 6, 5);
  EXPECT_EQ(ctx.state.OriginX, -8);
  EXPECT_EQ(ctx.state.OriginY, -8);
  ASSERT_TRUE(CellIs(8, 8, PixelColour(0, 0)));
  ASSERT_TRUE(CellIs(15, 15, PixelColour(7, 7)));
  ASSERT_TRUE(CellIs(7, 7, Black));
  ExpectGridShowsWindow();
  EXPECT_EQ(ctx.controls.ImgCurV.Left, ViewLeft - 16);
  EXPECT_EQ(ctx.controls.ImgCurH.Top, ViewTop - 16);

  ImgViewMouseMove(ctx, true, -50, -50);
  EXPECT_EQ(ctx.state.OriginX, -8);
  EXPECT_EQ(ctx.state.OriginY, -8);
  for (auto click : {btnLeftClick, btnRightClick, btnUpClick, btnDownClick}) click(ctx);
  EXPECT_EQ(ctx.state.OriginX, -8);
  EXPECT_EQ(ctx.state.OriginY, -8);
}

}  // namespace
}  // namespace gk
