#include "widgets/tool_cursors.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "widgets/glyphs.h"

namespace gk {
namespace {

// In the glyphs' colours, distinct, acting at a pixel of the shape itself, and with a white rim
// between every other colour and the background, so the pointer shows over black cells too.
TEST(ToolCursorTest, FourDistinctShapesRimmedInWhiteActingAtTheirTip) {
  const std::set<QRgb> classic(ClassicColours().begin(), ClassicColours().end());
  const QRgb white = qRgb(255, 255, 255);
  std::vector<QImage> seen;
  for (int i = 0; i < 4; ++i) {
    const CursorPicture picture = DrawToolCursor(static_cast<ToolCursor>(i));
    const QImage& image = picture.image;
    ASSERT_EQ(image.size(), QSize(ToolCursorSide, ToolCursorSide));
    auto opaque = [&](int x, int y) {
      return image.rect().contains(x, y) && qAlpha(image.pixel(x, y)) == 255;
    };
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        if (qAlpha(p) == 0) continue;
        EXPECT_TRUE(classic.count(p)) << i << ": " << x << "," << y;
        const bool rimmed = opaque(x - 1, y - 1) && opaque(x, y - 1) && opaque(x + 1, y - 1) &&
                            opaque(x - 1, y) && opaque(x + 1, y) && opaque(x - 1, y + 1) &&
                            opaque(x, y + 1) && opaque(x + 1, y + 1);
        EXPECT_TRUE(p == white || rimmed) << i << ": no rim beside " << x << "," << y;
      }
    }
    EXPECT_TRUE(opaque(picture.hotSpot.x(), picture.hotSpot.y()));
    EXPECT_NE(image.pixel(picture.hotSpot), white) << i << ": the hot spot lies on the rim";
    for (const QImage& other : seen) EXPECT_NE(image, other);
    seen.push_back(image);
  }
}

}  // namespace
}  // namespace gk
