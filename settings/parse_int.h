#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace gk {

// A text that is not an integer of ParseInt's grammar; the message quotes the text.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Leading blanks; one optional sign; hexadecimal ("$", "x", "X", "0x", "0X", value up to
// 0xFFFFFFFF taken as a bit pattern) or decimal (32-bit range); nothing trailing.
std::int32_t ParseInt(std::string_view text);  // throws ConversionError
std::optional<std::int32_t> TryParseInt(std::string_view text);

}  // namespace gk
