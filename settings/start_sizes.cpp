#include "settings/start_sizes.h"

namespace gk {

void BoundStartSizes(StartSizes& sizes) {
  for (const SizeSetting& key : SizeSettings) {
    if (!key.range.Contains(sizes.*key.field)) sizes.*key.field = InitialSizes.*key.field;
  }
  if (!GridFits(sizes.DotSize, sizes.Width2, sizes.Height2)) {
    sizes.DotSize = InitialSizes.DotSize;
    sizes.Width2 = InitialSizes.Width2;
    sizes.Height2 = InitialSizes.Height2;
  }
}

}  // namespace gk
