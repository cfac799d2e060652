#pragma once

#include <string>
#include <string_view>

namespace gk {

// File names are bytes; Qt holds them as text, where bytes that are not UTF-8 become U+FFFD.
// These helpers show such names and find the real name behind a text that Qt returned.

// The name as text shows it (UTF-8): every byte sequence that is not UTF-8 becomes U+FFFD,
// exactly as Qt decodes the names it lists.
std::string ShownName(std::string_view bytes);

// The path on disk that `shown` (a path as Qt returns it, UTF-8) stands for. Each part that
// exists as given is kept; one that does not is replaced by the one entry of its folder whose
// shown name equals it. A part that matches no entry (a new name to save under) is kept as
// given, with everything after it. Throws std::runtime_error when several entries match.
std::string PathOnDisk(const std::string& shown);

}  // namespace gk
