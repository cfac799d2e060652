#include <string_view>

#include "image/halftone_conversion.h"
#include "image/picture_formats.h"
#include "image/png_reader.h"
#include "image/png_writer.h"

namespace gk {

namespace {

constexpr std::string_view Extensions[] = {".png"};

// Documents compress as the PNG export does: it asks for zlib's level 9, which our PNG library
// takes as 6, since on pixel art the slower levels cost up to nine times as long for little.
constexpr int DocumentLevel = 6;

PictureSize Declared(std::span<const std::uint8_t> head, std::uint64_t, const std::string& name) {
  const PngInfo info = ReadPngHeader(head, name);
  return {info.width, info.height, SurfaceBits(info)};
}

PictureBytes Encode(const Surface& document, const std::string& name) {
  return EncodePng(document, DocumentLevel, name);
}

}  // namespace

// Read whole with its alpha and written back in its own kind; second in the dialogs' filters.
constinit const PictureFormat PngFormat{
    .label = "PNG",
    .extensions = Extensions,
    .dialogFilter = "*.png (*.png)",
    .command = "png",
    .inSeries = false,
    .keepsAlpha = true,
    .pngExportBeside = false,
    .headBytes = PngHeaderBytes,
    .recognises = HasPngSignature,
    .declared = Declared,
    .decode = DecodePng,
    .encode = Encode,
    .eightBit = ConvertTo8BitKeepingTransparency,
};

}  // namespace gk
