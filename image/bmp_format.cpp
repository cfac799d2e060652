#include <string_view>

#include "image/alpha_blend.h"
#include "image/bmp_codec.h"
#include "image/halftone_conversion.h"
#include "image/picture_formats.h"

namespace gk {

namespace {

constexpr std::string_view Extensions[] = {".bmp"};

bool Recognises(std::span<const std::uint8_t> head) {
  return head.size() >= 2 && head[0] == 'B' && head[1] == 'M';
}

PictureSize Declared(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                     const std::string& name) {
  const BmpInfo info = ReadBmpInfo(head, fileSize, name);
  return {info.width, info.height, info.bitsPerPixel};
}

// The codec refuses only depths and sizes no document has, so its errors need no name. A BMP
// file holds no transparency: a document with alpha (from a PNG) is laid over black.
PictureBytes Encode(const Surface& document, const std::string&) {
  if (document.HasAlpha()) return EncodeBmp(LaidOverBlack(document));
  return EncodeBmp(document);
}

Surface EightBit(const Surface& document) {
  if (document.HasAlpha()) return ConvertTo8BitHalftone(LaidOverBlack(document));
  return ConvertTo8BitHalftone(document);
}

}  // namespace

// The editor's own kind: what a name of no other kind saves as, the only kind of the series.
constinit const PictureFormat BmpFormat{
    .label = "BMP",
    .extensions = Extensions,
    .dialogFilter = "*.bmp (*.bmp)",
    .command = "bmp",
    .inSeries = true,
    .keepsAlpha = false,
    .pngExportBeside = true,
    .headBytes = MaxBmpHeaderBytes,
    .recognises = Recognises,
    .declared = Declared,
    .decode = DecodeBmp,
    .encode = Encode,
    .eightBit = EightBit,
};

}  // namespace gk
