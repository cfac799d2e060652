#include "image/halftone_conversion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "image/halftone_palette.h"

#include "support/surface_pixels.h"

namespace gk {
namespace {

using testing::RandomColours;

using testing::RawPixels;

PixelFormat With(PixelFormat f, BmpHeaderKind header) {
  f.header = header;
  return f;
}

TEST(HalftoneConversion, EightBitsStayAndOthersTakeTheNearestPaletteIndex) {
  const auto& palette = HalftonePalette();

  Surface eight(3, 2, PixelFormat::Indexed(8, RandomColours(7, 11)));
  eight.WritePixel(1, 1, eight.Format().colourTable[5]);
  const Surface same = ConvertTo8BitHalftone(eight);
  EXPECT_EQ(same.Format(), eight.Format());
  EXPECT_EQ(RawPixels(same), RawPixels(eight));

  // Many colours, so the lookup cache collides and evicts.
  const int w = 64, h = 64;
  for (const PixelFormat& format :
       {PixelFormat::Rgb24(), With(PixelFormat::Rgb24(), BmpHeaderKind::Core),
        PixelFormat::Rgb565(), PixelFormat::Indexed(4, RandomColours(16, 12))}) {
    SCOPED_TRACE(format.bitsPerPixel);
    Surface s(w, h, format);
    const std::vector<Colour> colours = RandomColours(w * h / 2, 13);
    for (int i = 0; i < w * h; ++i) s.WritePixel(i % w, i / w, colours[(i * 7) % colours.size()]);
    s.WritePixel(0, 0, palette[123]);

    const Surface out = ConvertTo8BitHalftone(s);
    EXPECT_EQ(out.Format(),
              PixelFormat::Indexed(8, std::vector<Colour>(palette.begin(), palette.end())));
    ASSERT_EQ(out.Width(), w);
    ASSERT_EQ(out.Height(), h);
    if (format.bitsPerPixel == 24) {
      EXPECT_EQ(out.Row<std::uint8_t>(0)[0], 123u);
    }
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const Colour c = s.ReadPixel(x, y);
        ASSERT_EQ(out.Row<std::uint8_t>(y)[x],
                  static_cast<std::uint32_t>(NearestColourIndex(palette.data(), 256, c)))
            << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace gk
