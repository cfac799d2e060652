#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/image_control.h"
#include "editor/option_ui.h"
#include "editor/window_fit.h"
#include "editor/window_layout.h"
#include "image/colour.h"

namespace gk {

// What the handlers need of the window: title, menus, timer, layout and repaints, dialogs and
// message boxes. The main window implements it; tests answer it without a window.
class EditorUi : public OptionUi {
 public:
  virtual void SetTitle(const std::string& title) = 0;
  // The caption of mnMod: "" or "*".
  virtual void SetModifiedMarker(const std::string& caption) = 0;
  // Checks the radio item of the tool (ToolPen ... ToolErase), unchecking the others.
  virtual void CheckToolItem(int tool) = 0;
  // `Tool` has just become `tool`, by a choice or by the return to the pen after a use: the
  // window shows it (the pointer over the grid).
  virtual void ToolChanged(int tool) = 0;

  // Timer1: a one-shot second. Starting it while it runs does not restart it.
  virtual void StartTimer() = 0;
  virtual void StopTimer() = 0;

  // The room the window has on the screen it opens on; nothing when no screen is known. Asked
  // once at start-up, before the layout.
  virtual std::optional<ScreenRoom> WindowRoom() = 0;
  // Places the window and its ten buttons and sizes its client area, once at start-up; the
  // image controls follow through ControlMoved.
  virtual void LayOutWindow(const WindowLayout& layout) = 0;
  // Repaints the control at once from its surface.
  virtual void RefreshControl(ControlId id) = 0;
  // The control's place or size changed.
  virtual void ControlMoved(ControlId id) = 0;

  // The open dialog showing `folder` (where it was last, when empty): an existing file, or
  // nothing on Cancel.
  virtual std::optional<std::string> RunOpenDialog(const std::string& folder) = 0;
  // The save dialog, preset with the document path; the chosen path, or nothing on Cancel.
  virtual std::optional<std::string> RunSaveDialog(const std::string& presetPath) = 0;
  // frmColor loaded from `current`; the preview's colour on OK, nothing otherwise.
  virtual std::optional<Colour> RunColourDialog(Colour current) = 0;
  // frmNew with its spinners preset; the two box texts on OK, nothing on Cancel.
  virtual std::optional<std::pair<std::string, std::string>> RunNewSizeDialog(int width,
                                                                              int height) = 0;

  // The items of the "&Chrs" menu: file names, shown literally.
  virtual void SetSeriesItems(const std::vector<std::string>& names) = 0;
};

}  // namespace gk
