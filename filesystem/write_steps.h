#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace gk {

// The small steps every file write is made of. Each answers 0 or the errno of the failure, so a
// caller can decide what the failure means before it reports it.

// Writes every byte at `offset`, going on after short writes and signals; `written` counts the
// bytes that made it, failure or not.
int WriteAll(int fd, const std::uint8_t* data, std::size_t size, off_t offset,
             std::size_t* written = nullptr);
// Copies the first `size` bytes of `from` to the start of `to`. `touched` tells whether any byte
// of `to` was written before a failure.
int CopyContent(int from, int to, off_t size, bool* touched = nullptr);
int SyncFile(int fd);
// Reports what closing `fd` would (network file systems report late write errors there) while
// `fd` stays open, for a possible undo, and keeps its locks.
int CheckClose(int fd);
// Syncs the folder, so that names made or removed in it are on disk. File systems that cannot
// sync a folder (some network and virtual ones) count as done.
int SyncFolder(int folder);

// "<path>: cannot write: <the system's text for err>".
[[noreturn]] void FailWrite(const std::string& path, int err);

}  // namespace gk
