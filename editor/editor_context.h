#pragma once

#include <string>
#include <vector>

#include "editor/editor_state.h"
#include "editor/editor_ui.h"
#include "editor/image_control.h"
#include "editor/undo_copy.h"
#include "settings/settings.h"

namespace gk {

// How messages name a document that has no file yet.
inline constexpr const char* UnnamedDocument = "Untitled";

// Everything a handler works on, handed to it explicitly.
struct EditorContext {
  explicit EditorContext(EditorUi& ui) : ui(ui) {}

  EditorState state;
  EditorControls controls;
  // The rows of the undo copy (ImgViewB) that still live only in the document.
  UndoRows undoRows;
  Settings settings;
  // The file name held by the save dialog: the document path, empty while unnamed.
  std::string documentPath;
  // The captions of the "&Chrs" items, in menu order.
  std::vector<std::string> seriesItems;
  // Caption of error boxes: the program's title (ProgramTitle).
  std::string appTitle = "gridkiln";
  EditorUi& ui;

  Surface& Document() { return controls.ImgView.Canvas(); }
  // How messages name the document: its path, or UnnamedDocument while it has none.
  std::string DocumentName() const { return documentPath.empty() ? UnnamedDocument : documentPath; }
};

}  // namespace gk
