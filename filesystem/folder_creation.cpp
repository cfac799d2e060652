#include "filesystem/folder_creation.h"

#include <sys/stat.h>

#include <cerrno>

#include "filesystem/file_error.h"

namespace gk {

namespace {

bool IsFolder(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

void MakeFolders(const std::string& folder, mode_t mode) {
  std::string target = folder;
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  const char* const action = "cannot create the folder";
  // An empty path is the current folder.
  if (target.empty()) return;
  if (target.find('\0') != std::string::npos) throw SystemFileError(target, action, EINVAL);
  if (IsFolder(target)) return;

  // Top down: each missing step is made; one that exists must be a folder to go through.
  for (std::size_t end = target.find('/', 1);; end = target.find('/', end + 1)) {
    const std::string step = target.substr(0, end);
    if (mkdir(step.c_str(), mode) != 0) {
      const int err = errno;
      if (err != EEXIST) throw SystemFileError(target, action, err);
      if (!IsFolder(step))
        throw FileError(target, std::string(action) + ": " + step + " is not a folder");
    }
    if (end == std::string::npos) return;
  }
}

}  // namespace gk
