#include "editor/transforms.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "editor/drawing_tools.h"
#include "editor/grid_view.h"
#include "image/image_transforms.h"
#include "support/fake_editor_ui.h"
#include "support/surface_pixels.h"

namespace gk {
namespace {

using testing::ColourPattern;
using testing::ExpectSamePixels;

using Mapping = void (*)(Surface&, const Surface&);
using Handler = void (*)(EditorContext&);

struct Transform {
  std::string name;
  Handler handler;
  Mapping mapping;  // what the command does to the picture
};

template <int dx, int dy>
void Shift(Surface& doc, const Surface& old) {
  ShiftImage(doc, old, dx, dy);
}

const std::vector<Transform>& Transforms() {
  static const std::vector<Transform> all = {
      {"shift up", mnShiftUpClick, Shift<0, -1>},
      {"shift right", mnShiftRightClick, Shift<1, 0>},
      {"shift down", mnShiftDownClick, Shift<0, 1>},
      {"shift left", mnShiftLeftClick, Shift<-1, 0>},
      {"mirror vertical", mnMirrorVClick, MirrorVertical},
      {"mirror horizontal", mnMirrorHClick, MirrorHorizontal},
      {"rotate", rotate1Click, Rotate},
  };
  return all;
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
      const Surface start = ColourPattern(w, h);
      TestEditor e(start);
      e.ctx.state.Tool = ToolErase;
      t.handler(e.ctx);

      Surface expected = start;
      t.mapping(expected, start);
      ExpectSamePixels(e.ctx.Document(), expected);
      // The undo copy holds the picture before the command, even where nothing moved.
      ExpectSamePixels(e.ctx.controls.ImgViewB.Canvas(), start);
      EXPECT_EQ(e.ui.marker, "*");
      EXPECT_TRUE(e.ctx.state.Modified);
      // The grid shows the new picture from the unchanged edit window.
      EXPECT_EQ(e.ctx.state.OriginX, 1);
      EXPECT_EQ(e.ctx.state.Tool, ToolErase);
      const Colour shown = expected.ReadPixel(1, 0);
      EXPECT_EQ(e.ctx.controls.ImgMain.Canvas().ReadPixel(0, 0), shown == NoColour ? Black : shown);
      EXPECT_EQ(e.ui.refreshed, (std::vector{ControlId::ImgMain, ControlId::ImgView}));

      BtnUndoClick(e.ctx);
      ExpectSamePixels(e.ctx.Document(), start);
    }
  }
}

TEST(TransformCommandTest, OnlyTheLastCommandIsUndone) {
  TestEditor e(ColourPattern(6, 6));
  mnShiftUpClick(e.ctx);
  const Surface afterFirst = e.ctx.Document();
  rotate1Click(e.ctx);
  BtnUndoClick(e.ctx);
  ExpectSamePixels(e.ctx.Document(), afterFirst);
}

TEST(TransformCommandTest, WorksWhileTheOpenGuardIsSet) {
  TestEditor e(ColourPattern(6, 6));
  e.ctx.state.OpenGuard = true;
  mnMirrorVClick(e.ctx);
  EXPECT_EQ(e.ctx.Document().ReadPixel(0, 0), ColourPattern(6, 6).ReadPixel(5, 0));
}

TEST(TransformCommandTest, UndoCopyOfAnotherSizeIsNotReadAsThePicture) {
  // Should the undo control not match the document, the command still maps the picture itself.
  TestEditor e(ColourPattern(6, 4));
  e.ctx.controls.ImgViewB.SetBounds(0, 0, 3, 3);
  mnShiftLeftClick(e.ctx);
  Surface expected = ColourPattern(6, 4);
  ShiftImage(expected, ColourPattern(6, 4), -1, 0);
  ExpectSamePixels(e.ctx.Document(), expected);
}

}  // namespace
}  // namespace gk
