#include "filesystem/write_steps.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "filesystem/file_error.h"
#include "filesystem/unique_fd.h"

namespace gk {

namespace {

// Writes are issued in pieces the system takes whole on every file system.
constexpr std::size_t MaxWriteChunk = std::size_t{1} << 30;
// Copies go through a buffer of this size.
constexpr std::size_t CopyChunk = std::size_t{1} << 20;

}  // namespace

int WriteAll(int fd, const std::uint8_t* data, std::size_t size, off_t offset,
             std::size_t* written) {
  if (written) *written = 0;
  while (size > 0) {
    const ssize_t n = pwrite(fd, data, std::min(size, MaxWriteChunk), offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;  // no progress and no reason: never loop forever
    data += n;
    size -= static_cast<std::size_t>(n);
    offset += n;
    if (written) *written += static_cast<std::size_t>(n);
  }
  return 0;
}

int CopyContent(int from, int to, off_t size, bool* touched) {
  if (touched) *touched = false;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<off_t>(size, CopyChunk)));
  for (off_t done = 0; done < size;) {
    const std::size_t want = static_cast<std::size_t>(std::min<off_t>(size - done, CopyChunk));
    const ssize_t n = pread(from, buffer.data(), want, done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;  // the file ended before its size: it changed under us
    std::size_t written = 0;
    const int err = WriteAll(to, buffer.data(), static_cast<std::size_t>(n), done, &written);
    if (touched && written > 0) *touched = true;
    if (err != 0) return err;
    done += n;
  }
  return 0;
}

int SyncFile(int fd) {
  while (fsync(fd) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

int CheckClose(int fd) {
  const int copy = dup(fd);
  if (copy < 0) return errno;
  return UniqueFd(copy).Close();
}

int SyncFolder(int folder) {
  const UniqueFd fd(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) return 0;
  const int err = SyncFile(fd.Get());
  return err == EINVAL || err == EROFS || err == ENOSYS || err == EOPNOTSUPP ? 0 : err;
}

void FailWrite(const std::string& path, int err) {
  throw SystemFileError(path, "cannot write", err);
}

}  // namespace gk
