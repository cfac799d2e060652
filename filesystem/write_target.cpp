#include "filesystem/write_target.h"

#include <fcntl.h>
#include <linux/limits.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "filesystem/file_error.h"
#include "filesystem/path_text.h"
#include "filesystem/write_steps.h"

namespace gk {

namespace {

// The kernel's own limit for the links of one lookup.
constexpr int MaxLinkHops = 40;

UniqueFd OpenFolder(int at, const std::string& folder) {
  return UniqueFd(
      openat(at, folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// The kernel's rule for links in shared folders such as /tmp: there anyone may plant a link, so
// only links owned by the follower or by the folder's owner are trusted.
bool MayFollow(const struct stat& folder, const struct stat& link) {
  const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
  return !shared || link.st_uid == geteuid() || link.st_uid == folder.st_uid;
}

std::string LinkText(const std::string& path, int link) {
  std::string text(PATH_MAX, '\0');
  const ssize_t length = readlinkat(link, "", text.data(), text.size());
  if (length < 0) FailWrite(path, errno);
  if (length == 0) FailWrite(path, ENOENT);
  if (static_cast<std::size_t>(length) >= text.size()) FailWrite(path, ENAMETOOLONG);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

bool NamesAFolder(const std::string& name) {
  return name.empty() || name == "." || name == "..";
}

// The folder's path as the kernel knows it; `fallback` where /proc cannot say.
std::string RealFolderPath(int folder, const std::string& fallback) {
  std::string real(PATH_MAX, '\0');
  const ssize_t length =
      readlink(("/proc/self/fd/" + std::to_string(folder)).c_str(), real.data(), real.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= real.size() || real[0] != '/') {
    return fallback;
  }
  real.resize(static_cast<std::size_t>(length));
  if (real.back() != '/') real += '/';
  return real;
}

}  // namespace

WriteTarget OpenWriteTarget(const std::string& path) {
  WriteTarget t;
  std::string folder = FolderPart(path);  // as far as the path tells it
  t.name = FileNamePart(path);
  t.folder = OpenFolder(AT_FDCWD, folder);
  if (!t.folder) FailWrite(path, errno);
  for (int hop = 0;; ++hop) {
    if (NamesAFolder(t.name)) throw FileError(path, "cannot write: not a regular file");
    const UniqueFd file(openat(t.folder.Get(), t.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!file) {
      if (errno != ENOENT) FailWrite(path, errno);
      break;
    }
    if (fstat(file.Get(), &t.status) != 0) FailWrite(path, errno);
    if (!S_ISLNK(t.status.st_mode)) {
      t.exists = true;
      break;
    }
    if (hop == MaxLinkHops) FailWrite(path, ELOOP);
    struct stat folderStatus;
    if (fstat(t.folder.Get(), &folderStatus) != 0) FailWrite(path, errno);
    if (!MayFollow(folderStatus, t.status)) {
      throw FileError(path, "not following a link owned by another user in a shared folder");
    }
    // The link's text is read from the link's own folder.
    const std::string text = LinkText(path, file.Get());
    const std::string textFolder = FolderPart(text);
    t.name = FileNamePart(text);
    if (!textFolder.empty()) {
      UniqueFd next = OpenFolder(t.folder.Get(), textFolder);
      if (!next) FailWrite(path, errno);
      t.folder = std::move(next);
      folder = text.front() == '/' ? textFolder : folder + textFolder;
    }
  }
  t.path = RealFolderPath(t.folder.Get(), folder) + t.name;
  return t;
}

}  // namespace gk
