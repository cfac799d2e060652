#include "editor/png_conversion.h"

#include <memory>

#include "editor/png_library.h"

namespace gk {

namespace {

using ImageOwner = std::unique_ptr<png::Image, decltype(&png::Release)>;

// A fresh record for every write; only these fields are set, the rest stays undefined.
png::PngOptions EditorOptions() {
  png::PngOptions options;
  options.flags = 9;
  options.level = 9;
  options.field16 = 0;
  options.field28 = 0;
  options.field32 = 0;
  return options;
}

PngConversionFailure Failure(const std::string& file) {
  std::string reason = png::LastError();
  if (reason.empty()) reason = "unknown error";
  return {file, reason};
}

}  // namespace

std::optional<PngConversionFailure> ConvertBmpToPng(const std::string& bmpPath,
                                                    const std::string& pngPath) {
  // Released exactly once, whatever happens after the load.
  ImageOwner image(png::LoadBmp(bmpPath), &png::Release);
  if (!image) return Failure(bmpPath);

  const png::PngOptions options = EditorOptions();
  if (png::WritePng(pngPath, image.get(), &options) != 0) return Failure(pngPath);
  return std::nullopt;
}

}  // namespace gk
