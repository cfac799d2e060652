#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <string>

#include "filesystem/unique_fd.h"

namespace gk {

// A file in a folder that nobody sees until it is complete. Made with O_TMPFILE it has no name
// until it is given one, so a kill leaves nothing. Where the file system has no O_TMPFILE it gets
// a hidden name ".gridkiln-XXXXXXXXXX.tmp" at once (never one the "*.bmp" lists show), held with
// flock while it exists, so that RemoveStaleTemporaries never takes it from a running save. The
// hidden name goes with the object unless the file was renamed into place.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Makes the file in `folder` (kept open by the caller): 0 or the errno of the failure.
  int Create(int folder, mode_t mode);
  // Gives the file the owner, group and mode of `old`; false when the process may not.
  bool TakeOver(const struct stat& old);
  int Fd() const { return fd_.Get(); }

  // Gives the complete file a lasting name, never replacing a file: the first of nameFor(0),
  // nameFor(1), ... not taken. 0 or the errno of the failure; the name is the caller's to remove.
  int LinkAs(const std::function<std::string(int attempt)>& nameFor, std::string* chosen);
  // Puts the file in place of `name` in the same folder in one rename.
  int RenameOver(const std::string& name);

 private:
  int Link(const std::string& name);

  int folder_ = -1;  // the caller's
  UniqueFd fd_;
  std::string hidden_;  // the hidden name, while the file has one
};

// Ten random letters and digits, for names that must not meet.
std::string RandomLetters();

// Removes the ".gridkiln-XXXXXXXXXX.tmp" files of `folder` that no running save holds: what
// killed saves left behind.
void RemoveStaleTemporaries(int folder);

}  // namespace gk
