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
#include "image/picture_memory.h"
#include "image/png_reader.h"

namespace gk {

namespace {

// The largest BMP or PNG file a load reads: 4 bytes for each of the most pixels the codecs
// accept, the row padding of the tallest image, and room for headers, masks and a full colour
// table. Only a PNG of that many pixels at 16 bits a channel that does not compress is larger.
constexpr std::size_t MaxBmpFileBytes =
    static_cast<std::size_t>(MaxBmpPixels) * 4 + static_cast<std::size_t>(MaxBmpSide) * 4 + 65536;

bool IsBmp(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

// The picture a file's headers declare, read again from its first bytes; a file that declares
// none is refused with the reason a load would give.
PictureSize DeclaredPicture(const std::string& path, bool pngToo) {
  const FileHead head = ReadFileHead(path, MaxBmpHeaderBytes);
  if (pngToo && HasPngSignature(head.bytes)) {
    const PngInfo info = ReadPngHeader(head.bytes, path);
    return {info.width, info.height, SurfaceBits(info)};
  }
  if (pngToo && !IsBmp(head.bytes)) throw FileError(path, "not a BMP or PNG file");
  const BmpInfo info = ReadBmpInfo(head.bytes, head.fileSize, path);
  return {info.width, info.height, info.bitsPerPixel};
}

// The whole picture file. When its bytes do not fit in memory the message names the picture, as
// it does when the decoded pixels do not fit.
std::vector<std::uint8_t> ReadPictureBytes(const std::string& path, bool pngToo) {
  try {
    return ReadFileBytes(path, MaxBmpFileBytes);
  } catch (const std::bad_alloc&) {
    throw std::runtime_error(NotEnoughMemoryText(path, DeclaredPicture(path, pngToo)));
  }
}

}  // namespace

Surface LoadBmpFile(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadPictureBytes(path, false);
  return DecodeBmp(bytes, path);
}

Surface LoadPictureFile(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadPictureBytes(path, true);
  if (HasPngSignature(bytes)) return DecodePng(bytes, path);
  if (IsBmp(bytes)) return DecodeBmp(bytes, path);
  throw FileError(path, "not a BMP or PNG file");
}

void SaveBmpFile(const std::string& path, const Surface& surface) {
  const BmpBytes bytes =
      WithPictureMemory(path, SizeOf(surface), [&] { return EncodeBmp(surface); });
  WriteFileAtomically(path, bytes);
}

}  // namespace gk
