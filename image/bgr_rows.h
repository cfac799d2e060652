#pragma once

#include <cstdint>

namespace gk {

// Rows of 24-bit BMP pixels (B, G, R bytes) and of 32-bit surface pixels (0xFFRRGGBB words,
// B, G, R, 0xFF in memory) into each other, at the speed of a copy where the processor allows.

// Reads exactly 3 * width bytes.
void BgrToWords(const std::uint8_t* src, std::uint32_t* dst, int width);
// Writes exactly 3 * width bytes.
void WordsToBgr(const std::uint32_t* src, std::uint8_t* dst, int width);

}  // namespace gk
