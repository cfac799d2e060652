#include "settings/settings_file.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/file_io.h"
#include "settings/parse_int.h"
#include "settings/size_limits.h"
#include "workspace/editor_state.h"

namespace gk {

namespace {

// The seven sizes in the order they are read, with the range each may take.
struct SizeKey {
  const char* name;
  std::int32_t EditorState::*field;
  SizeRange range;
};

constexpr SizeKey kSizeKeys[] = {
    {"Width", &EditorState::Width, DocumentSideRange},
    {"Height", &EditorState::Height, DocumentSideRange},
    {"Width2", &EditorState::Width2, EditWindowSideRange},
    {"Height2", &EditorState::Height2, EditWindowSideRange},
    {"DotSize", &EditorState::DotSize, DotSizeRange},
    {"ButtonW", &EditorState::ButtonW, ButtonSideRange},
    {"ButtonH", &EditorState::ButtonH, ButtonSideRange},
};

}  // namespace

void LoadSettings(Settings& settings, EditorState& state) {
  if (!FileExists(state.IniPath)) {
    settings.StoreSetting("Save256", "0");
    return;
  }

  const std::vector<std::uint8_t> bytes = ReadFileBytes(state.IniPath, MaxSettingsFileBytes);
  settings.SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));

  // Each size is assigned as soon as it converts. The first missing or unconvertible value
  // ends the reading, leaving it and every later size at the default; a value that converts but
  // lies outside its range costs only its own field.
  for (const SizeKey& key : kSizeKeys) {
    const auto value = TryParseInt(settings.LookupSetting(key.name));
    if (!value) return;
    if (key.range.Contains(*value)) state.*key.field = *value;
  }
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
