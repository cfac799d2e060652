#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "editor/editor_context.h"

namespace gk {

// "&Chrs" lists up to SeriesGroupSize items flat. A longer series is shown as submenus of
// consecutive items, at most SeriesGroupSize each and as even as possible, so that no menu holds
// more entries than a menu can take quickly.
inline constexpr std::size_t SeriesGroupSize = 256;

struct SeriesGroup {
  std::size_t first = 0;  // index of its first item
  std::size_t count = 0;
};

// The groups for a series of `itemCount` items; none when they fit in one flat list.
std::vector<SeriesGroup> SeriesGroups(std::size_t itemCount);

// Refills the "&Chrs" items from the folder of the document path.
void RebuildSeriesMenu(EditorContext& ctx);
// Opens the item's file (saving a modified document first, without asking).
void OpenSeriesItem(EditorContext& ctx, const std::string& caption);
void btnNextChrClick(EditorContext& ctx);
// "Save++".
void IncrementalSave1Click(EditorContext& ctx);

}  // namespace gk
