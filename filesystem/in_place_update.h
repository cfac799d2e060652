#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "filesystem/write_target.h"

namespace gk {

// Rewrites the existing file of `target` in place with `bytes`, for files a rename would change
// (a second hard link, an owner or group the process cannot give, a folder it may not write).
//
// Room for the new content is reserved first, so a full disk fails before anything changes.
// Then a complete copy of the old content is made and synced, beside the file
// ("hero.bmp.gridkiln-old") or, where that cannot be, in SaveStateFolder(), together with a
// SaveJournal naming both; only then does the file change. When the new content is on disk, copy
// and record go. A failure puts the old content back before it is reported ("hero.bmp: cannot
// write: Input/output error"); where even that fails, the message names the copy, which stays
// with its record for the editor's next start. A kill leaves the record and the copy.
void UpdateInPlace(const std::string& path, const WriteTarget& target,
                   std::span<const std::uint8_t> bytes);

}  // namespace gk
