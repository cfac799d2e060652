// Random sessions of presses, transforms, Undo and New on the editor, whose undo copy is taken a
// row at a time, and on a model that copies the whole picture at every snapshot: the documents
// agree after every step.
#include "editor/undo_copy.h"

#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/document_files.h"
#include "editor/drawing_tools.h"
#include "editor/grid_view.h"
#include "editor/transforms.h"
#include "image/flood_fill.h"
#include "image/image_transforms.h"
#include "support/fake_editor_ui.h"
#include "support/surface_pixels.h"

namespace gk {
namespace {

using testing::RawPixels;

// Colours every format below holds exactly, so that the grid shows what the document holds.
const std::vector<Colour> Colours = {Black, White, Red, 0x00FF00, 0xFF0000};

template <int dx, int dy>
void Shift(Surface& doc, const Surface& old) {
  ShiftImage(doc, old, dx, dy);
}

struct Command {
  void (*handler)(EditorContext&);
  void (*mapping)(Surface&, const Surface&);
};
const Command Commands[] = {
    {mnShiftUpClick, Shift<0, -1>},   {mnShiftRightClick, Shift<1, 0>},
    {mnShiftDownClick, Shift<0, 1>},  {mnShiftLeftClick, Shift<-1, 0>},
    {mnMirrorVClick, MirrorVertical}, {mnMirrorHClick, MirrorHorizontal},
    {rotate1Click, Rotate},
};

TEST(UndoCopyTest, AgreesWithAWholeCopyOverRandomSessions) {
  struct Case {
    int width, height;
    PixelFormat format;
    unsigned seed;
  };
  const Case cases[] = {
      {13, 9, PixelFormat::Rgb24(), 1},
      {5, 11, PixelFormat::Rgb24(), 2},
      {8, 8, PixelFormat::Indexed(8, Colours), 3},
      {17, 6, PixelFormat::Indexed(4, {Red, Black, 0x00FF00, White, 0xFF0000}), 4},
      {7, 7, PixelFormat::Rgb565(), 5},
      // Rows of 64 KiB: a fill saves the undo rows in bands of four.
      {16384, 9, PixelFormat::Rgb24(), 6},
  };
  constexpr int Dot = 2;
  constexpr int Cells = 8;  // the edit window
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.width << "x" << c.height << ", " << c.format.bitsPerPixel << " bits");
    std::mt19937 rng(c.seed);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };

    testing::FakeEditorUi ui;
    EditorContext ctx{ui};
    EditorState& s = ctx.state;
    s.DotSize = Dot;
    s.Width = c.width;
    s.Height = c.height;
    s.Width2 = Cells;
    s.Height2 = Cells;
    ctx.controls.ImgMain.SetBounds(0, 40, Dot * Cells, Dot * Cells);
    ctx.controls.ImgView.SetBounds(40, 78, 2 * c.width, 2 * c.height);
    ctx.controls.ImgViewB.SetBounds(0, 0, c.width, c.height);
    Surface start(c.width, c.height, c.format, Black);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) start.WritePixel(x, y, Colours[pick(3)]);
    ctx.controls.ImgView.SetSurface(start);
    RedrawGrid(ctx);

    Surface doc = start;  // the model: the document, and its undo copy kept whole
    Surface undo(c.width, c.height, c.format, White);
    for (int step = 0; step < 400; ++step) {
      s.OriginX = pick(c.width);
      s.OriginY = pick(c.height);
      RedrawGrid(ctx);
      s.CurColor = Colours[pick(static_cast<int>(Colours.size()))];
      // A grid position a little beyond the grid on every side.
      const auto position = [&] { return pick(Dot * (Cells + 2)) - Dot; };
      const int kind = pick(12);
      std::string what;
      std::set<int> rowsWritten;
      if (kind <= 2) {
        what = kind == 0 ? "erase stroke" : "pen stroke";
        kind == 0 ? BtnEraseClick(ctx) : BtnPenClick(ctx);
        undo = doc;
        const Colour colour = kind == 0 ? Black : s.CurColor;
        for (int i = 0, moves = pick(6); i <= moves; ++i) {
          const int x = position(), y = position();
          i == 0 ? ImgMainMouseDown(ctx, x, y) : ImgMainMouseMove(ctx, true, x, y);
          const int px = s.OriginX + x / Dot, py = s.OriginY + y / Dot;
          doc.WritePixel(px, py, colour);
          if (py >= 0 && py < c.height) rowsWritten.insert(py);
        }
      } else if (kind == 3) {
        what = "fill";
        BtnPaintClick(ctx);
        const int x = pick(Dot * Cells), y = pick(Dot * Cells);
        ImgMainMouseDown(ctx, x, y);
        undo = doc;
        const int px = s.OriginX + x / Dot, py = s.OriginY + y / Dot;
        FloodFillArea(doc, px, py, doc.ReadPixel(px, py), s.CurColor);
      } else if (kind == 4) {
        what = "eyedropper press";
        BtnSpoitClick(ctx);
        ImgMainMouseDown(ctx, pick(Dot * Cells), pick(Dot * Cells));
        undo = doc;
      } else if (kind <= 7) {
        const Command& command = Commands[pick(7)];
        what = "transform";
        command.handler(ctx);
        undo = doc;
        command.mapping(doc, undo);
      } else if (kind <= 9) {
        what = "undo";
        BtnUndoClick(ctx);
        doc = undo;
      } else {
        // Plain New keeps the undo copy; "New size" (cancelled: the same size) drops it.
        const bool newSize = kind == 11;
        what = newSize ? "new size" : "new";
        if (s.Modified) ui.messageAnswers.push_back(MessageResult::No);
        if (newSize) ui.newSizeAnswers.push_back(std::nullopt);
        BtnNewClick(ctx, newSize ? NewSizeTag : 0);
        doc.FillBlack(c.width, c.height);
        if (newSize) {
          doc = Surface(c.width, c.height, PixelFormat::Rgb24(), Black);
          undo = Surface(c.width, c.height, PixelFormat::Rgb24(), White);
        }
      }
      SCOPED_TRACE(::testing::Message() << "step " << step << ": " << what);
      ASSERT_EQ(ctx.Document().Format(), doc.Format());
      ASSERT_EQ(RawPixels(ctx.Document()), RawPixels(doc));
      // A stroke copies only the rows it writes into the undo copy.
      if (!rowsWritten.empty()) {
        EXPECT_LE(c.height - ctx.undoRows.PendingCount(), static_cast<int>(rowsWritten.size()));
      }
    }
  }
}

}  // namespace
}  // namespace gk
