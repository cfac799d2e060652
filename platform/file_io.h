#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace gk {

// Reads a whole file. Throws std::runtime_error naming the path and the reason when the file
// cannot be opened or read, or is larger than maxBytes.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path, std::size_t maxBytes);

// Writes through a temporary file beside the target that is renamed over it only when every
// byte is written; on any failure the previous file stays and no temporary file is left.
// Throws std::runtime_error naming the path and the reason.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// True for an existing regular file; a folder counts as absent.
bool FileExists(const std::string& path);

// Reads and decodes a BMP file (bounded read); errors name the file.
Surface LoadBmpFile(const std::string& path);
// Encodes and writes atomically.
void SaveBmpFile(const std::string& path, const Surface& surface);

}  // namespace gk
