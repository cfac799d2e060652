#include "filesystem/in_place_update.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>

#include "filesystem/file_error.h"
#include "filesystem/folder_creation.h"
#include "filesystem/interrupted_saves.h"
#include "filesystem/path_text.h"
#include "filesystem/temporary_file.h"
#include "filesystem/write_steps.h"

namespace gk {

namespace {

constexpr std::string_view CopySuffix = ".gridkiln-old";
// Leaves room in a name of at most 255 bytes for the suffix and a random part.
constexpr std::size_t MaxCopyBase = 200;

[[noreturn]] void FailKeep(const std::string& path, const std::string& reason) {
  throw FileError(path, "cannot write: cannot keep a copy of its previous content: " + reason);
}

// Makes sure the disk holds the new content before anything changes: true when reserved, false
// where the file system cannot reserve. fallocate keeps the file's length, so a refusal leaves
// the file as it was.
bool Reserve(const std::string& path, int fd, off_t oldSize, off_t size) {
  if (size == 0) return true;
  int err = 0;
  while (fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0) {
    err = errno;
    if (err != EINTR) break;
    err = 0;
  }
  if (err == 0) return true;
  if (err == EOPNOTSUPP || err == ENOSYS) return false;
  // Gives back blocks reserved before the failure; the length and the old bytes stay.
  [[maybe_unused]] const int ignored = ftruncate(fd, oldSize);
  FailWrite(path, err);
}

// The old content of the file, complete and on disk, and the record that names it.
class OldContent {
 public:
  OldContent(const std::string& path, const WriteTarget& target, int fd, off_t size) {
    const std::string state = SaveStateFolder();
    try {
      MakeFolders(state, 0700);
    } catch (const std::exception& e) {
      FailKeep(path, e.what());
    }
    stateFolder_ = UniqueFd(open(state.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!stateFolder_) FailKeep(path, state + ": " + std::strerror(errno));

    const std::string base = target.name.substr(0, MaxCopyBase);
    int err = Copy(target.folder.Get(), FolderPart(target.path), base, fd, size);
    if (err != 0) err = Copy(stateFolder_.Get(), state, base, fd, size);
    if (err != 0) FailKeep(path, std::strerror(err));
    if (const int failed = journal_.Write(stateFolder_.Get(), target.path, copyPath_)) {
      unlinkat(copyFolder_, copyName_.c_str(), 0);
      FailKeep(path, std::strerror(failed));
    }
  }

  int Fd() const { return file_->Fd(); }
  const std::string& Path() const { return copyPath_; }
  // The new content is on disk, or the old is back: copy and record go.
  void Discard() {
    unlinkat(copyFolder_, copyName_.c_str(), 0);
    journal_.Remove();
  }

 private:
  // A copy in `folder`: 0 or the errno of the failure, which leaves nothing there.
  int Copy(int folder, const std::string& folderPath, const std::string& base, int fd, off_t size) {
    file_ = std::make_unique<TemporaryFile>();
    if (const int err = file_->Create(folder, 0600)) return err;
    if (const int err = CopyContent(fd, file_->Fd(), size)) return err;
    if (const int err = SyncFile(file_->Fd())) return err;
    const auto nameFor = [&](int attempt) {
      return base + std::string(CopySuffix) + (attempt == 0 ? "" : "-" + RandomLetters());
    };
    if (const int err = file_->LinkAs(nameFor, &copyName_)) return err;
    if (const int err = SyncFolder(folder)) {
      unlinkat(folder, copyName_.c_str(), 0);
      return err;
    }
    copyFolder_ = folder;
    copyPath_ = folderPath + copyName_;
    return 0;
  }

  UniqueFd stateFolder_;
  std::unique_ptr<TemporaryFile> file_;
  int copyFolder_ = -1;
  std::string copyName_;
  std::string copyPath_;
  SaveJournal journal_;
};

// Puts the old content back: 0 or the errno of the failure. `touched` tells whether the attempt
// changed the file before it failed.
int Restore(int fd, const OldContent& old, off_t oldSize, bool* touched) {
  if (const int err = CopyContent(old.Fd(), fd, oldSize, touched)) return err;
  if (ftruncate(fd, oldSize) != 0) return errno;
  *touched = true;
  return SyncFile(fd);
}

}  // namespace

void UpdateInPlace(const std::string& path, const WriteTarget& target,
                   std::span<const std::uint8_t> bytes) {
  // Non-blocking in case something else was put there since the check: it is looked at again.
  UniqueFd fd(openat(target.folder.Get(), target.name.c_str(),
                     O_RDWR | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK));
  if (!fd) FailWrite(path, errno);
  struct stat now;
  if (fstat(fd.Get(), &now) != 0) FailWrite(path, errno);
  if (!S_ISREG(now.st_mode)) throw FileError(path, "cannot write: not a regular file");
  const off_t oldSize = now.st_size;
  const off_t size = static_cast<off_t>(bytes.size());
  const bool reserved = Reserve(path, fd.Get(), oldSize, size);
  OldContent old(path, target, fd.Get(), oldSize);

  int err = 0;
  // Without a reservation the part past the old end goes first: it overwrites nothing, and a
  // full disk stops it before the old bytes are touched.
  if (!reserved && size > oldSize) {
    err = WriteAll(fd.Get(), bytes.data() + oldSize, static_cast<std::size_t>(size - oldSize),
                   oldSize);
  }
  if (err == 0) err = WriteAll(fd.Get(), bytes.data(), bytes.size(), 0);
  if (err == 0 && ftruncate(fd.Get(), size) != 0) err = errno;
  const bool written = err == 0;
  if (err == 0) err = SyncFile(fd.Get());
  if (err == 0) err = CheckClose(fd.Get());
  if (err == 0) {
    old.Discard();
    return;
  }

  bool touched = false;
  if (Restore(fd.Get(), old, oldSize, &touched) == 0) {
    old.Discard();
    FailWrite(path, err);
  }
  // The copy and its record stay for the user and the editor's next start.
  const std::string kept =
      std::string(std::strerror(err)) + "; its previous content is in " + old.Path();
  if (written && !touched)
    throw FileError(path, "written, but the disk did not confirm it: " + kept);
  throw FileError(path, "cannot write: " + kept);
}

}  // namespace gk
