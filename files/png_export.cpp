#include "files/png_export.h"

#include <exception>
#include <memory>

#include "files/png_library.h"
#include "files/png_path.h"

namespace gk {

namespace {

using ImageOwner = std::unique_ptr<png::Image, decltype(&png::Release)>;

std::string ReasonOrDefault(std::string reason) {
  return reason.empty() ? std::string("unknown error") : reason;
}

// Loads the BMP and writes the PNG; the reason of a failure, empty on success.
std::string WritePngBeside(const std::string& bmpPath, const std::string& pngPath) {
  // Released exactly once, whatever happens after the load.
  ImageOwner image(png::LoadBmp(bmpPath), &png::Release);
  if (!image) return ReasonOrDefault(png::LastError());

  // A fresh record for every export; only these fields are set, the rest stays undefined.
  png::PngOptions options;
  options.flags = 9;
  options.level = 9;
  options.field16 = 0;
  options.field28 = 0;
  options.field32 = 0;
  if (png::WritePng(pngPath, image.get(), &options) != 0) {
    return ReasonOrDefault(png::LastError());
  }
  return {};
}

}  // namespace

void ExportPng(EditorContext& ctx, const std::string& bmpPath) {
  const std::string pngPath = PngPathFor(bmpPath);
  std::string reason;
  try {
    reason = WritePngBeside(bmpPath, pngPath);
  } catch (const std::exception& e) {
    reason = ReasonOrDefault(e.what());
  }
  if (reason.empty()) return;
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
