#pragma once

#include <string>

namespace gk {

// The running program's path, links resolved, as bytes. Qt holds it as text and gives nothing
// when the name of a folder on the way is not UTF-8.
std::string ProgramPath();

// The executable's file name up to its first full stop, all but its first character in lower
// case: "gridkiln" for our program.
std::string ApplicationTitle(const std::string& executableFileName);

// The caption of error boxes: the running program's ApplicationTitle.
std::string ProgramTitle();

}  // namespace gk
