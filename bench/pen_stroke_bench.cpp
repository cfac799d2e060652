// A pen stroke dragged across one row of the edit grid through the real main window, each move
// event delivered to the grid widget and the event loop run after it, as the platform would.
// Figures are per move event and are printed as ratios to two baselines from the same run: the
// same number of held moves that stay within one cell (so plot nothing), and one std::fill of the
// grid surface's pixels. PlotAt/n is one plot, from the move event to the grid and the view
// repainted, on an n x n start-up document; PlotAt/4096 is printed against PlotAt/32. PressAt/n
// is one press with the pen (the undo snapshot and the stroke's first dot), PressAt/4096 printed
// against PressAt/32. Run a release build:
//   QT_QPA_PLATFORM=offscreen build-release/bench/pen_stroke_bench
#include <benchmark/benchmark.h>

#include <QApplication>

#include <array>
#include <cstdint>
#include <iomanip>
#include <iostream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "bench/editor_window.h"
#include "bench/surface_fill_baseline.h"
#include "editor/picture_files.h"
#include "widgets/image_widget.h"

namespace gk {
namespace {

constexpr int MovesPerCell = 8;
constexpr int StrokeRow = 7;
constexpr char StrokeName[] = "PenStrokeAcrossRow";
constexpr char WithinCellName[] = "HeldMovesWithinOneCell";
constexpr char HoverName[] = "MovesWithoutButton";
constexpr char FillName[] = "FillGridSurface";
constexpr char SmallPlotName[] = "PlotAt/32";
constexpr char LargePlotName[] = "PlotAt/4096";
constexpr char SmallPressName[] = "PressAt/32";
constexpr char LargePressName[] = "PressAt/4096";

// MovesPerCell points through each of `cells` cells of one row, left to right.
std::vector<QPoint> RowPath(int dot, int cells) {
  std::vector<QPoint> path;
  for (int c = 0; c < cells; ++c) {
    for (int k = 0; k < MovesPerCell; ++k) {
      path.emplace_back(c * dot + k * dot / MovesPerCell, StrokeRow * dot + dot / 2);
    }
  }
  return path;
}

void ReportPerMove(benchmark::State& state, std::size_t moves) {
  state.counters["moves"] = static_cast<double>(moves);
  state.counters["per_move"] =
      benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

// Press on the first cell, then the moves across all the row's cells with the left button held:
// one plot for each cell entered after the first.
void PenStrokeAcrossRow(benchmark::State& state) {
  EditorWindow w;
  TForm1& form = *w.form;
  const std::vector<QPoint> path = RowPath(form.ctx.state.DotSize, form.ctx.state.Width2);
  Colour colour = 0x102030;
  for (auto _ : state) {
    // A new colour each stroke, so that every plot changes pixels.
    colour ^= 0x00FFFFFF;
    form.ctx.state.CurColor = colour;
    SendMouse(form.ImgMain, QEvent::MouseButtonPress, path.front(), Qt::LeftButton, Qt::LeftButton);
    for (QPoint p : path)
      SendMouse(form.ImgMain, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    SendMouse(form.ImgMain, QEvent::MouseButtonRelease, path.back(), Qt::LeftButton, Qt::NoButton);
  }
  if (form.ctx.Document().ReadPixel(form.ctx.state.Width2 - 1, StrokeRow) != colour) {
    state.SkipWithError("the stroke did not reach the row's last cell");
  }
  ReportPerMove(state, path.size());
}

// The same press and the same number of held moves, all within the first cell: no plots.
void HeldMovesWithinOneCell(benchmark::State& state) {
  EditorWindow w;
  TForm1& form = *w.form;
  const int dot = form.ctx.state.DotSize;
  const std::size_t moves = RowPath(dot, form.ctx.state.Width2).size();
  std::vector<QPoint> path;
  for (std::size_t i = 0; i < moves; ++i) {
    path.emplace_back(static_cast<int>(i) % dot, StrokeRow * dot + dot / 2);
  }
  for (auto _ : state) {
    SendMouse(form.ImgMain, QEvent::MouseButtonPress, path.front(), Qt::LeftButton, Qt::LeftButton);
    for (QPoint p : path)
      SendMouse(form.ImgMain, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    SendMouse(form.ImgMain, QEvent::MouseButtonRelease, path.back(), Qt::LeftButton, Qt::NoButton);
  }
  if (form.ctx.Document().ReadPixel(1, StrokeRow) != Black) {
    state.SkipWithError("a move within the first cell plotted");
  }
  ReportPerMove(state, path.size());
}

// The pointer passing over the whole row with no button held.
void MovesWithoutButton(benchmark::State& state) {
  EditorWindow w;
  TForm1& form = *w.form;
  const std::vector<QPoint> path = RowPath(form.ctx.state.DotSize, form.ctx.state.Width2);
  for (auto _ : state) {
    for (QPoint p : path) SendMouse(form.ImgMain, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
  }
  ReportPerMove(state, path.size());
}

// The floor: writing every pixel of the grid surface once.
void FillGridSurface(benchmark::State& state) {
  EditorWindow w;
  MeasureSurfaceFill(state, w.form->ctx.controls.ImgMain.Canvas());
}

// The settings of a side x side document.
std::string SquareSettings(int side) {
  return "Width=" + std::to_string(side) + "\r\nHeight=" + std::to_string(side) + "\r\n";
}

// The centres of two neighbouring cells of the stroke row, in grid pixels.
std::array<QPoint, 2> StrokeCells(const TForm1& form) {
  const int dot = form.ctx.state.DotSize;
  return {QPoint(3 * dot + dot / 2, StrokeRow * dot + dot / 2),
          QPoint(4 * dot + dot / 2, StrokeRow * dot + dot / 2)};
}

// One plot: a held move into the next cell, through the grid and view repainted. The pointer
// goes back and forth between two cells, so every move plots.
void PlotAt(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  EditorWindow w(SquareSettings(side));
  TForm1& form = *w.form;
  if (form.ctx.state.Width != side) state.SkipWithError("the settings did not take");
  const std::array<QPoint, 2> cells = StrokeCells(form);
  form.ctx.state.CurColor = 0x102030;
  SendMouse(form.ImgMain, QEvent::MouseButtonPress, cells[0], Qt::LeftButton, Qt::LeftButton);
  int next = 1;
  for (auto _ : state) {
    SendMouse(form.ImgMain, QEvent::MouseMove, cells[next], Qt::NoButton, Qt::LeftButton);
    next ^= 1;
  }
  SendMouse(form.ImgMain, QEvent::MouseButtonRelease, cells[next], Qt::LeftButton, Qt::NoButton);
  if (form.ctx.Document().ReadPixel(4, StrokeRow) != 0x102030) {
    state.SkipWithError("the moves did not plot");
  }
}

// One press with the pen, from the press event to the grid and view repainted: the undo snapshot
// and the stroke's first dot. The presses go back and forth between two cells in two colours,
// so every press changes a pixel.
void PressAt(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  EditorWindow w(SquareSettings(side));
  TForm1& form = *w.form;
  if (form.ctx.state.Width != side) state.SkipWithError("the settings did not take");
  const std::array<QPoint, 2> cells = StrokeCells(form);
  Colour colour = 0x102030;
  int next = 0;
  for (auto _ : state) {
    if (next == 0) colour ^= 0x00FFFFFF;
    form.ctx.state.CurColor = colour;
    Click(form.ImgMain, cells[next]);
    next ^= 1;
  }
  const int last = 3 + (next ^ 1);
  if (form.ctx.Document().ReadPixel(last, StrokeRow) != colour || !form.ctx.state.Modified) {
    state.SkipWithError("the presses did not draw");
  }
}

BENCHMARK(FillGridSurface);
BENCHMARK(PlotAt)->Arg(32)->Arg(4096)->Unit(benchmark::kMicrosecond);
BENCHMARK(PressAt)->Arg(32)->Arg(4096)->Unit(benchmark::kMicrosecond);
BENCHMARK(MovesWithoutButton)->Unit(benchmark::kMicrosecond);
BENCHMARK(HeldMovesWithinOneCell)->Unit(benchmark::kMicrosecond);
BENCHMARK(PenStrokeAcrossRow)->Unit(benchmark::kMicrosecond);

// Prints the cost of one move event of each run against the two baselines.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const auto moves = run.counters.find("moves");
      const double perIteration = moves == run.counters.end() ? 1.0 : moves->second.value;
      // Runs report in different units; compare seconds.
      const double seconds = perIteration * benchmark::GetTimeUnitMultiplier(run.time_unit);
      Times& t = times_[run.benchmark_name()];
      t.real = run.GetAdjustedRealTime() / seconds;
      t.cpu = run.GetAdjustedCPUTime() / seconds;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (auto [what, smallName, largeName] :
         {std::tuple{"plot", SmallPlotName, LargePlotName},
          std::tuple{"press", SmallPressName, LargePressName}}) {
      const auto small = times_.find(smallName);
      const auto large = times_.find(largeName);
      if (small == times_.end() || large == times_.end()) continue;
      std::cout << "\nOne " << what
                << " on a 4096 x 4096 document relative to one on a 32 x 32 one (real, CPU): "
                << std::fixed << std::setprecision(2) << large->second.real / small->second.real
                << "x, " << large->second.cpu / small->second.cpu << "x\n";
    }
    const auto within = times_.find(WithinCellName);
    const auto fill = times_.find(FillName);
    if (within == times_.end() || fill == times_.end()) return;
    std::cout << "\nOne move event (real, CPU) relative to:\n"
              << std::fixed << std::setprecision(2);
    for (const char* name : {StrokeName, WithinCellName, HoverName}) {
      const auto t = times_.find(name);
      if (t == times_.end()) continue;
      std::cout << "  " << name << ": a held move within one cell "
                << t->second.real / within->second.real << "x, "
                << t->second.cpu / within->second.cpu << "x; one fill of the grid surface "
                << t->second.real / fill->second.real << "x, " << t->second.cpu / fill->second.cpu
                << "x\n";
    }
  }

 private:
  struct Times {
    double real = 0, cpu = 0;
  };
  std::map<std::string, Times> times_;
};

}  // namespace
}  // namespace gk

int main(int argc, char** argv) {
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  benchmark::Initialize(&argc, argv);
  gk::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
