#include "filesystem/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "filesystem/file_error.h"
#include "filesystem/file_replace.h"
#include "filesystem/unique_fd.h"

namespace gk {

namespace {

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

}  // namespace gk
