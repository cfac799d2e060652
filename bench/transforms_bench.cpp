// The whole-image transforms on a 4096 x 4096 24-bit document, each reported as a ratio to a
// plain copy of the document's bytes measured in the same run.
#include <cstdint>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "image/image_transforms.h"
#include "image/surface.h"

namespace {

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

BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<Shift<0, -1>>)->Name("ShiftUp")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<Shift<1, 0>>)->Name("ShiftRight")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<Shift<0, 1>>)->Name("ShiftDown")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<Shift<-1, 0>>)->Name("ShiftLeft")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<gk::MirrorVertical>)->Name("MirrorVertical")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<gk::MirrorHorizontal>)->Name("MirrorHorizontal")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<gk::Rotate>)->Name("Rotate")->Unit(benchmark::kMillisecond);

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
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
