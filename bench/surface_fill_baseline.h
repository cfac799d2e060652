#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <benchmark/benchmark.h>

#include "image/surface.h"

namespace gk {

// The floor the grid benchmarks are measured against: writing every pixel of a surface once.
inline void MeasureSurfaceFill(benchmark::State& state, Surface& surface) {
  std::uint32_t* first = surface.Row<std::uint32_t>(0);
  std::uint32_t* last = first + static_cast<std::size_t>(surface.Width()) * surface.Height();
  std::uint32_t value = 0;
  for (auto _ : state) {
    std::fill(first, last, ++value);
    benchmark::DoNotOptimize(first);
    benchmark::ClobberMemory();
  }
}

}  // namespace gk
