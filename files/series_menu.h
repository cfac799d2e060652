#pragma once

#include <string>

#include "workspace/editor_context.h"

namespace gk {

// Refills the "&Chrs" items from the folder of the document path.
void RebuildSeriesMenu(EditorContext& ctx);
// Opens the item's file (saving a modified document first, without asking).
void OpenSeriesItem(EditorContext& ctx, const std::string& caption);
void btnNextChrClick(EditorContext& ctx);
// "Save++".
void IncrementalSave1Click(EditorContext& ctx);

}  // namespace gk
