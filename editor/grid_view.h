#pragma once

#include "editor/editor_context.h"

namespace gk {

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
