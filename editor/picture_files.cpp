#include "editor/picture_files.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <stdexcept>
#include <vector>

#include "filesystem/file_error.h"
#include "filesystem/file_io.h"
#include "image/bmp_codec.h"
#include "image/picture_formats.h"
#include "image/picture_memory.h"

namespace gk {

namespace {

// The largest picture file a load reads: 4 bytes for each of the most pixels the codecs
// accept, the row padding of the tallest image, and room for headers, masks and a full colour
// table. Only a PNG of that many pixels at 16 bits a channel that does not compress is larger.
constexpr std::size_t MaxPictureFileBytes =
    static_cast<std::size_t>(MaxBmpPixels) * 4 + static_cast<std::size_t>(MaxBmpSide) * 4 + 65536;

// The kind a load decodes the file as: `only` when given, which judges any bytes itself, else
// the kind its first bytes show.
const PictureFormat& KindOf(std::span<const std::uint8_t> head, const PictureFormat* only,
                            const std::string& path) {
  if (only) return *only;
  if (const PictureFormat* format = FormatOfBytes(head)) return *format;
  throw FileError(path, "not a " + KindsText() + " file");
}

// The picture a file's headers declare, read again from its first bytes; a file that declares
// none is refused with the reason a load would give.
PictureSize DeclaredPicture(const std::string& path, const PictureFormat* only) {
  const FileHead head = ReadFileHead(path, only ? only->headBytes : MaxHeadBytes());
  return KindOf(head.bytes, only, path).declared(head.bytes, head.fileSize, path);
}

// Reads the whole file and decodes it. When its bytes do not fit in memory the message names
// the picture, as it does when the decoded pixels do not fit.
Surface LoadFile(const std::string& path, const PictureFormat* only) {
  std::vector<std::uint8_t> bytes;
  try {
    bytes = ReadFileBytes(path, MaxPictureFileBytes);
  } catch (const std::bad_alloc&) {
    throw std::runtime_error(NotEnoughMemoryText(path, DeclaredPicture(path, only)));
  }
  return KindOf(bytes, only, path).decode(bytes, path);
}

}  // namespace

Surface LoadBmpFile(const std::string& path) {
  return LoadFile(path, &BmpFormat);
}

Surface LoadPictureFile(const std::string& path) {
  return LoadFile(path, nullptr);
}

void SavePictureFile(const std::string& path, const PictureFormat& format, const Surface& surface) {
  const PictureBytes bytes =
      WithPictureMemory(path, SizeOf(surface), [&] { return format.encode(surface, path); });
  WriteFileAtomically(path, bytes);
}

void SaveBmpFile(const std::string& path, const Surface& surface) {
  SavePictureFile(path, BmpFormat, surface);
}

}  // namespace gk
