#include "editor/series_rules.h"

#include <algorithm>

#include "image/picture_formats.h"

namespace gk {

namespace {

bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
unsigned char Lower(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// Sort key of one byte: its class in the high bits (others 0, digits 1, letters 2), then the
// byte itself, letters folded to lower case.
unsigned CollationKey(unsigned char c) {
  unsigned rank = IsDigit(c) ? 1u : IsLetter(c) ? 2u : 0u;
  return (rank << 8) | Lower(c);
}

}  // namespace

std::string SeriesPrefix(std::string_view fileName) {
  if (fileName.empty()) return {};
  auto belongs = IsDigit(static_cast<unsigned char>(fileName.front())) ? IsDigit : IsLetter;
  std::size_t n = 0;
  while (n < fileName.size() && belongs(static_cast<unsigned char>(fileName[n]))) ++n;
  return std::string(fileName.substr(0, n));
}

bool InSeries(std::string_view name, std::string_view prefix) {
  return !prefix.empty() && name.starts_with(prefix) && IsSeriesKind(name);
}

bool SeriesLess(std::string_view a, std::string_view b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned ka = CollationKey(static_cast<unsigned char>(a[i]));
    unsigned kb = CollationKey(static_cast<unsigned char>(b[i]));
    if (ka != kb) return ka < kb;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

IncrementalName NextIncrementalName(std::string_view documentPath) {
  using Outcome = IncrementalName::Outcome;
  if (documentPath.empty()) return {Outcome::CannotAdvance, {}};
  std::size_t at = documentPath.find(".bmp");
  if (at == std::string_view::npos || at == 0) return {Outcome::NoBmpSuffix, {}};
  char c = documentPath[at - 1];
  if (IsDigit(static_cast<unsigned char>(c))) {
    std::string path(documentPath.substr(0, at));
    path += "a.bmp";
    return {Outcome::Advanced, path};
  }
  if (c >= 'a' && c <= 'y') {
    std::string path(documentPath);
    path[at - 1] = static_cast<char>(c + 1);
    return {Outcome::Advanced, path};
  }
  return {Outcome::CannotAdvance, {}};
}

}  // namespace gk
