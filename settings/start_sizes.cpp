#include "settings/start_sizes.h"

#include "settings/size_limits.h"

namespace gk {

namespace {

void Bound(std::int32_t& value, SizeRange range, std::int32_t initial) {
  if (!range.Contains(value)) value = initial;
}

}  // namespace

void BoundStartSizes(StartSizes& sizes) {
  const StartSizes& initial = InitialSizes;
  Bound(sizes.Width, DocumentSideRange, initial.Width);
  Bound(sizes.Height, DocumentSideRange, initial.Height);
  Bound(sizes.Width2, EditWindowSideRange, initial.Width2);
  Bound(sizes.Height2, EditWindowSideRange, initial.Height2);
  Bound(sizes.DotSize, DotSizeRange, initial.DotSize);
  Bound(sizes.ButtonW, ButtonSideRange, initial.ButtonW);
  Bound(sizes.ButtonH, ButtonSideRange, initial.ButtonH);
  if (!GridFits(sizes.DotSize, sizes.Width2, sizes.Height2)) {
    sizes.DotSize = initial.DotSize;
    sizes.Width2 = initial.Width2;
    sizes.Height2 = initial.Height2;
  }
}

}  // namespace gk
