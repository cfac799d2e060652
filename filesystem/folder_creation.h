#pragma once

#include <sys/types.h>

#include <string>

namespace gk {

// Makes `folder` and whichever of its parents are missing, each new one with `mode` (less the
// umask); an existing folder (an empty path is the current one) is left as it is, at the cost
// of one stat. Errors name `folder`:
// "/home/ann/Pictures/gridkiln: cannot create the folder: Permission denied".
void MakeFolders(const std::string& folder, mode_t mode);

}  // namespace gk
