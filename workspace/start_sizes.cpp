#include "workspace/start_sizes.h"

#include <cstdint>

namespace gk {

namespace {

void Bound(std::int32_t& value, std::int32_t max, std::int32_t initial) {
  if (value < 1 || value > max) value = initial;
}

}  // namespace

void BoundStartSizes(EditorState& state) {
  const EditorState initial;
  Bound(state.Width, 4096, initial.Width);
  Bound(state.Height, 4096, initial.Height);
  Bound(state.Width2, 1024, initial.Width2);
  Bound(state.Height2, 1024, initial.Height2);
  Bound(state.DotSize, 1024, initial.DotSize);
  Bound(state.ButtonW, 1024, initial.ButtonW);
  Bound(state.ButtonH, 1024, initial.ButtonH);
  // Each factor is at most 1024, so the products fit in 32 bits.
  if (state.DotSize * state.Width2 > MaxGridSide || state.DotSize * state.Height2 > MaxGridSide) {
    state.DotSize = initial.DotSize;
    state.Width2 = initial.Width2;
    state.Height2 = initial.Height2;
  }
}

}  // namespace gk
