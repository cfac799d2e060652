#include "editor/document_write.h"

#include "editor/picture_files.h"
#include "image/picture_formats.h"
#include "image/picture_memory.h"

namespace gk {

void WriteDocumentFile(const std::string& path, const Surface& document, bool save256) {
  WriteDocumentAs(SaveFormatOf(path), path, document, save256);
}

void WriteDocumentAs(const PictureFormat& format, const std::string& path, const Surface& document,
                     bool save256) {
  if (!save256) {
    SavePictureFile(path, format, document);
    return;
  }
  const Surface eightBit = WithPictureMemory(path, {document.Width(), document.Height(), 8},
                                             [&] { return format.eightBit(document); });
  SavePictureFile(path, format, eightBit);
}

}  // namespace gk
