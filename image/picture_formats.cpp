#include "image/picture_formats.h"

#include <algorithm>

namespace gk {

namespace {

// One line per kind, in the order of the dialogs' filters.
constexpr const PictureFormat* Registered[] = {
    &BmpFormat,
    &PngFormat,
};

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::span<const PictureFormat* const> PictureFormats() {
  return Registered;
}

const PictureFormat* FormatOfBytes(std::span<const std::uint8_t> head) {
  for (const PictureFormat* format : Registered) {
    if (format->recognises(head)) return format;
  }
  return nullptr;
}

std::size_t MaxHeadBytes() {
  std::size_t most = 0;
  for (const PictureFormat* format : Registered) most = std::max(most, format->headBytes);
  return most;
}

std::string KindsText() {
  std::string text;
  for (std::size_t i = 0; i < std::size(Registered); ++i) {
    if (i > 0) text += i + 1 == std::size(Registered) ? " or " : ", ";
    text += Registered[i]->label;
  }
  return text;
}

bool HasExtension(std::string_view path, std::string_view extension) {
  if (path.size() < extension.size()) return false;
  return std::equal(extension.begin(), extension.end(), path.end() - extension.size(),
                    [](char wanted, char c) { return wanted == LowerAscii(c); });
}

const PictureFormat* FormatOfName(std::string_view path) {
  for (const PictureFormat* format : Registered) {
    for (std::string_view extension : format->extensions) {
      if (HasExtension(path, extension)) return format;
    }
  }
  return nullptr;
}

const PictureFormat& SaveFormatOf(std::string_view path) {
  const PictureFormat* format = FormatOfName(path);
  return format ? *format : *Registered[0];
}

const PictureFormat* FormatOfCommand(std::string_view command) {
  for (const PictureFormat* format : Registered) {
    if (format->command && format->command == command) return format;
  }
  return nullptr;
}

bool IsSeriesKind(std::string_view name) {
  const PictureFormat* format = FormatOfName(name);
  return format && format->inSeries;
}

std::vector<std::string> DialogFilters() {
  std::vector<std::string> filters;
  for (const PictureFormat* format : Registered) {
    if (format->dialogFilter) filters.emplace_back(format->dialogFilter);
  }
  return filters;
}

}  // namespace gk
