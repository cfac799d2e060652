#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "editor/document_files.h"
#include "editor/option_handler.h"
#include "editor/picture_files.h"
#include "editor/start_up.h"
#include "filesystem/file_io.h"
#include "filesystem/program_folders.h"
#include "support/fake_editor_ui.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

// An editor installed under usr/ of a temporary folder and run with home/ as the user's home,
// started as the program starts it.
class InstalledCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(tmp_.Path("usr/bin"));
    fs::create_directories(tmp_.Path("usr/share/gridkiln"));
    fs::copy_file(GK_ASSETS_DIR "/palette.bmp", tmp_.Path("usr/share/gridkiln/palette.bmp"));
    fs::create_directories(Home());
  }

  std::string Home() const { return tmp_.Path("home"); }
  std::string Pictures() const { return Home() + "/Pictures/gridkiln"; }
  std::string Config() const { return Home() + "/.config/gridkiln"; }
  void Start() {
    const ProgramFolders folders = FindProgramFolders(tmp_.Path("usr/bin/"), {Home(), ""});
    ASSERT_TRUE(folders.installed);
    StartEditor(ctx_, folders);
  }
  // Edit > Option, then OK with the values it shows.
  void OptionOk() {
    OptionValues values;
    values.width = values.height = "32";
    values.width2 = values.height2 = "16";
    values.dotSize = "37";
    values.buttonW = "48";
    values.buttonH = "40";
    ui_.optionAnswers.push_back(values);
    BtnOptionClick(ctx_);
  }
  std::string SaveFailure() {
    try {
      BtnSaveClick(ctx_);
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "saved";
  }

  testing::TempDir tmp_;
  testing::FakeEditorUi ui_;
  EditorContext ctx_{ui_};
};

TEST_F(InstalledCopyTest, WritesOnlyIntoTheUsersPicturesAndConfigFolders) {
  Start();
  // The first start makes the pictures folder, as an installer makes bmp/; the settings folder
  // waits for the first OK.
  EXPECT_TRUE(fs::is_directory(Pictures()));
  EXPECT_TRUE(fs::is_empty(Pictures()));
  EXPECT_FALSE(fs::exists(Home() + "/.config"));
  EXPECT_EQ(ctx_.controls.ImgPallete.Width,
            LoadBmpFile(tmp_.Path("usr/share/gridkiln/palette.bmp")).Width());

  ctx_.Document().WritePixel(1, 1, White);
  BtnSaveClick(ctx_);
  EXPECT_EQ(ctx_.documentPath, Pictures() + "/1.bmp");
  EXPECT_EQ(LoadBmpFile(Pictures() + "/1.bmp").ReadPixel(1, 1), White);
  // A folder the user removed meanwhile is made again.
  fs::remove_all(Home() + "/Pictures");
  ctx_.documentPath.clear();
  BtnSaveClick(ctx_);
  EXPECT_TRUE(FileExists(Pictures() + "/1.bmp"));

  OptionOk();
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "再起動してください。");
  EXPECT_TRUE(FileExists(Config() + "/gridkiln.ini"));
  EXPECT_EQ(fs::directory_iterator(tmp_.Path("usr/bin")), fs::directory_iterator());

  // The next start reads the settings there, and a palette the user put beside them.
  ASSERT_TRUE(testing::WriteText(Config() + "/gridkiln.ini", "Width=40\r\nHeight=24\r\n"));
  SaveBmpFile(Config() + "/palette.bmp", Surface(7, 5, PixelFormat::Rgb24(), Black));
  testing::FakeEditorUi ui;
  EditorContext next(ui);
  StartEditor(next, FindProgramFolders(tmp_.Path("usr/bin/"), {Home(), ""}));
  EXPECT_EQ(next.state.Width, 40);
  EXPECT_EQ(next.state.Height, 24);
  EXPECT_EQ(next.controls.ImgPallete.Width, 7);
  EXPECT_EQ(next.controls.ImgPallete.Height, 5);
}

// Files where the two folders should go: the start goes through, and each use names its folder.
TEST_F(InstalledCopyTest, FoldersThatCannotBeMadeAreReportedWhenUsedNotAtTheStart) {
  ASSERT_TRUE(testing::WriteText(Home() + "/Pictures", "a file"));
  ASSERT_TRUE(testing::WriteText(Home() + "/.config", "a file"));
  ASSERT_NO_THROW(Start());
  EXPECT_EQ(ui_.layouts.size(), 1u);
  EXPECT_TRUE(ui_.messages.empty());

  ctx_.Document().WritePixel(1, 1, White);
  ctx_.state.Modified = true;
  EXPECT_EQ(SaveFailure(),
            Pictures() + ": cannot create the folder: " + Home() + "/Pictures is not a folder");
  // Nothing was named or saved: the next Save tries again.
  EXPECT_EQ(ctx_.documentPath, "");
  EXPECT_TRUE(ctx_.state.Modified);

  OptionOk();
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "failed!\n" + Config() + ": cannot create the folder: " + Home() +
                                      "/.config is not a folder");
  EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Stop);
  // The values are stored in memory all the same, as for any failed write.
  EXPECT_EQ(ctx_.settings.LookupSetting("DotSize"), "37");

  // With the way clear, both work without a restart.
  fs::remove(Home() + "/Pictures");
  fs::remove(Home() + "/.config");
  EXPECT_EQ(SaveFailure(), "saved");
  EXPECT_TRUE(FileExists(Pictures() + "/1.bmp"));
  OptionOk();
  EXPECT_TRUE(FileExists(Config() + "/gridkiln.ini"));
}

}  // namespace
}  // namespace gk
