// Rebuilding the series menu over a folder of 100,000 BMP files of one series: the logic alone,
// and the logic with the real main window's menu (offscreen), each as a ratio to a bare listing
// of the same folder in the same run. BM_RebuildMemory reports the resident memory across ten
// rebuilds of the window's menu. Run a release build:
//   QT_QPA_PLATFORM=offscreen build-release/bench/series_menu_bench
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QMenu>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "bench/null_editor_ui.h"
#include "editor/picture_files.h"
#include "editor/series_menu.h"

namespace {

namespace fs = std::filesystem;

constexpr int FileCount = 100000;
constexpr int RebuildsForMemory = 10;

// A folder of FileCount empty BMP files, hero0.bmp to hero99999.bmp, and an AppDir with a palette
// for the window.
class SeriesFolder {
 public:
  SeriesFolder() {
    std::string pattern = (fs::temp_directory_path() / "gk_series_bench_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern + "/";
    path_ = root_ + "series/";
    fs::create_directory(path_);
    for (int i = 0; i < FileCount; ++i) {
      const std::string name = path_ + "hero" + std::to_string(i) + ".bmp";
      const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd < 0) throw std::runtime_error("cannot make " + name);
      close(fd);
    }
    gk::SaveBmpFile(root_ + "palette.bmp", gk::Surface(384, 144, gk::PixelFormat::Rgb24()));
  }
  ~SeriesFolder() { fs::remove_all(root_); }
  const std::string& Path() const { return path_; }
  const std::string& AppDir() const { return root_; }

 private:
  std::string root_;
  std::string path_;
};

const SeriesFolder& Folder() {
  static const SeriesFolder folder;
  return folder;
}

// The main window with a series file of the folder as its document path.
std::unique_ptr<gk::TForm1> MakeWindow() {
  auto form = std::make_unique<gk::TForm1>(Folder().AppDir());
  form->ctx.documentPath = Folder().Path() + "hero7.bmp";
  return form;
}

// Old menus and items go with deleteLater, which the event loop runs. The benchmark has no loop:
// it runs the deletions here, then the rest of the queue as a pass of the loop does (Qt drops the
// queue's delivered entries only in a pass over every event type).
void DeleteOldMenus() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::sendPostedEvents();
}

double ResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
         (1024.0 * 1024.0);
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
BENCHMARK(BM_BareListing)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_QDirListing)->Unit(benchmark::kMillisecond);

// The logic: listing, filter and sort, without a window.
void BM_RebuildSeriesMenu(benchmark::State& state) {
  gk::NullEditorUi ui;
  gk::EditorContext ctx(ui);
  ctx.documentPath = Folder().Path() + "hero7.bmp";
  for (auto _ : state) {
    gk::RebuildSeriesMenu(ctx);
    benchmark::DoNotOptimize(ctx.seriesItems.data());
  }
  if (ctx.seriesItems.size() != FileCount) state.SkipWithError("unexpected series");
}
BENCHMARK(BM_RebuildSeriesMenu)->Unit(benchmark::kMillisecond);

// What "Save++", "Save as" and Open cost: the logic and the real window's menu, old menus freed.
void BM_RebuildSeriesMenuWindow(benchmark::State& state) {
  const auto form = MakeWindow();
  for (auto _ : state) {
    gk::RebuildSeriesMenu(form->ctx);
    DeleteOldMenus();
  }
  const auto groups = gk::SeriesGroups(FileCount);
  if (form->mnChrs->actions().size() != static_cast<qsizetype>(groups.size())) {
    state.SkipWithError("unexpected menu");
  }
  state.counters["entries"] = static_cast<double>(form->mnChrs->actions().size());
}
BENCHMARK(BM_RebuildSeriesMenuWindow)->Unit(benchmark::kMillisecond);

// Resident memory after the first of ten rebuilds and its growth over the other nine. Each
// rebuild also shows one group, so items are made too and must go with their group.
void BM_RebuildMemory(benchmark::State& state) {
  const auto form = MakeWindow();
  double first = 0;
  double last = 0;
  for (auto _ : state) {
    for (int i = 0; i < RebuildsForMemory; ++i) {
      gk::RebuildSeriesMenu(form->ctx);
      emit form->mnChrs->actions()[i]->menu()->aboutToShow();
      DeleteOldMenus();
      if (i == 0) first = ResidentMiB();
    }
    last = ResidentMiB();
  }
  state.counters["rss_first_MiB"] = first;
  state.counters["rss_growth_MiB"] = last - first;
}
BENCHMARK(BM_RebuildMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Prints each figure as a ratio to the bare listing of the same run. CPU time is compared: the
// machine is shared, and wall time there mostly measures the wait for a core.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_name.function_name == "BM_RebuildMemory") continue;
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
      std::printf("%-28s %.2fx the bare listing (CPU time)\n", name.c_str(),
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
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt sees only the program name; the rest is for the benchmark library.
  int qtArgc = argc > 0 ? 1 : 0;
  QApplication app(qtArgc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
