#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace gk {

// Calls `entry` with the name of every entry of `folder` ("" is the current folder) but "." and
// "..": files, hidden files and folders alike, each name the bytes the file system holds. A
// folder that cannot be listed reports nothing.
void ListFolder(const std::string& folder, const std::function<void(std::string_view)>& entry);

}  // namespace gk
