#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor_ui.h"

namespace gk::testing {

// An EditorUi without a window: records what the handlers show and answers dialogs and message
// boxes from queues the test fills. An unanswered question fails loudly.
class FakeEditorUi : public EditorUi {
 public:
  struct Message {
    std::string text, caption;
    MessageButtons buttons;
    MessageIcon icon;
  };

  std::string title = "gridkiln";
  std::string marker;
  int checkedTool = -1;
  std::vector<int> toolsShown;  // each tool the window was told of, in order
  bool timerActive = false;
  int timerStarts = 0;  // starts that actually started the timer
  std::vector<ControlId> refreshed;
  std::vector<ControlId> moved;
  std::vector<Message> messages;
  std::vector<std::string> seriesItems;
  std::vector<std::string> savePresets;  // what each save dialog was preset with
  std::vector<std::string> openFolders;  // the folder each open dialog showed
  std::vector<WindowLayout> layouts;     // each layout the window was given
  std::optional<ScreenRoom> screen;      // what WindowRoom answers

  std::deque<MessageResult> messageAnswers;
  std::deque<std::optional<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::optional<Colour>> colourAnswers;
  std::deque<std::optional<std::pair<std::string, std::string>>> newSizeAnswers;
  // Applied to the values on OK; nullopt means Cancel.
  std::deque<std::optional<OptionValues>> optionAnswers;
  std::vector<OptionValues> optionShown;  // what each showing of the options dialog held

  void SetTitle(const std::string& t) override { title = t; }
  void SetModifiedMarker(const std::string& caption) override { marker = caption; }
  void CheckToolItem(int tool) override { checkedTool = tool; }
  void ToolChanged(int tool) override { toolsShown.push_back(tool); }
  void StartTimer() override {
    if (!timerActive) {
      timerActive = true;
      ++timerStarts;
    }
  }
  void StopTimer() override { timerActive = false; }
  std::optional<ScreenRoom> WindowRoom() override { return screen; }
  void LayOutWindow(const WindowLayout& layout) override { layouts.push_back(layout); }
  void RefreshControl(ControlId id) override { refreshed.push_back(id); }
  void ControlMoved(ControlId id) override { moved.push_back(id); }

  MessageResult ShowMessage(const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon) override {
    messages.push_back({text, caption, buttons, icon});
    if (buttons == MessageButtons::Ok) return MessageResult::Ok;
    return Take(messageAnswers, "message box: " + text);
  }
  std::optional<std::string> RunOpenDialog(const std::string& folder) override {
    openFolders.push_back(folder);
    return Take(openAnswers, "open dialog");
  }
  std::optional<std::string> RunSaveDialog(const std::string& preset) override {
    savePresets.push_back(preset);
    return Take(saveAnswers, "save dialog");
  }
  std::optional<Colour> RunColourDialog(Colour) override {
    return Take(colourAnswers, "colour dialog");
  }
  std::optional<std::pair<std::string, std::string>> RunNewSizeDialog(int, int) override {
    return Take(newSizeAnswers, "new-size dialog");
  }
  bool RunOptionDialog(OptionValues& values) override {
    optionShown.push_back(values);
    auto answer = Take(optionAnswers, "options dialog");
    if (!answer) return false;
    values = *answer;
    return true;
  }
  void SetSeriesItems(const std::vector<std::string>& names) override { seriesItems = names; }

  // Forgets the repaints, moves and layouts recorded so far.
  void ForgetShown() {
    refreshed.clear();
    moved.clear();
    layouts.clear();
  }

 private:
  template <typename T>
  static T Take(std::deque<T>& queue, const std::string& what) {
    if (queue.empty()) throw UnexpectedQuestion("unexpected " + what);
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
  }

 public:
  struct UnexpectedQuestion : std::logic_error {
    using std::logic_error::logic_error;
  };
};

}  // namespace gk::testing
