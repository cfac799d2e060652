#include "editor/series_menu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/document_files.h"
#include "editor/picture_files.h"
#include "filesystem/file_io.h"
#include "support/editor_fixture.h"
#include "support/file_contents.h"

namespace gk {
namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::string>;

class SeriesMenuTest : public testing::EditorFixture {
 protected:
  void SetUp() override {
    dir_ = tmp_.Path("pics/");
    fs::create_directories(dir_);
    SetDocument(4);
  }

  // An unnamed, unmodified document `width` pixels wide and one pixel high.
  void SetDocument(int width) {
    ctx_.controls.ImgView.SetSurface(Surface(width, 1));
    ctx_.state.Width = width;
    ctx_.state.Height = 1;
  }
  // A real BMP whose width tells which file a load took.
  void WriteBmp(const std::string& path, int width) { SaveBmpFile(path, Surface(width, 1)); }
  void WriteEmpty(const std::string& path) { ASSERT_TRUE(testing::WriteText(path, "")); }
  void Open(const std::string& path) {
    LoadImageFile(ctx_, path);
    RebuildSeriesMenu(ctx_);
  }
  void Modify() {
    ctx_.Document().WritePixel(0, 0, Red);
    ctx_.state.Modified = true;
  }

  std::string dir_;
};

TEST_F(SeriesMenuTest, RebuildListsTheSeriesOfTheDocument) {
  for (const char* name :
       {"hero1.bmp", "hero10.bmp", "hero2.bmp", "Hero3.bmp", "heroine.bmp", "hello.bmp", "1.bmp",
        "12.bmp", "120.bmp", "12a.bmp", "21.bmp", "_a.bmp", "heroX.BMP", ".hero5.bmp", ".bmp",
        "hero7.png", "hero8.bmp.bak", "HEROES.bmp"}) {
    WriteEmpty(dir_ + name);
  }
  fs::create_directory(dir_ + "hero.bmp");
  fs::create_directory(dir_ + "herodir");

  struct Case {
    std::string document;
    Items items;
  } cases[] = {
      {"hero2.bmp",
       {"hero.bmp", "hero1.bmp", "hero10.bmp", "hero2.bmp", "heroine.bmp", "heroX.BMP"}},
      {"12.bmp", {"12.bmp", "120.bmp", "12a.bmp"}},
      {"Hero3.bmp", {"Hero3.bmp"}},
      {"HERO2.bmp", {"HEROES.bmp"}},
      {"_a.bmp", {}},
      {"hero99.bmp",
       {"hero.bmp", "hero1.bmp", "hero10.bmp", "hero2.bmp", "heroine.bmp",
        "heroX.BMP"}},  // the document's own file need not exist
  };
  for (const auto& c : cases) {
    ctx_.documentPath = dir_ + c.document;
    RebuildSeriesMenu(ctx_);
    EXPECT_EQ(ctx_.seriesItems, c.items) << c.document;
    EXPECT_EQ(ui_.seriesItems, c.items) << c.document;
  }
}

TEST_F(SeriesMenuTest, FailedListingEmptiesTheMenu) {
  WriteEmpty(dir_ + "a1.bmp");
  ctx_.documentPath = dir_ + "a1.bmp";
  RebuildSeriesMenu(ctx_);
  ASSERT_EQ(ui_.seriesItems, Items{"a1.bmp"});

  for (const std::string& path : {tmp_.Path("missing/a1.bmp"), dir_ + "a1.bmp/a2.bmp"}) {
    ctx_.documentPath = dir_ + "a1.bmp";
    RebuildSeriesMenu(ctx_);
    ctx_.documentPath = path;
    RebuildSeriesMenu(ctx_);
    EXPECT_TRUE(ctx_.seriesItems.empty()) << path;
    EXPECT_TRUE(ui_.seriesItems.empty()) << path;
  }
}

TEST_F(SeriesMenuTest, NextButtonStepsAndWraps) {
  WriteBmp(dir_ + "a1.bmp", 1);
  WriteBmp(dir_ + "a10.bmp", 10);
  WriteBmp(dir_ + "a2.bmp", 2);
  Open(dir_ + "a1.bmp");
  ASSERT_EQ(ctx_.seriesItems, (Items{"a1.bmp", "a10.bmp", "a2.bmp"}));

  for (auto [name, width] : {std::pair{"a10.bmp", 10}, {"a2.bmp", 2}, {"a1.bmp", 1}}) {
    btnNextChrClick(ctx_);
    EXPECT_EQ(ctx_.documentPath, dir_ + name);
    EXPECT_EQ(ctx_.state.Width, width) << name;
  }
  // Opening from the menu neither guards the grid, nor starts the timer, nor rebuilds.
  EXPECT_FALSE(ctx_.state.OpenGuard);
  EXPECT_EQ(ui_.timerStarts, 0);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(SeriesMenuTest, NextButtonDoesNothingWithoutAnExactMatch) {
  WriteBmp(dir_ + "a1.bmp", 1);
  WriteBmp(dir_ + "a2.bmp", 2);
  Open(dir_ + "a2.bmp");

  for (const std::string& path : {dir_ + "A2.bmp", dir_ + "a3.bmp", std::string()}) {
    ctx_.documentPath = path;
    btnNextChrClick(ctx_);
    EXPECT_EQ(ctx_.documentPath, path);
    EXPECT_EQ(ctx_.state.Width, 2) << path;
  }

  ctx_.documentPath = dir_ + "a2.bmp";
  ctx_.seriesItems.clear();
  btnNextChrClick(ctx_);
  EXPECT_EQ(ctx_.state.Width, 2);
}

TEST_F(SeriesMenuTest, OpeningAnItemSavesAModifiedDocumentFirst) {
  WriteBmp(dir_ + "a1.bmp", 1);
  WriteBmp(dir_ + "a2.bmp", 2);
  Open(dir_ + "a1.bmp");
  Modify();

  OpenSeriesItem(ctx_, "a2.bmp");
  EXPECT_EQ(LoadBmpFile(dir_ + "a1.bmp").ReadPixel(0, 0), Red);
  EXPECT_EQ(ctx_.documentPath, dir_ + "a2.bmp");
  EXPECT_EQ(ctx_.state.Width, 2);
  EXPECT_FALSE(ctx_.state.Modified);
  EXPECT_TRUE(ui_.messages.empty());  // no prompt

  // A single item: the next button saves it and loads it again.
  WriteBmp(dir_ + "b.bmp", 3);
  Open(dir_ + "b.bmp");
  ASSERT_EQ(ctx_.seriesItems, Items{"b.bmp"});
  Modify();
  btnNextChrClick(ctx_);
  EXPECT_EQ(ctx_.Document().ReadPixel(0, 0), Red);
  EXPECT_FALSE(ctx_.state.Modified);
}

TEST_F(SeriesMenuTest, UnnamedDocumentTakesItemsFromItsAutomaticNameOrTheCurrentDirectory) {
  // Modified: saved as bmp/1.bmp first, then the item is looked for beside it.
  WriteBmp(ctx_.state.AppDir + "bmp/a5.bmp", 5);
  Modify();
  OpenSeriesItem(ctx_, "a5.bmp");
  EXPECT_TRUE(FileExists(ctx_.state.AppDir + "bmp/1.bmp"));
  EXPECT_EQ(ctx_.documentPath, ctx_.state.AppDir + "bmp/a5.bmp");
  EXPECT_EQ(ctx_.state.Width, 5);

  // Unmodified: relative to the current directory.
  WriteBmp(dir_ + "a6.bmp", 6);
  ctx_.documentPath.clear();
  {
    struct CurrentDirectory {
      fs::path previous = fs::current_path();
      ~CurrentDirectory() { fs::current_path(previous); }
    } restore;
    fs::current_path(dir_);
    OpenSeriesItem(ctx_, "a6.bmp");
  }
  EXPECT_EQ(ctx_.state.Width, 6);
  EXPECT_EQ(ctx_.documentPath, "a6.bmp");
}

TEST_F(SeriesMenuTest, MissingItemFileFailsThroughTheLoad) {
  WriteBmp(dir_ + "a1.bmp", 1);
  Open(dir_ + "a1.bmp");
  EXPECT_THROW(OpenSeriesItem(ctx_, "a7.bmp"), std::exception);
}

TEST_F(SeriesMenuTest, SavePlusPlusRunsThroughTheLetters) {
  WriteBmp(dir_ + "x9.bmp", 3);
  Open(dir_ + "x9.bmp");

  Items expected = {"x9.bmp"};
  for (char c = 'a'; c <= 'z'; ++c) {
    std::string name = std::string("x9") + c + ".bmp";
    IncrementalSave1Click(ctx_);
    EXPECT_EQ(ctx_.documentPath, dir_ + name);
    EXPECT_TRUE(FileExists(dir_ + name)) << name;
    expected.push_back(name);
  }
  EXPECT_EQ(ui_.seriesItems, expected);
  EXPECT_TRUE(ui_.messages.empty());

  IncrementalSave1Click(ctx_);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "Can't save++");
  EXPECT_EQ(ui_.messages[0].caption, "Error");
  EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(ui_.messages[0].icon, MessageIcon::None);
  EXPECT_EQ(ctx_.documentPath, dir_ + "x9z.bmp");
}

TEST_F(SeriesMenuTest, SavePlusPlusRefusals) {
  struct Case {
    std::string document;
    bool cannotSaveBox;  // otherwise the error escapes to the event loop
  } cases[] = {
      {"", true},
      {dir_ + "heroA.bmp", true},
      {dir_ + "hero.BMP", false},
  };
  for (const auto& c : cases) {
    ui_.messages.clear();
    ctx_.documentPath = c.document;
    if (c.cannotSaveBox) {
      IncrementalSave1Click(ctx_);
      ASSERT_EQ(ui_.messages.size(), 1u) << c.document;
      EXPECT_EQ(ui_.messages[0].text, "Can't save++");
    } else {
      try {
        IncrementalSave1Click(ctx_);
        ADD_FAILURE() << "no error for " << c.document;
      } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(fs::path(c.document).filename().string()),
                  std::string::npos)
            << e.what();
      }
      EXPECT_TRUE(ui_.messages.empty());
    }
    EXPECT_EQ(ctx_.documentPath, c.document);
  }
  EXPECT_TRUE(fs::is_empty(dir_));
  EXPECT_TRUE(fs::is_empty(ctx_.state.AppDir + "bmp"));
}

TEST_F(SeriesMenuTest, SavePlusPlusAsksBeforeReplacingAFile) {
  WriteBmp(dir_ + "hero1.bmp", 4);
  WriteBmp(dir_ + "hero1a.bmp", 9);
  Open(dir_ + "hero1.bmp");
  Modify();

  ui_.messageAnswers = {MessageResult::No};
  IncrementalSave1Click(ctx_);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, dir_ + "hero1a.bmp already exists. Replace it?");
  EXPECT_EQ(ui_.messages[0].caption, ctx_.appTitle);
  EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(ui_.messages[0].icon, MessageIcon::None);
  EXPECT_EQ(ctx_.documentPath, dir_ + "hero1.bmp");
  EXPECT_EQ(LoadBmpFile(dir_ + "hero1a.bmp").Width(), 9);
  EXPECT_TRUE(ctx_.state.Modified);

  ui_.messageAnswers = {MessageResult::Yes};
  IncrementalSave1Click(ctx_);
  EXPECT_EQ(ui_.messages.size(), 2u);
  EXPECT_EQ(ctx_.documentPath, dir_ + "hero1a.bmp");
  Surface written = LoadBmpFile(dir_ + "hero1a.bmp");
  EXPECT_EQ(written.Width(), 4);
  EXPECT_EQ(written.ReadPixel(0, 0), Red);
  EXPECT_FALSE(ctx_.state.Modified);
  EXPECT_EQ(ui_.seriesItems, (Items{"hero1.bmp", "hero1a.bmp"}));
}

TEST_F(SeriesMenuTest, SavePlusPlusNamesTheOtherFolderItLeadsInto) {
  // The first ".bmp" is in a folder name: the new name lies beside that folder, where a file of
  // the same name as one in the document's folder may already stand.
  const std::string folder = dir_ + "set1.bmp.d/";
  fs::create_directories(folder);
  WriteBmp(folder + "hero1a.bmp", 2);
  WriteBmp(dir_ + "set1a.bmp", 9);
  Open(folder + "hero1a.bmp");

  ui_.messageAnswers = {MessageResult::No};
  IncrementalSave1Click(ctx_);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, dir_ + "set1a.bmp already exists. Replace it?");
  EXPECT_EQ(LoadBmpFile(dir_ + "set1a.bmp").Width(), 9);
  EXPECT_EQ(ctx_.documentPath, folder + "hero1a.bmp");
}

}  // namespace
}  // namespace gk
