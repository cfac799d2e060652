// A PNG document's transparent pixels as the window shows them: over a checkerboard of two light
// greys, in the grid and in the view, never as black.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <set>

#include "app/main_window.h"
#include "editor/document_files.h"
#include "image/alpha_blend.h"
#include "support/main_window_fixture.h"
#include "support/png_samples.h"

namespace gk {
namespace {

class TransparencyWindowTest : public test::MainWindowFixture {};

// The colours a widget shows over a block of its pixels.
std::set<Colour> ShownColours(const QImage& shown, int left, int top, int size) {
  std::set<Colour> colours;
  for (int y = top; y < top + size; ++y) {
    for (int x = left; x < left + size; ++x) {
      const QRgb p = shown.pixel(x, y);
      colours.insert(MakeColour(qRed(p), qGreen(p), qBlue(p)));
    }
  }
  return colours;
}

TEST_F(TransparencyWindowTest, TransparentPixelsShowOverTheCheckerboard) {
  Start();
  form->show();
  // Its first row: white opaque, 200,100,50 at alpha 204, ..., 95,190,245 at alpha 0.
  LoadImageFile(form->ctx, testing::SamplePath("tints_fade_rgba8.png"));
  QApplication::processEvents();
  const int d = form->ctx.state.DotSize;
  const Colour tint = MakeColour(200, 100, 50);
  const std::set<Colour> checker{CheckerLight, CheckerDark};
  const std::set<Colour> tinted{Blend(tint, 204, CheckerLight), Blend(tint, 204, CheckerDark)};

  const QImage grid = form->ImgMain->grab().toImage();
  EXPECT_EQ(ShownColours(grid, 5 * d, 0, d), checker);
  EXPECT_EQ(ShownColours(grid, 1 * d, 0, d), tinted);
  EXPECT_EQ(ShownColours(grid, 0, 0, d), std::set<Colour>{White});

  // The view shows each pixel doubled, over a finer checkerboard.
  const QImage view = form->ImgView->grab().toImage();
  for (const Colour c : ShownColours(view, 10, 0, 2)) EXPECT_TRUE(checker.contains(c)) << c;
  for (const Colour c : ShownColours(view, 2, 0, 2)) EXPECT_TRUE(tinted.contains(c)) << c;
  EXPECT_EQ(ShownColours(view, 0, 0, 2), std::set<Colour>{White});
}

}  // namespace
}  // namespace gk
