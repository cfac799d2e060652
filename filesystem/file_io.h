#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace gk {

// Paths are the bytes the system takes, as given: no conversion, so any name the file system
// holds can be read and written. Errors are std::runtime_error naming the path first
// ("hero.bmp: cannot open: No such file or directory", "hero.bmp: not a regular file").

// Reads a whole regular file of at most maxBytes. Anything else (a FIFO, a device, a socket, a
// folder) is refused at once, without waiting on it.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path, std::size_t maxBytes);

// The first bytes of a regular file (at most maxBytes, all of a shorter file) and its length.
struct FileHead {
  std::vector<std::uint8_t> bytes;
  std::uint64_t fileSize = 0;
};
FileHead ReadFileHead(const std::string& path, std::size_t maxBytes);

// Replaces the file whole or not at all, keeping its mode, owner, group, hard links and
// symbolic links (see ReplaceFile in filesystem/file_replace.h); on failure the previous file
// stays as it was and no temporary file is left.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// True for an existing regular file (links followed); a folder, a FIFO or a device counts as
// absent. Never opens the file.
bool FileExists(const std::string& path);

// Which file a path names, links followed: two paths with the same identity are one file.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};
// nullopt when nothing is there.
std::optional<FileIdentity> IdentifyFile(const std::string& path);

}  // namespace gk
