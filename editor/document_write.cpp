#include "editor/document_write.h"

#include "editor/picture_files.h"
#include "editor/png_conversion.h"
#include "editor/png_path.h"
#include "image/halftone_conversion.h"
#include "image/picture_memory.h"

namespace gk {

bool SavesAsPng(const std::string& path) {
  return HasExtension(path, ".png");
}

void WriteDocumentFile(const std::string& path, const Surface& document, bool save256) {
  const auto write = [&](const Surface& image) {
    if (SavesAsPng(path)) {
      SavePngFile(path, image);
    } else {
      SaveBmpFile(path, image);
    }
  };
  if (!save256) {
    write(document);
    return;
  }
  const Surface eightBit = WithPictureMemory(path, {document.Width(), document.Height(), 8},
                                             [&] { return ConvertTo8BitHalftone(document); });
  write(eightBit);
}

}  // namespace gk
