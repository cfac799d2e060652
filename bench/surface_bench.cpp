#include "image/surface.h"

#include "image/flood_fill.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <utility>

// Each figure is meant to be read against its baseline from the same run:
//   FloodOpen/n      against FillBaseline/n     (writing the same bytes with std::fill)
//   FloodMaze/4096   against FloodMaze/1024     (the cost should follow the area: about 16x)
//   FloodSingle/n    a one-pixel region: should not grow with n
//   FillSquares      against FillSquaresBaseline (std::fill of the same bytes)

namespace {

using gk::Colour;
using gk::Surface;

constexpr Colour Black = gk::Black;
constexpr Colour Red = gk::Red;

// Rows of wall with one gap, alternately at the right and left end: one path through the image.
Surface Maze(int size) {
  Surface s(size, size, gk::PixelFormat::Rgb24(), Black);
  for (int y = 1; y < size; y += 2) {
    s.FillRectangle(0, y, size, y + 1, gk::White);
    s.WritePixel((y / 2) % 2 == 0 ? size - 1 : 0, y, Black);
  }
  return s;
}

void FillBaseline(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Surface s(n, n, gk::PixelFormat::Rgb24(), Black);
  std::uint32_t value = 0;
  for (auto _ : state) {
    value ^= Red;
    std::fill(s.Row<std::uint32_t>(0), s.Row<std::uint32_t>(0) + static_cast<std::size_t>(n) * n,
              value);
    benchmark::ClobberMemory();
  }
}

// Every run fills the whole image; the target and replacement swap so nothing is reset.
void FloodOpen(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Surface s(n, n, gk::PixelFormat::Rgb24(), Black);
  Colour from = Black, to = Red;
  for (auto _ : state) {
    gk::FloodFillArea(s, n / 2, n / 2, from, to);
    std::swap(from, to);
    benchmark::ClobberMemory();
  }
}

void FloodMaze(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Surface s = Maze(n);
  Colour from = Black, to = Red;
  for (auto _ : state) {
    gk::FloodFillArea(s, 0, 0, from, to);
    std::swap(from, to);
    benchmark::ClobberMemory();
  }
}

// A checkerboard: the region around the start pixel is that one pixel.
void FloodSingle(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Surface s(n, n, gk::PixelFormat::Rgb24(), gk::White);
  for (int y = 0; y < n; ++y) {
    for (int x = (y % 2); x < n; x += 2) s.WritePixel(x, y, Black);
  }
  Colour from = Black, to = Red;
  for (auto _ : state) {
    gk::FloodFillArea(s, n / 2, n / 2, from, to);
    std::swap(from, to);
    benchmark::ClobberMemory();
  }
}

// The edit grid's case: 16 x 16 squares of 37 x 37 covering 592 x 592.
constexpr int GridSide = 592;
constexpr int Dot = 37;

void FillSquares(benchmark::State& state) {
  Surface s(GridSide, GridSide);
  Colour c = 0;
  for (auto _ : state) {
    for (int y = 0; y < GridSide; y += Dot) {
      for (int x = 0; x < GridSide; x += Dot)
        s.FillRectangle(x, y, x + Dot, y + Dot, c++ & 0xFFFFFF);
    }
    benchmark::ClobberMemory();
  }
}

void FillSquaresBaseline(benchmark::State& state) {
  Surface s(GridSide, GridSide);
  std::uint32_t c = 0;
  for (auto _ : state) {
    std::fill(s.Row<std::uint32_t>(0), s.Row<std::uint32_t>(0) + GridSide * GridSide,
              c++ & 0xFFFFFF);
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(FillBaseline)->Arg(1024)->Arg(4096)->Unit(benchmark::kMicrosecond);
BENCHMARK(FloodOpen)->Arg(1024)->Arg(4096)->Unit(benchmark::kMicrosecond);
BENCHMARK(FloodMaze)->Arg(1024)->Arg(4096)->Unit(benchmark::kMicrosecond);
BENCHMARK(FloodSingle)->Arg(1024)->Arg(4096)->Unit(benchmark::kNanosecond);
BENCHMARK(FillSquares)->Unit(benchmark::kMicrosecond);
BENCHMARK(FillSquaresBaseline)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
