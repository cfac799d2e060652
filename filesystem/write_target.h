#pragma once

#include <sys/stat.h>

#include <string>

#include "filesystem/unique_fd.h"

namespace gk {

// The file a write goes to: a name in a folder held open, so that every later step (the
// temporary file, the rename, an update in place) acts on the same folder whatever happens to
// the path meanwhile.
struct WriteTarget {
  UniqueFd folder;   // opened with O_PATH
  std::string name;  // the file's name in `folder`
  std::string path;  // the real path, from the open folder, for messages and records
  bool exists = false;
  struct stat status = {};  // of the file itself, when it exists
};

// Finds the file `path` names. The kernel walks the folders; a symbolic link naming the file is
// followed as the kernel does with fs.protected_symlinks=1, whatever the system's setting: in a
// sticky folder anyone may write, only a link owned by this user or by the folder's owner. A link
// that leads nowhere names the file it would make, as a shell's ">" does. Errors name `path`.
WriteTarget OpenWriteTarget(const std::string& path);

}  // namespace gk
