#include "settings/settings_file.h"

#include <cstdint>
#include <string_view>

#include "platform/file_io.h"
#include "settings/parse_int.h"
#include "workspace/editor_state.h"

namespace gk {

namespace {

// A settings file holds a handful of short lines; anything this large is not one.
constexpr std::size_t kMaxSettingsBytes = 1024 * 1024;

// The seven sizes in the order they are read. The bounds keep the layout and the bitmaps sane:
// a value outside them stops the reading like a value that does not convert.
struct SizeKey {
  const char* name;
  std::int32_t EditorState::*field;
  std::int32_t min;
  std::int32_t max;
};

constexpr SizeKey kSizeKeys[] = {
    {"Width", &EditorState::Width, 1, 4096},    {"Height", &EditorState::Height, 1, 4096},
    {"Width2", &EditorState::Width2, 1, 256},   {"Height2", &EditorState::Height2, 1, 256},
    {"DotSize", &EditorState::DotSize, 1, 128}, {"ButtonW", &EditorState::ButtonW, 1, 256},
    {"ButtonH", &EditorState::ButtonH, 1, 256},
};

}  // namespace

void LoadSettings(Settings& settings, EditorState& state) {
  if (!FileExists(state.IniPath)) {
    settings.StoreSetting("Save256", "0");
    return;
  }

  const std::vector<std::uint8_t> bytes = ReadFileBytes(state.IniPath, kMaxSettingsBytes);
  settings.SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));

  // Each size is assigned as soon as it converts; the first missing, bad or out-of-range value
  // leaves it and every later size at the default.
  for (const SizeKey& key : kSizeKeys) {
    const auto value = TryParseInt(settings.LookupSetting(key.name));
    if (!value || *value < key.min || *value > key.max) return;
    state.*key.field = *value;
  }
}

void SaveSettings(const Settings& settings, const std::string& iniPath) {
  const std::string text = settings.Text();
  WriteFileAtomically(
      iniPath, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                             text.size()));
}

}  // namespace gk
