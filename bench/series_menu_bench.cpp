#include "files/series_menu.h"
#include "tests/support/fake_editor_ui.h"

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <unistd.h>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int FileCount = 10000;
constexpr int SeriesCount = 2000;

// A folder of empty BMP files: SeriesCount named hero<n>.bmp, the rest tile<n>.bmp.
class SeriesFolder {
 public:
  SeriesFolder() {
    std::string pattern = (fs::temp_directory_path() / "gk_series_bench_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern + "/";
    for (int i = 0; i < FileCount; ++i) {
      std::string name = (i < SeriesCount ? "hero" : "tile") + std::to_string(i) + ".bmp";
      std::ofstream file(path_ + name);
    }
  }
  ~SeriesFolder() { fs::remove_all(path_); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

const SeriesFolder& Folder() {
  static const SeriesFolder folder;
  return folder;
}

// The baseline: every name of the folder, nothing else done.
void BM_BareListing(benchmark::State& state) {
  const std::string& path = Folder().Path();
  for (auto _ : state) {
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    while (const dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
    closedir(dir);
    benchmark::DoNotOptimize(names.data());
    if (names.size() != FileCount + 2) state.SkipWithError("unexpected listing");
  }
}
BENCHMARK(BM_BareListing)->Unit(benchmark::kMicrosecond);

// For comparison: Qt's listing by the same pattern.
void BM_QDirListing(benchmark::State& state) {
  QDir dir(QString::fromStdString(Folder().Path()));
  for (auto _ : state) {
    QStringList names = dir.entryList(
        {"*.bmp"}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDir::NoSort);
    benchmark::DoNotOptimize(names.data());
  }
}
BENCHMARK(BM_QDirListing)->Unit(benchmark::kMicrosecond);

void BM_RebuildSeriesMenu(benchmark::State& state) {
  gk::testing::FakeEditorUi ui;
  gk::EditorContext ctx(ui);
  ctx.documentPath = Folder().Path() + "hero7.bmp";
  for (auto _ : state) {
    gk::RebuildSeriesMenu(ctx);
    benchmark::DoNotOptimize(ctx.seriesItems.data());
  }
  if (ctx.seriesItems.size() != SeriesCount) state.SkipWithError("unexpected series");
}
BENCHMARK(BM_RebuildSeriesMenu)->Unit(benchmark::kMicrosecond);

// Prints each figure as a ratio to the bare listing of the same run. CPU time is compared: the
// machine is shared, and wall time there mostly measures the wait for a core.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      Figure& figure = figures_[run.run_name.function_name];
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "mean") figure.mean = run.GetAdjustedCPUTime();
      } else {
        figure.sum += run.GetAdjustedCPUTime();
        ++figure.count;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto base = figures_.find("BM_BareListing");
    if (base == figures_.end() || base->second.Time() <= 0) return;
    for (const auto& [name, figure] : figures_) {
      std::printf("%-24s %.2fx the bare listing (CPU time)\n", name.c_str(),
                  figure.Time() / base->second.Time());
    }
  }

 private:
  struct Figure {
    double mean = -1;
    double sum = 0;
    int count = 0;
    double Time() const { return mean >= 0 ? mean : count > 0 ? sum / count : 0; }
  };
  std::map<std::string, Figure> figures_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
