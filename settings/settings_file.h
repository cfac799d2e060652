#pragma once

#include <cstddef>
#include <string>

#include "settings/settings.h"

namespace gk {

struct EditorState;

// The largest settings file a start reads, and the largest a save writes, so the program always
// reads back what it wrote. A settings file holds a handful of short lines.
inline constexpr std::size_t MaxSettingsFileBytes = 1024 * 1024;

// Reads `IniPath` into `settings` and the seven sizes into `state`. No file: stores
// "Save256"="0" and keeps the defaults. A file that exists but cannot be read throws.
void LoadSettings(Settings& settings, EditorState& state);
// Writes the list to `iniPath` atomically; throws on failure, and when the text would be larger
// than MaxSettingsFileBytes.
void SaveSettings(const Settings& settings, const std::string& iniPath);

}  // namespace gk
