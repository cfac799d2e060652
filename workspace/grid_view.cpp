#include "workspace/grid_view.h"

#include <algorithm>

namespace gk {

namespace {

// Lower bound first, upper bound last: when the window is larger than the image the upper
// bound (negative) wins.
std::int32_t ClampOrigin(std::int32_t origin, std::int32_t upper) {
  if (origin < 0) origin = 0;
  if (origin > upper) origin = upper;
  return origin;
}

}  // namespace

void RedrawGrid(EditorContext& ctx) {
  EditorState& s = ctx.state;
  EditorControls& c = ctx.controls;

  c.ImgCurH.Left = c.ImgView.Left - 4;
  c.ImgCurH.Top = c.ImgView.Top + 2 * s.OriginY;
  ctx.ui.ControlMoved(ControlId::ImgCurH);
  c.ImgCurV.Left = c.ImgView.Left + 2 * s.OriginX;
  c.ImgCurV.Top = c.ImgView.Top - 4;
  ctx.ui.ControlMoved(ControlId::ImgCurV);

  Surface& doc = ctx.Document();
  Surface& grid = c.ImgMain.Canvas();
  const std::int32_t d = s.DotSize;
  for (std::int32_t i = 0; i < s.Height2; ++i) {
    for (std::int32_t j = 0; j < s.Width2; ++j) {
      const Colour colour = doc.ReadPixel(s.OriginX + j, s.OriginY + i);
      grid.FillRectangle(j * d, i * d, (j + 1) * d, (i + 1) * d, colour);
    }
  }
  ctx.ui.RefreshControl(ControlId::ImgMain);
  ctx.ui.RefreshControl(ControlId::ImgView);
}

void ImgViewMouseDown(EditorContext& ctx, int x, int y) {
  ctx.state.DragX = x;
  ctx.state.DragY = y;
}

void ImgViewMouseMove(EditorContext& ctx, bool leftHeld, int x, int y) {
  if (!leftHeld) return;
  EditorState& s = ctx.state;
  s.OriginX = ClampOrigin(s.OriginX + (x - s.DragX), s.Width - s.Width2);
  s.OriginY = ClampOrigin(s.OriginY + (y - s.DragY), s.Height - s.Height2);
  RedrawGrid(ctx);
  s.DragX = x;
  s.DragY = y;
}

void btnUpClick(EditorContext& ctx) {
  EditorState& s = ctx.state;
  if (s.OriginY <= 0) return;
  s.OriginY = std::max(s.OriginY - 4, 0);
  RedrawGrid(ctx);
}

void btnDownClick(EditorContext& ctx) {
  EditorState& s = ctx.state;
  if (s.OriginY >= s.Height - s.Height2) return;
  s.OriginY = std::min(s.OriginY + 4, s.Height - s.Height2);
  RedrawGrid(ctx);
}

void btnLeftClick(EditorContext& ctx) {
  EditorState& s = ctx.state;
  if (s.OriginX <= 0) return;
  s.OriginX = std::max(s.OriginX - 4, 0);
  RedrawGrid(ctx);
}

void btnRightClick(EditorContext& ctx) {
  EditorState& s = ctx.state;
  if (s.OriginX >= s.Width - s.Width2) return;
  s.OriginX = std::min(s.OriginX + 4, s.Width - s.Width2);
  RedrawGrid(ctx);
}

}  // namespace gk
