#pragma once

#include <cstdint>

namespace gk {

// 0x00BBGGRR: red in the low byte, blue in the third.
using Colour = std::uint32_t;

// What a read outside a surface yields; never stored in a surface.
inline constexpr Colour NoColour = 0xFFFFFFFFu;
inline constexpr Colour Black = 0x000000u;
inline constexpr Colour White = 0xFFFFFFu;
inline constexpr Colour Red = 0x0000FFu;

constexpr std::uint8_t RedOf(Colour c) {
  return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t GreenOf(Colour c) {
  return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(Colour c) {
  return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}
constexpr Colour MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

}  // namespace gk
