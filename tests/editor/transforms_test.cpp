#include "workspace/transforms.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/fake_editor_ui.h"
#include "workspace/drawing_tools.h"
#include "workspace/grid_view.h"

namespace gk {
namespace {

using Mapping = void (*)(Surface&, const Surface&);
using Handler = void (*)(EditorContext&);
// Where new(x, y) comes from in a w x h picture; nothing when the pixel keeps its value.
using SourceOf = std::function<std::optional<std::pair<int, int>>(int x, int y, int w, int h)>;

struct Transform {
  std::string name;
  Mapping mapping;
  Handler handler;
  SourceOf source;
};

std::optional<std::pair<int, int>> At(int x, int y) {
  return std::pair{x, y};
}

const std::vector<Transform>& Transforms() {
  static const std::vector<Transform> all = {
      {"shift up", ShiftUp, mnShiftUpClick,
       [](int x, int y, int, int h) { return At(x, (y + 1) % h); }},
      {"shift right", ShiftRight, mnShiftRightClick,
       [](int x, int y, int w, int) { return At((x + w - 1) % w, y); }},
      {"shift down", ShiftDown, mnShiftDownClick,
       [](int x, int y, int, int h) { return At(x, (y + h - 1) % h); }},
      {"shift left", ShiftLeft, mnShiftLeftClick,
       [](int x, int y, int w, int) { return At((x + 1) % w, y); }},
      {"mirror vertical", MirrorVertical, mnMirrorVClick,
       [](int x, int y, int w, int) { return At(w - 1 - x, y); }},
      {"mirror horizontal", MirrorHorizontal, mnMirrorHClick,
       [](int x, int y, int, int h) { return At(x, h - 1 - y); }},
      {"rotate", Rotate, rotate1Click,
       [](int x, int y, int w, int h) -> std::optional<std::pair<int, int>> {
         const int sx = h - 1 - y, sy = x;
         if (sx < 0 || sx >= w || sy < 0 || sy >= h) return std::nullopt;
         return At(sx, sy);
       }},
  };
  return all;
}

// Every pixel a different colour (up to 256 columns).
Surface Pattern(int w, int h) {
  Surface s(w, h, PixelFormat::Rgb24(), Black);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.WritePixel(x, y, static_cast<Colour>(x + 256 * y));
  return s;
}

// An indexed pattern: the table holds exactly the pattern's colours.
Surface IndexedPattern(int w, int h) {
  std::vector<Colour> table;
  for (int i = 0; i < 256; ++i) table.push_back(MakeColour(i, 255 - i, i / 2));
  Surface s(w, h, PixelFormat::Indexed(8, table), Black);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.WritePixel(x, y, table[(x * 7 + y * 13) % 256]);
  return s;
}

void ExpectSame(const Surface& a, const Surface& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      ASSERT_EQ(a.ReadPixel(x, y), b.ReadPixel(x, y)) << "at " << x << "," << y;
}

TEST(TransformMappingTest, EveryPixelFollowsItsMapping) {
  const std::vector<std::pair<int, int>> sizes = {{5, 5}, {16, 8}, {8, 16}, {1, 6},
                                                  {6, 1}, {1, 1},  {3, 3},  {70, 130}};
  for (const Transform& t : Transforms()) {
    for (auto [w, h] : sizes) {
      for (bool indexed : {false, true}) {
        SCOPED_TRACE(::testing::Message()
                     << t.name << " " << w << "x" << h << (indexed ? " indexed" : ""));
        const Surface old = indexed ? IndexedPattern(w, h) : Pattern(w, h);
        Surface doc = old;
        t.mapping(doc, old);
        for (int y = 0; y < h; ++y) {
          for (int x = 0; x < w; ++x) {
            const auto from = t.source(x, y, w, h).value_or(std::pair{x, y});
            ASSERT_EQ(doc.ReadPixel(x, y), old.ReadPixel(from.first, from.second))
                << "at " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(TransformMappingTest, RepeatsGiveTheStartBack) {
  struct Case {
    std::string name;
    std::vector<Mapping> steps;
    int repeat;  // 0: the picture's height, -1: its width
  };
  const std::vector<Case> cases = {
      {"up, height times", {ShiftUp}, 0},
      {"down, height times", {ShiftDown}, 0},
      {"right, width times", {ShiftRight}, -1},
      {"left, width times", {ShiftLeft}, -1},
      {"up then down", {ShiftUp, ShiftDown}, 1},
      {"right then left", {ShiftRight, ShiftLeft}, 1},
      {"mirror vertical twice", {MirrorVertical}, 2},
      {"mirror horizontal twice", {MirrorHorizontal}, 2},
      {"rotate four times", {Rotate}, 4},
  };
  for (const Case& c : cases) {
    for (auto [w, h] : std::vector<std::pair<int, int>>{{7, 7}, {12, 5}, {5, 12}}) {
      if (c.name.starts_with("rotate") && w != h) continue;
      SCOPED_TRACE(::testing::Message() << c.name << " " << w << "x" << h);
      const Surface start = Pattern(w, h);
      Surface doc = start;
      const int n = c.repeat == 0 ? h : c.repeat == -1 ? w : c.repeat;
      for (int i = 0; i < n; ++i) {
        for (Mapping step : c.steps) {
          const Surface old = doc;
          step(doc, old);
        }
      }
      ExpectSame(doc, start);
    }
  }
}

TEST(TransformMappingTest, RotateMovesTheCornersCounterClockwise) {
  Surface old(3, 3, PixelFormat::Rgb24(), Black);
  old.WritePixel(2, 0, 0x0000FF);
  old.WritePixel(0, 0, 0x00FF00);
  Surface doc = old;
  Rotate(doc, old);
  EXPECT_EQ(doc.ReadPixel(0, 0), 0x0000FFu);
  EXPECT_EQ(doc.ReadPixel(0, 2), 0x00FF00u);
  EXPECT_EQ(doc.ReadPixel(2, 0), Black);
}

TEST(TransformMappingTest, SourceInAnotherFormatOrTheDocumentItself) {
  for (const Transform& t : Transforms()) {
    SCOPED_TRACE(t.name);
    // The document itself as the source gives the same result as a separate copy.
    Surface expected = Pattern(9, 6);
    t.mapping(expected, Pattern(9, 6));
    Surface self = Pattern(9, 6);
    t.mapping(self, self);
    ExpectSame(self, expected);
    // A source in another format is read by colour, not by raw value.
    const Surface indexed = IndexedPattern(9, 6);
    Surface rgb(9, 6, PixelFormat::Rgb24(), Black);
    CopyBlock(rgb, 0, 0, 9, 6, indexed, 0, 0);
    Surface fromRgb = indexed;
    t.mapping(fromRgb, rgb);
    Surface fromIndexed = indexed;
    t.mapping(fromIndexed, indexed);
    ExpectSame(fromRgb, fromIndexed);
    // Different sizes are refused, not read past.
    Surface small = Pattern(4, 4);
    EXPECT_THROW(t.mapping(small, Pattern(5, 4)), std::invalid_argument);
  }
}

struct TestEditor {
  testing::FakeEditorUi ui;
  EditorContext ctx{ui};

  explicit TestEditor(Surface doc) {
    EditorState& s = ctx.state;
    s.DotSize = 2;
    s.Width = doc.Width();
    s.Height = doc.Height();
    s.Width2 = 4;
    s.Height2 = 4;
    s.OriginX = 1;
    ctx.controls.ImgMain.SetBounds(0, 40, 8, 8);
    ctx.controls.ImgView.SetBounds(20, 60, 2 * s.Width, 2 * s.Height);
    ctx.controls.ImgViewB.SetBounds(0, 0, s.Width, s.Height);
    ctx.controls.ImgView.SetSurface(std::move(doc));
    RedrawGrid(ctx);
    ui.refreshed.clear();
  }
};

TEST(TransformCommandTest, SnapshotMarkerMappingAndRedraw) {
  const std::vector<std::pair<int, int>> sizes = {{6, 4}, {1, 5}, {5, 1}};
  for (const Transform& t : Transforms()) {
    for (auto [w, h] : sizes) {
      SCOPED_TRACE(::testing::Message() << t.name << " " << w << "x" << h);
      const Surface start = Pattern(w, h);
      TestEditor e(start);
      e.ctx.state.Tool = ToolErase;
      t.handler(e.ctx);

      Surface expected = start;
      t.mapping(expected, start);
      ExpectSame(e.ctx.Document(), expected);
      // The undo copy holds the picture before the command, even where nothing moved.
      ExpectSame(e.ctx.controls.ImgViewB.Canvas(), start);
      EXPECT_EQ(e.ui.marker, "*");
      EXPECT_TRUE(e.ctx.state.Modified);
      // The grid shows the new picture from the unchanged edit window.
      EXPECT_EQ(e.ctx.state.OriginX, 1);
      EXPECT_EQ(e.ctx.state.Tool, ToolErase);
      const Colour shown = expected.ReadPixel(1, 0);
      EXPECT_EQ(e.ctx.controls.ImgMain.Canvas().ReadPixel(0, 0), shown == NoColour ? Black : shown);
      EXPECT_EQ(e.ui.refreshed, (std::vector{ControlId::ImgMain, ControlId::ImgView}));

      BtnUndoClick(e.ctx);
      ExpectSame(e.ctx.Document(), start);
    }
  }
}

TEST(TransformCommandTest, OnlyTheLastCommandIsUndone) {
  TestEditor e(Pattern(6, 6));
  mnShiftUpClick(e.ctx);
  const Surface afterFirst = e.ctx.Document();
  rotate1Click(e.ctx);
  BtnUndoClick(e.ctx);
  ExpectSame(e.ctx.Document(), afterFirst);
}

TEST(TransformCommandTest, WorksWhileTheOpenGuardIsSet) {
  TestEditor e(Pattern(6, 6));
  e.ctx.state.OpenGuard = true;
  mnMirrorVClick(e.ctx);
  EXPECT_EQ(e.ctx.Document().ReadPixel(0, 0), Pattern(6, 6).ReadPixel(5, 0));
}

TEST(TransformCommandTest, UndoCopyOfAnotherSizeIsNotReadAsThePicture) {
  // Should the undo control not match the document, the command still maps the picture itself.
  TestEditor e(Pattern(6, 4));
  e.ctx.controls.ImgViewB.SetBounds(0, 0, 3, 3);
  mnShiftLeftClick(e.ctx);
  Surface expected = Pattern(6, 4);
  ShiftLeft(expected, Pattern(6, 4));
  ExpectSame(e.ctx.Document(), expected);
}

}  // namespace
}  // namespace gk
