#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor_ui.h"

namespace gk {

// The handlers' window side for benchmarks: shows nothing and answers no dialog, so only the
// work itself is measured. A message box means the measured command failed.
class NullEditorUi : public EditorUi {
 public:
  void SetTitle(const std::string&) override {}
  void SetModifiedMarker(const std::string&) override {}
  void CheckToolItem(int) override {}
  void ToolChanged(int) override {}
  void StartTimer() override {}
  void StopTimer() override {}
  std::optional<ScreenRoom> WindowRoom() override { return std::nullopt; }
  void LayOutWindow(const WindowLayout&) override {}
  void RefreshControl(ControlId) override {}
  void ControlMoved(ControlId) override {}
  MessageResult ShowMessage(const std::string& text, const std::string&, MessageButtons,
                            MessageIcon) override {
    throw std::runtime_error("unexpected message: " + text);
  }
  std::optional<std::string> RunOpenDialog(const std::string&) override { return std::nullopt; }
  std::optional<std::string> RunSaveDialog(const std::string&) override { return std::nullopt; }
  std::optional<Colour> RunColourDialog(Colour) override { return std::nullopt; }
  std::optional<std::pair<std::string, std::string>> RunNewSizeDialog(int, int) override {
    return std::nullopt;
  }
  bool RunOptionDialog(OptionValues&) override { return false; }
  void SetSeriesItems(const std::vector<std::string>&) override {}
};

}  // namespace gk
