#pragma once

#include <cstdint>

#include "settings/size_limits.h"

namespace gk {

// The seven size settings the main window is laid out from, at their initial values.
struct StartSizes {
  std::int32_t DotSize = 37;
  std::int32_t Width = 32;
  std::int32_t Height = 32;
  std::int32_t Width2 = 16;
  std::int32_t Height2 = 16;
  std::int32_t ButtonW = 48;
  std::int32_t ButtonH = 40;

  bool operator==(const StartSizes&) const = default;
};

inline constexpr StartSizes InitialSizes{};

// Each size under its name in the settings file, in the order the file is read, with the range
// it may take.
struct SizeSetting {
  const char* name;
  std::int32_t StartSizes::*field;
  SizeRange range;
};

inline constexpr SizeSetting SizeSettings[] = {
    {"Width", &StartSizes::Width, DocumentSideRange},
    {"Height", &StartSizes::Height, DocumentSideRange},
    {"Width2", &StartSizes::Width2, EditWindowSideRange},
    {"Height2", &StartSizes::Height2, EditWindowSideRange},
    {"DotSize", &StartSizes::DotSize, DotSizeRange},
    {"ButtonW", &StartSizes::ButtonW, ButtonSideRange},
    {"ButtonH", &StartSizes::ButtonH, ButtonSideRange},
};

// Makes the sizes safe to lay out and allocate from: a size outside its range, and the dot size
// with the edit window when together they make the grid larger than MaxGridSide, go back to
// their initial values. Valid sizes are left alone.
void BoundStartSizes(StartSizes& sizes);

}  // namespace gk
