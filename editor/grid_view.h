#pragma once

#include <cstdint>

#include "editor/editor_context.h"

namespace gk {

// Paints one cell of the edit grid, d grid pixels a side from (left, top): colour c, laid over
// the grid's checkerboard where `alpha` is not opaque.
void PaintGridCell(Surface& grid, std::int64_t left, std::int64_t top, std::int32_t d, Colour c,
                   std::uint8_t alpha);

// Re-renders the whole edit grid from the edit window and places the two markers.
void RedrawGrid(EditorContext& ctx);

// The view: a press of any button sets the drag anchor; moves act only with the left button held.
void ImgViewMouseDown(EditorContext& ctx, int x, int y);
void ImgViewMouseMove(EditorContext& ctx, bool leftHeld, int x, int y);

// The arrow buttons: 4 image pixels, never past the ends of the origin range.
void btnUpClick(EditorContext& ctx);
void btnDownClick(EditorContext& ctx);
void btnLeftClick(EditorContext& ctx);
void btnRightClick(EditorContext& ctx);

}  // namespace gk
