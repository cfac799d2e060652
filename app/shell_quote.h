#pragma once

#include <string>

namespace gk {

// A file name as GNU coreutils' shell-escape style prints it: a name that holds a control
// character (C0, DEL, C1) or a byte that is not UTF-8 is quoted, each such byte written as an
// escape ("a\033b" prints as 'a'$'\033''b'), so that pasted into a shell it names the file and
// printed to a terminal it controls nothing. Any other name is returned as it is.
std::string ShellQuoted(const std::string& name);

// Text that may hold a name among other words: each control character or non-UTF-8 byte is
// written as the escape ShellQuoted uses, without quotes.
std::string EscapedControls(const std::string& text);

}  // namespace gk
