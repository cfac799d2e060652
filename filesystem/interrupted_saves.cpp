#include "filesystem/interrupted_saves.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "filesystem/unique_fd.h"
#include "filesystem/user_folders.h"
#include "filesystem/write_steps.h"

namespace gk {

namespace {

constexpr std::string_view JournalPrefix = "save-";
constexpr std::string_view JournalSuffix = ".journal";
// Two paths and their ends.
constexpr std::size_t MaxJournalBytes = 2 * (PATH_MAX + 1);

bool IsJournalName(std::string_view name) {
  return name.size() > JournalPrefix.size() + JournalSuffix.size() &&
         name.starts_with(JournalPrefix) && name.ends_with(JournalSuffix);
}

std::optional<InterruptedSave> ReadJournal(const std::string& path) {
  const UniqueFd fd(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat status;
  if (!fd || fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
    return std::nullopt;
  }
  std::string text(MaxJournalBytes + 1, '\0');
  const ssize_t length = pread(fd.Get(), text.data(), text.size(), 0);
  if (length <= 0 || static_cast<std::size_t>(length) > MaxJournalBytes) return std::nullopt;
  text.resize(static_cast<std::size_t>(length));
  const std::size_t end = text.find('\0');
  if (end == 0 || end == std::string::npos || text.back() != '\0' ||
      text.find('\0', end + 1) != text.size() - 1 || end + 2 == text.size()) {
    return std::nullopt;
  }
  InterruptedSave save{text.substr(0, end), text.substr(end + 1, text.size() - end - 2), path};
  struct stat copy;
  if (lstat(save.copy.c_str(), &copy) != 0) {
    unlink(path.c_str());
    return std::nullopt;
  }
  return save;
}

}  // namespace

std::string SaveStateFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  std::string folder;
  if (state && state[0] == '/') {
    folder = state;
  } else {
    folder = CurrentUserEnvironment().home;
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    folder += "/.local/state";
  }
  if (folder.back() != '/') folder += '/';
  return folder + "gridkiln/";
}

int SaveJournal::Write(int stateFolder, const std::string& target, const std::string& copy) {
  folder_ = stateFolder;
  if (const int err = file_.Create(stateFolder, 0600)) return err;
  std::string text = target;
  text += '\0';
  text += copy;
  text += '\0';
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (const int err = WriteAll(file_.Fd(), bytes, text.size(), 0)) return err;
  if (const int err = SyncFile(file_.Fd())) return err;
  const auto nameFor = [](int) {
    return std::string(JournalPrefix) + RandomLetters() + std::string(JournalSuffix);
  };
  if (const int err = file_.LinkAs(nameFor, &name_)) return err;
  const int err = SyncFolder(stateFolder);
  if (err != 0) Remove();
  return err;
}

void SaveJournal::Remove() {
  if (!name_.empty()) unlinkat(folder_, name_.c_str(), 0);
  name_.clear();
}

std::vector<InterruptedSave> FindInterruptedSaves(const std::string& stateFolder) {
  std::vector<InterruptedSave> saves;
  DIR* dir = opendir(stateFolder.c_str());
  if (!dir) return saves;
  while (const dirent* entry = readdir(dir)) {
    if (!IsJournalName(entry->d_name)) continue;
    if (auto save = ReadJournal(stateFolder + entry->d_name)) saves.push_back(std::move(*save));
  }
  closedir(dir);
  std::sort(saves.begin(), saves.end(),
            [](const InterruptedSave& a, const InterruptedSave& b) { return a.target < b.target; });
  return saves;
}

void ForgetInterruptedSave(const InterruptedSave& save) {
  unlink(save.journal.c_str());
}

}  // namespace gk
