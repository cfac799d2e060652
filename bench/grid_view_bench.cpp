// RedrawGrid and one drag step on the view, each against std::fill of the grid surface's pixels
// measured in the same run. Run a release build:
//   QT_QPA_PLATFORM=offscreen build-release/bench/grid_view_bench
#include <benchmark/benchmark.h>

#include "bench/null_editor_ui.h"
#include "bench/surface_fill_baseline.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

#include "app/main_window.h"
#include "editor/grid_view.h"
#include "editor/picture_files.h"
#include "widgets/image_widget.h"

namespace gk {
namespace {

struct GridSetup {
  int dot, window, image;
};
constexpr GridSetup Defaults{37, 16, 32};
constexpr GridSetup Large{16, 64, 128};

// A context whose document has a different colour in every pixel.
std::unique_ptr<EditorContext> MakeContext(NullEditorUi& ui, const GridSetup& setup) {
  auto ctx = std::make_unique<EditorContext>(ui);
  EditorState& s = ctx->state;
  s.DotSize = setup.dot;
  s.Width = s.Height = setup.image;
  s.Width2 = s.Height2 = setup.window;
  Surface doc(setup.image, setup.image, PixelFormat::Rgb24(), Black);
  for (int y = 0; y < setup.image; ++y) {
    for (int x = 0; x < setup.image; ++x)
      doc.WritePixel(x, y,
                     MakeColour(static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5),
                                static_cast<std::uint8_t>(x ^ y)));
  }
  ctx->controls.ImgView.SetSurface(std::move(doc));
  ctx->controls.ImgMain.SetBounds(0, 0, setup.dot * setup.window, setup.dot * setup.window);
  return ctx;
}

void RedrawGridAt(benchmark::State& state, GridSetup setup) {
  NullEditorUi ui;
  auto ctx = MakeContext(ui, setup);
  for (auto _ : state) {
    RedrawGrid(*ctx);
    benchmark::DoNotOptimize(ctx->controls.ImgMain.Canvas().Bytes(0));
    benchmark::ClobberMemory();
  }
}

// The floor: writing every pixel of the grid surface once.
void FillGridAt(benchmark::State& state, GridSetup setup) {
  NullEditorUi ui;
  auto ctx = MakeContext(ui, setup);
  MeasureSurfaceFill(state, ctx->controls.ImgMain.Canvas());
}

BENCHMARK_CAPTURE(FillGridAt, defaults, Defaults);
BENCHMARK_CAPTURE(RedrawGridAt, defaults, Defaults);
BENCHMARK_CAPTURE(FillGridAt, window64_dot16, Large);
BENCHMARK_CAPTURE(RedrawGridAt, window64_dot16, Large);

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

// One drag step as the user makes it: a move with the left button held on the shown view,
// through the redraw, to the grid widget repainted and the pending marker repaints done.
void DragStep(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string appDir = (dir.path() + "/").toStdString();
  SaveBmpFile(appDir + "palette.bmp", Surface(384, 144, PixelFormat::Rgb24(), 0x808080));
  TForm1 form(appDir);
  form.show();
  QApplication::processEvents();
  SendMouse(form.ImgView, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  int x = 10;
  for (auto _ : state) {
    x = x == 10 ? 12 : 10;  // the origin changes on every step
    SendMouse(form.ImgView, QEvent::MouseMove, {x, 10}, Qt::NoButton, Qt::LeftButton);
    QApplication::processEvents();
  }
  SendMouse(form.ImgView, QEvent::MouseButtonRelease, {x, 10}, Qt::LeftButton, Qt::NoButton);
  form.ctx.state.Modified = false;
}

BENCHMARK(DragStep)->Unit(benchmark::kMicrosecond);

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
