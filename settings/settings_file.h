#pragma once

#include <cstddef>
#include <string>

#include "settings/settings.h"
#include "settings/start_sizes.h"

namespace gk {

// The largest settings file a start reads, and the largest a save writes, so the program always
// reads back what it wrote. A settings file holds a handful of short lines.
inline constexpr std::size_t MaxSettingsFileBytes = 1024 * 1024;

// Reads the file at `iniPath` into `settings` and returns the seven sizes it gives, each at its
// initial value where the file gives none; `dotSizeGiven`, where asked for, tells whether the
// dot size is the file's. No file: stores "Save256"="0". A file that exists but cannot be read
// throws.
StartSizes LoadSettings(Settings& settings, const std::string& iniPath,
                        bool* dotSizeGiven = nullptr);
// Writes the list to `iniPath` atomically; throws on failure, and when the text would be larger
// than MaxSettingsFileBytes.
void SaveSettings(const Settings& settings, const std::string& iniPath);

}  // namespace gk
