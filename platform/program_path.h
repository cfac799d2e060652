#pragma once

#include <string>

namespace gk {

// The running program's path, links resolved, as bytes. Qt holds it as text and gives nothing
// when the name of a folder on the way is not UTF-8.
std::string ProgramPath();

}  // namespace gk
