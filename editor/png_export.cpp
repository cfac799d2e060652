#include "editor/png_export.h"

#include <exception>

#include "editor/png_conversion.h"
#include "editor/png_path.h"

namespace gk {

void ExportPng(EditorContext& ctx, const std::string& bmpPath) {
  const std::string pngPath = PngPathFor(bmpPath);
  std::string reason;
  try {
    const auto failure = ConvertBmpToPng(bmpPath, pngPath);
    if (!failure) return;
    reason = failure->reason;
  } catch (const std::exception& e) {
    reason = e.what();
    if (reason.empty()) reason = "unknown error";
  }
  // The box names the PNG once, whatever the layer below put in front of its reason.
  for (const std::string& named : {pngPath + ": cannot write: ", pngPath + ": "}) {
    if (reason.rfind(named, 0) == 0) {
      reason.erase(0, named.size());
      break;
    }
  }
  ctx.ui.ShowMessage("Could not write the PNG file " + pngPath + ": " + reason, ctx.appTitle,
                     MessageButtons::Ok, MessageIcon::Stop);
}

}  // namespace gk
