#include "settings/settings_file.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "filesystem/file_io.h"
#include "settings/parse_int.h"

namespace gk {

StartSizes LoadSettings(Settings& settings, const std::string& iniPath, bool* dotSizeGiven) {
  StartSizes sizes;
  if (dotSizeGiven != nullptr) *dotSizeGiven = false;
  if (!FileExists(iniPath)) {
    settings.StoreSetting("Save256", "0");
    return sizes;
  }

  const std::vector<std::uint8_t> bytes = ReadFileBytes(iniPath, MaxSettingsFileBytes);
  settings.SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));

  // Each size is taken as soon as it converts. The first missing or unconvertible value ends
  // the reading, leaving it and every later size at the default; a value that converts but lies
  // outside its range costs only its own field.
  for (const SizeSetting& key : SizeSettings) {
    const auto value = TryParseInt(settings.LookupSetting(key.name));
    if (!value) break;
    if (!key.range.Contains(*value)) continue;
    sizes.*key.field = *value;
    if (key.field == &StartSizes::DotSize && dotSizeGiven != nullptr) *dotSizeGiven = true;
  }
  return sizes;
}

void SaveSettings(const Settings& settings, const std::string& iniPath) {
  const std::string text = settings.Text();
  // Rewriting adds a CR to every line, so a file read at the limit could grow past it; never
  // write what the next start would refuse to read.
  if (text.size() > MaxSettingsFileBytes) {
    throw std::runtime_error(iniPath + ": cannot write: the settings would be larger than " +
                             std::to_string(MaxSettingsFileBytes / 1024) + " KiB");
  }
  WriteFileAtomically(
      iniPath, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                             text.size()));
}

}  // namespace gk
