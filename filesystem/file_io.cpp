#include "filesystem/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

#include "filesystem/file_error.h"
#include "filesystem/file_replace.h"
#include "filesystem/unique_fd.h"
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

// A name the system would cut at its zero byte names another file.
bool UsableName(const std::string& path) {
  return !path.empty() && path.find('\0') == std::string::npos;
}

// Opens a regular file for reading. The type is checked before the open, since opening a FIFO
// waits for a writer, and again on the open file, in case the name changed hands in between.
UniqueFd OpenRegularFile(const std::string& path, struct stat& status) {
  if (path.empty()) throw std::runtime_error("cannot open a file without a name");
  if (!UsableName(path)) throw SystemFileError(path, "cannot open", EINVAL);
  if (stat(path.c_str(), &status) != 0) throw SystemFileError(path, "cannot open", errno);
  if (!S_ISREG(status.st_mode)) throw FileError(path, "not a regular file");
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd) throw SystemFileError(path, "cannot open", errno);
  if (fstat(fd.Get(), &status) != 0) throw SystemFileError(path, "cannot read", errno);
  if (!S_ISREG(status.st_mode)) throw FileError(path, "not a regular file");
  return fd;
}

// Reads until `size` bytes or the end of the file: the number read.
std::size_t ReadUpTo(const std::string& path, int fd, std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = read(fd, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw SystemFileError(path, "cannot read", errno);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

[[noreturn]] void FailTooLarge(const std::string& path) {
  throw FileError(path, "cannot read: file too large");
}

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

std::vector<std::uint8_t> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  struct stat status;
  const UniqueFd fd = OpenRegularFile(path, status);
  // The size decides the allocation only after the bound is checked.
  if (status.st_size < 0 || static_cast<std::uint64_t>(status.st_size) > maxBytes) {
    FailTooLarge(path);
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(status.st_size));
  bytes.resize(ReadUpTo(path, fd.Get(), bytes.data(), bytes.size()));
  if (bytes.size() < static_cast<std::size_t>(status.st_size)) return bytes;

  // The file may have grown since it was measured; the bound holds for what it has now.
  std::uint8_t chunk[65536];
  for (;;) {
    const std::size_t got = ReadUpTo(path, fd.Get(), chunk, sizeof chunk);
    if (got == 0) break;
    if (bytes.size() + got > maxBytes) FailTooLarge(path);
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

FileHead ReadFileHead(const std::string& path, std::size_t maxBytes) {
  struct stat status;
  const UniqueFd fd = OpenRegularFile(path, status);
  FileHead head;
  head.fileSize = static_cast<std::uint64_t>(std::max<off_t>(status.st_size, 0));
  head.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(head.fileSize, maxBytes)));
  head.bytes.resize(ReadUpTo(path, fd.Get(), head.bytes.data(), head.bytes.size()));
  return head;
}

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  ReplaceFile(path, bytes);
}

bool FileExists(const std::string& path) {
  struct stat status;
  return UsableName(path) && stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
  struct stat status;
  if (!UsableName(path) || stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileIdentity{status.st_dev, status.st_ino};
}

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
