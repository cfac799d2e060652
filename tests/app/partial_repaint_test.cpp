// Repaints follow what changed: a plot repaints one grid square and one doubled document pixel of
// the view whatever the document's size, and the screen (the window's backing store, not a
// fresh rendering) shows every change.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QScreen>
#include <QToolButton>

#include <optional>
#include <vector>

#include "support/main_window_fixture.h"
#include "widgets/image_widget.h"

namespace gk {
namespace {

using test::SendMouse;

constexpr int Dot = 37;

// Records the region of every paint event its widget gets.
class PaintLog : public QObject {
 public:
  explicit PaintLog(QWidget* widget) { widget->installEventFilter(this); }
  QRegion Painted() const { return painted_; }
  void Clear() { painted_ = QRegion(); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted_ += static_cast<QPaintEvent*>(event)->region();
    return false;
  }

 private:
  QRegion painted_;
};

// What the screen shows of a widget: its part of the window's backing store.
QImage OnScreen(QWidget* widget) {
  QWidget* window = widget->window();
  const QPoint at = widget->mapTo(window, QPoint(0, 0));
  return window->screen()
      ->grabWindow(window->winId(), at.x(), at.y(), widget->width(), widget->height())
      .toImage();
}

QRgb Rgb(Colour c) {
  return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

class PartialRepaintTest : public test::MainWindowFixture {};

TEST_F(PartialRepaintTest, APlotRepaintsOneSquareAndOneViewPixelAtAnyDocumentSize) {
  for (const char* settings : {"Width=32\r\nHeight=32\r\n", "Width=4096\r\nHeight=4096\r\n"}) {
    SCOPED_TRACE(settings);
    Start(settings);
    form->show();
    QApplication::processEvents();
    PaintLog grid(form->ImgMain), view(form->ImgView);

    form->ctx.state.CurColor = 0x3366CC;
    SendMouse(form->ImgMain, QEvent::MouseButtonPress, {3 * Dot + 4, 2 * Dot + 30}, Qt::LeftButton,
              Qt::LeftButton);
    EXPECT_EQ(grid.Painted(), QRegion(3 * Dot, 2 * Dot, Dot, Dot));
    EXPECT_EQ(view.Painted(), QRegion(6, 4, 2, 2));

    grid.Clear();
    view.Clear();
    SendMouse(form->ImgMain, QEvent::MouseMove, {4 * Dot + 1, 2 * Dot + 1}, Qt::NoButton,
              Qt::LeftButton);
    EXPECT_EQ(grid.Painted(), QRegion(4 * Dot, 2 * Dot, Dot, Dot));
    EXPECT_EQ(view.Painted(), QRegion(8, 4, 2, 2));

    // The screen shows both dots in the grid and doubled in the view, and nothing else moved.
    const QImage shownGrid = OnScreen(form->ImgMain);
    const QImage shownView = OnScreen(form->ImgView);
    for (int cell : {3, 4}) {
      EXPECT_EQ(shownGrid.pixel(cell * Dot, 2 * Dot) & 0xFFFFFF, Rgb(0x3366CC) & 0xFFFFFF);
      EXPECT_EQ(shownGrid.pixel(cell * Dot + Dot - 1, 3 * Dot - 1) & 0xFFFFFF,
                Rgb(0x3366CC) & 0xFFFFFF);
      for (int dy : {0, 1}) {
        for (int dx : {0, 1}) {
          EXPECT_EQ(shownView.pixel(2 * cell + dx, 4 + dy) & 0xFFFFFF, Rgb(0x3366CC) & 0xFFFFFF);
        }
      }
    }
    EXPECT_EQ(shownGrid.pixel(5 * Dot, 2 * Dot) & 0xFFFFFF, 0u);
    EXPECT_EQ(shownView.pixel(10, 4) & 0xFFFFFF, 0u);
    EXPECT_EQ(shownView.pixel(6, 3) & 0xFFFFFF, 0u);
  }
}

TEST_F(PartialRepaintTest, WholeImageChangesRepaintWhatTheyChangedAndTheScreenFollows) {
  Start("Width=24\r\nHeight=20\r\n");
  form->show();
  QApplication::processEvents();
  PaintLog view(form->ImgView);
  form->ctx.state.CurColor = Red;
  SendMouse(form->ImgMain, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(form->ImgMain, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);

  // Rotate moves the dot from (0, 0) to (0, 19); the view repaints whole, once the window asks.
  view.Clear();
  form->rotate1->trigger();
  QApplication::processEvents();
  EXPECT_EQ(view.Painted().boundingRect(), QRect(0, 0, 48, 40));
  QImage shown = OnScreen(form->ImgView);
  EXPECT_EQ(shown.pixel(0, 38) & 0xFFFFFF, Rgb(Red) & 0xFFFFFF);
  EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0u);

  // Undo brings the dot back on screen.
  form->Undo1->trigger();
  QApplication::processEvents();
  shown = OnScreen(form->ImgView);
  EXPECT_EQ(shown.pixel(1, 1) & 0xFFFFFF, Rgb(Red) & 0xFFFFFF);
  EXPECT_EQ(shown.pixel(0, 38) & 0xFFFFFF, 0u);

  // A fill repaints the region it filled, here the whole image but the dot.
  view.Clear();
  form->ctx.state.CurColor = White;
  form->btnPaint->click();
  SendMouse(form->ImgMain, QEvent::MouseButtonPress, {3 * Dot, 3 * Dot}, Qt::LeftButton,
            Qt::LeftButton);
  shown = OnScreen(form->ImgView);
  EXPECT_EQ(shown.pixel(47, 39) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, Rgb(Red) & 0xFFFFFF);
}

// A source whose surface the test sets.
struct TestSource : ImageSource {
  std::optional<Surface> surface;
  const Surface* SurfaceIfAny() const override { return surface ? &*surface : nullptr; }
};

TEST(ImageWidgetRepaintTest, ChangedPixelsMapToTheWidgetPixelsShowingThem) {
  TestSource source;
  source.surface.emplace(10, 4, PixelFormat::Indexed(8, {Black, White}), Black);
  ImageWidget plain(source, false);
  plain.setGeometry(0, 0, 12, 6);
  EXPECT_EQ(plain.WidgetRectOf({2, 1, 5, 3}), QRect(2, 1, 3, 2));
  EXPECT_EQ(plain.WidgetRectOf({8, 0, 10, 4}), QRect(8, 0, 2, 4));
  EXPECT_TRUE(plain.WidgetRectOf({}).isEmpty());

  ImageWidget doubled(source, true);
  doubled.setGeometry(0, 0, 20, 8);
  EXPECT_EQ(doubled.WidgetRectOf({3, 1, 4, 2}), QRect(6, 2, 2, 2));
  EXPECT_EQ(doubled.WidgetRectOf({0, 0, 10, 4}), QRect(0, 0, 20, 8));

  // At a scale that is not whole, the part covers every widget pixel that may show a pixel of
  // the change, and the widget then shows the change wherever it is.
  ImageWidget odd(source, true);
  odd.setGeometry(0, 0, 25, 7);
  odd.show();
  QApplication::processEvents();
  const QRect part = odd.WidgetRectOf({3, 1, 4, 2});
  source.surface->WritePixel(3, 1, White);
  odd.RepaintChanged(source.surface->TakeChanged(), false);
  const QImage shown = OnScreen(&odd);
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      if ((shown.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) {
        EXPECT_TRUE(part.contains(x, y)) << x << ", " << y;
      }
    }
  }
  EXPECT_EQ(shown.pixel(9, 2) & 0xFFFFFF, 0xFFFFFFu);  // the middle of pixel (3, 1)
}

}  // namespace
}  // namespace gk
