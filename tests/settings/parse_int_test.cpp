#include "settings/parse_int.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace gk {
namespace {

constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();

struct ParseCase {
  std::string_view text;
  std::optional<std::int32_t> expected;  // nullopt: a conversion error
};

TEST(ParseIntTest, AcceptsExactlyItsGrammar) {
  using namespace std::string_view_literals;
  const ParseCase cases[] = {
      // Decimal, signs and leading blanks.
      {"40", 40},
      {"+40", 40},
      {"-40", -40},
      {"   40", 40},
      {"  -1", -1},
      {"040", 40},
      {"0", 0},
      {"-0", 0},
      {"2147483647", Int32Max},
      {"00002147483647", Int32Max},
      {"2147483648", std::nullopt},
      {"-2147483648", Int32Min},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      // Hexadecimal prefixes; the value is a 32-bit pattern and "-" negates it.
      {"0x28", 40},
      {"0X28", 40},
      {"$28", 40},
      {"x28", 40},
      {"X28", 40},
      {"$fF", 255},
      {"-$28", -40},
      {"+$28", 40},
      {"$7FFFFFFF", Int32Max},
      {"$80000000", Int32Min},
      {"-$80000000", Int32Min},
      {"$FFFFFFFF", -1},
      {"-$FFFFFFFF", 1},
      {"$100000000", std::nullopt},
      {"0x0FFFFFFFF", -1},
      {"$0000000000028", 40},
      {"0x00000000100000000", std::nullopt},
      // Anything else is an error.
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"0x", std::nullopt},
      {"$", std::nullopt},
      {"-$", std::nullopt},
      {"x", std::nullopt},
      {"4O", std::nullopt},
      {"40 ", std::nullopt},
      {"\t40", std::nullopt},
      {"40\t", std::nullopt},
      {"+-1", std::nullopt},
      {"--1", std::nullopt},
      {"- 1", std::nullopt},
      {"1 2", std::nullopt},
      {"$-1", std::nullopt},
      {"0x+1", std::nullopt},
      {"0xx1", std::nullopt},
      {"$g", std::nullopt},
      {"1e3", std::nullopt},
      {"1.0", std::nullopt},
      {"40\0"sv, std::nullopt},
      {"\xef\xbc\x91", std::nullopt},  // a full-width digit one
  };
  for (const ParseCase& c : cases) {
    const std::string shown = "text: '" + std::string(c.text) + "'";
    EXPECT_EQ(TryParseInt(c.text), c.expected) << shown;
    if (c.expected) {
      EXPECT_EQ(ParseInt(c.text), *c.expected) << shown;
    } else {
      EXPECT_THROW(ParseInt(c.text), ConversionError) << shown;
    }
  }
}

TEST(ParseIntTest, ErrorMessageQuotesTheText) {
  for (const std::string text : {"abc", "", "40 "}) {
    try {
      ParseInt(text);
      ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
    }
  }
}

}  // namespace
}  // namespace gk
