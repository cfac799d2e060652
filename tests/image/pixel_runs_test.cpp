#include "image/pixel_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace gk {
namespace {

// Runs of each pixel size, at every alignment and at distances within a page that make the copy
// walk forwards or backwards, equal a plain (reversed) copy and write nothing around it.
TEST(PixelRunsTest, StreamedRunsEqualPlainCopies) {
  constexpr std::size_t Page = 4096;  // the source in the first page, the target in the second
  const std::unique_ptr<std::uint8_t, decltype(&std::free)> memory(
      static_cast<std::uint8_t*>(std::aligned_alloc(Page, 2 * Page)), &std::free);
  const auto check = [&]<typename Pixel>(Pixel*, int sourceAt, int targetAt, int count,
                                         bool reversed) {
    auto* from = reinterpret_cast<Pixel*>(memory.get()) + sourceAt;
    auto* to = reinterpret_cast<Pixel*>(memory.get() + Page) + targetAt;
    for (int i = 0; i < count; ++i) from[i] = static_cast<Pixel>(i * 37 + 11);
    std::fill(to - 1, to + count + 1, Pixel{0x5A});
    reversed ? StreamRunReversed(to, from, count) : StreamRun(to, from, count);
    EndStreaming();
    std::vector<Pixel> expected(from, from + count);
    if (reversed) std::reverse(expected.begin(), expected.end());
    ASSERT_EQ(std::vector<Pixel>(to, to + count), expected);
    ASSERT_EQ(to[-1], Pixel{0x5A});
    ASSERT_EQ(to[count], Pixel{0x5A});
  };
  for (int sourceAt : {0, 1, 2, 3, 4, 5, 7, 8, 9, 40, 100}) {
    for (int targetAt : {0, 1, 2, 3, 4, 5, 7, 8, 9, 40, 100}) {
      for (int count : {0, 1, 3, 4, 7, 8, 15, 16, 17, 33, 64, 200}) {
        for (bool reversed : {false, true}) {
          SCOPED_TRACE(::testing::Message()
                       << "source at " << sourceAt << ", target at " << targetAt << ", " << count
                       << " pixels" << (reversed ? " reversed" : ""));
          check(static_cast<std::uint8_t*>(nullptr), sourceAt, targetAt, count, reversed);
          check(static_cast<std::uint16_t*>(nullptr), sourceAt, targetAt, count, reversed);
          check(static_cast<std::uint32_t*>(nullptr), sourceAt, targetAt, count, reversed);
        }
      }
    }
  }
}

}  // namespace
}  // namespace gk
