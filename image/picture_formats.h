#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/picture_format.h"

namespace gk {

// The kinds of picture file, each declared in its own file. Named here only for what is bound
// to one kind by design: BMP for the palette and the input of the PNG export, PNG for the export.
extern const PictureFormat BmpFormat;
extern const PictureFormat PngFormat;

// Every kind, in the order of the dialogs' filters. The first is the kind of a name that no
// kind's ending claims.
std::span<const PictureFormat* const> PictureFormats();

// The kind of a file that begins with `head` (at least MaxHeadBytes() bytes, or all of a shorter
// file); nullptr for none.
const PictureFormat* FormatOfBytes(std::span<const std::uint8_t> head);
// The most first bytes any kind needs to recognise a file and describe its picture.
std::size_t MaxHeadBytes();
// "BMP or PNG": the kinds a file may be, as an error says what a file is not.
std::string KindsText();

// True when the file name ends in `extension` (given in lower case), in any case.
bool HasExtension(std::string_view path, std::string_view extension);
// The kind whose ending the name has, in any case; nullptr for none.
const PictureFormat* FormatOfName(std::string_view path);
// The kind a save under `path` writes: ".png" in any case is PNG, any other name BMP.
const PictureFormat& SaveFormatOf(std::string_view path);
// The kind `gridkiln-bmp COMMAND` converts files to; nullptr for none.
const PictureFormat* FormatOfCommand(std::string_view command);
// True when a file of that name can belong to a series ("*.bmp", in any case).
bool IsSeriesKind(std::string_view name);

// The filters of the open and save dialogs, in order: "*.bmp (*.bmp)".
std::vector<std::string> DialogFilters();

}  // namespace gk
