#pragma once

#include <cstdint>

namespace gk {

// The range a size setting may take. Values outside it are never used and never written: the
// layout, the grid and the document are allocated from them.
struct SizeRange {
  std::int32_t min;
  std::int32_t max;
  constexpr bool Contains(std::int64_t value) const { return value >= min && value <= max; }
};

// The document made at start-up and by "New size".
inline constexpr SizeRange DocumentSideRange{1, 4096};
// The edit window, in image pixels a side.
inline constexpr SizeRange EditWindowSideRange{1, 256};
inline constexpr SizeRange DotSizeRange{1, 128};
inline constexpr SizeRange ButtonSideRange{1, 256};

// The largest edit grid, in screen pixels a side, the window is built for.
inline constexpr std::int32_t MaxGridSide = 4096;

constexpr bool GridFits(std::int32_t dotSize, std::int32_t width2, std::int32_t height2) {
  return std::int64_t{dotSize} * width2 <= MaxGridSide &&
         std::int64_t{dotSize} * height2 <= MaxGridSide;
}

}  // namespace gk
