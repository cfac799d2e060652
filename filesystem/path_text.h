#pragma once

#include <string>

namespace gk {

// The text after the last "/" (the whole path when there is none).
std::string FileNamePart(const std::string& path);
// Everything up to and including the last "/" (empty when there is none).
std::string FolderPart(const std::string& path);

}  // namespace gk
