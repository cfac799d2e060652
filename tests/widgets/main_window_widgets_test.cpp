#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <optional>
#include <set>
#include <vector>

#include "editor/image_control.h"
#include "widgets/glyphs.h"
#include "widgets/image_widget.h"

namespace gk {
namespace {

// A source whose surface the test sets and takes away.
struct TestSource : ImageSource {
  std::optional<Surface> surface;
  const Surface* SurfaceIfAny() const override { return surface ? &*surface : nullptr; }
};

// What the widget shows, 1:1 or stretched, is each pixel's colour as the surface holds it.
TEST(ImageWidgetTest, EveryFormatShowsTheColoursItHolds) {
  struct Case {
    const char* name;
    PixelFormat format;
    std::vector<Colour> written;
  };
  auto masked = [](std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    PixelFormat f = PixelFormat::Rgb555();
    f.redMask = r;
    f.greenMask = g;
    f.blueMask = b;
    f.bitfields = true;
    return f;
  };
  const std::vector<Case> cases = {
      {"24-bit", PixelFormat::Rgb24(), {0x123456, Black, White, Red}},
      {"8-bit table",
       PixelFormat::Indexed(8, {Black, 0x00FF00, 0x0000FF, 0xABCDEF}),
       {0x00FF00, 0xABCDEF, Black, Red}},
      {"4-bit table", PixelFormat::Indexed(4, {0xFF0000, White}), {White, 0xFF0000}},
      {"5-6-5", PixelFormat::Rgb565(), {0xFF00FF, 0x00FF00, 0x102030}},
      {"4-4-4", masked(0x0F00, 0x00F0, 0x000F), {0x123456, 0xFEDCBA}},
      {"32-bit", PixelFormat::Rgb32(), {0x010203, 0xFEDCBA}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestSource source;
    source.surface.emplace(static_cast<int>(c.written.size()), 2, c.format, Black);
    Surface& surface = *source.surface;
    for (int x = 0; x < surface.Width(); ++x) surface.WritePixel(x, 1, c.written[x]);
    for (bool stretch : {false, true}) {
      const int scale = stretch ? 3 : 1;
      ImageWidget widget(source, stretch);
      widget.setGeometry(0, 0, surface.Width() * scale, 2 * scale);
      const QImage shown = widget.grab().toImage();
      for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
          const Colour held = surface.ReadPixel(x / scale, y / scale);
          ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF,
                    qRgb(RedOf(held), GreenOf(held), BlueOf(held)) & 0xFFFFFF)
              << x << ", " << y << (stretch ? " stretched" : "");
        }
      }
    }
  }
}

TEST(ImageWidgetTest, IndicesPastTheTableShowBlack) {
  TestSource source;
  source.surface.emplace(2, 1, PixelFormat::Indexed(8, {White, Red}), White);
  source.surface->Row<std::uint8_t>(0)[1] = 7;
  ImageWidget widget(source, false);
  widget.setGeometry(0, 0, 2, 1);
  const QImage shown = widget.grab().toImage();
  EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(shown.pixel(1, 0) & 0xFFFFFF, 0u);
}

TEST(ImageWidgetTest, StretchesNearestAndReportsPresses) {
  TestSource source;
  source.surface.emplace(3, 2, PixelFormat::Rgb24(), Black);
  source.surface->WritePixel(1, 0, Red);
  source.surface->WritePixel(2, 1, White);

  ImageWidget widget(source, true);
  widget.setGeometry(3, 4, 6, 4);
  const QImage shown = widget.grab().toImage();
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      const QRgb expected = x / 2 == 1 && y / 2 == 0   ? qRgb(255, 0, 0)
                            : x / 2 == 2 && y / 2 == 1 ? qRgb(255, 255, 255)
                                                       : qRgb(0, 0, 0);
      EXPECT_EQ(shown.pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF) << x << ", " << y;
    }
  }

  std::vector<std::tuple<int, int, Qt::MouseButton>> presses;
  std::vector<std::tuple<int, int, bool>> moves;
  widget.SetPressHandler([&](int x, int y, Qt::MouseButton b) { presses.emplace_back(x, y, b); });
  widget.SetMoveHandler([&](int x, int y, bool left) { moves.emplace_back(x, y, left); });
  auto send = [&](QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(p), widget.mapToGlobal(QPointF(p)), b, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
  };
  send(QEvent::MouseButtonPress, {2, 3}, Qt::MiddleButton, Qt::MiddleButton);
  send(QEvent::MouseMove, {-7, 40}, Qt::NoButton, Qt::MiddleButton | Qt::LeftButton);
  send(QEvent::MouseMove, {1, 1}, Qt::NoButton, Qt::RightButton);
  // The second press of a double click is a press too.
  send(QEvent::MouseButtonDblClick, {5, 0}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(presses, (std::vector<std::tuple<int, int, Qt::MouseButton>>{{2, 3, Qt::MiddleButton},
                                                                         {5, 0, Qt::LeftButton}}));
  EXPECT_EQ(moves, (std::vector<std::tuple<int, int, bool>>{{-7, 40, true}, {1, 1, false}}));
}

TEST(ImageWidgetTest, ShowsTheSourcesSurfaceWhileThereIsOne) {
  TestSource source;
  QWidget parent;
  parent.setStyleSheet("background: rgb(1, 2, 3)");
  parent.resize(5, 5);
  ImageWidget widget(source, false, &parent);
  widget.setGeometry(0, 0, 5, 5);
  EXPECT_EQ(parent.grab().toImage().pixel(2, 2) & 0xFFFFFF, qRgb(1, 2, 3) & 0xFFFFFF);

  // A surface that comes later shows, and goes again with it.
  source.surface.emplace(5, 5, PixelFormat::Rgb24(), Red);
  EXPECT_EQ(parent.grab().toImage().pixel(2, 2) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF);
  source.surface.reset();
  EXPECT_EQ(parent.grab().toImage().pixel(2, 2) & 0xFFFFFF, qRgb(1, 2, 3) & 0xFFFFFF);
}

// Painting the window must not create a surface the control has not made yet.
TEST(ImageWidgetTest, PaintingLeavesAControlWithoutASurface) {
  ImageControl control;
  control.SetBounds(0, 0, 5, 5);
  ImageWidget widget(control, false);
  widget.setGeometry(0, 0, 5, 5);
  widget.grab();
  EXPECT_FALSE(control.HasSurface());
}

TEST(GlyphTest, TenDistinctSixteenColourPictures) {
  const std::set<QRgb> classic(ClassicColours().begin(), ClassicColours().end());
  ASSERT_EQ(classic.size(), 16u);
  std::vector<QImage> seen;
  for (Glyph glyph : AllGlyphs) {
    SCOPED_TRACE(static_cast<int>(glyph));
    const QImage image = DrawGlyph(glyph);
    ASSERT_EQ(image.size(), QSize(GlyphSide, GlyphSide));
    std::set<QRgb> used;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        if (qAlpha(p) == 0) continue;
        EXPECT_EQ(qAlpha(p), 255);
        EXPECT_TRUE(classic.count(p | 0xFF000000u)) << std::hex << p << " at " << x << "," << y;
        used.insert(p);
      }
    }
    // An outline and a fill at least.
    EXPECT_GE(used.size(), 2u);
    for (const QImage& other : seen) EXPECT_NE(image, other);
    seen.push_back(image);
  }
}

}  // namespace
}  // namespace gk
