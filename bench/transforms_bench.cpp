// The whole-image transforms on a 4096 x 4096 24-bit document, each reported as a ratio to a
// plain copy of the document's bytes measured in the same run.
#include <cstdint>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/surface.h"
#include "workspace/transforms.h"

namespace {

constexpr int kSide = 4096;
constexpr const char* kBaseline = "Memcpy";

gk::Surface MakeDocument() {
  gk::Surface s(kSide, kSide, gk::PixelFormat::Rgb24(), gk::Black);
  for (int y = 0; y < kSide; ++y) {
    std::uint32_t* row = s.Row(y);
    for (int x = 0; x < kSide; ++x)
      row[x] = static_cast<std::uint32_t>(x * 2654435761u + y) & 0xFFFFFF;
  }
  return s;
}

std::size_t DocumentBytes(const gk::Surface& s) {
  return static_cast<std::size_t>(s.Width()) * s.Height() * sizeof(std::uint32_t);
}

void Memcpy(benchmark::State& state) {
  const gk::Surface old = MakeDocument();
  gk::Surface doc = old;
  const std::size_t bytes = DocumentBytes(old);
  for (auto _ : state) {
    std::memcpy(doc.Row(0), old.Row(0), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
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
BENCHMARK(Transform<gk::ShiftUp>)->Name("ShiftUp")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<gk::ShiftRight>)->Name("ShiftRight")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<gk::ShiftDown>)->Name("ShiftDown")->Unit(benchmark::kMillisecond);
BENCHMARK(Transform<gk::ShiftLeft>)->Name("ShiftLeft")->Unit(benchmark::kMillisecond);
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
    const auto base = times_.find(kBaseline);
    if (base == times_.end() || base->second.real <= 0 || base->second.cpu <= 0) return;
    std::cout << "\nTime relative to " << kBaseline << " of the same document (real, CPU):\n";
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
