#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace gk {

// Gives the regular file at `path` the content `bytes`, creating it when it does not exist.
//
// Normally an unnamed temporary file in the same folder (O_TMPFILE) gets the old file's mode,
// owner and group and every byte, is synced, and only then named and renamed over the old name:
// the old content stays whole until the new one is complete, and a kill leaves no temporary file.
// Where a rename would lose something the user set on the file (a second hard link, an owner or
// group the process cannot give, a folder it may not write while the file itself is writable)
// the file is updated in place instead, keeping a copy of its old content until the new one is
// on disk (see UpdateInPlace).
//
// A symbolic link stays a link; the file it leads to is written, where the kernel would follow
// it (see OpenWriteTarget). Anything but a regular file, and a file without any write permission
// bit, is refused and left alone. On failure the previous content stays, nothing of the attempt
// is left behind, and std::runtime_error names `path` as given: "hero.bmp: cannot write: No space
// left on device".
void ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace gk
