#pragma once

#include <string>
#include <vector>

#include "filesystem/temporary_file.h"

namespace gk {

// Where records of updates in place are kept, and copies of old content when they cannot stand
// beside their file: $XDG_STATE_HOME/gridkiln/ when XDG_STATE_HOME is an absolute path, else
// ~/.local/state/gridkiln/. Ends with "/".
std::string SaveStateFolder();

// The record of one update in place under way: a file "save-XXXXXXXXXX.journal" in the state
// folder holding the file's path and its copy's path, each ended by a zero byte. It is complete
// and on disk before it gets its name, and held with flock while the update runs, so that an
// editor starting meanwhile does not take it for an interrupted one. Unless removed, it stays
// for the next start to report.
class SaveJournal {
 public:
  // 0 or the errno of the failure.
  int Write(int stateFolder, const std::string& target, const std::string& copy);
  // The update is over.
  void Remove();

 private:
  int folder_ = -1;  // the caller's
  TemporaryFile file_;
  std::string name_;
};

struct InterruptedSave {
  std::string target;   // the file being updated
  std::string copy;     // its complete previous content
  std::string journal;  // the record
};

// The records in `stateFolder` that no running save holds, ordered by file. A record whose copy
// is gone is dropped on the way: the update ended while it was being cleared.
std::vector<InterruptedSave> FindInterruptedSaves(const std::string& stateFolder);
// Removes the record, leaving the copy to the user.
void ForgetInterruptedSave(const InterruptedSave& save);

}  // namespace gk
