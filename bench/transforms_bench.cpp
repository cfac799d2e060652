// The whole-image transforms on a 4096 x 4096 24-bit document, each reported as a ratio to a
// plain copy of the document's bytes measured in the same run: the mappings alone, then every
// whole-document command as the user runs it (Command/...): through the real main window, from
// the menu item (or the press with the paint tool) to the grid and view repainted, with the undo
// snapshot. Run a release build:
//   QT_QPA_PLATFORM=offscreen build-release/bench/transforms_bench
#include <QAction>
#include <QApplication>

#include <cstdint>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/editor_window.h"
#include "image/image_transforms.h"
#include "image/surface.h"

namespace {

using gk::EditorWindow;
using gk::TForm1;

constexpr int Side = 4096;
constexpr const char* Baseline = "Memcpy";

gk::Surface MakeDocument() {
  gk::Surface s(Side, Side, gk::PixelFormat::Rgb24(), gk::Black);
  for (int y = 0; y < Side; ++y) {
    std::uint32_t* row = s.Row<std::uint32_t>(y);
    for (int x = 0; x < Side; ++x)
      row[x] = s.Encode(static_cast<std::uint32_t>(x * 2654435761u + y) & 0xFFFFFF);
  }
  return s;
}

std::size_t DocumentBytes(const gk::Surface& s) {
  return s.RowBytes() * static_cast<std::size_t>(s.Height());
}

void Memcpy(benchmark::State& state) {
  const gk::Surface old = MakeDocument();
  gk::Surface doc = old;
  const std::size_t bytes = DocumentBytes(old);
  for (auto _ : state) {
    std::memcpy(doc.Bytes(0), old.Bytes(0), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// The Edit menu's shifts by one pixel.
template <int dx, int dy>
void Shift(gk::Surface& doc, const gk::Surface& old) {
  gk::ShiftImage(doc, old, dx, dy);
}

template <void (*Mapping)(gk::Surface&, const gk::Surface&)>
void Transform(benchmark::State& state) {
  const gk::Surface old = MakeDocument();
  gk::Surface doc = old;
  for (auto _ : state) {
    Mapping(doc, old);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * DocumentBytes(old)));
}

const std::string LargeDocument = "Width=4096\r\nHeight=4096\r\n";

void CheckLargeDocument(benchmark::State& state, const TForm1& form) {
  if (form.ctx.state.Width != Side || form.ctx.state.Height != Side) {
    state.SkipWithError("the settings did not take");
  }
}

// A press and release on the middle of the edit grid.
void PressOnGrid(TForm1& form) {
  const int middle = form.ctx.state.DotSize * form.ctx.state.Width2 / 2;
  gk::Click(form.ImgMain, {middle, middle});
}

template <QAction* TForm1::*Item>
void Command(benchmark::State& state) {
  EditorWindow w(LargeDocument);
  TForm1& form = *w.form;
  CheckLargeDocument(state, form);
  for (auto _ : state) {
    (form.*Item)->trigger();
    QApplication::processEvents();
  }
  if (!form.ctx.state.Modified) state.SkipWithError("the command did not run");
}

// The first Rotate after the document is made: the undo copy's memory is new and is touched for
// the first time, as after Open.
void FirstRotateCommand(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    {
      EditorWindow w(LargeDocument);
      CheckLargeDocument(state, *w.form);
      state.ResumeTiming();
      w.form->rotate1->trigger();
      QApplication::processEvents();
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
}

// A press with the paint tool filling the whole document, which is one colour, in the other of
// two colours each time.
void FillCommand(benchmark::State& state) {
  EditorWindow w(LargeDocument);
  TForm1& form = *w.form;
  CheckLargeDocument(state, form);
  gk::Colour colour = gk::Black;
  for (auto _ : state) {
    colour ^= 0x00FFFFFF;
    form.ctx.state.CurColor = colour;
    form.mngPaint->trigger();
    PressOnGrid(form);
  }
  const gk::Surface& doc = form.ctx.Document();
  if (doc.ReadPixel(Side - 1, Side - 1) != colour) state.SkipWithError("the fill did not spread");
}

// Undo right after a command (all of the picture comes back) or after a press with the pen (one
// dot does); the command or the press is not timed.
template <bool afterCommand>
void UndoCommand(benchmark::State& state) {
  EditorWindow w(LargeDocument);
  TForm1& form = *w.form;
  CheckLargeDocument(state, form);
  for (auto _ : state) {
    state.PauseTiming();
    if (afterCommand) {
      form.rotate1->trigger();
    } else {
      PressOnGrid(form);
    }
    QApplication::processEvents();
    state.ResumeTiming();
    form.Undo1->trigger();
    QApplication::processEvents();
  }
}

BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<Shift<0, -1>>)->Name("ShiftUp")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<Shift<1, 0>>)->Name("ShiftRight")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<Shift<0, 1>>)->Name("ShiftDown")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<Shift<-1, 0>>)->Name("ShiftLeft")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<gk::MirrorVertical>)->Name("MirrorVertical")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<gk::MirrorHorizontal>)->Name("MirrorHorizontal")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<gk::Rotate>)->Name("Rotate")->Unit(benchmark::kMillisecond);
BENCHMARK(Command<&TForm1::mnShiftUp>)->Name("Command/ShiftUp")->Unit(benchmark::kMillisecond);
BENCHMARK(Command<&TForm1::mnShiftRight>)
    ->Name("Command/ShiftRight")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Command<&TForm1::mnShiftDown>)->Name("Command/ShiftDown")->Unit(benchmark::kMillisecond);
BENCHMARK(Command<&TForm1::mnShiftLeft>)->Name("Command/ShiftLeft")->Unit(benchmark::kMillisecond);
BENCHMARK(Command<&TForm1::mnMirrorV>)
    ->Name("Command/MirrorVertical")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Command<&TForm1::mnMirrorH>)
    ->Name("Command/MirrorHorizontal")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Command<&TForm1::rotate1>)->Name("Command/Rotate")->Unit(benchmark::kMillisecond);
BENCHMARK(FirstRotateCommand)
    ->Name("Command/RotateFirst")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(FillCommand)->Name("Command/Fill")->Unit(benchmark::kMillisecond);
BENCHMARK(UndoCommand<true>)->Name("Command/UndoAfterRotate")->Unit(benchmark::kMillisecond);
BENCHMARK(UndoCommand<false>)->Name("Command/UndoAfterPress")->Unit(benchmark::kMillisecond);

// Prints the usual table, then every benchmark's time as a multiple of the baseline's.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const std::string name = run.benchmark_name();
      if (!times_.count(name)) order_.push_back(name);
      times_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto base = times_.find(Baseline);
    if (base == times_.end() || base->second.real <= 0 || base->second.cpu <= 0) return;
    std::cout << "\nTime relative to " << Baseline << " of the same document (real, CPU):\n";
    for (const std::string& name : order_) {
      const Times& t = times_[name];
      std::cout << "  " << name << ": " << t.real / base->second.real << "x, "
                << t.cpu / base->second.cpu << "x\n";
    }
  }

 private:
  std::vector<std::string> order_;
  struct Times {
    double real = 0, cpu = 0;
  };
  std::map<std::string, Times> times_;
};

}  // namespace

int main(int argc, char** argv) {
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
