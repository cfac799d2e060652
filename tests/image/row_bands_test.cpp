#include "image/row_bands.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

namespace gk {
namespace {

TEST(RowBandsTest, EveryIndexIsWorkedOnceWhateverTheSplit) {
  constexpr std::size_t MiB = std::size_t{1} << 20;
  struct Case {
    int count;
    std::size_t bytes;
  };
  // Too small to split, split in two, and as many parts as the size allows.
  const std::vector<Case> cases = {{0, 64 * MiB},   {1, 64 * MiB},    {3, 64 * MiB}, {4096, 0},
                                   {4096, 9 * MiB}, {4097, 64 * MiB}, {7, 1 << 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.count << " rows, " << c.bytes << " bytes");
    const auto visits = std::make_unique<std::atomic<int>[]>(static_cast<std::size_t>(c.count) + 1);
    std::atomic<int> calls{0};
    ForEachBand(c.count, c.bytes, [&](int begin, int end) {
      ++calls;
      EXPECT_LE(0, begin);
      EXPECT_LE(begin, end);
      EXPECT_LE(end, c.count);
      for (int i = begin; i < end; ++i) ++visits[i];
    });
    EXPECT_GE(calls.load(), 1);
    for (int i = 0; i < c.count; ++i) ASSERT_EQ(visits[i].load(), 1) << "index " << i;
  }
}

}  // namespace
}  // namespace gk
