#include "settings/settings.h"

#include <algorithm>

namespace gk {

namespace {

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool NamesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

// Index of the first line whose name (the text before its first "=") is `name`; lines without
// "=" have no name.
std::vector<std::string>::const_iterator FindNamed(const std::vector<std::string>& lines,
                                                   std::string_view name) {
  return std::find_if(lines.begin(), lines.end(), [name](const std::string& line) {
    const std::size_t eq = line.find('=');
    return eq != std::string::npos && NamesEqual(std::string_view(line).substr(0, eq), name);
  });
}

}  // namespace

std::string Settings::LookupSetting(std::string_view name) const {
  const auto it = FindNamed(lines_, name);
  if (it == lines_.end()) return {};
  return it->substr(it->find('=') + 1);
}

void Settings::StoreSetting(std::string_view name, std::string_view value) {
  const auto found = FindNamed(lines_, name);
  if (value.empty()) {
    if (found != lines_.end()) lines_.erase(found);
    return;
  }
  std::string line;
  line.reserve(name.size() + 1 + value.size());
  line.append(name).append("=").append(value);
  if (found == lines_.end()) {
    lines_.push_back(std::move(line));
  } else {
    lines_[static_cast<std::size_t>(found - lines_.begin())] = std::move(line);
  }
}

void Settings::SetText(std::string_view bytes) {
  const std::size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);

  lines_.clear();
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const char c = bytes[pos];
    if (c != '\r' && c != '\n') {
      ++pos;
      continue;
    }
    lines_.emplace_back(bytes.substr(start, pos - start));
    ++pos;
    // CR LF is one line end; LF CR is two.
    if (c == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
    start = pos;
  }
  if (start < bytes.size()) lines_.emplace_back(bytes.substr(start));
}

std::string Settings::Text() const {
  std::string text;
  for (const std::string& line : lines_) text.append(line).append("\r\n");
  return text;
}

}  // namespace gk
