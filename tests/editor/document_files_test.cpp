#include "editor/document_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "editor/picture_files.h"
#include "filesystem/file_io.h"
#include "image/bmp_codec.h"
#include "image/halftone_palette.h"
#include "support/editor_fixture.h"
#include "support/file_contents.h"
#include "support/surface_pixels.h"

namespace gk {
namespace {

namespace fs = std::filesystem;
using testing::Pixels;
using testing::ReadBytes;
using testing::WriteBytes;

// Everything a command may change, so that "nothing changed" is one comparison.
struct Observed {
  int width = 0, height = 0;
  PixelFormat format;
  std::vector<Colour> pixels;
  bool hasUndo = false;
  std::vector<Colour> undo;
  int viewW = 0, viewH = 0;
  std::string path, title, marker;
  bool modified = false, guard = false, timer = false;
  std::vector<std::string> series;
  bool operator==(const Observed&) const = default;
};

class DocumentFilesTest : public testing::EditorFixture {
 protected:
  void SetUp() override {
    appDir_ = ctx_.state.AppDir;
    work_ = tmp_.Path("work/");
    fs::create_directories(work_);
  }

  void Modify(Colour c = Red) {
    ctx_.Document().WritePixel(0, 0, c);
    ctx_.state.Modified = true;
    ui_.marker = "*";
  }
  std::string Auto(int n) const { return appDir_ + "bmp/" + std::to_string(n) + ".bmp"; }

  Observed Observe() {
    Observed o;
    o.width = ctx_.state.Width;
    o.height = ctx_.state.Height;
    o.format = ctx_.Document().Format();
    o.pixels = Pixels(ctx_.Document());
    o.hasUndo = ctx_.controls.ImgViewB.HasSurface();
    if (o.hasUndo) o.undo = Pixels(*ctx_.controls.ImgViewB.SurfaceIfAny());
    o.viewW = ctx_.controls.ImgView.Width;
    o.viewH = ctx_.controls.ImgView.Height;
    o.path = ctx_.documentPath;
    o.title = ui_.title;
    o.marker = ui_.marker;
    o.modified = ctx_.state.Modified;
    o.guard = ctx_.state.OpenGuard;
    o.timer = ui_.timerActive;
    o.series = ui_.seriesItems;
    return o;
  }

  std::string appDir_, work_;
};

// ---- The save prompt on New, Open and closing.

enum class Command { New, Open, Close };

class PromptTest : public DocumentFilesTest,
                   public ::testing::WithParamInterface<std::tuple<Command, MessageResult>> {};

TEST_P(PromptTest, AnswerDecidesSaveAndWhetherTheCommandGoesOn) {
  const auto [command, answer] = GetParam();
  Modify();
  ui_.messageAnswers.push_back(answer);
  ui_.openAnswers.push_back(std::nullopt);  // Open: the dialog is then cancelled

  bool closes = false;
  switch (command) {
    case Command::New:
      BtnNewClick(ctx_, 0);
      break;
    case Command::Open:
      BtnOpenClick(ctx_);
      break;
    case Command::Close:
      closes = FormCloseQuery(ctx_);
      break;
  }

  const bool saved = answer == MessageResult::Yes;
  const bool goesOn = answer != MessageResult::Cancel;
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "Save current image?");
  EXPECT_EQ(ui_.messages[0].caption, "Prompt");
  EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(ui_.messages[0].icon, MessageIcon::None);

  // Yes saves an unnamed document under the first automatic name, without a dialog.
  EXPECT_EQ(FileExists(Auto(1)), saved);
  if (saved) {
    EXPECT_EQ(LoadBmpFile(Auto(1)).ReadPixel(0, 0), Red);
  }
  EXPECT_EQ(ui_.openAnswers.empty(), command == Command::Open && goesOn);

  const bool renewed = command == Command::New && goesOn;
  EXPECT_EQ(ctx_.Document().ReadPixel(0, 0), renewed ? Black : Red);
  EXPECT_EQ(ctx_.state.Modified, !saved && !renewed);
  EXPECT_EQ(ui_.marker, ctx_.state.Modified ? "*" : "");
  if (command == Command::Close) {
    EXPECT_EQ(closes, goesOn);
  }
  EXPECT_EQ(ctx_.documentPath, saved && !renewed ? Auto(1) : "");
}

INSTANTIATE_TEST_SUITE_P(All, PromptTest,
                         ::testing::Combine(::testing::Values(Command::New, Command::Open,
                                                              Command::Close),
                                            ::testing::Values(MessageResult::Yes, MessageResult::No,
                                                              MessageResult::Cancel)));

TEST_F(DocumentFilesTest, UnmodifiedDocumentIsNeverPrompted) {
  ui_.openAnswers.push_back(std::nullopt);
  ui_.newSizeAnswers.push_back(std::nullopt);
  BtnNewClick(ctx_, 0);
  BtnNewClick(ctx_, NewSizeTag);
  BtnOpenClick(ctx_);
  EXPECT_TRUE(FormCloseQuery(ctx_));
  EXPECT_TRUE(ui_.messages.empty());
}

// ---- Save under automatic names, the current name and a chosen name.

TEST_F(DocumentFilesTest, SaveTakesLowestFreeAutomaticNumberAndThenKeepsIt) {
  struct Case {
    std::vector<int> present;
    int expected;
  } cases[] = {{{}, 1}, {{1, 2}, 3}, {{2}, 1}, {{1, 3}, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    fs::remove_all(appDir_ + "bmp");
    fs::create_directory(appDir_ + "bmp");
    for (int n : c.present) WriteBytes(Auto(n), {'x'});
    ctx_.documentPath.clear();
    Modify(Red);

    BtnSaveClick(ctx_);
    EXPECT_EQ(ctx_.documentPath, Auto(c.expected));
    EXPECT_EQ(LoadBmpFile(Auto(c.expected)).ReadPixel(0, 0), Red);
    EXPECT_EQ(ui_.title, "Saved as " + std::to_string(c.expected) + ".bmp");
    EXPECT_FALSE(ctx_.state.Modified);
    EXPECT_EQ(ui_.marker, "");
    EXPECT_TRUE(ui_.timerActive);

    // The second save overwrites the same file without asking anything.
    Modify(White);
    BtnSaveClick(ctx_);
    EXPECT_EQ(ctx_.documentPath, Auto(c.expected));
    EXPECT_EQ(LoadBmpFile(Auto(c.expected)).ReadPixel(0, 0), White);
    EXPECT_EQ(std::distance(fs::directory_iterator(appDir_ + "bmp"), {}),
              static_cast<long>(c.present.size() + 1));
  }
}

TEST_F(DocumentFilesTest, SaveAsUsesTheChosenPathAsDocumentPath) {
  Modify();
  ui_.saveAnswers.push_back(std::nullopt);
  const Observed before = Observe();
  BtnSaveasClick(ctx_);
  EXPECT_EQ(Observe(), before);

  const std::string hero = work_ + "hero.bmp";
  ui_.saveAnswers.push_back(hero);
  ui_.saveAnswers.push_back(work_ + "hero2.bmp");
  BtnSaveasClick(ctx_);
  BtnSaveasClick(ctx_);
  EXPECT_EQ(ui_.savePresets, (std::vector<std::string>{"", "", hero}));
  EXPECT_EQ(ctx_.documentPath, work_ + "hero2.bmp");
  EXPECT_EQ(LoadBmpFile(hero).ReadPixel(0, 0), Red);
  EXPECT_TRUE(FileExists(work_ + "hero2.bmp"));
  EXPECT_EQ(ui_.title, "Saved as hero2.bmp");
  // Save as rebuilds the series menu from the new name's folder.
  EXPECT_EQ(ui_.seriesItems, (std::vector<std::string>{"hero.bmp", "hero2.bmp"}));
  EXPECT_TRUE(ui_.messages.empty());
}

// ---- Titles, the timer and the open guard.

TEST_F(DocumentFilesTest, TitlesFollowOpenSaveTickAndNew) {
  const std::string hero = work_ + "hero.bmp";
  SaveBmpFile(hero, Surface(40, 24, PixelFormat::Rgb24(), Red));
  ui_.openAnswers.push_back(hero);

  BtnOpenClick(ctx_);
  EXPECT_EQ(ui_.title, "gridkiln - hero.bmp");
  EXPECT_TRUE(ctx_.state.OpenGuard);
  EXPECT_TRUE(ui_.timerActive);
  EXPECT_EQ(ui_.seriesItems, std::vector<std::string>{"hero.bmp"});
  EXPECT_EQ(ctx_.state.Width, 40);
  EXPECT_EQ(ctx_.state.Height, 24);
  EXPECT_EQ(ctx_.controls.ImgView.Width, 80);
  EXPECT_EQ(ctx_.controls.ImgView.Height, 48);

  Timer1Timer(ctx_);
  EXPECT_EQ(ui_.title, "gridkiln - hero.bmp");
  EXPECT_FALSE(ctx_.state.OpenGuard);
  EXPECT_FALSE(ui_.timerActive);

  Modify();
  BtnSaveClick(ctx_);
  EXPECT_EQ(ui_.title, "Saved as hero.bmp");
  EXPECT_TRUE(ui_.timerActive);
  Timer1Timer(ctx_);
  EXPECT_EQ(ui_.title, "gridkiln - hero.bmp");

  // New clears the path, so the tick after the prompt's save shows no name.
  Modify();
  ui_.messageAnswers.push_back(MessageResult::Yes);
  BtnNewClick(ctx_, 0);
  EXPECT_EQ(ui_.title, "gridkiln");
  EXPECT_EQ(ctx_.documentPath, "");
  EXPECT_TRUE(ui_.timerActive);
  Timer1Timer(ctx_);
  EXPECT_EQ(ui_.title, "gridkiln - ");
}

TEST_F(DocumentFilesTest, OnlyTheOpenCommandSetsTheGuardAndAnyTickClearsIt) {
  const std::string tile = work_ + "tile.bmp";
  SaveBmpFile(tile, Surface(8, 8));

  LoadImageFile(ctx_, tile);  // the series menu's way in
  EXPECT_FALSE(ctx_.state.OpenGuard);
  EXPECT_FALSE(ui_.timerActive);

  ui_.openAnswers.push_back(tile);
  BtnOpenClick(ctx_);
  EXPECT_TRUE(ctx_.state.OpenGuard);

  // A tick started by a save frees the guard as well.
  Timer1Timer(ctx_);
  ui_.openAnswers.push_back(tile);
  BtnOpenClick(ctx_);
  BtnSaveClick(ctx_);
  Timer1Timer(ctx_);
  EXPECT_FALSE(ctx_.state.OpenGuard);
}

TEST_F(DocumentFilesTest, OpenDialogStartsInTheDocumentsFolderElseInTheAutomaticOne) {
  const std::string tile = work_ + "tile.bmp";
  SaveBmpFile(tile, Surface(8, 8));
  const std::string gone = tmp_.Path("gone/");
  fs::create_directories(gone);
  SaveBmpFile(gone + "old.bmp", Surface(8, 8));

  // Unnamed: the automatic folder. Named: the document's folder, also after a cancel.
  ui_.openAnswers = {tile, std::nullopt, gone + "old.bmp"};
  BtnOpenClick(ctx_);
  BtnOpenClick(ctx_);
  BtnOpenClick(ctx_);
  // The document's folder has gone since: the automatic folder again; without that one too,
  // the dialog stays where it was.
  fs::remove_all(gone);
  ui_.openAnswers = {std::nullopt, std::nullopt};
  BtnOpenClick(ctx_);
  fs::remove(appDir_ + "bmp");
  BtnOpenClick(ctx_);
  EXPECT_EQ(ui_.openFolders,
            (std::vector<std::string>{appDir_ + "bmp/", work_, work_, appDir_ + "bmp/", ""}));

  // Save as still opens with the document path itself.
  ui_.saveAnswers.push_back(std::nullopt);
  BtnSaveasClick(ctx_);
  EXPECT_EQ(ui_.savePresets, std::vector<std::string>{gone + "old.bmp"});
}

// ---- New and "New size".

TEST_F(DocumentFilesTest, NewSizeMakesBlack24BitDocumentOfTheBoxSizes) {
  const std::string indexed = work_ + "indexed.bmp";
  SaveBmpFile(indexed, Surface(16, 16, PixelFormat::Indexed(8, {Red, White}), White));

  struct Case {
    std::optional<std::pair<std::string, std::string>> answer;
    int width, height;
  } cases[] = {
      {std::pair{"24", "40"}, 24, 40}, {std::pair{"200", "16"}, 200, 16},
      {std::pair{" 8", "$10"}, 8, 16}, {std::pair{"1", "4096"}, 1, 4096},
      {std::nullopt, 16, 16},  // Cancel: the current size, still a fresh document
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width * 10000 + c.height);
    LoadImageFile(ctx_, indexed);
    ctx_.controls.ImgViewB.Canvas();
    ctx_.state.OriginX = 4;
    ui_.moved.clear();
    ui_.newSizeAnswers.push_back(c.answer);

    BtnNewClick(ctx_, NewSizeTag);
    const Surface& doc = ctx_.Document();
    EXPECT_EQ(ctx_.state.Width, c.width);
    EXPECT_EQ(ctx_.state.Height, c.height);
    EXPECT_EQ(doc.Width(), c.width);
    EXPECT_EQ(doc.Height(), c.height);
    EXPECT_EQ(doc.Format(), PixelFormat::Rgb24());
    EXPECT_EQ(Pixels(doc), std::vector<Colour>(c.width * c.height, Black));
    EXPECT_EQ(ctx_.controls.ImgView.Width, 2 * c.width);
    EXPECT_EQ(ctx_.controls.ImgView.Height, 2 * c.height);
    EXPECT_NE(std::find(ui_.moved.begin(), ui_.moved.end(), ControlId::ImgView), ui_.moved.end());
    EXPECT_FALSE(ctx_.controls.ImgViewB.HasSurface());
    EXPECT_EQ(ctx_.controls.ImgViewB.Width, c.width);
    EXPECT_EQ(ctx_.controls.ImgViewB.Height, c.height);
    EXPECT_EQ(ctx_.state.OriginX, 0);
    EXPECT_EQ(ctx_.documentPath, "");
    EXPECT_EQ(ui_.title, "gridkiln");
  }
}

TEST_F(DocumentFilesTest, NewSizeWithABadBoxChangesNothing) {
  struct Case {
    std::string width, height, named;
  } cases[] = {
      {"abc", "16", "Width"},   {"16", "abc", "Height"}, {"0", "16", "Width"},
      {"16", "5000", "Height"}, {"-8", "8", "Width"},    {"", "8", "Width"},
      {"4097", "8", "Width"},   {"8", "0x", "Height"},
  };
  Modify();
  ui_.marker = "*";
  ctx_.controls.ImgViewB.Canvas();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width + " x " + c.height);
    ui_.messageAnswers.push_back(MessageResult::No);
    ui_.newSizeAnswers.push_back(std::pair{c.width, c.height});
    const Observed before = Observe();
    try {
      BtnNewClick(ctx_, NewSizeTag);
      ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
    }
    EXPECT_EQ(Observe(), before);
  }
}

TEST_F(DocumentFilesTest, PlainNewFillsWithFirstTableColourAndKeepsFormatAndUndo) {
  const PixelFormat format = PixelFormat::Indexed(8, {0x00FF00, Black, White, Red});
  Surface picture(5, 3, format, White);
  picture.WritePixel(1, 1, Red);
  const std::string path = work_ + "green.bmp";
  SaveBmpFile(path, picture);
  LoadImageFile(ctx_, path);
  ctx_.controls.ImgViewB.Canvas().WritePixel(2, 2, Red);
  const std::vector<Colour> undo = Pixels(*ctx_.controls.ImgViewB.SurfaceIfAny());

  BtnNewClick(ctx_, 0);
  EXPECT_EQ(Pixels(ctx_.Document()), std::vector<Colour>(15, 0x00FF00));
  EXPECT_EQ(ctx_.Document().Format(), format);
  EXPECT_EQ(ctx_.state.Width, 5);
  EXPECT_EQ(ctx_.state.Height, 3);
  ASSERT_TRUE(ctx_.controls.ImgViewB.HasSurface());
  EXPECT_EQ(Pixels(*ctx_.controls.ImgViewB.SurfaceIfAny()), undo);
  EXPECT_EQ(ctx_.documentPath, "");
}

// ---- Formats: what is opened is drawn on and written back in its own format.

std::vector<std::uint8_t> Le(std::uint32_t v, int bytes) {
  std::vector<std::uint8_t> out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  return out;
}

// A 4 x 2 BI_RLE8 file over four colours: bottom row one run of index 1, top row 2, 2, 3, 3.
std::vector<std::uint8_t> Rle8File() {
  const std::vector<std::uint8_t> table = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
  const std::vector<std::uint8_t> data = {4, 1, 0, 0, 2, 2, 2, 3, 0, 1};
  const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(table.size());
  std::vector<std::uint8_t> f = {'B', 'M'};
  auto put = [&f](std::uint32_t v, int n) {
    auto b = Le(v, n);
    f.insert(f.end(), b.begin(), b.end());
  };
  put(offset + static_cast<std::uint32_t>(data.size()), 4);
  put(0, 4);
  put(offset, 4);
  put(40, 4);
  put(4, 4);
  put(2, 4);
  put(1, 2);
  put(8, 2);
  put(BiRle8, 4);
  put(static_cast<std::uint32_t>(data.size()), 4);
  put(0, 4);
  put(0, 4);
  put(4, 4);
  put(0, 4);
  f.insert(f.end(), table.begin(), table.end());
  f.insert(f.end(), data.begin(), data.end());
  return f;
}

TEST_F(DocumentFilesTest, EveryReadableFormatIsWrittenBackInItsOwnFormat) {
  std::vector<Colour> vga16;
  for (int i = 0; i < 16; ++i) vga16.push_back(MakeColour(i * 16, 255 - i * 16, i * 5));
  PixelFormat core8 = PixelFormat::Indexed(8, {Black, Red, 0x00FF00, White, 0x808080});
  core8.header = BmpHeaderKind::Core;
  PixelFormat core24 = PixelFormat::Rgb24();
  core24.header = BmpHeaderKind::Core;
  PixelFormat bgr32 = PixelFormat::Rgb32();
  bgr32.bitfields = true;
  bgr32.redMask = 0xFF000000;
  bgr32.greenMask = 0x00FF0000;
  bgr32.blueMask = 0x0000FF00;

  const PixelFormat formats[] = {PixelFormat::Indexed(1, {0x00FFFF, 0x800000}),
                                 PixelFormat::Indexed(4, vga16),
                                 PixelFormat::Indexed(8, {Black, Red, 0x00FF00, White, 0x808080}),
                                 PixelFormat::Rgb555(),
                                 PixelFormat::Rgb565(),
                                 PixelFormat::Rgb24(),
                                 PixelFormat::Rgb32(),
                                 bgr32,
                                 core8,
                                 core24};
  const std::string in = work_ + "in.bmp";
  const std::string out = work_ + "out.bmp";
  for (const PixelFormat& format : formats) {
    SCOPED_TRACE(format.bitsPerPixel * 10 + static_cast<int>(format.header));
    Surface picture(7, 5, format, Black);  // 7: rows need padding at every depth
    for (int i = 0; i < 35; ++i)
      picture.WritePixel(i % 7, i / 7, MakeColour(i * 7, 255 - i, i * 3));
    const BmpBytes encoded = EncodeBmp(picture);
    WriteBytes(in, {encoded.begin(), encoded.end()});

    LoadImageFile(ctx_, in);
    ASSERT_EQ(ctx_.Document().Format(), format);
    const Colour drawn = ctx_.Document().ReadPixel(6, 4);
    ctx_.Document().WritePixel(3, 2, drawn);
    SaveImageFile(ctx_, out);

    const Surface back = LoadBmpFile(out);
    EXPECT_EQ(back.Format(), format);
    EXPECT_EQ(back.ReadPixel(3, 2), drawn);
    EXPECT_EQ(Pixels(back), Pixels(ctx_.Document()));
  }

  // A run-length file comes back uncompressed at its own depth and table.
  WriteBytes(in, Rle8File());
  LoadImageFile(ctx_, in);
  ctx_.Document().WritePixel(0, 0, Red);
  SaveImageFile(ctx_, out);
  const std::vector<std::uint8_t> written = ReadBytes(out);
  const BmpInfo info = ReadBmpInfo(written, out);
  EXPECT_EQ(info.compression, BiRgb);
  EXPECT_EQ(info.bitsPerPixel, 8);
  const Surface back = DecodeBmp(written, out);
  EXPECT_EQ(back.Format().colourTable, ctx_.Document().Format().colourTable);
  EXPECT_EQ(Pixels(back),
            (std::vector<Colour>{Red, 0x00FF00, 0xFF0000, 0xFF0000, Red, Red, Red, Red}));
}

TEST_F(DocumentFilesTest, Save256WritesHalftoneOnlyWhenExactlyOne) {
  const PixelFormat ownTable = PixelFormat::Indexed(8, {0x123456, 0x654321, White});
  const std::string out = work_ + "out.bmp";
  const Colour odd = 0x123456;  // not in the halftone palette
  for (bool indexedDocument : {false, true}) {
    for (const char* value :
         std::initializer_list<const char*>{"1", "0", "", " 1", "1 ", "true", nullptr}) {
      SCOPED_TRACE(std::string(value ? value : "(missing)") + (indexedDocument ? " 8-bit" : ""));
      const PixelFormat format = indexedDocument ? ownTable : PixelFormat::Rgb24();
      ctx_.controls.ImgView.SetSurface(Surface(3, 2, format, White));
      ctx_.Document().WritePixel(1, 1, odd);
      ctx_.settings = Settings();
      if (value) ctx_.settings.SetText(std::string("Save256=") + value + "\r\n");

      SaveImageFile(ctx_, out);
      const Surface back = LoadBmpFile(out);
      const bool converted = value && std::string(value) == "1" && !indexedDocument;
      if (converted) {
        const auto& halftone = HalftonePalette();
        EXPECT_EQ(back.Format().bitsPerPixel, 8);
        EXPECT_EQ(back.Format().colourTable, std::vector<Colour>(halftone.begin(), halftone.end()));
        EXPECT_EQ(back.ReadPixel(1, 1), halftone[NearestColourIndex(halftone.data(), 256, odd)]);
        EXPECT_NE(back.ReadPixel(1, 1), odd);
      } else {
        EXPECT_EQ(back.Format(), format);
        EXPECT_EQ(back.ReadPixel(1, 1), odd);
      }
      // The document on screen keeps its format and colours.
      EXPECT_EQ(ctx_.Document().Format(), format);
      EXPECT_EQ(ctx_.Document().ReadPixel(1, 1), odd);
    }
  }
}

// ---- Failures of the file system and of the reader change nothing that was not saved.

TEST_F(DocumentFilesTest, FailedSaveReportsAndKeepsTheDocumentUnsaved) {
  ctx_.settings.SetText("Png=1\r\n");
  const std::string readOnly = work_ + "ro.bmp";
  SaveBmpFile(readOnly, Surface(2, 2, PixelFormat::Rgb24(), White));
  chmod(readOnly.c_str(), 0444);
  const std::vector<std::uint8_t> readOnlyBytes = ReadBytes(readOnly);
  WriteBytes(work_ + "plain.txt", {'x'});
  fs::create_directory(work_ + "dir.bmp");

  const std::string targets[] = {work_ + "plain.txt/x.bmp", work_ + "dir.bmp", work_ + "none/x.bmp",
                                 readOnly};
  for (const std::string& target : targets) {
    SCOPED_TRACE(target);
    Modify();
    ui_.saveAnswers.push_back(target);
    Observed expected = Observe();
    expected.path = target;  // the save dialog keeps the chosen name
    try {
      BtnSaveasClick(ctx_);
      ADD_FAILURE() << "saved";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
    }
    EXPECT_EQ(Observe(), expected);
  }
  EXPECT_EQ(ReadBytes(readOnly), readOnlyBytes);
  // No PNG is exported after a failed BMP write.
  for (const auto& entry : fs::recursive_directory_iterator(tmp_.Root())) {
    EXPECT_NE(entry.path().extension(), ".png") << entry.path();
  }
}

TEST_F(DocumentFilesTest, AutomaticSaveWithoutItsFolderFailsEvenFromThePrompt) {
  fs::remove_all(appDir_ + "bmp");
  Modify();
  const Observed before = Observe();

  // The prompt's save fails: New is abandoned and the document stays modified.
  ui_.messageAnswers.push_back(MessageResult::Yes);
  EXPECT_THROW(BtnNewClick(ctx_, 0), std::runtime_error);
  Observed expected = before;
  expected.path = Auto(1);
  EXPECT_EQ(Observe(), expected);

  // A folder named like the next automatic file counts as absent, so the save targets it.
  fs::create_directories(Auto(1));
  ctx_.documentPath.clear();
  EXPECT_THROW(BtnSaveClick(ctx_), std::runtime_error);
  EXPECT_EQ(Observe(), expected);
  EXPECT_FALSE(fs::exists(appDir_ + "bmp/2.bmp"));
}

TEST_F(DocumentFilesTest, OpenThatFailsChangesNothing) {
  Surface good(6, 4, PixelFormat::Rgb24(), Red);
  const BmpBytes bytes = EncodeBmp(good);
  struct Case {
    std::string name;
    std::vector<std::uint8_t> content;
  } cases[] = {
      {"truncated.bmp", {bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)}},
      {"header-only.bmp", {bytes.begin(), bytes.begin() + 20}},
      {"empty.bmp", {}},
      {"notes.bmp", {'h', 'e', 'l', 'l', 'o', '\n'}},
      {"picture.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}},
  };
  // A named, modified document with an undo copy and a series menu.
  const std::string hero = work_ + "hero.bmp";
  SaveBmpFile(hero, Surface(10, 12, PixelFormat::Rgb24(), White));
  LoadImageFile(ctx_, hero);
  ui_.seriesItems = {"not rebuilt"};
  ctx_.controls.ImgViewB.Canvas();
  Modify();

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(work_ + c.name, c.content);
    ui_.messageAnswers.push_back(MessageResult::No);
    ui_.openAnswers.push_back(work_ + c.name);
    const Observed before = Observe();
    try {
      BtnOpenClick(ctx_);
      ADD_FAILURE() << "opened";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.name), std::string::npos) << e.what();
    }
    EXPECT_EQ(Observe(), before);
  }
  EXPECT_THROW(LoadImageFile(ctx_, work_ + "missing.bmp"), std::runtime_error);
}

}  // namespace
}  // namespace gk
