#pragma once

#include <array>
#include <cstdint>

#include "image/colour.h"

namespace gk {

// Where one colour channel lies in a packed pixel: its mask, lowest bit and width.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

Channel MakeChannel(std::uint32_t mask);

// An n-bit channel value scaled to 8 bits, rounded. NarrowChannel maps it back to the same value.
std::uint8_t WidenChannel(std::uint32_t value, int bits);
// An 8-bit component to the nearest n-bit channel value.
std::uint32_t NarrowChannel(std::uint8_t component, int bits);

// Turns packed pixels with red, green and blue masks into colours and back.
class ChannelMasks {
 public:
  ChannelMasks() = default;
  ChannelMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue);

  Colour ToColour(std::uint32_t pixel) const {
    return MakeColour(Widen(r_, rTable_, pixel), Widen(g_, gTable_, pixel),
                      Widen(b_, bTable_, pixel));
  }
  std::uint32_t ToPixel(Colour c) const {
    return Narrow(r_, RedOf(c)) | Narrow(g_, GreenOf(c)) | Narrow(b_, BlueOf(c));
  }
  // The bits that carry colour.
  std::uint32_t ColourBits() const { return r_.mask | g_.mask | b_.mask; }
  // No channel is wider than 8 bits, so every pixel's colour bits are what ToPixel gives for its
  // colour: a pixel is kept exactly by keeping its colour bits.
  bool Narrow8() const { return r_.bits <= 8 && g_.bits <= 8 && b_.bits <= 8; }

 private:
  using Table = std::array<std::uint8_t, 256>;

  static void BuildTable(const Channel& ch, Table& table);
  static std::uint8_t Widen(const Channel& ch, const Table& table, std::uint32_t pixel) {
    const std::uint32_t v = (pixel & ch.mask) >> ch.shift;
    return ch.bits <= 8 ? table[v] : WidenChannel(v, ch.bits);
  }
  static std::uint32_t Narrow(const Channel& ch, std::uint8_t component) {
    return (NarrowChannel(component, ch.bits) << ch.shift) & ch.mask;
  }

  Channel r_, g_, b_;
  Table rTable_{}, gTable_{}, bTable_{};
};

}  // namespace gk
