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

// The document pixel under grid pixel (x, y), for a grid with cells (DotSize > 0).
struct DocumentPixel {
  int column;
  int row;
};
DocumentPixel PixelUnder(const EditorState& s, int x, int y) {
  return {ClampToInt(std::int64_t{s.OriginX} + CellOf(x, s.DotSize)),
          ClampToInt(std::int64_t{s.OriginY} + CellOf(y, s.DotSize))};
}

// The colour the cell under grid pixel (x, y) shows: the grid's own, but a document pixel that is
// not opaque gives its colour, not the checkerboard the grid shows it over.
Colour CellColour(EditorContext& ctx, int x, int y) {
  const Colour shown = ctx.controls.ImgMain.Canvas().ReadPixel(x, y);
  const Surface& doc = ctx.Document();
  if (shown == NoColour || !doc.HasAlpha() || ctx.state.DotSize <= 0) return shown;
  const auto [column, row] = PixelUnder(ctx.state, x, y);
  const Colour stored = doc.ReadPixel(column, row);
  return stored == NoColour ? shown : stored;
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
  ctx.state.DrawAlpha = 255;
  PlotDot(ctx, x, y);
}

// Black, and transparent where the document has alpha: the raw value 0 of a 32-bit pixel.
void ErasePress(EditorContext& ctx, int x, int y) {
  ctx.state.DrawColor = Black;
  ctx.state.DrawAlpha = 0;
  PlotDot(ctx, x, y);
}

void PaintPress(EditorContext& ctx, int x, int y) {
  EditorState& s = ctx.state;
  const Colour target = CellColour(ctx, x, y);
  // Outside the grid there is no colour to match; the document never holds NoColour anyway.
  if (target != NoColour) {
    const auto [column, row] = PixelUnder(s, x, y);
    FloodFillArea(ctx.Document(), column, row, target, s.CurColor,
                  [&ctx](int written) { SaveUndoBandOf(ctx, written); });
  }
  RedrawGrid(ctx);
}

void SpoitPress(EditorContext& ctx, int x, int y) {
  const Colour picked = CellColour(ctx, x, y);
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
  const auto [column, row] = PixelUnder(s, x, y);
  Surface& doc = ctx.Document();
  if (row < doc.Height()) SaveUndoRows(ctx, row, row + 1);
  doc.WritePixel(column, row, s.DrawColor, s.DrawAlpha);
  ctx.ui.RefreshControl(ControlId::ImgMain);
  ctx.ui.RefreshControl(ControlId::ImgView);
  // The cell shows what the document stored (an indexed one keeps the nearest table colour),
  // so the grid, the view, the eyedropper and the saved file agree.
  const Colour stored = doc.ReadPixel(column, row);
  PaintGridCell(ctx.controls.ImgMain.Canvas(), std::int64_t{c} * d, std::int64_t{r} * d, d,
                stored == NoColour ? s.DrawColor : stored, doc.ReadAlpha(column, row));
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
