#pragma once

#include "platform/surface.h"
#include "workspace/editor_context.h"

namespace gk {

// Pure mappings over a whole surface: `doc` is rewritten from `old`, a copy of it taken before.
// Both have the same size.
void ShiftUp(Surface& doc, const Surface& old);
void ShiftRight(Surface& doc, const Surface& old);
void ShiftDown(Surface& doc, const Surface& old);
void ShiftLeft(Surface& doc, const Surface& old);
void MirrorVertical(Surface& doc, const Surface& old);    // left and right swapped
void MirrorHorizontal(Surface& doc, const Surface& old);  // top and bottom swapped
// A quarter turn counter-clockwise; pixels whose source lies outside keep their values.
void Rotate(Surface& doc, const Surface& old);

// The Edit menu commands: snapshot, marker, mapping, RedrawGrid.
void mnShiftUpClick(EditorContext& ctx);
void mnShiftRightClick(EditorContext& ctx);
void mnShiftDownClick(EditorContext& ctx);
void mnShiftLeftClick(EditorContext& ctx);
void mnMirrorVClick(EditorContext& ctx);
void mnMirrorHClick(EditorContext& ctx);
void rotate1Click(EditorContext& ctx);

}  // namespace gk
