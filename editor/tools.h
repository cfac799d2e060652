#pragma once

#include <cstdint>
#include <span>

namespace gk {

struct EditorContext;

// The pointer shapes over the edit grid; the widget library draws each.
enum class ToolCursor { Pen, Eraser, Fill, Eyedropper };

// Everything the window and the grid know of one drawing tool. The "&Pen" menu lists the tools
// in table order, each as a radio item with its key; the window shows the tool's pointer over
// the grid; a press on the grid runs `press` of the tool chosen at that moment.
struct DrawingTool {
  std::int32_t id = 0;             // the value of EditorState::Tool
  const char* itemName = nullptr;  // the radio item of the "&Pen" menu
  const char* caption = nullptr;
  const char* key = nullptr;         // the item's key: "B"
  const char* buttonName = nullptr;  // its glyph button, if it has one
  const char* buttonTip = nullptr;   // the button's tip, shown with the key after it
  ToolCursor cursor = ToolCursor::Pen;
  const char* title = nullptr;                   // the title shown when chosen; none keeps it
  void (*choose)(EditorContext& ctx) = nullptr;  // what the item and the button run
  void (*press)(EditorContext& ctx, int x, int y) = nullptr;  // at grid pixel (x, y)
  bool strokes = false;    // a press arms a stroke that moves with the left button go on with
  bool backToPen = false;  // the pen is chosen again within the press, after one use
};

// Every tool, in menu order.
std::span<const DrawingTool> DrawingTools();
// The tool whose id is `id`; nullptr when none is.
const DrawingTool* FindTool(std::int32_t id);

// Chooses the tool `id`: a tool that acts once disarms the stroke; its item is checked, its
// title shown for the timer's second, and the window told of the new tool.
void ChooseTool(EditorContext& ctx, std::int32_t id);

}  // namespace gk
