#pragma once

#include <string>

#include "image/picture_format.h"
#include "image/surface.h"

namespace gk {

// Picture files on disk: the kinds of image/picture_formats.h joined to the bounded reads and
// the atomic writes of filesystem/file_io.h. Errors are std::runtime_error naming the file first.

// Reads and decodes a BMP file (bounded read); errors name the file.
Surface LoadBmpFile(const std::string& path);
// Reads a picture file of any kind, told apart by its first bytes, not by the name (bounded
// read, the same bound for every kind); errors name the file.
Surface LoadPictureFile(const std::string& path);
// Encodes `surface` as a file of `format` and writes it atomically.
void SavePictureFile(const std::string& path, const PictureFormat& format, const Surface& surface);
// The same as a BMP file.
void SaveBmpFile(const std::string& path, const Surface& surface);

}  // namespace gk
