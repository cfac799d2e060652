#include "editor/drawing_tools.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "editor/colour_selection.h"
#include "editor/grid_view.h"
#include "editor/tools.h"
#include "image/flood_fill.h"

namespace gk {

namespace {

// Pointer positions are small in practice; the sums below are done wide and clamped so that no
// position, however far out, can overflow.
int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// Grid cell of a pointer coordinate; the division truncates toward zero, so a position less
// than one dot left of or above the grid still lies in column or row 0.
int CellOf(int pixel, int dotSize) {
  return pixel / dotSize;
}

// Before a fill writes a row, the undo copy takes the whole band of rows around it (about
// 256 KiB): the band is copied in one stream and then filled from the cache, which makes a
// fill of the whole picture faster than taking its rows one at a time.
void SaveUndoBandOf(EditorContext& ctx, int row) {
  constexpr std::size_t BandBytes = std::size_t{256} << 10;
  const std::size_t rowBytes = std::max<std::size_t>(ctx.Document().RowBytes(), 1);
  const auto band = static_cast<std::int64_t>(std::max<std::size_t>(BandBytes / rowBytes, 1));
  const std::int64_t top = row / band * band;
  SaveUndoRows(ctx, static_cast<int>(top), ClampToInt(top + band));
}

}  // namespace

void PenPress(EditorContext& ctx, int x, int y) {
  ctx.state.DrawColor = ctx.state.CurColor;
  PlotDot(ctx, x, y);
}

void ErasePress(EditorContext& ctx, int x, int y) {
  ctx.state.DrawColor = Black;
  PlotDot(ctx, x, y);
}

void PaintPress(EditorContext& ctx, int x, int y) {
  EditorState& s = ctx.state;
  const Colour target = ctx.controls.ImgMain.Canvas().ReadPixel(x, y);
  // Outside the grid there is no colour to match; the document never holds NoColour anyway.
  if (target != NoColour) {
    FloodFillArea(ctx.Document(), ClampToInt(std::int64_t{s.OriginX} + CellOf(x, s.DotSize)),
                  ClampToInt(std::int64_t{s.OriginY} + CellOf(y, s.DotSize)), target, s.CurColor,
                  [&ctx](int row) { SaveUndoBandOf(ctx, row); });
  }
  RedrawGrid(ctx);
}

void SpoitPress(EditorContext& ctx, int x, int y) {
  const Colour picked = ctx.controls.ImgMain.Canvas().ReadPixel(x, y);
  // A read outside the grid yields NoColour, which is no colour: the current one stays.
  if (picked != NoColour) SetCurColor(ctx, picked);
}

void MarkModified(EditorContext& ctx) {
  if (ctx.state.Modified) return;
  ctx.ui.SetModifiedMarker("*");
  ctx.state.Modified = true;
}

void PlotDot(EditorContext& ctx, int x, int y) {
  EditorState& s = ctx.state;
  const int d = s.DotSize;
  if (d <= 0) return;  // an empty grid has no cells
  const int c = CellOf(x, d);
  const int r = CellOf(y, d);
  const int row = ClampToInt(std::int64_t{s.OriginY} + r);
  if (row < ctx.Document().Height()) SaveUndoRows(ctx, row, row + 1);
  ctx.Document().WritePixel(ClampToInt(std::int64_t{s.OriginX} + c), row, s.DrawColor);
  ctx.ui.RefreshControl(ControlId::ImgMain);
  ctx.ui.RefreshControl(ControlId::ImgView);
  const std::int64_t left = std::int64_t{c} * d;
  const std::int64_t top = std::int64_t{r} * d;
  ctx.controls.ImgMain.Canvas().FillRectangle(
      ClampToInt(left), ClampToInt(top), ClampToInt(left + d), ClampToInt(top + d), s.DrawColor);
  s.LastDotX = c;
  s.LastDotY = r;
}

void ImgMainMouseDown(EditorContext& ctx, int x, int y) {
  EditorState& s = ctx.state;
  if (s.OpenGuard || s.DotSize <= 0) return;
  // A press whose undo copy cannot be made changes nothing, and the drag after it draws nothing.
  s.Stroking = false;
  TakeUndoSnapshot(ctx);
  MarkModified(ctx);
  const DrawingTool* tool = FindTool(s.Tool);
  if (tool == nullptr) return;
  s.Stroking = tool->strokes;
  tool->press(ctx, x, y);
  // Exactly one action a press: the pen chosen here acts from the next press on.
  if (tool->backToPen) BtnPenClick(ctx);
}

void ImgMainMouseMove(EditorContext& ctx, bool leftHeld, int x, int y) {
  const EditorState& s = ctx.state;
  if (s.OpenGuard || s.DotSize <= 0) return;
  const DrawingTool* tool = FindTool(s.Tool);
  if (tool == nullptr || !tool->strokes) return;
  if (!s.Stroking || !leftHeld) return;
  // One plot per cell entered, not per move event.
  if (CellOf(x, s.DotSize) == s.LastDotX && CellOf(y, s.DotSize) == s.LastDotY) return;
  PlotDot(ctx, x, y);
}

void BtnUndoClick(EditorContext& ctx) {
  RestoreUndoCopy(ctx);
  ctx.ui.RefreshControl(ControlId::ImgView);
  RedrawGrid(ctx);
}

void BtnPenClick(EditorContext& ctx) {
  ChooseTool(ctx, ToolPen);
}

void BtnEraseClick(EditorContext& ctx) {
  ChooseTool(ctx, ToolErase);
}

void BtnPaintClick(EditorContext& ctx) {
  ChooseTool(ctx, ToolPaint);
}

void BtnSpoitClick(EditorContext& ctx) {
  ChooseTool(ctx, ToolSpoit);
}

}  // namespace gk
