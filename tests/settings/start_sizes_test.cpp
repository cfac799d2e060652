#include "settings/start_sizes.h"

#include <gtest/gtest.h>

#include <vector>

namespace gk {
namespace {

TEST(StartSizesTest, UnusableSizesFallBackToTheInitialOnes) {
  const StartSizes initial = InitialSizes;
  struct Case {
    const char* name;
    StartSizes in;
    StartSizes out;
  };
  auto with = [](auto change) {
    StartSizes s;
    change(s);
    return s;
  };
  const std::vector<Case> cases = {
      {"valid sizes stay", with([](StartSizes& s) {
         s.DotSize = 8, s.Width = 200, s.Height = 7, s.Width2 = 64, s.ButtonW = 1;
       }),
       with([](StartSizes& s) {
         s.DotSize = 8, s.Width = 200, s.Height = 7, s.Width2 = 64, s.ButtonW = 1;
       })},
      {"zero dot size", with([](StartSizes& s) { s.DotSize = 0, s.Width = 64; }),
       with([](StartSizes& s) { s.Width = 64; })},
      {"negative and huge", with([](StartSizes& s) {
         s.Width = -5, s.Height = 5000, s.ButtonH = -1, s.Height2 = 2000000000;
       }),
       initial},
      {"grid too wide", with([](StartSizes& s) { s.DotSize = 128, s.Width2 = 256; }), initial},
      {"grid just fits", with([](StartSizes& s) { s.DotSize = 16, s.Width2 = 256; }),
       with([](StartSizes& s) { s.DotSize = 16, s.Width2 = 256; })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartSizes s = c.in;
    BoundStartSizes(s);
    EXPECT_EQ(s, c.out);
  }
}

}  // namespace
}  // namespace gk
