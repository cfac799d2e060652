#include "files/png_path.h"

#include "platform/path_text.h"

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

bool HasPngExtension(const std::string& path) {
  const std::string name = FileNamePart(path);
  if (name.size() < 4) return false;
  std::string end = name.substr(name.size() - 4);
  for (char& c : end) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return end == ".png";
}

}  // namespace gk
