#include "image/channel_masks.h"

#include <bit>

namespace gk {

Channel MakeChannel(std::uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (mask != 0) {
    c.shift = std::countr_zero(mask);
    c.bits = std::popcount(mask);
  }
  return c;
}

std::uint8_t WidenChannel(std::uint32_t value, int bits) {
  if (bits == 0) return 0;
  const std::uint64_t max = (std::uint64_t{1} << bits) - 1;
  return static_cast<std::uint8_t>((value * std::uint64_t{255} + max / 2) / max);
}

std::uint32_t NarrowChannel(std::uint8_t component, int bits) {
  if (bits == 0) return 0;
  const std::uint64_t max = (std::uint64_t{1} << bits) - 1;
  return static_cast<std::uint32_t>((component * max + 127) / 255);
}

ChannelMasks::ChannelMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
    : r_(MakeChannel(red)), g_(MakeChannel(green)), b_(MakeChannel(blue)) {
  BuildTable(r_, rTable_);
  BuildTable(g_, gTable_);
  BuildTable(b_, bTable_);
}

void ChannelMasks::BuildTable(const Channel& ch, Table& table) {
  if (ch.bits == 0 || ch.bits > 8) return;
  for (std::uint32_t v = 0; v < (1u << ch.bits); ++v) table[v] = WidenChannel(v, ch.bits);
}

}  // namespace gk
