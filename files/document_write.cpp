#include "files/document_write.h"

#include "files/png_conversion.h"
#include "files/png_path.h"
#include "platform/file_io.h"
#include "platform/halftone_conversion.h"
#include "platform/picture_memory.h"

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
