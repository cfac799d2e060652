#include "editor/option_command.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/option_handler.h"
#include "settings/settings_file.h"
#include "support/editor_fixture.h"
#include "support/file_contents.h"

namespace gk {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string RestartText = "再起動してください。";

OptionValues Values(std::string width2, std::string height2, std::string dotSize) {
  OptionValues v;
  v.width2 = std::move(width2);
  v.height2 = std::move(height2);
  v.dotSize = std::move(dotSize);
  return v;
}

TEST(WindowSizeLabelTest, MultipliesEditWindowByDotSizeOrShowsQuestionMarks) {
  struct Case {
    OptionValues values;
    std::string label;
  };
  const Case cases[] = {
      {Values("16", "16", "37"), "Window=592 x 592"},
      {Values("16", "16", "20"), "Window=320 x 320"},
      {Values("10", "20", "3"), "Window=30 x 60"},
      {Values(" 0x10", "$8", "+2"), "Window=32 x 16"},
      {Values("-4", "0", "5"), "Window=-20 x 0"},
      {Values("65536", "65536", "32768"), "Window=-2147483648 x -2147483648"},
      {Values("65536", "3", "65536"), "Window=0 x 196608"},
      {Values("$FFFFFFFF", "2147483647", "-1"), "Window=1 x -2147483647"},
      {Values("16", "16", ""), "Window=???"},
      {Values("16", "16", "abc"), "Window=???"},
      {Values("x", "16", "37"), "Window=???"},
      {Values("16", "16 ", "37"), "Window=???"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WindowSizeLabel(c.values), c.label)
        << c.values.width2 << " / " << c.values.height2 << " / " << c.values.dotSize;
  }
}

class BtnOptionClickTest : public testing::EditorFixture {
 protected:
  void WriteIni(const std::string& bytes) {
    ASSERT_TRUE(testing::WriteText(ctx_.state.IniPath, bytes));
  }
  std::string ReadIni() const { return testing::ReadText(ctx_.state.IniPath); }
  // Reads the settings file as a start does: the list, and the sizes into the state.
  void ReadSettings() { SetSizes(ctx_.state, LoadSettings(ctx_.settings, ctx_.state.IniPath)); }
  // What the dialog shows for the state, with the user's edits applied by the caller.
  OptionValues Shown() const {
    OptionValues v;
    v.width = std::to_string(ctx_.state.Width);
    v.height = std::to_string(ctx_.state.Height);
    v.width2 = std::to_string(ctx_.state.Width2);
    v.height2 = std::to_string(ctx_.state.Height2);
    v.dotSize = std::to_string(ctx_.state.DotSize);
    v.buttonW = std::to_string(ctx_.state.ButtonW);
    v.buttonH = std::to_string(ctx_.state.ButtonH);
    return v;
  }
  void ExpectOneMessage(const std::string& text, MessageIcon icon) {
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, text);
    EXPECT_EQ(ui_.messages[0].caption, "Option");
    EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(ui_.messages[0].icon, icon);
  }
  std::vector<int> Sizes() const {
    const EditorState& s = ctx_.state;
    return {s.Width, s.Height, s.Width2, s.Height2, s.DotSize, s.ButtonW, s.ButtonH};
  }
};

TEST_F(BtnOptionClickTest, OkWithoutASettingsFileWritesTheNineLinesInOrder) {
  ReadSettings();
  const std::vector<int> before = Sizes();
  OptionValues edited = Shown();
  edited.dotSize = "20";  // stored for the next start only
  ui_.optionAnswers.push_back(edited);

  BtnOptionClick(ctx_);

  ASSERT_EQ(ui_.optionShown.size(), 1u);
  const OptionValues& shown = ui_.optionShown[0];
  EXPECT_EQ((Lines{shown.width, shown.height, shown.width2, shown.height2, shown.dotSize,
                   shown.buttonW, shown.buttonH}),
            (Lines{"32", "32", "16", "16", "37", "48", "40"}));
  EXPECT_FALSE(shown.save256);
  EXPECT_FALSE(shown.png);
  EXPECT_EQ(ReadIni(),
            "Save256=0\r\nWidth=32\r\nHeight=32\r\nWidth2=16\r\nHeight2=16\r\nDotSize=20\r\n"
            "Png=0\r\nButtonW=48\r\nButtonH=40\r\n");
  ExpectOneMessage(RestartText, MessageIcon::None);
  EXPECT_EQ(Sizes(), before);
}

TEST_F(BtnOptionClickTest, TicksFollowFlagsThatAreExactlyOne) {
  struct Case {
    std::string file;
    bool save256, png;
  };
  const Case cases[] = {
      {"Save256=1\r\nPng=1\r\n", true, true},     {"save256=1\r\npng=0\r\n", true, false},
      {"Save256=1 \r\nPng=01\r\n", false, false}, {"Save256=true\r\nPng= 1\r\n", false, false},
      {"Png=\r\nPng=1\r\n", false, false},
  };
  for (const Case& c : cases) {
    ctx_.settings.SetText(c.file);
    ui_.optionAnswers.push_back(std::nullopt);
    BtnOptionClick(ctx_);
    ASSERT_FALSE(ui_.optionShown.empty());
    EXPECT_EQ(ui_.optionShown.back().save256, c.save256) << c.file;
    EXPECT_EQ(ui_.optionShown.back().png, c.png) << c.file;
  }
}

TEST_F(BtnOptionClickTest, StoresNormalisedDecimalInPlaceWithOurSpelling) {
  WriteIni("[x]\r\ndotsize=20\r\nUnknown=1\r\n\r\nPng=1\r\n");
  ReadSettings();
  ctx_.state.Width = 64;  // an opened 64 x 48 document
  ctx_.state.Height = 48;
  OptionValues edited = Shown();
  edited.width2 = " 040";
  edited.height2 = "0x20";
  edited.dotSize = "$14";
  edited.buttonW = "+7";
  edited.buttonH = "0019";
  edited.save256 = true;
  edited.png = false;
  ui_.optionAnswers.push_back(edited);

  BtnOptionClick(ctx_);

  EXPECT_EQ(ui_.optionShown.at(0).width, "64");
  EXPECT_EQ(ui_.optionShown.at(0).height, "48");
  EXPECT_TRUE(ui_.optionShown.at(0).png);
  EXPECT_EQ(ReadIni(),
            "[x]\r\nDotSize=20\r\nUnknown=1\r\n\r\nPng=0\r\nWidth=64\r\nHeight=48\r\n"
            "Width2=40\r\nHeight2=32\r\nSave256=1\r\nButtonW=7\r\nButtonH=19\r\n");
  ExpectOneMessage(RestartText, MessageIcon::None);
}

TEST_F(BtnOptionClickTest, CancelStoresAndWritesNothing) {
  const std::string file = "Width=40\r\nSave256=1\r\n";
  WriteIni(file);
  ReadSettings();
  const Lines before = ctx_.settings.Lines();
  ui_.optionAnswers.push_back(std::nullopt);

  BtnOptionClick(ctx_);

  EXPECT_EQ(ctx_.settings.Lines(), before);
  EXPECT_EQ(ReadIni(), file);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(BtnOptionClickTest, ABadBoxStopsTheStoresThereAndWritesNothing) {
  struct Case {
    const char* what;
    void (*edit)(OptionValues&);
    Lines memory;
  };
  const Case cases[] = {
      {"bad width", [](OptionValues& v) { v.width = ""; }, {"Save256=0"}},
      {"abc in the dot-size box",
       [](OptionValues& v) {
         v.dotSize = "abc";
         v.png = true;
       },
       {"Save256=0", "Width=32", "Height=32", "Width2=16", "Height2=16"}},
      {"abc in the button-height box, PNG ticked",
       [](OptionValues& v) {
         v.buttonH = "abc";
         v.save256 = true;
         v.png = true;
       },
       {"Save256=1", "Width=32", "Height=32", "Width2=16", "Height2=16", "DotSize=37", "Png=1",
        "ButtonW=48"}},
      // Sizes that convert but that the next start would discard fail the same way.
      {"a dot size out of its range",
       [](OptionValues& v) { v.dotSize = "150"; },
       {"Save256=0", "Width=32", "Height=32", "Width2=16", "Height2=16"}},
      {"a zero button height",
       [](OptionValues& v) { v.buttonH = "0"; },
       {"Save256=0", "Width=32", "Height=32", "Width2=16", "Height2=16", "DotSize=37", "Png=0",
        "ButtonW=48"}},
      {"a default width past 4096", [](OptionValues& v) { v.width = "4097"; }, {"Save256=0"}},
      {"a grid wider than the window allows",
       [](OptionValues& v) {
         v.dotSize = "128";
         v.width2 = "33";
       },
       {"Save256=0", "Width=32", "Height=32", "Width2=33", "Height2=16", "DotSize=128", "Png=0",
        "ButtonW=48", "ButtonH=40"}},
  };
  for (const Case& c : cases) {
    ui_.messages.clear();
    ctx_.settings = Settings();
    ReadSettings();
    OptionValues edited = Shown();
    c.edit(edited);
    ui_.optionAnswers.push_back(edited);

    BtnOptionClick(ctx_);

    EXPECT_EQ(ctx_.settings.Lines(), c.memory) << c.what;
    EXPECT_FALSE(fs::exists(ctx_.state.IniPath)) << c.what;
    ExpectOneMessage("failed!", MessageIcon::Stop);
  }
}

TEST_F(BtnOptionClickTest, AWriteFailureKeepsEveryStoreInMemoryAndTheOldFile) {
  const std::string file = "Width=40\r\n";
  WriteIni(file);
  ASSERT_EQ(chmod(ctx_.state.IniPath.c_str(), 0444), 0);
  ReadSettings();
  OptionValues edited = Shown();
  edited.png = true;
  ui_.optionAnswers.push_back(edited);

  BtnOptionClick(ctx_);

  EXPECT_EQ(ctx_.settings.Lines(),
            (Lines{"Width=40", "Height=32", "Width2=16", "Height2=16", "DotSize=37", "Save256=0",
                   "Png=1", "ButtonW=48", "ButtonH=40"}));
  EXPECT_EQ(ReadIni(), file);
  ExpectOneMessage("failed!", MessageIcon::Stop);
}

}  // namespace
}  // namespace gk
