#include "editor/grid_view.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "image/alpha_blend.h"

namespace gk {

namespace {

// Lower bound first, upper bound last: when the window is larger than the image the upper
// bound (negative) wins.
std::int32_t ClampOrigin(std::int32_t origin, std::int32_t upper) {
  if (origin < 0) origin = 0;
  if (origin > upper) origin = upper;
  return origin;
}

// Squares of the checkerboard behind pixels that are not opaque, in grid pixels from the grid's
// corner: a few to a cell at the usual dot sizes.
constexpr int GridCheckerSquare = 6;

// The grid pixel of a cell of colour c and `alpha` at grid column x, in checker row `phase`.
Colour ShownAt(Colour c, std::uint8_t alpha, std::int64_t x, int phase) {
  if (alpha == 255) return c;
  return Blend(c, alpha, CheckerAt(x, phase * GridCheckerSquare, GridCheckerSquare));
}

}  // namespace

void PaintGridCell(Surface& grid, std::int64_t left, std::int64_t top, std::int32_t d, Colour c,
                   std::uint8_t alpha) {
  const auto clamp = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
  };
  if (alpha == 255) {
    grid.FillRectangle(clamp(left), clamp(top), clamp(left + d), clamp(top + d), c);
    return;
  }
  const std::int64_t x1 = std::max<std::int64_t>(left, 0);
  const std::int64_t x2 = std::min<std::int64_t>(left + d, grid.Width());
  const std::int64_t y1 = std::max<std::int64_t>(top, 0);
  const std::int64_t y2 = std::min<std::int64_t>(top + d, grid.Height());
  for (std::int64_t y = y1; y < y2; ++y) {
    for (std::int64_t x = x1; x < x2; ++x) {
      grid.WritePixel(static_cast<int>(x), static_cast<int>(y),
                      ShownAt(c, alpha, x, static_cast<int>((y / GridCheckerSquare) & 1)));
    }
  }
}

void RedrawGrid(EditorContext& ctx) {
  EditorState& s = ctx.state;
  EditorControls& c = ctx.controls;

  c.ImgCurH.Left = c.ImgView.Left - 4;
  c.ImgCurH.Top = c.ImgView.Top + 2 * s.OriginY;
  ctx.ui.ControlMoved(ControlId::ImgCurH);
  c.ImgCurV.Left = c.ImgView.Left + 2 * s.OriginX;
  c.ImgCurV.Top = c.ImgView.Top - 4;
  ctx.ui.ControlMoved(ControlId::ImgCurV);

  // Every cell is a solid square of its document pixel's colour (black outside the image), laid
  // over the checkerboard where the pixel is not opaque. Each band of cells is built as one
  // pixel row (one a checker row with alpha) and copied down the band, which writes the same
  // pixels as one rectangle fill per cell.
  Surface& doc = ctx.Document();
  Surface& grid = c.ImgMain.Canvas();
  const std::int32_t d = s.DotSize;
  if (d <= 0) return;
  const std::int64_t usedWidth = std::min<std::int64_t>(grid.Width(), std::int64_t{d} * s.Width2);
  const std::int64_t usedHeight =
      std::min<std::int64_t>(grid.Height(), std::int64_t{d} * std::max(s.Height2, 0));
  const bool alpha = doc.HasAlpha();
  WithPixelType(grid.BytesPerPixel(), [&]<typename Pixel>(Pixel*) {
    const auto bandSize = static_cast<std::size_t>(std::max<std::int64_t>(usedWidth, 0));
    std::vector<Pixel> bands[2] = {std::vector<Pixel>(bandSize),
                                   std::vector<Pixel>(alpha ? bandSize : 0)};
    for (std::int32_t i = 0; i < s.Height2; ++i) {
      const std::int64_t top = std::int64_t{i} * d;
      if (top >= grid.Height()) break;
      for (std::int32_t j = 0; j * std::int64_t{d} < usedWidth; ++j) {
        const Colour c = doc.ReadPixel(s.OriginX + j, s.OriginY + i);
        const std::int64_t left = std::int64_t{j} * d;
        const std::int64_t right = std::min<std::int64_t>(left + d, usedWidth);
        const std::uint8_t a = doc.ReadAlpha(s.OriginX + j, s.OriginY + i);
        if (a == 255) {
          const auto raw = static_cast<Pixel>(grid.Encode(c));
          std::fill(bands[0].begin() + left, bands[0].begin() + right, raw);
          if (alpha) std::fill(bands[1].begin() + left, bands[1].begin() + right, raw);
          continue;
        }
        for (int phase = 0; phase < 2; ++phase) {
          for (std::int64_t x = left; x < right; ++x) {
            bands[phase][x] = static_cast<Pixel>(grid.Encode(ShownAt(c, a, x, phase)));
          }
        }
      }
      const std::int64_t bottom = std::min<std::int64_t>(top + d, grid.Height());
      for (std::int64_t y = top; y < bottom; ++y) {
        const auto& band = bands[alpha ? (y / GridCheckerSquare) & 1 : 0];
        std::copy(band.begin(), band.end(), grid.Row<Pixel>(static_cast<int>(y)));
      }
    }
  });
  grid.MarkChanged(0, 0, static_cast<int>(std::max<std::int64_t>(usedWidth, 0)),
                   static_cast<int>(usedHeight));
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
