#pragma once

#include "editor/editor_context.h"

namespace gk {

// The Edit menu's whole-image commands: snapshot, marker, the mapping from the picture as it
// was, and a full redraw. They run while the open guard is set.
void mnShiftUpClick(EditorContext& ctx);
void mnShiftRightClick(EditorContext& ctx);
void mnShiftDownClick(EditorContext& ctx);
void mnShiftLeftClick(EditorContext& ctx);
void mnMirrorVClick(EditorContext& ctx);
void mnMirrorHClick(EditorContext& ctx);
void rotate1Click(EditorContext& ctx);

}  // namespace gk
