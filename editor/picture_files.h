#pragma once

#include <string>

#include "image/surface.h"

namespace gk {

// Picture files on disk: a codec joined to the bounded reads and the atomic writes of
// filesystem/file_io.h. Errors are std::runtime_error naming the file first.

// Reads and decodes a BMP file (bounded read); errors name the file.
Surface LoadBmpFile(const std::string& path);
// Reads a BMP or a PNG file, told apart by their first bytes, not by the name (bounded read, the
// same bound for both); errors name the file.
Surface LoadPictureFile(const std::string& path);
// Encodes and writes atomically.
void SaveBmpFile(const std::string& path, const Surface& surface);

}  // namespace gk
