// Resident memory of the editor, through the real main window (offscreen), after opening a
// 16384 x 4096 8-bit file and after its first pen stroke, against the file's pixel bytes, on top
// of what the window held before the open. The undo copy takes only the rows the stroke wrote,
// so the stroke should add next to nothing. One run in a process of its own, since memory freed
// by earlier work would hide growth:
//   QT_QPA_PLATFORM=offscreen build-release/bench/document_memory_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "bench/editor_window.h"
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

// A pen stroke across the grid's diagonal, one move into each cell.
void Stroke(QWidget* grid, int dot, int cells) {
  const auto cell = [dot](int i) { return QPoint(i * dot + dot / 2, i * dot + dot / 2); };
  SendMouse(grid, QEvent::MouseButtonPress, cell(0), Qt::LeftButton, Qt::LeftButton);
  for (int i = 1; i < cells; ++i) {
    SendMouse(grid, QEvent::MouseMove, cell(i), Qt::NoButton, Qt::LeftButton);
  }
  SendMouse(grid, QEvent::MouseButtonRelease, cell(cells - 1), Qt::LeftButton, Qt::NoButton);
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
    Stroke(form.ImgMain, form.ctx.state.DotSize, form.ctx.state.Width2);
    edited = ResidentBytes();
  }
  const Surface& doc = form.ctx.Document();
  const int last = form.ctx.state.Width2 - 1;
  if (doc.Width() != FileWidth || !form.ctx.controls.ImgViewB.HasSurface() ||
      doc.ReadPixel(last, last) != doc.Decode(doc.Encode(form.ctx.state.CurColor))) {
    state.SkipWithError("the file did not open, or the stroke did not draw");
  }
  form.ctx.state.Modified = false;
  state.counters["before_MiB"] = before / (1 << 20);
  state.counters["opened_MiB"] = opened / (1 << 20);
  state.counters["edited_MiB"] = edited / (1 << 20);
  state.counters["pixels_MiB"] = pixelBytes / (1 << 20);
  // Growth against what the document holds at one byte a pixel.
  state.counters["open_ratio"] = (opened - before) / pixelBytes;
  state.counters["edit_ratio"] = (edited - before) / pixelBytes;
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
