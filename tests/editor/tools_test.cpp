#include "editor/tools.h"

#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/editor_context.h"
#include "support/fake_editor_ui.h"

namespace gk {
namespace {

// The letter after "&", which the menu underlines and Alt reaches; none without one.
char AccessLetter(const std::string& caption) {
  const std::size_t amp = caption.find('&');
  if (amp == std::string::npos || amp + 1 == caption.size()) return 0;
  return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[amp + 1])));
}

// A row added to the table must be reachable: its id, item, key and access letter are its own,
// and its item chooses it and no other tool, with the title and stroke its row gives.
TEST(ToolTableTest, EveryRowIsReachableAndChoosesItself) {
  std::set<std::int32_t> ids;
  std::set<std::string> items, keys;
  std::set<char> letters;
  for (const DrawingTool& tool : DrawingTools()) {
    SCOPED_TRACE(tool.itemName);
    EXPECT_TRUE(ids.insert(tool.id).second) << "id taken";
    EXPECT_TRUE(items.insert(tool.itemName).second) << "item name taken";
    EXPECT_TRUE(keys.insert(tool.key).second) << "key taken";
    const char letter = AccessLetter(tool.caption);
    EXPECT_TRUE(letter == 0 || letters.insert(letter).second) << "access letter taken";
    EXPECT_EQ(FindTool(tool.id), &tool);
    EXPECT_EQ(tool.buttonName == nullptr, tool.buttonTip == nullptr) << "a button has a tip";

    testing::FakeEditorUi ui;
    EditorContext ctx{ui};
    ctx.state.Tool = -1;
    ctx.state.Stroking = true;
    tool.choose(ctx);
    EXPECT_EQ(ctx.state.Tool, tool.id);
    EXPECT_EQ(ui.checkedTool, tool.id);
    EXPECT_EQ(ui.toolsShown, std::vector<int>{tool.id});
    EXPECT_EQ(ui.title, tool.title != nullptr ? tool.title : "gridkiln");
    EXPECT_EQ(ui.timerActive, tool.title != nullptr);
    EXPECT_EQ(ctx.state.Stroking, tool.strokes);
  }
  EXPECT_EQ(FindTool(-1), nullptr);
}

}  // namespace
}  // namespace gk
