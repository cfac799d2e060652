#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "image/bmp_codec.h"
#include "image/halftone_conversion.h"

namespace {

constexpr int Side = 2048;

// A picture with pixel-art statistics: a few hundred colours in runs, over the whole surface.
gk::Surface Picture(const gk::PixelFormat& format) {
  gk::Surface s(Side, Side, format);
  for (int y = 0; y < Side; ++y) {
    for (int x = 0; x < Side; ++x) {
      if (format.IsIndexed()) {
        s.Row<std::uint8_t>(y)[x] = static_cast<std::uint8_t>((x / 16 + y / 16) & 255);
      } else {
        s.Row<std::uint32_t>(y)[x] = s.Encode(gk::MakeColour(
            static_cast<std::uint8_t>((x / 16) * 8), static_cast<std::uint8_t>((y / 16) * 8),
            static_cast<std::uint8_t>(((x + y) / 64) * 16)));
      }
    }
  }
  return s;
}

gk::PixelFormat Grey256() {
  std::vector<gk::Colour> table;
  for (int i = 0; i < 256; ++i) table.push_back(gk::MakeColour(i, i, 255 - i));
  return gk::PixelFormat::Indexed(8, table);
}

struct Fixture {
  gk::Surface surface;
  std::vector<std::uint8_t> file;
  std::size_t pixelBytes;
};

const Fixture& Get(int bits) {
  static const std::map<int, Fixture> fixtures = [] {
    std::map<int, Fixture> m;
    for (int b : {24, 8}) {
      gk::Surface s = Picture(b == 24 ? gk::PixelFormat::Rgb24() : Grey256());
      const gk::BmpBytes encoded = gk::EncodeBmp(s);
      std::vector<std::uint8_t> file(encoded.begin(), encoded.end());
      const std::size_t offset = file[10] | (file[11] << 8) | (file[12] << 16);
      const std::size_t pixelBytes = file.size() - offset;
      m.emplace(b, Fixture{std::move(s), std::move(file), pixelBytes});
    }
    return m;
  }();
  return fixtures.at(bits);
}

// The baseline: copying the pixel bytes of the same file once.
void BM_Memcpy(benchmark::State& state) {
  const Fixture& f = Get(static_cast<int>(state.range(0)));
  std::vector<std::uint8_t> to(f.pixelBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), f.file.data() + f.file.size() - f.pixelBytes, f.pixelBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

// A second floor: copying the surface's own pixels (one byte a pixel at 8 bits, four at 24),
// the least a decode that fills a Surface or an encode that reads one must move.
void BM_MemcpySurface(benchmark::State& state) {
  const Fixture& f = Get(static_cast<int>(state.range(0)));
  const std::size_t bytes = f.surface.RowBytes() * Side;
  std::vector<std::uint8_t> to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), f.surface.Bytes(0), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

void BM_Decode(benchmark::State& state) {
  const Fixture& f = Get(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    gk::Surface s = gk::DecodeBmp(f.file, "bench.bmp");
    benchmark::DoNotOptimize(s.Bytes(0));
  }
}

void BM_Encode(benchmark::State& state) {
  const Fixture& f = Get(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    gk::BmpBytes out = gk::EncodeBmp(f.surface);
    benchmark::DoNotOptimize(out.data());
  }
}

void BM_Halftone(benchmark::State& state) {
  const Fixture& f = Get(24);
  for (auto _ : state) {
    gk::Surface s = gk::ConvertTo8BitHalftone(f.surface);
    benchmark::DoNotOptimize(s.Bytes(0));
  }
}

BENCHMARK(BM_Memcpy)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpySurface)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Halftone)->Unit(benchmark::kMillisecond);

// Prints the usual table, then each codec figure as a multiple of the memcpy of its own bytes.
// CPU time, not wall time: on a shared machine wall time mostly measures the neighbours.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration)
        times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    auto ratio = [&](const std::string& name, const std::string& base) {
      return times_.count(name) && times_.count(base) ? times_[name] / times_[base] : 0.0;
    };
    auto line = [&](const std::string& name, const std::string& bits) {
      if (!times_.count(name)) return;
      std::printf("%-14s %6.2f x memcpy of the file's pixel bytes, %5.2f x memcpy of the surface\n",
                  name.c_str(), ratio(name, "BM_Memcpy/" + bits),
                  ratio(name, "BM_MemcpySurface/" + bits));
    };
    for (const std::string bits : {"24", "8"}) {
      line("BM_Decode/" + bits, bits);
      line("BM_Encode/" + bits, bits);
    }
    line("BM_Halftone", "24");
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
