// The PNG export of 1024 x 1024 pixel art through our library, with the record the editor
// passes, against libpng with all its default settings writing the same rows through the same
// file replacement, side by side in one run. Files go to /dev/shm where it exists, so that the
// disk's speed does not hide the encoders'. The pictures: a 64 x 64 sprite scaled 16 times, the
// shipped palette tiled, and a map of 16 x 16 tiles, each in 24 bits and over an 8-bit table.
//   build-release/bench/png_export_bench
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "editor/picture_files.h"
#include "editor/png_library.h"
#include "filesystem/file_io.h"
#include "image/halftone_conversion.h"
#include "tests/support/libpng_defaults.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

constexpr int Side = 1024;

std::string folder;

std::vector<Colour> Ramp(int n) {
  std::vector<Colour> c;
  for (int i = 0; i < n; ++i) {
    c.push_back(MakeColour(static_cast<std::uint8_t>(i * 53 + 7),
                           static_cast<std::uint8_t>(i * 29 + 60),
                           static_cast<std::uint8_t>(200 - i * 11)));
  }
  return c;
}

// A face in a circle over sky bands and a checked floor, 64 x 64, a dozen colours.
int SpriteIndex(int x, int y) {
  int v = y > 48 ? ((x / 4 + y / 4) & 1) + 1 : 3 + (y / 8) % 3;
  const double r = std::hypot(x - 32, y - 28);
  if (r < 18) v = 6;
  if (r >= 16 && r < 18) v = 7;
  if ((std::abs(x - 25) < 2 || std::abs(x - 39) < 2) && std::abs(y - 24) < 3) v = 8;
  if (y == 35 && x > 24 && x < 40) v = 9;
  if (r > 12 && r < 14 && y > 30) v = 10;
  return v;
}

int TileIndex(int x, int y) {
  const int tx = x / 16, ty = y / 16, lx = x % 16, ly = y % 16;
  switch (((tx * 7 + ty * 13) ^ (tx / 4 + ty / 3)) % 6) {
    case 0:
      return ly % 4 == 0 || (lx + ly / 4 * 8) % 16 == 0 ? 1 : 2;  // bricks
    case 1:
      return (lx * 5 + ly * 3) % 11 == 0 ? 4 : 3;  // grass
    case 2:
      return (lx + ly / 2 % 2 * 3) % 6 < 2 ? 6 : 5;  // water
    case 3:
      return lx == 0 || ly == 0 ? 7 : 8;  // stone
    case 4:
      return 9;  // plain
    default:
      return std::abs(lx - 8) + std::abs(ly - 8) < 6 ? 10 : 11;  // diamond
  }
}

Surface Picture(const std::function<Colour(int, int)>& colourAt, const PixelFormat& format) {
  Surface s(Side, Side, format, Black);
  for (int y = 0; y < Side; ++y) {
    for (int x = 0; x < Side; ++x) s.WritePixel(x, y, colourAt(x, y));
  }
  return s;
}

struct Fixture {
  std::string name;
  std::string bmp;
  png::ImageHandle image = nullptr;
  Surface surface;  // as the library loads it
};

std::vector<Fixture>& Fixtures() {
  static std::vector<Fixture> fixtures;
  return fixtures;
}

void AddFixture(const std::string& name, const Surface& picture) {
  Fixture f;
  f.name = name;
  f.bmp = folder + name + ".bmp";
  SaveBmpFile(f.bmp, picture);
  f.image = png::LoadBmp(f.bmp);
  f.surface = LoadBmpFile(f.bmp);
  Fixtures().push_back(std::move(f));
}

void MakeFixtures() {
  const std::vector<Colour> ramp = Ramp(16);
  const PixelFormat table = PixelFormat::Indexed(8, ramp);
  const auto sprite = [&](int x, int y) { return ramp[SpriteIndex(x / 16, y / 16)]; };
  const auto tiles = [&](int x, int y) { return ramp[TileIndex(x, y)]; };
  const Surface palette = LoadBmpFile(GK_ASSETS_DIR "/palette.bmp");
  const auto tiled = [&](int x, int y) {
    return palette.ReadPixel(x % palette.Width(), y % palette.Height());
  };
  AddFixture("sprite24", Picture(sprite, PixelFormat::Rgb24()));
  AddFixture("sprite8", Picture(sprite, table));
  const Surface tiled24 = Picture(tiled, PixelFormat::Rgb24());
  AddFixture("palette24", tiled24);
  AddFixture("palette8", ConvertTo8BitHalftone(tiled24));
  AddFixture("tiles24", Picture(tiles, PixelFormat::Rgb24()));
  AddFixture("tiles8", Picture(tiles, table));
}

void Export(benchmark::State& state, const Fixture* f) {
  png::PngOptions options;
  options.flags = 9;
  options.level = 9;
  options.field16 = options.field28 = options.field32 = 0;
  const std::string path = folder + f->name + ".png";
  for (auto _ : state) {
    if (png::WritePng(path, f->image, &options) != 0) state.SkipWithError(png::LastError().c_str());
  }
  state.counters["bytes"] = static_cast<double>(fs::file_size(path));
}

void LibpngDefaults(benchmark::State& state, const Fixture* f) {
  const std::string path = folder + f->name + "_defaults.png";
  for (auto _ : state) WriteFileAtomically(path, testing::EncodeWithLibpngDefaults(f->surface));
  state.counters["bytes"] = static_cast<double>(fs::file_size(path));
}

// The usual table, then each export's time and size as multiples of libpng's defaults.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const auto bytes = run.counters.find("bytes");
      results_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(),
                                        bytes == run.counters.end() ? 0 : bytes->second.value};
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nExport with the editor's record / libpng's defaults (same run):\n");
    for (const Fixture& f : Fixtures()) {
      const auto ours = results_.find("Export/" + f.name);
      const auto base = results_.find("LibpngDefaults/" + f.name);
      if (ours == results_.end() || base == results_.end()) continue;
      std::printf("  %-10s time %5.2fx real, %5.2fx CPU; file %5.2fx (%.0f / %.0f bytes)\n",
                  f.name.c_str(), ours->second.real / base->second.real,
                  ours->second.cpu / base->second.cpu, ours->second.bytes / base->second.bytes,
                  ours->second.bytes, base->second.bytes);
    }
  }

 private:
  struct Result {
    double real = 0, cpu = 0, bytes = 0;
  };
  std::map<std::string, Result> results_;
};

}  // namespace
}  // namespace gk

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path base =
      fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string pattern = (base / "gk_png_bench_XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  gk::folder = pattern + "/";
  gk::MakeFixtures();
  for (const gk::Fixture& f : gk::Fixtures()) {
    benchmark::RegisterBenchmark(("Export/" + f.name).c_str(), gk::Export, &f)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("LibpngDefaults/" + f.name).c_str(), gk::LibpngDefaults, &f)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  gk::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  for (const gk::Fixture& f : gk::Fixtures()) gk::png::Release(f.image);
  fs::remove_all(pattern);
  return 0;
}
