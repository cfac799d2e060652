#pragma once

#include "editor/editor_context.h"
#include "editor/undo_copy.h"

namespace gk {

// "*" and Modified on the first change.
void MarkModified(EditorContext& ctx);

// One dot in DrawColor at grid pixel (x, y): the document pixel, then the grid square.
void PlotDot(EditorContext& ctx, int x, int y);

// Presses and moves on the edit grid, in grid pixels (may lie outside the grid while captured).
void ImgMainMouseDown(EditorContext& ctx, int x, int y);
void ImgMainMouseMove(EditorContext& ctx, bool leftHeld, int x, int y);

void BtnUndoClick(EditorContext& ctx);

// What a press on the grid does with each tool (the table in editor/tools.cpp names them). Paint
// fills the area of the colour the grid shows under the pointer; spoit takes that colour.
void PenPress(EditorContext& ctx, int x, int y);
void ErasePress(EditorContext& ctx, int x, int y);
void PaintPress(EditorContext& ctx, int x, int y);
void SpoitPress(EditorContext& ctx, int x, int y);

// The tools' menu items and buttons: each chooses its tool.
void BtnPenClick(EditorContext& ctx);
void BtnEraseClick(EditorContext& ctx);
void BtnPaintClick(EditorContext& ctx);
void BtnSpoitClick(EditorContext& ctx);

}  // namespace gk
