#pragma once

#include "workspace/editor_state.h"

namespace gk {

// Makes the seven sizes safe to lay out and allocate from: a size outside its range, and the
// dot size with the edit window when together they make the grid larger than MaxGridSide, go
// back to their initial values. Valid sizes are left alone.
void BoundStartSizes(EditorState& state);

}  // namespace gk
