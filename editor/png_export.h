#pragma once

#include <string>

#include "editor/editor_context.h"

namespace gk {

// Writes the PNG beside the BMP just written at `bmpPath`; a failure is reported in a message
// box naming the PNG path, and the save still counts as done.
void ExportPng(EditorContext& ctx, const std::string& bmpPath);

}  // namespace gk
