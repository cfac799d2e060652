#pragma once

#include <string>

#include "settings/settings.h"

namespace gk {

struct EditorState;

// Reads `IniPath` into `settings` and the seven sizes into `state`. No file: stores
// "Save256"="0" and keeps the defaults. A file that exists but cannot be read throws.
void LoadSettings(Settings& settings, EditorState& state);
// Writes the list to `state.IniPath` atomically; throws on failure.
void SaveSettings(const Settings& settings, const std::string& iniPath);

}  // namespace gk
