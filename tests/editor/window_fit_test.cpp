#include "editor/window_fit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace gk {
namespace {

// Around the client area: a 19-pixel menu bar, a title bar of 40 and borders of 4.
ScreenRoom Screen(int left, int top, int width, int height) {
  return {{left, top, width, height}, 8, 19 + 40 + 4};
}

TEST(WindowFitTest, TheStartTakesTheLargestDotSizeWithWhichTheWindowFitsItsScreen) {
  struct Case {
    const char* what;
    std::optional<ScreenRoom> screen;
    std::int32_t expected;
    bool dotSizeGiven = false;
    std::int32_t width2 = 16;
  };
  // With the shipped 264 x 144 palette the window stands 16 pixels down and is 16 * DotSize +
  // 40 + 144 high plus 63 around; the button row makes it at least 504 + 8 wide.
  const std::vector<Case> cases = {
      {"1920 x 1080", Screen(0, 0, 1920, 1080), 37},
      {"1366 x 768", Screen(0, 0, 1366, 768), 31},
      {"1366 x 768 under a top panel of 27", Screen(0, 27, 1366, 741), 30},
      {"1366 x 768 over a bottom panel of 40", Screen(0, 0, 1366, 728), 29},
      {"1280 x 720", Screen(0, 0, 1280, 720), 28},
      {"1024 x 600", Screen(0, 0, 1024, 600), 21},
      {"800 x 600", Screen(0, 0, 800, 600), 21},
      {"just tall enough for 37", Screen(0, 0, 1024, 855), 37},
      {"a pixel less", Screen(0, 0, 1024, 854), 36},
      {"only a dot size of 1 fits", Screen(0, 0, 1024, 279), 1},
      {"a grid of 32 columns decides by its width", Screen(0, 0, 1024, 900), 31, false, 32},
      {"narrower than the button row: the height decides", Screen(0, 0, 480, 800), 33},
      {"nothing fits either way: the initial size stays", Screen(0, 0, 320, 240), 37},
      {"the settings' dot size is kept", Screen(0, 0, 1366, 768), 37, true},
      {"no screen known", std::nullopt, 37},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartSizes sizes;
    sizes.Width2 = c.width2;
    EXPECT_EQ(StartDotSize(sizes, c.dotSizeGiven, 264, 144, c.screen), c.expected);
  }
}

}  // namespace
}  // namespace gk
