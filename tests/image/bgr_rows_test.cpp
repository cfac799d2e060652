#include "image/bgr_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace gk {
namespace {

// Every width up to a few shuffle steps and past them, against the plain definition, with guard
// bytes after the row that neither conversion may touch.
TEST(BgrRows, EveryWidthConvertsBothWaysAndStaysInsideTheRow) {
  std::mt19937 rng(5);
  constexpr std::uint8_t Guard = 0xA7;
  for (int width = 0; width <= 70; ++width) {
    SCOPED_TRACE(width);
    std::vector<std::uint8_t> bgr(3 * width + 16, Guard);
    for (int i = 0; i < 3 * width; ++i) bgr[i] = static_cast<std::uint8_t>(rng());
    std::vector<std::uint32_t> words(width + 4, 0x12345678u);
    BgrToWords(bgr.data(), words.data(), width);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t expected = 0xFF000000u | (std::uint32_t{bgr[3 * x + 2]} << 16) |
                                     (std::uint32_t{bgr[3 * x + 1]} << 8) | bgr[3 * x];
      ASSERT_EQ(words[x], expected) << "pixel " << x;
    }
    for (int x = width; x < width + 4; ++x) ASSERT_EQ(words[x], 0x12345678u);

    std::vector<std::uint8_t> back(3 * width + 16, Guard);
    WordsToBgr(words.data(), back.data(), width);
    for (int i = 0; i < 3 * width; ++i) ASSERT_EQ(back[i], bgr[i]) << "byte " << i;
    for (std::size_t i = 3 * width; i < back.size(); ++i) ASSERT_EQ(back[i], Guard);
  }
}

}  // namespace
}  // namespace gk
