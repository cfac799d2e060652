// Resident memory of the editor, through the real main window (offscreen), after opening a
// 16384 x 4096 8-bit file and after its first edit, against twice the file's pixel bytes (the
// document and the undo copy) on top of what the window held before the open. One run in a
// process of its own, since memory freed by earlier work would hide growth:
//   QT_QPA_PLATFORM=offscreen build-release/bench/document_memory_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <cstdint>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "editor/document_files.h"
#include "editor/picture_files.h"
#include "widgets/image_widget.h"

namespace gk {
namespace {

constexpr int FileWidth = 16384;
constexpr int FileHeight = 4096;

// VmRSS of this process in bytes.
double ResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      double kib = 0;
      status >> kib;
      return kib * 1024;
    }
    status.ignore(1 << 20, '\n');
  }
  throw std::runtime_error("no VmRSS in /proc/self/status");
}

// A picture with a stripe of every table colour, so that no page of it is all zeros.
void WriteLargeFile(const std::string& path) {
  std::vector<Colour> table;
  for (int i = 0; i < 256; ++i) {
    table.push_back(MakeColour(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                               static_cast<std::uint8_t>(i * 3)));
  }
  Surface picture = Surface::Unfilled(FileWidth, FileHeight, PixelFormat::Indexed(8, table));
  for (int y = 0; y < FileHeight; ++y) {
    std::uint8_t* row = picture.Row<std::uint8_t>(y);
    for (int x = 0; x < FileWidth; ++x) row[x] = static_cast<std::uint8_t>((x / 8 + y) & 255);
  }
  SaveBmpFile(path, picture);
}

void Press(QWidget* widget, QPoint at) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
    QApplication::processEvents();
  }
}

void OpenAndFirstEdit(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string appDir = (dir.path() + "/").toStdString();
  SaveBmpFile(appDir + "palette.bmp", Surface(384, 144, PixelFormat::Rgb24(), 0x808080));
  const std::string path = appDir + "large.bmp";
  WriteLargeFile(path);
  const double pixelBytes = double{FileWidth} * FileHeight;

  TForm1 form(appDir);
  form.show();
  QApplication::processEvents();
  double before = 0, opened = 0, edited = 0;
  for (auto _ : state) {
    before = ResidentBytes();
    LoadImageFile(form.ctx, path);
    QApplication::processEvents();
    opened = ResidentBytes();
    Press(form.ImgMain, {40, 40});
    edited = ResidentBytes();
  }
  if (form.ctx.Document().Width() != FileWidth || !form.ctx.controls.ImgViewB.HasSurface()) {
    state.SkipWithError("the file did not open, or the edit took no snapshot");
  }
  form.ctx.state.Modified = false;
  state.counters["before_MiB"] = before / (1 << 20);
  state.counters["opened_MiB"] = opened / (1 << 20);
  state.counters["edited_MiB"] = edited / (1 << 20);
  state.counters["pixels_MiB"] = pixelBytes / (1 << 20);
  // Growth against what the document (and then its undo copy too) hold at one byte a pixel.
  state.counters["open_ratio"] = (opened - before) / pixelBytes;
  state.counters["edit_ratio"] = (edited - before) / (2 * pixelBytes);
}

BENCHMARK(OpenAndFirstEdit)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gk

int main(int argc, char** argv) {
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
