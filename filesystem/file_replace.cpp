#include "filesystem/file_replace.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "filesystem/file_error.h"
#include "filesystem/in_place_update.h"
#include "filesystem/temporary_file.h"
#include "filesystem/write_steps.h"
#include "filesystem/write_target.h"

namespace gk {

namespace {

// The atomic way. False when it cannot keep what the user set on the old file; the caller then
// updates the file in place.
bool ReplaceThroughTemporary(const std::string& path, const WriteTarget& target,
                             std::span<const std::uint8_t> bytes) {
  const struct stat* old = target.exists ? &target.status : nullptr;
  TemporaryFile temp;
  // A new file gets the usual mode for new files (0666 less the umask, default ACLs applied).
  const int created = temp.Create(target.folder.Get(), old ? 0600 : 0666);
  if (created != 0) {
    // A folder the process may not write can still hold a file it may write.
    if (old && (created == EACCES || created == EPERM)) return false;
    FailWrite(path, created);
  }
  if (old && !temp.TakeOver(*old)) return false;

  if (const int err = WriteAll(temp.Fd(), bytes.data(), bytes.size(), 0)) FailWrite(path, err);
  if (const int err = SyncFile(temp.Fd())) FailWrite(path, err);
  if (const int err = CheckClose(temp.Fd())) FailWrite(path, err);
  if (const int err = temp.RenameOver(target.name)) {
    // A sticky folder lets only the owner replace a file the process may still write.
    if (old && (err == EACCES || err == EPERM)) return false;
    FailWrite(path, err);
  }
  // The new content is in place; only the folder's record of the rename is unconfirmed.
  if (const int err = SyncFolder(target.folder.Get())) {
    throw FileError(path,
                    std::string("written, but the disk did not confirm it: ") + std::strerror(err));
  }
  return true;
}

}  // namespace

void ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty()) throw std::runtime_error("cannot write a file without a name");
  // The system would stop the name at a zero byte and write another file.
  if (path.find('\0') != std::string::npos) FailWrite(path, EINVAL);

  const WriteTarget target = OpenWriteTarget(path);
  if (target.exists) {
    if (!S_ISREG(target.status.st_mode)) throw FileError(path, "cannot write: not a regular file");
    // Refused even where the system would let us replace it (running as root): the user
    // protected the file on purpose.
    if ((target.status.st_mode & 0222) == 0) {
      throw FileError(path, "cannot write: the file is write-protected");
    }
  }
  RemoveStaleTemporaries(target.folder.Get());
  // A rename would give only this name the new content; the other names keep the old.
  if (target.exists && target.status.st_nlink > 1) {
    UpdateInPlace(path, target, bytes);
    return;
  }
  if (!ReplaceThroughTemporary(path, target, bytes)) UpdateInPlace(path, target, bytes);
}

}  // namespace gk
