#include "app/shell_quote.h"

#include <cstddef>
#include <cstdint>

namespace gk {

namespace {

// Bytes of the well-formed UTF-8 character starting at `at`, 0 when the byte starts none.
std::size_t Utf8Length(const std::string& s, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  const std::uint8_t lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (s.size() - at < length) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  // U+0080 to U+009F are the C1 controls, which some terminals obey.
  if (lead == 0xC2 && byte(at + 1) <= 0x9F) return 0;
  return length;
}

bool IsControl(std::uint8_t c) {
  return c < 0x20 || c == 0x7F;
}

// Calls plain(bytes, length) for each printable character and escaped(byte) for each byte
// that must be escaped.
template <typename Plain, typename Escaped>
void ForEachPart(const std::string& s, Plain plain, Escaped escaped) {
  for (std::size_t at = 0; at < s.size();) {
    const std::size_t length = Utf8Length(s, at);
    if (length == 0 || (length == 1 && IsControl(static_cast<std::uint8_t>(s[at])))) {
      escaped(static_cast<std::uint8_t>(s[at]));
      ++at;
    } else {
      plain(at, length);
      at += length;
    }
  }
}

// The escape of one byte inside $'...': the C letter where there is one, else three octal
// digits.
std::string Escape(std::uint8_t c) {
  switch (c) {
    case '\a':
      return "\\a";
    case '\b':
      return "\\b";
    case '\t':
      return "\\t";
    case '\n':
      return "\\n";
    case '\v':
      return "\\v";
    case '\f':
      return "\\f";
    case '\r':
      return "\\r";
    default:
      return {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + ((c >> 3) & 7)),
              static_cast<char>('0' + (c & 7))};
  }
}

}  // namespace

std::string EscapedControls(const std::string& text) {
  std::string out;
  ForEachPart(
      text, [&](std::size_t at, std::size_t length) { out.append(text, at, length); },
      [&](std::uint8_t c) { out += Escape(c); });
  return out;
}

std::string ShellQuoted(const std::string& name) {
  if (EscapedControls(name) == name) return name;
  // Printable runs go between single quotes, escaped bytes between $' and '; a quote in the
  // name closes the quotes, is written as \' and opens them again.
  std::string out = "'";
  bool inEscape = false;
  ForEachPart(
      name,
      [&](std::size_t at, std::size_t length) {
        if (name[at] == '\'') {
          out += "'\\''";
          inEscape = false;
          return;
        }
        if (inEscape) out += "''";
        inEscape = false;
        out.append(name, at, length);
      },
      [&](std::uint8_t c) {
        if (!inEscape) out += "'$'";
        inEscape = true;
        out += Escape(c);
      });
  out += '\'';
  return out;
}

}  // namespace gk
