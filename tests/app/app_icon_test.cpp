#include "widgets/app_icon.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <set>

#include "app/main_window.h"
#include "support/main_window_fixture.h"
#include "widgets/glyphs.h"

namespace gk {
namespace {

// Opaque pixels in the sixteen glyph colours and nothing half transparent: what smoothing or
// thin lines would add shows up here. Returns the number of opaque pixels.
int CountCrispPixels(const QImage& image) {
  const std::set<QRgb> classic(ClassicColours().begin(), ClassicColours().end());
  int opaque = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qAlpha(p) == 0) continue;
      EXPECT_EQ(qAlpha(p), 255) << "at " << x << "," << y;
      EXPECT_TRUE(classic.count(p | 0xFF000000u)) << std::hex << p << " at " << x << "," << y;
      ++opaque;
    }
  }
  return opaque;
}

TEST(AppIconTest, EveryGlyphAndTheIconAreDrawnCrispAtEveryThemeSize) {
  for (int side : AppIconSides) {
    SCOPED_TRACE(side);
    for (Glyph glyph : AllGlyphs) {
      SCOPED_TRACE(static_cast<int>(glyph));
      const QImage image = DrawGlyph(glyph, side);
      ASSERT_EQ(image.size(), QSize(side, side));
      CountCrispPixels(image);
    }
    const QImage icon = DrawAppIcon(side);
    ASSERT_EQ(icon.size(), QSize(side, side));
    // The sheets and shapes fill most of the square at every size.
    EXPECT_GT(CountCrispPixels(icon), side * side / 2);
  }
  // Drawn afresh, a large icon is not the 32-pixel one blown up: its circle and slopes are
  // smooth where the blown-up one shows 8 x 8 steps.
  const QImage blownUp =
      DrawAppIcon(32).scaled(256, 256, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  EXPECT_NE(DrawAppIcon(256), blownUp);
}

using MainWindowIconTest = test::MainWindowFixture;

TEST_F(MainWindowIconTest, TheMainWindowShowsTheIcon) {
  Start();
  const QIcon icon = form->windowIcon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32), DrawAppIcon(32));
}

}  // namespace
}  // namespace gk
