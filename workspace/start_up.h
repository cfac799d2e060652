#pragma once

#include <string>

#include "workspace/editor_context.h"

namespace gk {

// The editor's start over a fresh context, `appDir` (ending with "/") being the program's folder:
// the current colour and the open guard, an empty settings list, the palette, the settings file
// and its sizes kept within their limits, the layout, the first paints of the grid, the document
// and the swatch, the view doubled, the red markers and the first render of the grid; the
// document then counts as unchanged. A palette or settings file that cannot be read throws; the
// palette is read first, so a missing palette leaves the settings file unread.
void StartEditor(EditorContext& ctx, const std::string& appDir);

// Loads AppDir + "palette.bmp" into ImgPallete, which takes the picture's size. The error of a
// file that cannot be read names the file by its full path.
void LoadPalette(EditorContext& ctx);

}  // namespace gk
