#include "filesystem/folder_listing.h"

#include <dirent.h>

#include <memory>

namespace gk {

void ListFolder(const std::string& folder, const std::function<void(std::string_view)>& entry) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()), closedir);
  if (!dir) return;
  while (const dirent* found = readdir(dir.get())) {
    const std::string_view name = found->d_name;
    if (name != "." && name != "..") entry(name);
  }
}

}  // namespace gk
