#pragma once

#include <cstdint>
#include <string>

#include "image/colour.h"
#include "settings/start_sizes.h"

namespace gk {

inline constexpr std::int32_t ToolPen = 0;
inline constexpr std::int32_t ToolPaint = 1;
inline constexpr std::int32_t ToolSpoit = 2;
inline constexpr std::int32_t ToolErase = 3;

// The editor variables for the whole run: the seven sizes, then the rest.
struct EditorState : StartSizes {
  std::int32_t Tool = ToolPen;
  std::int32_t OriginX = 0;
  std::int32_t OriginY = 0;
  Colour CurColor = White;
  Colour DrawColor = Black;
  // The alpha a stroke writes where the document has alpha: the pen's opaque, erase's 0.
  std::uint8_t DrawAlpha = 255;
  bool Modified = false;
  bool OpenGuard = false;
  bool Stroking = false;
  std::int32_t LastDotX = 0;
  std::int32_t LastDotY = 0;
  std::int32_t DragX = 0;
  std::int32_t DragY = 0;
  std::string AppDir;   // ends with "/"
  std::string IniPath;  // AppDir + "gridkiln.ini", or the user's own for an installed copy
  std::string BmpDir;   // the folder of automatic names, ending with "/"
  // An installed copy makes BmpDir when it is missing; a portable one never does.
  bool MakesBmpDir = false;

  // The sizes' comparison would ignore everything else.
  bool operator==(const EditorState&) const = delete;
};

// The seven sizes as they are now; Width and Height follow the document.
inline StartSizes SizesOf(const EditorState& state) {
  return state;
}

inline void SetSizes(EditorState& state, const StartSizes& sizes) {
  static_cast<StartSizes&>(state) = sizes;
}

}  // namespace gk
