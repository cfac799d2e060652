#pragma once

#include <optional>
#include <string>

namespace gk {

// Why a conversion failed: the file it failed on (the BMP it could not load or the PNG it could
// not write) and the library's reason, "unknown error" when it gave none.
struct PngConversionFailure {
  std::string file;
  std::string reason;
};

// Loads the BMP file at `bmpPath` with our PNG library and writes it as a PNG at `pngPath`, with
// the options record the editor's export passes (compression level 9).
std::optional<PngConversionFailure> ConvertBmpToPng(const std::string& bmpPath,
                                                    const std::string& pngPath);

}  // namespace gk
