#include "platform/file_replace.h"

#include <fcntl.h>
#include <linux/limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <stdexcept>
#include <utility>

#include "platform/file_error.h"
#include "platform/path_text.h"
#include "platform/unique_fd.h"

namespace gk {

namespace {

// The kernel's own limit for the links of one lookup.
constexpr int MaxLinkHops = 40;
// Writes are issued in pieces the system takes whole on every file system.
constexpr std::size_t MaxWriteChunk = std::size_t{1} << 30;

[[noreturn]] void FailWrite(const std::string& path, int err) {
  throw SystemFileError(path, "cannot write", err);
}

// The file a write goes to: the end of the chain of symbolic links that starts at `path`.
struct Target {
  std::string path;
  bool exists = false;
  struct stat status = {};
};

Target ResolveLinks(const std::string& given) {
  Target t{given};
  for (int hop = 0;; ++hop) {
    if (lstat(t.path.c_str(), &t.status) != 0) {
      // A link that leads nowhere is written through, as a shell's ">" does.
      if (errno == ENOENT) return t;
      FailWrite(given, errno);
    }
    if (!S_ISLNK(t.status.st_mode)) {
      t.exists = true;
      return t;
    }
    if (hop == MaxLinkHops) FailWrite(given, ELOOP);
    std::string link(PATH_MAX, '\0');
    const ssize_t length = readlink(t.path.c_str(), link.data(), link.size());
    if (length < 0) FailWrite(given, errno);
    if (static_cast<std::size_t>(length) >= link.size()) FailWrite(given, ENAMETOOLONG);
    link.resize(static_cast<std::size_t>(length));
    // A relative link is read from the link's own folder.
    t.path = link.front() == '/' ? link : FolderPart(t.path) + link;
  }
}

// Writes every byte at `offset`, going on after short writes and signals: 0, or the errno of
// the write that failed.
int WriteAll(int fd, const std::uint8_t* data, std::size_t size, off_t offset) {
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
  }
  return 0;
}

int SyncFile(int fd) {
  while (fsync(fd) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

// The rename is on disk only once the folder is; a folder that cannot be synced (some network
// and virtual file systems) does not undo a write that is complete.
void SyncFolder(const std::string& folder) {
  const UniqueFd fd(
      open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd) fsync(fd.Get());
}

// A temporary file beside the target, removed again by its destructor unless it was renamed
// into place: an error or an exception (bad_alloc included) never leaves one behind.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile() {
    fd_.Close();
    if (!name_.empty()) unlink(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates a new file under a hidden name that never ends in ".bmp" ("*.bmp" lists and the
  // series menu never show it): 0, or the errno of the failure.
  int Create(const std::string& folder, mode_t mode) {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof Letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = folder + ".gridkiln-";
      for (int i = 0; i < 10; ++i) name += Letters[pick(random)];
      name += ".tmp";
      const int fd =
          open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, mode);
      if (fd >= 0) {
        fd_ = UniqueFd(fd);
        name_ = std::move(name);
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  // Gives the file the owner, group and mode of `old`; false when the process may not.
  bool TakeOver(const struct stat& old) {
    struct stat own;
    if (fstat(fd_.Get(), &own) != 0) return false;
    if (own.st_uid != old.st_uid || own.st_gid != old.st_gid) {
      const uid_t uid = own.st_uid != old.st_uid ? old.st_uid : static_cast<uid_t>(-1);
      const gid_t gid = own.st_gid != old.st_gid ? old.st_gid : static_cast<gid_t>(-1);
      if (fchown(fd_.Get(), uid, gid) != 0) return false;
    }
    // After fchown, which clears the set-user-ID and set-group-ID bits.
    return fchmod(fd_.Get(), old.st_mode & 07777) == 0;
  }

  int Fd() const { return fd_.Get(); }
  int Close() { return fd_.Close(); }
  const std::string& Name() const { return name_; }
  // The file now has the target's name; nothing is left to remove.
  void Renamed() { name_.clear(); }

 private:
  UniqueFd fd_;
  std::string name_;
};

// The atomic way. False when it cannot keep what the user set on the old file; the caller then
// updates the file in place.
bool ReplaceThroughTemporary(const std::string& path, const Target& target,
                             std::span<const std::uint8_t> bytes) {
  const struct stat* old = target.exists ? &target.status : nullptr;
  TemporaryFile temp;
  // A new file gets the usual mode for new files (0666 less the umask, default ACLs applied).
  const int created = temp.Create(FolderPart(target.path), old ? 0600 : 0666);
  if (created != 0) {
    // A folder the process may not write can still hold a file it may write.
    if (old && (created == EACCES || created == EPERM)) return false;
    FailWrite(path, created);
  }
  if (old && !temp.TakeOver(*old)) return false;

  if (const int err = WriteAll(temp.Fd(), bytes.data(), bytes.size(), 0)) FailWrite(path, err);
  if (const int err = SyncFile(temp.Fd())) FailWrite(path, err);
  if (const int err = temp.Close()) FailWrite(path, err);
  if (rename(temp.Name().c_str(), target.path.c_str()) != 0) {
    const int err = errno;
    // A sticky folder lets only the owner replace a file the process may still write.
    if (old && (err == EACCES || err == EPERM)) return false;
    FailWrite(path, err);
  }
  temp.Renamed();
  SyncFolder(FolderPart(target.path));
  return true;
}

// Makes sure the disk holds the new content before any old byte is overwritten. fallocate keeps
// the file's length, so a refusal leaves the file exactly as it was. Where the file system
// cannot reserve, the part of the new content past the old end is written first: it overwrites
// nothing, and the rest then goes over blocks the file already has.
void Reserve(const std::string& path, int fd, off_t oldSize, std::span<const std::uint8_t> bytes) {
  const off_t size = static_cast<off_t>(bytes.size());
  if (size == 0) return;
  int err = 0;
  while (fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0) {
    err = errno;
    if (err != EINTR) break;
    err = 0;
  }
  if (err == EOPNOTSUPP || err == ENOSYS) {
    err = size > oldSize ? WriteAll(fd, bytes.data() + oldSize,
                                    static_cast<std::size_t>(size - oldSize), oldSize)
                         : 0;
  }
  if (err != 0) {
    // Gives back blocks reserved before the failure; the length and the old bytes stay.
    [[maybe_unused]] const int ignored = ftruncate(fd, oldSize);
    FailWrite(path, err);
  }
}

void UpdateInPlace(const std::string& path, const Target& target,
                   std::span<const std::uint8_t> bytes) {
  // Non-blocking in case something else was put there since the check: it is looked at again.
  UniqueFd fd(open(target.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK));
  if (!fd) FailWrite(path, errno);
  struct stat now;
  if (fstat(fd.Get(), &now) != 0) FailWrite(path, errno);
  if (!S_ISREG(now.st_mode)) throw FileError(path, "cannot write: not a regular file");

  Reserve(path, fd.Get(), now.st_size, bytes);
  if (const int err = WriteAll(fd.Get(), bytes.data(), bytes.size(), 0)) FailWrite(path, err);
  if (ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) != 0) FailWrite(path, errno);
  if (const int err = SyncFile(fd.Get())) FailWrite(path, err);
  if (const int err = fd.Close()) FailWrite(path, err);
}

}  // namespace

void ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty()) throw std::runtime_error("cannot write a file without a name");
  // The system would stop the name at a zero byte and write another file.
  if (path.find('\0') != std::string::npos) FailWrite(path, EINVAL);

  const Target target = ResolveLinks(path);
  if (target.exists) {
    if (!S_ISREG(target.status.st_mode)) throw FileError(path, "cannot write: not a regular file");
    // Refused even where the system would let us replace it (running as root): the user
    // protected the file on purpose.
    if ((target.status.st_mode & 0222) == 0) {
      throw FileError(path, "cannot write: the file is write-protected");
    }
    // A rename would give only this name the new content; the other names keep the old.
    if (target.status.st_nlink > 1) {
      UpdateInPlace(path, target, bytes);
      return;
    }
  }
  if (!ReplaceThroughTemporary(path, target, bytes)) UpdateInPlace(path, target, bytes);
}

}  // namespace gk
