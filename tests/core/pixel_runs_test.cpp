#include "platform/pixel_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace gk {
namespace {

// Runs of every pixel size, at every alignment of source and target and at distances within a
// page that make the copy walk forwards or backwards, must equal a plain copy; reversed runs a
// plain reversed copy. Nothing around the target run may change.
template <typename Pixel>
void CheckRuns() {
  constexpr std::size_t Page = 4096;
  // Source in the first page, target in the second: each offset within its page is chosen.
  std::unique_ptr<std::uint8_t, decltype(&std::free)> memory(
      static_cast<std::uint8_t*>(std::aligned_alloc(Page, 3 * Page)), &std::free);
  ASSERT_NE(memory, nullptr);
  const int offsets[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 40, 100};
  const int counts[] = {0, 1, 3, 4, 7, 8, 15, 16, 17, 33, 64, 200};
  for (int sourceAt : offsets) {
    for (int targetAt : offsets) {
      for (int count : counts) {
        for (bool reversed : {false, true}) {
          SCOPED_TRACE(::testing::Message()
                       << sizeof(Pixel) << "-byte pixels, source at " << sourceAt << ", target at "
                       << targetAt << ", " << count << (reversed ? " reversed" : ""));
          auto* from = reinterpret_cast<Pixel*>(memory.get()) + sourceAt;
          auto* to = reinterpret_cast<Pixel*>(memory.get() + Page) + targetAt;
          for (int i = 0; i < count; ++i) from[i] = static_cast<Pixel>(i * 37 + 11);
          std::fill(to - 1, to + count + 1, Pixel{0x5A});
          if (reversed) {
            StreamRunReversed(to, from, count);
          } else {
            StreamRun(to, from, count);
          }
          EndStreaming();
          std::vector<Pixel> expected(from, from + count);
          if (reversed) std::reverse(expected.begin(), expected.end());
          ASSERT_EQ(std::vector<Pixel>(to, to + count), expected);
          ASSERT_EQ(to[-1], Pixel{0x5A});
          ASSERT_EQ(to[count], Pixel{0x5A});
        }
      }
    }
  }
}

TEST(PixelRunsTest, StreamedRunsEqualPlainCopies) {
  CheckRuns<std::uint8_t>();
  CheckRuns<std::uint16_t>();
  CheckRuns<std::uint32_t>();
}

}  // namespace
}  // namespace gk
