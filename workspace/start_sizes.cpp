#include "workspace/start_sizes.h"

#include <cstdint>

#include "settings/size_limits.h"

namespace gk {

namespace {

void Bound(std::int32_t& value, SizeRange range, std::int32_t initial) {
  if (!range.Contains(value)) value = initial;
}

}  // namespace

void BoundStartSizes(EditorState& state) {
  const EditorState initial;
  Bound(state.Width, DocumentSideRange, initial.Width);
  Bound(state.Height, DocumentSideRange, initial.Height);
  Bound(state.Width2, EditWindowSideRange, initial.Width2);
  Bound(state.Height2, EditWindowSideRange, initial.Height2);
  Bound(state.DotSize, DotSizeRange, initial.DotSize);
  Bound(state.ButtonW, ButtonSideRange, initial.ButtonW);
  Bound(state.ButtonH, ButtonSideRange, initial.ButtonH);
  if (!GridFits(state.DotSize, state.Width2, state.Height2)) {
    state.DotSize = initial.DotSize;
    state.Width2 = initial.Width2;
    state.Height2 = initial.Height2;
  }
}

}  // namespace gk
