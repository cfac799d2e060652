#include "files/png_path.h"

namespace gk {

std::string PngPathFor(const std::string& bmpPath) {
  // Dots before the last "/" belong to folders; UTF-8 never hides a "/" or "." inside a
  // multi-byte character, so byte searches are safe.
  const std::size_t slash = bmpPath.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = bmpPath.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return bmpPath + ".png";
  return bmpPath.substr(0, dot) + ".png";
}

}  // namespace gk
