#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "editor/document_files.h"
#include "editor/option_command.h"
#include "editor/option_handler.h"
#include "editor/picture_files.h"
#include "settings/settings_file.h"
#include "support/child_process.h"
#include "support/editor_fixture.h"
#include "support/file_contents.h"
#include "support/scratch_mount.h"
#include "support/throwaway_user.h"

namespace gk {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "no error";
}

// The editor on a disk that really fills up: a 64 KiB tmpfs.
class FullDiskEditorTest : public testing::EditorFixture {
 protected:
  void SetUp() override {
    if (!disk_.Mounted()) GTEST_SKIP() << disk_.Refusal();
  }

  testing::ScratchMount disk_{tmp_.Path("disk")};
};

// A failed save is a failed save wherever it comes from: the file and everything the user sees
// stay, no PNG is written, and the prompt's New or Quit is abandoned.
TEST_F(FullDiskEditorTest, SaveFailsLoudlyAndChangesNothing) {
  ctx_.settings.SetText("Png=1\r\n");
  const std::string hero = disk_.Path("hero.bmp");
  SaveBmpFile(hero, Surface(2, 2, PixelFormat::Rgb24(), White));
  LoadImageFile(ctx_, hero);
  ctx_.Document().WritePixel(0, 0, Red);
  ctx_.state.Modified = true;
  ui_.marker = "*";
  const auto old = ReadBytes(hero);
  ASSERT_TRUE(disk_.Fill());
  const std::string noSpace = hero + ": cannot write: No space left on device";

  auto expectNothingChanged = [&](const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(ui_.title, "gridkiln - hero.bmp");
    EXPECT_FALSE(ui_.timerActive);
    EXPECT_EQ(ui_.marker, "*");
    EXPECT_TRUE(ctx_.state.Modified);
    EXPECT_EQ(ctx_.Document().ReadPixel(0, 0), Red);
    EXPECT_EQ(ctx_.documentPath, hero);
    EXPECT_EQ(ReadBytes(hero), old);
    EXPECT_FALSE(fs::exists(disk_.Path("hero.png")));
    EXPECT_EQ(std::distance(fs::directory_iterator(disk_.Path("")), fs::directory_iterator()), 2);
  };
  EXPECT_EQ(ErrorOf([&] { BtnSaveClick(ctx_); }), noSpace);
  expectNothingChanged("Save");
  ui_.messageAnswers.push_back(MessageResult::Yes);
  EXPECT_EQ(ErrorOf([&] { FormCloseQuery(ctx_); }), noSpace);
  expectNothingChanged("Yes at the prompt of Quit");
  ui_.messageAnswers.push_back(MessageResult::Yes);
  EXPECT_EQ(ErrorOf([&] { BtnNewClick(ctx_, 0); }), noSpace);
  expectNothingChanged("Yes at the prompt of New");

  disk_.Free();
  BtnSaveClick(ctx_);
  EXPECT_EQ(ui_.marker, "");
  EXPECT_EQ(LoadBmpFile(hero).ReadPixel(0, 0), Red);
  EXPECT_TRUE(fs::exists(disk_.Path("hero.png")));
}

TEST_F(FullDiskEditorTest, OptionsAnswerFailedAndKeepTheSettingsFile) {
  ctx_.state.IniPath = disk_.Path("gridkiln.ini");
  const std::string before = "Save256=0\r\nWidth=32\r\n";
  ASSERT_TRUE(testing::WriteText(ctx_.state.IniPath, before));
  LoadSettings(ctx_.settings, ctx_.state.IniPath);
  ASSERT_TRUE(disk_.Fill());

  EXPECT_EQ(ErrorOf([&] { SaveSettings(ctx_.settings, ctx_.state.IniPath); }),
            ctx_.state.IniPath + ": cannot write: No space left on device");
  OptionValues edited;
  edited.width = edited.height = "32";
  edited.width2 = edited.height2 = "16";
  edited.dotSize = "20";
  edited.buttonW = "48";
  edited.buttonH = "40";
  ui_.optionAnswers.push_back(edited);
  BtnOptionClick(ctx_);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "failed!");
  EXPECT_EQ(testing::ReadText(ctx_.state.IniPath), before);
}

// Root reads any file; an ordinary user's start must fail on a settings file it may not read.
TEST(SettingsPermissionTest, UnreadableSettingsFileStopsTheStartOfAnOrdinaryUser) {
  testing::ThrowawayUser user;
  if (!user.Made()) GTEST_SKIP() << user.Refusal();
  testing::TempDir tmp;
  ASSERT_EQ(chmod(tmp.Root().c_str(), 0755), 0);
  const std::string ini = tmp.Path("gridkiln.ini");
  ASSERT_TRUE(testing::WriteText(ini, "Width=40\r\n"));
  ASSERT_EQ(chown(ini.c_str(), user.Ids().uid, user.Ids().gid), 0);
  ASSERT_EQ(chmod(ini.c_str(), 0), 0);
  const testing::ChildOutcome outcome = testing::RunInChild(
      [&] {
        Settings settings;
        return std::to_string(LoadSettings(settings, ini).Width);
      },
      10, user.Ids());
  EXPECT_TRUE(outcome.threw);
  EXPECT_EQ(outcome.text, ini + ": cannot open: Permission denied");
}

}  // namespace
}  // namespace gk
