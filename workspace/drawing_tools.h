#pragma once

#include "workspace/editor_context.h"
#include "workspace/undo_copy.h"

namespace gk {

// "*" and Modified on the first change.
void MarkModified(EditorContext& ctx);

// One dot in DrawColor at grid pixel (x, y): the document pixel, then the grid square.
void PlotDot(EditorContext& ctx, int x, int y);

// Presses and moves on the edit grid, in grid pixels (may lie outside the grid while captured).
void ImgMainMouseDown(EditorContext& ctx, int x, int y);
void ImgMainMouseMove(EditorContext& ctx, bool leftHeld, int x, int y);

void BtnUndoClick(EditorContext& ctx);

void BtnPenClick(EditorContext& ctx);
void BtnEraseClick(EditorContext& ctx);
void BtnPaintClick(EditorContext& ctx);
void BtnSpoitClick(EditorContext& ctx);

}  // namespace gk
