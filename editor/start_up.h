#pragma once

#include <string>

#include "editor/editor_context.h"
#include "filesystem/program_folders.h"

namespace gk {

// The editor's start over a fresh context with the program's folders: the current colour and
// the open guard, an empty settings list, the palette, the settings file and its sizes kept
// within their limits, the layout, the first paints of the grid, the document and the swatch,
// the view doubled, the red markers and the first render of the grid; the document then counts
// as unchanged. A palette or settings file that cannot be read throws; the palette is read
// first, so a missing palette leaves the settings file unread. An installed copy then makes its
// folder of automatic names; a failure there does not stop the start, since Save names the
// folder when it still cannot make it. Last, one box names the copies of old content that
// interrupted saves left (see FindInterruptedSaves). Where the settings give no dot size, the
// layout takes the one that fits the window to its screen (StartDotSize), for this run only.
void StartEditor(EditorContext& ctx, const ProgramFolders& folders);
// A portable copy in `appDir` (ending with "/").
void StartEditor(EditorContext& ctx, const std::string& appDir);

// Loads the palette at `path` into ImgPallete, which takes the picture's size. The error of a
// file that cannot be read names the file by its full path.
void LoadPalette(EditorContext& ctx, const std::string& path);

}  // namespace gk
