#pragma once

#include <cstdint>
#include <string>

#include "platform/colour.h"

namespace gk {

inline constexpr std::int32_t ToolPen = 0;
inline constexpr std::int32_t ToolPaint = 1;
inline constexpr std::int32_t ToolSpoit = 2;
inline constexpr std::int32_t ToolErase = 3;

// The editor variables for the whole run.
struct EditorState {
  std::int32_t DotSize = 37;
  std::int32_t Width = 32;
  std::int32_t Height = 32;
  std::int32_t Width2 = 16;
  std::int32_t Height2 = 16;
  std::int32_t ButtonW = 48;
  std::int32_t ButtonH = 40;
  std::int32_t Tool = ToolPen;
  std::int32_t OriginX = 0;
  std::int32_t OriginY = 0;
  Colour CurColor = White;
  Colour DrawColor = Black;
  bool Modified = false;
  bool OpenGuard = false;
  bool Stroking = false;
  std::int32_t LastDotX = 0;
  std::int32_t LastDotY = 0;
  std::int32_t DragX = 0;
  std::int32_t DragY = 0;
  std::string AppDir;   // ends with "/"
  std::string IniPath;  // AppDir + "gridkiln.ini"
};

}  // namespace gk
