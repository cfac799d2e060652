#include "filesystem/temporary_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string_view>

namespace gk {

namespace {

constexpr std::string_view HiddenPrefix = ".gridkiln-";
constexpr std::string_view HiddenSuffix = ".tmp";
constexpr std::size_t RandomLength = 10;
constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr int MaxAttempts = 100;

std::string HiddenName(int) {
  return std::string(HiddenPrefix) + RandomLetters() + std::string(HiddenSuffix);
}

bool IsHiddenName(std::string_view name) {
  if (name.size() != HiddenPrefix.size() + RandomLength + HiddenSuffix.size()) return false;
  if (!name.starts_with(HiddenPrefix) || !name.ends_with(HiddenSuffix)) return false;
  return name.substr(HiddenPrefix.size(), RandomLength).find_first_not_of(Letters) ==
         std::string_view::npos;
}

int Lock(int fd, int how) {
  while (flock(fd, how) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when `name` in `folder` still is the file open as `fd`.
bool StillNamed(int folder, const std::string& name, int fd) {
  struct stat open, named;
  return fstat(fd, &open) == 0 && fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         SameFile(open, named);
}

}  // namespace

std::string RandomLetters() {
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof Letters - 2);
  std::string letters;
  for (std::size_t i = 0; i < RandomLength; ++i) letters += Letters[pick(random)];
  return letters;
}

TemporaryFile::~TemporaryFile() {
  if (!hidden_.empty()) unlinkat(folder_, hidden_.c_str(), 0);
}

int TemporaryFile::Create(int folder, mode_t mode) {
  folder_ = folder;
  // Naming an O_TMPFILE goes through /proc/self/fd, which a bare chroot may lack.
  if (access("/proc/self/fd", X_OK) == 0) {
    const int fd = openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (fd >= 0) {
      fd_ = UniqueFd(fd);
      // Held before it has a name, so that no cleanup ever sees it unheld.
      Lock(fd, LOCK_EX);
      return 0;
    }
    // Only a file system without O_TMPFILE falls back to a named file.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;
  }

  for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
    std::string name = HiddenName(attempt);
    UniqueFd named(openat(folder, name.c_str(),
                          O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, mode));
    if (!named) {
      if (errno == EEXIST) continue;
      return errno;
    }
    // A file system without locks still gets its temporary file, only unguarded.
    const int locked = Lock(named.Get(), LOCK_EX);
    // A cleanup may have taken the name away between the open and the lock.
    if (locked == 0 && !StillNamed(folder, name, named.Get())) continue;
    fd_ = std::move(named);
    hidden_ = std::move(name);
    return 0;
  }
  return EEXIST;
}

bool TemporaryFile::TakeOver(const struct stat& old) {
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

int TemporaryFile::Link(const std::string& name) {
  if (!hidden_.empty()) {
    return linkat(folder_, hidden_.c_str(), folder_, name.c_str(), 0) == 0 ? 0 : errno;
  }
  const std::string self = "/proc/self/fd/" + std::to_string(fd_.Get());
  return linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

int TemporaryFile::LinkAs(const std::function<std::string(int)>& nameFor, std::string* chosen) {
  for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
    std::string name = nameFor(attempt);
    const int err = Link(name);
    if (err == EEXIST) continue;
    if (err != 0) return err;
    if (!hidden_.empty()) {
      unlinkat(folder_, hidden_.c_str(), 0);
      hidden_.clear();
    }
    *chosen = std::move(name);
    return 0;
  }
  return EEXIST;
}

int TemporaryFile::RenameOver(const std::string& name) {
  if (hidden_.empty()) {
    std::string hidden;
    if (const int err = LinkAs(HiddenName, &hidden)) return err;
    hidden_ = std::move(hidden);
  }
  if (renameat(folder_, hidden_.c_str(), folder_, name.c_str()) != 0) return errno;
  hidden_.clear();
  return 0;
}

void RemoveStaleTemporaries(int folder) {
  const int listing = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return;
  DIR* dir = fdopendir(listing);
  if (!dir) {
    close(listing);
    return;
  }
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (!IsHiddenName(name)) continue;
    struct stat status;
    if (fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(status.st_mode)) {
      continue;
    }
    const UniqueFd fd(openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    // Held: a save is writing it. The name may also have passed to another file meanwhile.
    if (!fd || Lock(fd.Get(), LOCK_EX | LOCK_NB) != 0 || !StillNamed(folder, name, fd.Get())) {
      continue;
    }
    unlinkat(folder, name.c_str(), 0);
  }
  closedir(dir);
}

}  // namespace gk
