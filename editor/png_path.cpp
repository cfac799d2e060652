#include "editor/png_path.h"

#include <algorithm>

#include "filesystem/path_text.h"

namespace gk {

namespace {

std::string WithExtension(const std::string& path, const char* extension) {
  // The extension is the file name's: a "." in a folder name does not count.
  const std::string name = FileNamePart(path);
  const std::size_t dot = name.rfind('.');
  return FolderPart(path) + (dot == std::string::npos ? name : name.substr(0, dot)) + extension;
}

}  // namespace

std::string PngPathFor(const std::string& bmpPath) {
  return WithExtension(bmpPath, ".png");
}

std::string BmpPathFor(const std::string& pngPath) {
  return WithExtension(pngPath, ".bmp");
}

bool HasExtension(std::string_view path, std::string_view extension) {
  if (path.size() < extension.size()) return false;
  return std::equal(
      extension.begin(), extension.end(), path.end() - extension.size(),
      [](char wanted, char c) { return wanted == (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
}

}  // namespace gk
