#include "settings/parse_int.h"

#include <string>

namespace gk {

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsDecimalDigit(char c) {
  return c >= '0' && c <= '9';
}

// Hexadecimal digits up to the end of `digits`: at least one, and the value so far may not exceed
// 0x0FFFFFFF before another digit is taken, so the result fits in 32 bits.
std::optional<std::uint32_t> ParseHexDigits(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint32_t value = 0;
  bool first = true;
  for (char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    if (!first && value > 0x0FFFFFFFu) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
    first = false;
  }
  return value;
}

// Decimal digits up to the end of `digits`, with the magnitude capped just above 2^31 so that
// arbitrarily long input cannot overflow the accumulator.
std::optional<std::uint64_t> ParseDecimalDigits(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  constexpr std::uint64_t MagnitudeCap = 2147483648u;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (!IsDecimalDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > MagnitudeCap) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::int32_t> TryParseInt(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;

  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::string_view rest = text.substr(pos);

  std::size_t prefix = 0;
  if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    prefix = 1;
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    prefix = 2;
  }

  if (prefix > 0) {
    const auto bits = ParseHexDigits(rest.substr(prefix));
    if (!bits) return std::nullopt;
    // The bit pattern is the value; negation wraps, so -$80000000 stays -2147483648.
    const std::uint32_t result = negative ? 0u - *bits : *bits;
    return static_cast<std::int32_t>(result);
  }

  const auto magnitude = ParseDecimalDigits(rest);
  if (!magnitude) return std::nullopt;
  if (negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(*magnitude));
  if (*magnitude > 2147483647u) return std::nullopt;
  return static_cast<std::int32_t>(*magnitude);
}

std::int32_t ParseInt(std::string_view text) {
  if (const auto value = TryParseInt(text)) return *value;
  throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace gk
