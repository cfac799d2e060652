#include "editor/option_command.h"

#include <cstdint>
#include <exception>
#include <stdexcept>

#include "filesystem/folder_creation.h"
#include "filesystem/path_text.h"
#include "settings/parse_int.h"
#include "settings/settings_file.h"
#include "settings/size_limits.h"

namespace gk {

namespace {

// 32-bit signed product that wraps on overflow, computed unsigned to stay defined.
std::int32_t WrappingProduct(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// A size outside its range fails like a box that does not convert, so the file never holds a
// value that the next start would discard.
std::int32_t StoreSize(Settings& settings, const char* name, const std::string& text,
                       SizeRange range) {
  const std::int32_t value = ParseInt(text);
  if (!range.Contains(value)) throw std::out_of_range(name);
  settings.StoreSetting(name, std::to_string(value));
  return value;
}

}  // namespace

std::string WindowSizeLabel(const OptionValues& values) {
  const auto height2 = TryParseInt(values.height2);
  const auto dotForHeight = TryParseInt(values.dotSize);
  const auto width2 = TryParseInt(values.width2);
  const auto dotForWidth = TryParseInt(values.dotSize);
  if (!height2 || !dotForHeight || !width2 || !dotForWidth) return "Window=???";
  const std::int32_t height = WrappingProduct(*height2, *dotForHeight);
  const std::int32_t width = WrappingProduct(*width2, *dotForWidth);
  return "Window=" + std::to_string(width) + " x " + std::to_string(height);
}

void BtnOptionClick(const OptionContext& ctx) {
  const StartSizes& shown = ctx.shown;
  OptionValues values;
  values.width2 = std::to_string(shown.Width2);
  values.height2 = std::to_string(shown.Height2);
  values.width = std::to_string(shown.Width);
  values.height = std::to_string(shown.Height);
  values.dotSize = std::to_string(shown.DotSize);
  values.buttonW = std::to_string(shown.ButtonW);
  values.buttonH = std::to_string(shown.ButtonH);
  values.save256 = ctx.settings.FlagOn("Save256");
  values.png = ctx.settings.FlagOn("Png");

  if (!ctx.ui.RunOptionDialog(values)) return;

  // Stores go to memory one by one; a failure keeps those already made and skips the rest,
  // the file write included. The sizes take effect at the next start.
  std::string failure = "failed!";
  try {
    StoreSize(ctx.settings, "Width", values.width, DocumentSideRange);
    StoreSize(ctx.settings, "Height", values.height, DocumentSideRange);
    const auto width2 = StoreSize(ctx.settings, "Width2", values.width2, EditWindowSideRange);
    const auto height2 = StoreSize(ctx.settings, "Height2", values.height2, EditWindowSideRange);
    const auto dotSize = StoreSize(ctx.settings, "DotSize", values.dotSize, DotSizeRange);
    ctx.settings.StoreSetting("Save256", values.save256 ? "1" : "0");
    ctx.settings.StoreSetting("Png", values.png ? "1" : "0");
    StoreSize(ctx.settings, "ButtonW", values.buttonW, ButtonSideRange);
    StoreSize(ctx.settings, "ButtonH", values.buttonH, ButtonSideRange);
    // A grid too large for the window would make the next start drop all three grid sizes.
    if (!GridFits(dotSize, width2, height2)) throw std::out_of_range("DotSize");
    // An installed copy's settings folder is made at the first OK, readable by the user alone
    // as the XDG rule asks. The box names it when it cannot be made.
    try {
      MakeFolders(FolderPart(ctx.iniPath), 0700);
    } catch (const std::exception& e) {
      failure = failure + "\n" + e.what();
      throw;
    }
    SaveSettings(ctx.settings, ctx.iniPath);
    ctx.ui.ShowMessage("再起動してください。", "Option", MessageButtons::Ok, MessageIcon::None);
  } catch (const std::exception&) {
    ctx.ui.ShowMessage(failure, "Option", MessageButtons::Ok, MessageIcon::Stop);
  }
}

}  // namespace gk
