#include "editor/drawing_tools.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "editor/grid_view.h"
#include "support/fake_editor_ui.h"

namespace gk {
namespace {

constexpr Colour Green = 0x00FF00;

// A 16 x 16 black document, an 8 x 8 edit window of 4-pixel dots.
struct TestEditor {
  testing::FakeEditorUi ui;
  EditorContext ctx{ui};

  explicit TestEditor(int w = 16, int h = 16, PixelFormat format = PixelFormat::Rgb24()) {
    EditorState& s = ctx.state;
    s.DotSize = 4;
    s.Width = w;
    s.Height = h;
    s.Width2 = 8;
    s.Height2 = 8;
    ctx.controls.ImgMain.SetBounds(0, 40, 32, 32);
    ctx.controls.ImgColor.SetBounds(40, 73, 4, 4);
    ctx.controls.ImgView.SetBounds(40, 78, 2 * w, 2 * h);
    ctx.controls.ImgView.SetSurface(Surface(w, h, format, Black));
    ctx.controls.ImgViewB.SetBounds(0, 0, w, h);
    RedrawGrid(ctx);
    ui.refreshed.clear();
  }

  Surface& Doc() { return ctx.Document(); }
  Colour Pixel(int x, int y) { return Doc().ReadPixel(x, y); }
  int Count(ControlId id) const {
    return static_cast<int>(std::count(ui.refreshed.begin(), ui.refreshed.end(), id));
  }
  bool DocIsAll(Colour c) {
    for (int y = 0; y < Doc().Height(); ++y)
      for (int x = 0; x < Doc().Width(); ++x)
        if (Pixel(x, y) != c) return false;
    return true;
  }
};

struct PointerEvent {
  bool press;
  bool leftHeld;
  int x, y;
};

TEST(StrokeTest, PressAndMoveRules) {
  struct Case {
    std::string name;
    std::vector<PointerEvent> events;
    int plots;
    std::vector<std::pair<int, int>> painted;
    std::vector<std::pair<int, int>> untouched;
  };
  const std::vector<Case> cases = {
      {"cells A, B, A plot three times",
       {{true, true, 1, 1}, {false, true, 5, 1}, {false, true, 1, 2}},
       3,
       {{0, 0}, {1, 0}},
       {}},
      {"moves within one cell plot once",
       {{true, true, 1, 1}, {false, true, 2, 2}, {false, true, 3, 3}},
       1,
       {{0, 0}},
       {}},
      {"a drag with only the right button plots nothing more",
       {{true, false, 1, 1}, {false, false, 5, 1}, {false, false, 9, 1}},
       1,
       {{0, 0}},
       {{1, 0}, {2, 0}}},
      {"moves are not joined by lines",
       {{true, true, 1, 1}, {false, true, 13, 1}},
       2,
       {{0, 0}, {3, 0}},
       {{1, 0}, {2, 0}}},
      {"a second press starts a new stroke in the same cell",
       {{true, true, 1, 1}, {true, true, 1, 1}},
       2,
       {{0, 0}},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestEditor e;
    e.ctx.state.CurColor = Red;
    for (const PointerEvent& ev : c.events) {
      if (ev.press) {
        ImgMainMouseDown(e.ctx, ev.x, ev.y);
      } else {
        ImgMainMouseMove(e.ctx, ev.leftHeld, ev.x, ev.y);
      }
    }
    EXPECT_EQ(e.Count(ControlId::ImgMain), c.plots);
    EXPECT_EQ(e.Count(ControlId::ImgView), c.plots);
    for (auto [x, y] : c.painted) EXPECT_EQ(e.Pixel(x, y), Red) << x << "," << y;
    for (auto [x, y] : c.untouched) EXPECT_EQ(e.Pixel(x, y), Black) << x << "," << y;
  }
}

TEST(StrokeTest, PlotPaintsTheDocumentPixelAndTheGridSquare) {
  TestEditor e;
  e.ctx.state.OriginX = 4;
  e.ctx.state.OriginY = 2;
  e.ctx.state.CurColor = Green;
  ImgMainMouseDown(e.ctx, 9, 13);  // cell (2, 3)
  EXPECT_EQ(e.Pixel(6, 5), Green);
  EXPECT_EQ(e.ctx.state.DrawColor, Green);
  EXPECT_EQ(e.ctx.state.LastDotX, 2);
  EXPECT_EQ(e.ctx.state.LastDotY, 3);
  const Surface& grid = e.ctx.controls.ImgMain.Canvas();
  for (int y = 8; y < 16; ++y) {
    for (int x = 4; x < 16; ++x) {
      const bool inside = x >= 8 && x < 12 && y >= 12 && y < 16;
      EXPECT_EQ(grid.ReadPixel(x, y), inside ? Green : Black) << x << "," << y;
    }
  }
  // The first press sets the marker; later ones leave it.
  EXPECT_EQ(e.ui.marker, "*");
  EXPECT_TRUE(e.ctx.state.Modified);
  EXPECT_TRUE(e.ctx.state.Stroking);
}

TEST(StrokeTest, EraseDrawsBlackWhateverTheCurrentColour) {
  TestEditor e;
  e.Doc().FillWhite(16, 16);
  e.ctx.state.CurColor = Red;
  BtnEraseClick(e.ctx);
  ImgMainMouseDown(e.ctx, 1, 1);
  ImgMainMouseMove(e.ctx, true, 5, 1);
  EXPECT_EQ(e.Pixel(0, 0), Black);
  EXPECT_EQ(e.Pixel(1, 0), Black);
  EXPECT_EQ(e.Pixel(2, 0), White);
  EXPECT_EQ(e.ctx.state.DrawColor, Black);
}

TEST(StrokeTest, PositionsOutsideTheGrid) {
  // With the edit window at (4, 4): less than one dot out still counts as column or row 0;
  // further out the dot lands outside the edit window, or outside the document.
  struct Case {
    int x, y;
    std::optional<std::pair<int, int>> pixel;
  };
  const std::vector<Case> cases = {
      {-3, 1, {{4, 4}}},       {1, -3, {{4, 4}}},      {-3, -3, {{4, 4}}},
      {-5, 1, {{3, 4}}},       {1, -9, {{4, 2}}},      {40, 1, {{14, 4}}},
      {-100, 1, std::nullopt}, {1, 100, std::nullopt}, {-2147483647, 2147483647, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    TestEditor e;
    e.ctx.state.OriginX = 4;
    e.ctx.state.OriginY = 4;
    e.ctx.state.CurColor = Red;
    ImgMainMouseDown(e.ctx, 0, 0);  // arms the stroke at cell (0, 0), pixel (4, 4)
    e.Doc().WritePixel(4, 4, Black);
    ImgMainMouseMove(e.ctx, true, c.x, c.y);
    int red = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) red += e.Pixel(x, y) == Red;
    // A move that stays in cell (0, 0) does not plot again, so nothing shows there.
    const bool sameCell = c.pixel == std::pair{4, 4};
    EXPECT_EQ(red, c.pixel && !sameCell ? 1 : 0);
    if (c.pixel && !sameCell) {
      EXPECT_EQ(e.Pixel(c.pixel->first, c.pixel->second), Red);
    }
    // Presses out there follow the same rule.
    TestEditor p;
    p.ctx.state.OriginX = 4;
    p.ctx.state.OriginY = 4;
    p.ctx.state.CurColor = Red;
    ImgMainMouseDown(p.ctx, c.x, c.y);
    if (c.pixel) {
      EXPECT_EQ(p.Pixel(c.pixel->first, c.pixel->second), Red);
    } else {
      EXPECT_TRUE(p.DocIsAll(Black));
    }
  }
}

TEST(StrokeTest, OpenGuardIgnoresTheGridEntirely) {
  TestEditor e;
  e.ctx.state.OpenGuard = true;
  for (int tool : {ToolPen, ToolErase, ToolPaint, ToolSpoit}) {
    e.ctx.state.Tool = tool;
    e.ctx.state.Stroking = true;
    ImgMainMouseDown(e.ctx, 1, 1);
    ImgMainMouseMove(e.ctx, true, 9, 9);
  }
  EXPECT_TRUE(e.ui.refreshed.empty());
  EXPECT_EQ(e.ui.marker, "");
  EXPECT_FALSE(e.ctx.state.Modified);
  EXPECT_FALSE(e.ctx.controls.ImgViewB.HasSurface());
  EXPECT_TRUE(e.DocIsAll(Black));
  EXPECT_EQ(e.ui.checkedTool, -1);
}

TEST(FillTest, FillsTheConnectedAreaBeyondTheEditWindow) {
  TestEditor e;
  // A white wall at column 10 bounds the area; the edit window shows columns 0 to 7 only.
  for (int y = 0; y < 16; ++y) e.Doc().WritePixel(10, y, White);
  e.ctx.state.CurColor = Red;
  BtnPaintClick(e.ctx);
  ImgMainMouseDown(e.ctx, 1, 1);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const Colour expected = x < 10 ? Red : x == 10 ? White : Black;
      ASSERT_EQ(e.Pixel(x, y), expected) << x << "," << y;
    }
  }
  // The grid is redrawn whole and the pen is chosen again.
  EXPECT_EQ(e.ctx.controls.ImgMain.Canvas().ReadPixel(31, 31), Red);
  EXPECT_EQ(e.ctx.state.Tool, ToolPen);
  EXPECT_EQ(e.ui.checkedTool, ToolPen);
  EXPECT_EQ(e.ui.title, "Paint");
}

TEST(FillTest, TargetIsTheColourTheGridShows) {
  TestEditor e;
  // The document changes under a grid that has not been redrawn: the fill matches the colour
  // the grid shows (black), which the document no longer holds at that dot.
  e.Doc().WritePixel(0, 0, Green);
  e.ctx.state.CurColor = Red;
  BtnPaintClick(e.ctx);
  ImgMainMouseDown(e.ctx, 1, 1);
  EXPECT_EQ(e.Pixel(0, 0), Green);
  EXPECT_EQ(e.Pixel(1, 0), Black);
  // The redraw after the fill brings the grid in line.
  EXPECT_EQ(e.ctx.controls.ImgMain.Canvas().ReadPixel(1, 1), Green);
}

TEST(FillTest, HeldButtonAfterAFillOrAPickPlotsNothing) {
  for (auto choose : {BtnPaintClick, BtnSpoitClick}) {
    TestEditor e;
    e.ctx.state.CurColor = Red;
    ImgMainMouseDown(e.ctx, 1, 1);  // an armed pen stroke
    e.Doc().FillBlack(16, 16);
    RedrawGrid(e.ctx);
    choose(e.ctx);
    ImgMainMouseDown(e.ctx, 1, 1);
    const Surface before = e.Doc();
    const Colour colour = e.ctx.state.CurColor;
    ImgMainMouseMove(e.ctx, true, 9, 9);
    ImgMainMouseMove(e.ctx, true, 17, 1);
    EXPECT_EQ(e.ctx.state.Tool, ToolPen);
    EXPECT_FALSE(e.ctx.state.Stroking);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) ASSERT_EQ(e.Pixel(x, y), before.ReadPixel(x, y));
    EXPECT_EQ(e.ctx.state.CurColor, colour);
  }
}

TEST(FillTest, DoubleClickWithPaintFillsThenPlots) {
  TestEditor e;
  e.ctx.state.CurColor = Red;
  BtnPaintClick(e.ctx);
  ImgMainMouseDown(e.ctx, 1, 1);
  ImgMainMouseDown(e.ctx, 1, 1);
  EXPECT_TRUE(e.DocIsAll(Red));
  EXPECT_TRUE(e.ctx.state.Stroking);  // the second press was a pen press
  EXPECT_EQ(e.ctx.state.DrawColor, Red);
  BtnUndoClick(e.ctx);
  EXPECT_TRUE(e.DocIsAll(Red));  // the filled picture, not the black one
}

TEST(SpoitTest, PicksTheGridColourWithoutChangingTheDocument) {
  TestEditor e;
  e.Doc().WritePixel(2, 1, Green);
  RedrawGrid(e.ctx);
  e.ui.refreshed.clear();
  BtnSpoitClick(e.ctx);
  ImgMainMouseDown(e.ctx, 9, 5);
  EXPECT_EQ(e.ctx.state.CurColor, Green);
  const Surface& swatch = e.ctx.controls.ImgColor.Canvas();
  EXPECT_EQ(swatch.ReadPixel(0, 0), Green);
  EXPECT_EQ(swatch.ReadPixel(3, 3), Green);
  EXPECT_EQ(e.Count(ControlId::ImgColor), 1);
  EXPECT_EQ(e.Pixel(2, 1), Green);
  EXPECT_EQ(e.ui.marker, "*");
  EXPECT_EQ(e.ctx.state.Tool, ToolPen);
  EXPECT_EQ(e.ui.checkedTool, ToolPen);
}

TEST(SpoitTest, OutsideTheGridTakesNoColour) {
  TestEditor e;
  e.ctx.state.CurColor = Red;
  BtnSpoitClick(e.ctx);
  ImgMainMouseDown(e.ctx, 100, 1);
  EXPECT_EQ(e.ctx.state.CurColor, Red);
  EXPECT_EQ(e.Count(ControlId::ImgColor), 0);
  EXPECT_EQ(e.ctx.state.Tool, ToolPen);
}

TEST(ToolTest, SelectionHandlers) {
  struct Case {
    void (*handler)(EditorContext&);
    int tool;
    std::string title;
    bool timer;
    bool stroking;
  };
  const std::vector<Case> cases = {
      {BtnPenClick, ToolPen, "gridkiln", false, true},
      {BtnEraseClick, ToolErase, "gridkiln", false, true},
      {BtnPaintClick, ToolPaint, "Paint", true, false},
      {BtnSpoitClick, ToolSpoit, "Spoit", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title + std::to_string(c.tool));
    TestEditor e;
    e.ctx.state.Stroking = true;
    e.ctx.state.Tool = ToolErase == c.tool ? ToolPen : ToolErase;
    c.handler(e.ctx);
    EXPECT_EQ(e.ctx.state.Tool, c.tool);
    EXPECT_EQ(e.ui.checkedTool, c.tool);
    EXPECT_EQ(e.ui.title, c.title);
    EXPECT_EQ(e.ui.timerActive, c.timer);
    EXPECT_EQ(e.ctx.state.Stroking, c.stroking);
  }
}

// The window shows the tool (the pointer over the grid) from what it is told: every change, the
// return to the pen after a use included.
TEST(ToolTest, WindowIsToldOfEveryChangeOfTheTool) {
  TestEditor e;
  for (auto choose : {BtnPaintClick, BtnSpoitClick, BtnEraseClick}) {
    choose(e.ctx);
    ImgMainMouseDown(e.ctx, 1, 1);
  }
  BtnPenClick(e.ctx);
  EXPECT_EQ(e.ui.toolsShown,
            (std::vector<int>{ToolPaint, ToolPen, ToolSpoit, ToolPen, ToolErase, ToolPen}));
}

TEST(UndoTest, RestoresTheLastSnapshot) {
  TestEditor e;
  e.ctx.state.CurColor = Red;
  ImgMainMouseDown(e.ctx, 1, 1);
  ImgMainMouseDown(e.ctx, 5, 1);
  e.ctx.state.OriginX = 3;
  BtnEraseClick(e.ctx);
  BtnUndoClick(e.ctx);
  EXPECT_EQ(e.Pixel(0, 0), Red);
  EXPECT_EQ(e.Pixel(1, 0), Black);
  // Twice is the same as once; the marker, the tool and the edit window stay.
  BtnUndoClick(e.ctx);
  EXPECT_EQ(e.Pixel(0, 0), Red);
  EXPECT_EQ(e.Pixel(1, 0), Black);
  EXPECT_EQ(e.ui.marker, "*");
  EXPECT_EQ(e.ctx.state.Tool, ToolErase);
  EXPECT_EQ(e.ctx.state.OriginX, 3);
  // The grid is redrawn from the restored document.
  EXPECT_EQ(e.ctx.controls.ImgMain.Canvas().ReadPixel(0, 0), Black);  // image column 3
}

TEST(UndoTest, FirstActionTurnsTheDocumentWhite) {
  TestEditor e;
  BtnUndoClick(e.ctx);
  EXPECT_TRUE(e.DocIsAll(White));
  EXPECT_EQ(e.ui.marker, "");
  EXPECT_FALSE(e.ctx.state.Modified);
}

TEST(UndoTest, AfterAnEyedropperPickRestoresThePickMoment) {
  TestEditor e;
  e.ctx.state.CurColor = Red;
  ImgMainMouseDown(e.ctx, 1, 1);
  BtnSpoitClick(e.ctx);
  ImgMainMouseDown(e.ctx, 5, 5);
  BtnUndoClick(e.ctx);
  EXPECT_EQ(e.Pixel(0, 0), Red);
}

TEST(UndoTest, UndoCopyKeepsAnIndexedDocumentsFormat) {
  const std::vector<Colour> table = {Black, Red, Green, 0xFEFEFE};
  TestEditor e(16, 16, PixelFormat::Indexed(8, table));
  BtnUndoClick(e.ctx);  // the new undo copy is white as the table best gives it
  EXPECT_TRUE(e.DocIsAll(0xFEFEFE));
  EXPECT_EQ(e.ctx.controls.ImgViewB.Canvas().Format(), e.Doc().Format());
  e.Doc().FillRectangle(0, 0, 16, 16, Green);
  ImgMainMouseDown(e.ctx, 1, 1);
  BtnUndoClick(e.ctx);
  EXPECT_TRUE(e.DocIsAll(Green));
}

TEST(UndoTest, SnapshotReplacesAnUndoCopyOfAnotherFormat) {
  TestEditor e;
  // A leftover two-colour copy would turn every snapshot into black and white.
  e.ctx.controls.ImgViewB.SetSurface(Surface(16, 16, PixelFormat::Indexed(1, {Black, White})));
  e.Doc().FillRectangle(0, 0, 16, 16, Green);
  e.ctx.state.CurColor = Red;
  ImgMainMouseDown(e.ctx, 1, 1);
  BtnUndoClick(e.ctx);
  EXPECT_TRUE(e.DocIsAll(Green));
}

}  // namespace
}  // namespace gk
