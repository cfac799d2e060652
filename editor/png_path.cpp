#include "editor/png_path.h"

#include "filesystem/path_text.h"
#include "image/picture_formats.h"

namespace gk {

std::string WithExtension(const std::string& path, std::string_view extension) {
  const std::string name = FileNamePart(path);
  const std::size_t dot = name.rfind('.');
  return FolderPart(path) + (dot == std::string::npos ? name : name.substr(0, dot)) +
         std::string(extension);
}

std::string PngPathFor(const std::string& bmpPath) {
  return WithExtension(bmpPath, PngFormat.extensions.front());
}

}  // namespace gk
