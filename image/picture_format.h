#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "image/picture_bytes.h"
#include "image/picture_memory.h"
#include "image/surface.h"

namespace gk {

// One kind of picture file, declared whole in one file (image/bmp_format.cpp,
// image/png_format.cpp) and listed once in image/picture_formats.cpp. Its functions work on
// bytes, never on files; the `name` they are handed is used only in error texts.
struct PictureFormat {
  // As messages name the kind: "BMP".
  const char* label;
  // The endings of file names that save as this kind, in lower case; the first is given to the
  // names of converted files.
  std::span<const std::string_view> extensions;
  // The filter the open and save dialogs list it under, "*.bmp (*.bmp)"; nullptr: not listed.
  const char* dialogFilter;
  // The `gridkiln-bmp` command that converts files to this kind; nullptr: none.
  const char* command;
  // Its files make the series of the "&Chrs" menu.
  bool inSeries;
  // Its files hold transparency; a document with transparent pixels saved in a kind that does
  // not is laid over black, which the editor asks about first.
  bool keepsAlpha;
  // A save in this kind writes the PNG export beside it when "Png" is on; our PNG library reads
  // only BMP files.
  bool pngExportBeside;

  // How many first bytes of a file `recognises` and `declared` read at most.
  std::size_t headBytes;
  // True when a file beginning with `head` is of this kind.
  bool (*recognises)(std::span<const std::uint8_t> head);
  // The picture the headers at the start of a file of `fileSize` bytes declare, without its
  // pixels; throws as `decode` would for headers it refuses.
  PictureSize (*declared)(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                          const std::string& name);
  // The whole file as a document; throws std::runtime_error naming `name` for a file it refuses,
  // and allocates nothing beyond the picture its headers declare within the codec's bounds.
  Surface (*decode)(std::span<const std::uint8_t> bytes, const std::string& name);
  // The document as the bytes of a file of this kind, in its own format as far as the kind holds
  // it; std::bad_alloc when they do not fit in memory.
  PictureBytes (*encode)(const Surface& document, const std::string& name);
  // The 8-bit copy a save with "Save256" on encodes instead of the document.
  Surface (*eightBit)(const Surface& document);
};

}  // namespace gk
