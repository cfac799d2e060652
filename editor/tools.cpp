#include "editor/tools.h"

#include <array>

#include "editor/drawing_tools.h"
#include "editor/editor_context.h"

namespace gk {

namespace {

// One letter a tool for the keys, as other pixel editors have them.
constexpr std::array<DrawingTool, 4> Table = {{
    {.id = ToolPen,
     .itemName = "mngPen",
     .caption = "&Pen",
     .key = "B",
     .cursor = ToolCursor::Pen,
     .choose = BtnPenClick,
     .press = PenPress,
     .strokes = true},
    {.id = ToolErase,
     .itemName = "mngErase",
     .caption = "&Erase",
     .key = "E",
     .cursor = ToolCursor::Eraser,
     .choose = BtnEraseClick,
     .press = ErasePress,
     .strokes = true},
    {.id = ToolPaint,
     .itemName = "mngPaint",
     .caption = "P&aint",
     .key = "G",
     .buttonName = "btnPaint",
     .buttonTip = "Paint (fill)",
     .cursor = ToolCursor::Fill,
     .title = "Paint",
     .choose = BtnPaintClick,
     .press = PaintPress,
     .backToPen = true},
    {.id = ToolSpoit,
     .itemName = "mngSpoit",
     .caption = "&Spoit",
     .key = "I",
     .buttonName = "btnSpoit",
     .buttonTip = "Spoit (eyedropper)",
     .cursor = ToolCursor::Eyedropper,
     .title = "Spoit",
     .choose = BtnSpoitClick,
     .press = SpoitPress,
     .backToPen = true},
}};

}  // namespace

std::span<const DrawingTool> DrawingTools() {
  return Table;
}

const DrawingTool* FindTool(std::int32_t id) {
  for (const DrawingTool& tool : Table) {
    if (tool.id == id) return &tool;
  }
  return nullptr;
}

void ChooseTool(EditorContext& ctx, std::int32_t id) {
  const DrawingTool* tool = FindTool(id);
  if (tool == nullptr) return;
  // A drag after a one-use tool's press plots nothing, though the pen comes back.
  if (!tool->strokes) ctx.state.Stroking = false;
  ctx.ui.CheckToolItem(tool->id);
  if (tool->title != nullptr) {
    ctx.ui.SetTitle(tool->title);
    // Its tick brings the document's title back.
    ctx.ui.StartTimer();
  }
  ctx.state.Tool = tool->id;
  // Every change of the tool comes here, so the window always shows the current one.
  ctx.ui.ToolChanged(tool->id);
}

}  // namespace gk
