#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/file_contents.h"
#include "support/temp_dir.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

// Width, Height, Width2, Height2, DotSize, ButtonW, ButtonH.
using Sizes = std::array<std::int32_t, 7>;
constexpr Sizes Defaults = {32, 32, 16, 16, 37, 48, 40};

Sizes SizesOf(const StartSizes& s) {
  return {s.Width, s.Height, s.Width2, s.Height2, s.DotSize, s.ButtonW, s.ButtonH};
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void WriteIni(const std::string& bytes) { ASSERT_TRUE(testing::WriteText(iniPath_, bytes)); }
  std::string ReadIni() const { return testing::ReadText(iniPath_); }

  testing::TempDir tmp_;
  const std::string iniPath_ = tmp_.Path("gridkiln.ini");
  Settings settings_;
};

TEST_F(SettingsFileTest, NoFileKeepsDefaultsStoresSave256AndWritesNothing) {
  EXPECT_EQ(SizesOf(LoadSettings(settings_, iniPath_)), Defaults);
  EXPECT_EQ(settings_.Lines(), std::vector<std::string>{"Save256=0"});
  EXPECT_FALSE(fs::exists(iniPath_));
}

TEST_F(SettingsFileTest, AFolderNamedLikeTheFileCountsAsNoFile) {
  fs::create_directory(iniPath_);
  EXPECT_EQ(SizesOf(LoadSettings(settings_, iniPath_)), Defaults);
  EXPECT_EQ(settings_.LookupSetting("Save256"), "0");
  EXPECT_TRUE(fs::is_directory(iniPath_));
}

TEST_F(SettingsFileTest, ReadsSizesInOrderUntilTheFirstBadValue) {
  const std::string all = "Width=64\nHeight=48\nWidth2=20\nHeight2=10\nDotSize=12\n";
  struct Case {
    const char* what;
    std::string file;
    Sizes expected;
  };
  const Case cases[] = {
      {"all seven, LF line ends", all + "ButtonW=30\nButtonH=25\n", {64, 48, 20, 10, 12, 30, 25}},
      {"Width missing stops at once", "DotSize=20\r\n", Defaults},
      {"a bad Height keeps Width", "Width=40\r\nHeight=abc\r\n", {40, 32, 16, 16, 37, 48, 40}},
      {"lower-case names and hexadecimal values",
       "dotsize=$14\r\nwidth=0x28\r\nHEIGHT=+40\r\n",
       {40, 40, 16, 16, 37, 48, 40}},
      {"a blank before '=' hides the name", "Width =40\r\nHeight=40\r\n", Defaults},
      {"a blank after '=' is allowed", "Width= 40\r\n", {40, 32, 16, 16, 37, 48, 40}},
      {"a trailing blank is rejected", "Width=40 \r\nHeight=40\r\n", Defaults},
      {"the first of equal names counts", "Width=40\r\nWidth=50\r\n", {40, 32, 16, 16, 37, 48, 40}},
      {"values at the upper bounds",
       "Width=4096\nHeight=4096\nWidth2=256\nHeight2=256\nDotSize=128\nButtonW=256\nButtonH=256",
       {4096, 4096, 256, 256, 128, 256, 256}},
      {"values at the lower bounds",
       "Width=1\nHeight=1\nWidth2=1\nHeight2=1\nDotSize=1\nButtonW=1\nButtonH=1",
       {1, 1, 1, 1, 1, 1, 1}},
      {"zero width costs only the width", "Width=0\nHeight=40\n", {32, 40, 16, 16, 37, 48, 40}},
      {"height too large", "Width=40\nHeight=4097\n", {40, 32, 16, 16, 37, 48, 40}},
      {"negative edit-window width",
       "Width=64\nHeight=48\nWidth2=-5\nHeight2=10\n",
       {64, 48, 16, 10, 37, 48, 40}},
      {"edit window too high",
       "Width=64\nHeight=48\nWidth2=20\nHeight2=257\nDotSize=12\n",
       {64, 48, 20, 16, 12, 48, 40}},
      {"dot size zero",
       "Width=64\nHeight=48\nWidth2=20\nHeight2=10\nDotSize=0\nButtonW=30\nButtonH=25\n",
       {64, 48, 20, 10, 37, 30, 25}},
      {"dot size out of range keeps the valid buttons",
       "Width=64\nHeight=48\nWidth2=20\nHeight2=10\nDotSize=150\nButtonW=60\nButtonH=50\n",
       {64, 48, 20, 10, 37, 60, 50}},
      {"a bad value after an out-of-range one still ends the reading",
       "Width=99999\nHeight=40\nWidth2=x\nHeight2=10\n",
       {32, 40, 16, 16, 37, 48, 40}},
      {"a later duplicate out of range is never read",
       all + "ButtonW=30\nButtonH=25\nDotSize=0\n",
       {64, 48, 20, 10, 12, 30, 25}},
      {"dot size too large",
       "Width=64\nHeight=48\nWidth2=20\nHeight2=10\nDotSize=129\nButtonW=30\nButtonH=25\n",
       {64, 48, 20, 10, 37, 30, 25}},
      {"button width wrapped to negative",
       all + "ButtonW=$FFFFFFFF\nButtonH=25",
       {64, 48, 20, 10, 12, 48, 25}},
      {"button height too large", all + "ButtonW=30\nButtonH=257", {64, 48, 20, 10, 12, 30, 40}},
      {"a zero byte ends the text",
       all + std::string("ButtonW=30\n\0ButtonH=25\n", 23),
       {64, 48, 20, 10, 12, 30, 40}},
  };
  for (const Case& c : cases) {
    WriteIni(c.file);
    Settings settings;
    EXPECT_EQ(SizesOf(LoadSettings(settings, iniPath_)), c.expected) << c.what;
    EXPECT_EQ(settings.LookupSetting("Save256"), "") << c.what << ": no default when a file exists";
    EXPECT_EQ(ReadIni(), c.file) << c.what << ": the file is not written";
  }
}

TEST_F(SettingsFileTest, SaveWritesEveryLineBackWithCrLf) {
  WriteIni("[General]\nwidth=40\n\nUnknown=x=y\nno equals here\nWidth=50\n\r");
  LoadSettings(settings_, iniPath_);
  settings_.StoreSetting("Width", "64");
  settings_.StoreSetting("Png", "1");
  SaveSettings(settings_, iniPath_);
  EXPECT_EQ(ReadIni(),
            "[General]\r\nWidth=64\r\n\r\nUnknown=x=y\r\nno equals here\r\nWidth=50\r\n\r\n"
            "Png=1\r\n");
}

TEST_F(SettingsFileTest, SaveCreatesTheFileAndFailsLoudlyWhereItCannotWrite) {
  settings_.StoreSetting("Save256", "0");
  SaveSettings(settings_, iniPath_);
  EXPECT_EQ(ReadIni(), "Save256=0\r\n");
  EXPECT_THROW(SaveSettings(settings_, tmp_.Path("missing/gridkiln.ini")), std::runtime_error);
}

TEST_F(SettingsFileTest, AnOversizedFileIsAnError) {
  WriteIni("Width=40\r\n" + std::string(2 * 1024 * 1024, 'x'));
  EXPECT_THROW(LoadSettings(settings_, iniPath_), std::runtime_error);
}

// A file of LF lines grows by a CR a line when it is written back: what is written must still be
// readable, and what cannot be written leaves the old file alone.
TEST_F(SettingsFileTest, WhatASaveWritesTheNextStartReads) {
  std::string lines = "Width=40\n";
  while (lines.size() < MaxSettingsFileBytes - 2) lines += "k\n";
  WriteIni(lines);
  EXPECT_EQ(LoadSettings(settings_, iniPath_).Width, 40);
  try {
    SaveSettings(settings_, iniPath_);
    ADD_FAILURE() << "a save larger than a start reads was written";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(iniPath_), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadIni(), lines);

  // Just small enough after the CRs are added: written, and read back whole.
  std::string fits = "Width=40\n";
  while (fits.size() + 2 <= MaxSettingsFileBytes / 2) fits += "k\n";
  WriteIni(fits);
  Settings settings;
  LoadSettings(settings, iniPath_);
  SaveSettings(settings, iniPath_);
  Settings again;
  LoadSettings(again, iniPath_);
  EXPECT_EQ(again.Lines(), settings.Lines());
}

TEST_F(SettingsFileTest, AFileWithoutReadPermissionIsAnError) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads files without read permission";
  WriteIni("Width=40\r\n");
  ASSERT_EQ(chmod(iniPath_.c_str(), 0), 0);
  EXPECT_THROW(LoadSettings(settings_, iniPath_), std::runtime_error);
}

}  // namespace
}  // namespace gk
