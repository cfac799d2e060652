#include "files/png_path.h"

#include "platform/path_text.h"

namespace gk {

std::string PngPathFor(const std::string& bmpPath) {
  // The extension is the file name's: a "." in a folder name does not count.
  const std::string name = FileNamePart(bmpPath);
  const std::size_t dot = name.rfind('.');
  return FolderPart(bmpPath) + (dot == std::string::npos ? name : name.substr(0, dot)) + ".png";
}

}  // namespace gk
