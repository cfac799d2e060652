// PNG files as documents: opened like BMP files, saved back as PNG under their own name.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/colour_selection.h"
#include "editor/document_files.h"
#include "editor/drawing_tools.h"
#include "editor/picture_files.h"
#include "editor/series_menu.h"
#include "editor/transforms.h"
#include "image/halftone_palette.h"
#include "image/png_reader.h"
#include "support/editor_fixture.h"
#include "support/file_contents.h"
#include "support/png_samples.h"
#include "support/scratch_mount.h"
#include "support/surface_pixels.h"

namespace gk {
namespace {

namespace fs = std::filesystem;
using testing::Pixels;

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

class PngDocumentsTest : public testing::EditorFixture {
 protected:
  void SetUp() override {
    work_ = tmp_.Path("work/");
    fs::create_directories(work_);
  }
  std::string Copy(const std::string& sample, const std::string& as) {
    fs::copy_file(testing::SamplePath(sample), work_ + as);
    return work_ + as;
  }
  void SetFlags(const std::string& text) {
    ctx_.settings = Settings();
    ctx_.settings.SetText(text);
  }
  bool IsPng(const std::string& path) { return HasPngSignature(testing::ReadBytes(path)); }

  std::string work_;
};

TEST_F(PngDocumentsTest, EveryPngSavesBackAsThePngItWasRead) {
  // "Png"=1 adds nothing: such a document is its own PNG.
  SetFlags("Png=1\r\n");
  for (const testing::PngSample& sample : testing::PngSamples) {
    SCOPED_TRACE(sample.file);
    const std::string path = Copy(sample.file, sample.file);
    LoadImageFile(ctx_, path);
    EXPECT_EQ(ui_.title, std::string("gridkiln - ") + sample.file);
    const Surface opened = ctx_.Document();
    EXPECT_EQ(Pixels(opened), testing::ExpectedPixels(sample));

    BtnSaveClick(ctx_);
    EXPECT_EQ(ui_.title, std::string("Saved as ") + sample.file);
    ASSERT_TRUE(IsPng(path));
    const Surface saved = LoadPictureFile(path);
    // With transparency in its own kind: RGBA stays RGBA, grey with alpha stays so, an indexed
    // PNG keeps its table's alpha. (Opaque grey is written as RGB, as it always was.)
    const std::vector<std::uint8_t> before = testing::ReadBytes(testing::SamplePath(sample.file));
    if (sample.alpha) {
      EXPECT_EQ(ReadPngInfo(testing::ReadBytes(path), path).colourType,
                ReadPngInfo(before, sample.file).colourType);
    }
    // Indexed documents stay indexed at their depth with their table.
    EXPECT_EQ(saved.Format().bitsPerPixel, opened.Format().bitsPerPixel);
    EXPECT_EQ(saved.Format().colourTable, opened.Format().colourTable);
    EXPECT_EQ(Pixels(saved), Pixels(opened));
    EXPECT_EQ(Names(work_), std::set<std::string>{sample.file});
    fs::remove(path);
  }
  EXPECT_TRUE(ui_.messages.empty());
}

// Each kind of PNG with transparency through the tools, a transform, undo and a save. Erase
// writes transparent black (the file's transparent entry, when indexed); pen and fill write
// opaque; the fill tells a transparent black from an opaque one; the grid shows the colour the
// document stored and the eyedropper picks it; alpha moves with its pixels and is saved.
TEST_F(PngDocumentsTest, TransparencySurvivesToolsTransformsUndoAndSave) {
  const Colour Transparent = 0xFF000000u;  // as Pixels gives a pixel of alpha 0
  for (const testing::PngSample& sample : testing::PngSamples) {
    if (!sample.alpha) continue;
    SCOPED_TRACE(sample.file);
    const std::string path = Copy(sample.file, sample.file);
    LoadImageFile(ctx_, path);
    Surface& doc = ctx_.Document();
    const int d = ctx_.state.DotSize;
    const auto press = [&](void (*tool)(EditorContext&), int x, int y) {
      tool(ctx_);
      ImgMainMouseDown(ctx_, x * d + d / 2, y * d + d / 2);
    };
    const auto at = [&](int x, int y) { return Pixels(doc)[y * doc.Width() + x]; };

    press(BtnEraseClick, 0, 0);
    const Colour erased = (sample.hidden == NoColour ? Black : sample.hidden) | Transparent;
    EXPECT_EQ(at(0, 0), erased);
    SetCurColor(ctx_, Black);
    press(BtnPenClick, 1, 0);
    EXPECT_EQ(at(1, 0), Black);

    // A colour an indexed table lacks is stored as its nearest opaque entry, and shown so.
    SetCurColor(ctx_, 0x0A141F);
    press(BtnPenClick, 2, 1);
    EXPECT_EQ(doc.ReadAlpha(2, 1), 255);
    if (!doc.Format().IsIndexed()) {
      EXPECT_EQ(at(2, 1), 0x0A141Fu);
    }
    EXPECT_EQ(ctx_.controls.ImgMain.Canvas().ReadPixel(2 * d + 1, d + 1), at(2, 1));
    press(BtnSpoitClick, 2, 1);
    EXPECT_EQ(ctx_.state.CurColor, at(2, 1));

    // The fill takes the erased pixel's area: that colour at that alpha, never the opaque black.
    const std::vector<Colour> beforeFill = Pixels(doc);
    SetCurColor(ctx_, Red);
    press(BtnPaintClick, 0, 0);
    const std::vector<Colour> filled = Pixels(doc);
    EXPECT_EQ(doc.ReadAlpha(0, 0), 255);
    EXPECT_EQ(at(1, 0), Black);
    for (std::size_t i = 0; i < filled.size(); ++i) {
      if (filled[i] != beforeFill[i]) {
        EXPECT_EQ(beforeFill[i], erased) << i;
      }
    }
    BtnUndoClick(ctx_);
    EXPECT_EQ(Pixels(doc), beforeFill);

    // A mirror moves every pixel with its alpha; undo brings the picture back.
    mnMirrorHClick(ctx_);
    std::vector<Colour> mirrored = Pixels(doc), sorted = beforeFill;
    EXPECT_NE(mirrored, beforeFill);
    std::sort(mirrored.begin(), mirrored.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(mirrored, sorted);
    BtnUndoClick(ctx_);
    EXPECT_EQ(Pixels(doc), beforeFill);

    BtnSaveClick(ctx_);
    EXPECT_EQ(Pixels(LoadPictureFile(path)), beforeFill);

    // At 8 bits, fully transparent pixels stay so and every other pixel becomes opaque (an 8-bit
    // document keeps its own table and its alpha).
    SetFlags("Save256=1\r\n");
    BtnSaveClick(ctx_);
    const Surface eight = LoadPictureFile(path);
    EXPECT_EQ(eight.Format().bitsPerPixel, 8);
    for (int i = 0; i < doc.Width() * doc.Height(); ++i) {
      const int x = i % doc.Width(), y = i / doc.Width();
      const std::uint8_t alpha = doc.ReadAlpha(x, y);
      EXPECT_EQ(eight.ReadAlpha(x, y), doc.Format().bitsPerPixel == 8 || alpha == 0 ? alpha : 255)
          << i;
    }
    SetFlags("");
    fs::remove(path);
  }
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(PngDocumentsTest, TheNameDecidesTheFormatOfEverySave) {
  const std::string png = Copy("picture_rgb8.png", "hero.png");
  LoadImageFile(ctx_, png);
  ctx_.Document().WritePixel(0, 0, Red);

  // Save as a ".bmp" name writes a BMP, with the PNG export when asked for; a ".PNG" name is a
  // PNG with nothing beside it.
  SetFlags("Png=1\r\n");
  ui_.saveAnswers.push_back(work_ + "copy.bmp");
  BtnSaveasClick(ctx_);
  EXPECT_EQ(LoadBmpFile(work_ + "copy.bmp").ReadPixel(0, 0), Red);
  EXPECT_EQ(LoadPictureFile(work_ + "copy.png").ReadPixel(0, 0), Red);
  ui_.saveAnswers.push_back(work_ + "Upper.PNG");
  BtnSaveasClick(ctx_);
  EXPECT_TRUE(IsPng(work_ + "Upper.PNG"));
  EXPECT_EQ(Names(work_), (std::set<std::string>{"hero.png", "copy.bmp", "copy.png", "Upper.PNG"}));
  EXPECT_TRUE(ui_.messages.empty());

  // "Save256" writes the 8-bit conversion as an indexed PNG over the halftone table.
  SetFlags("Save256=1\r\n");
  ctx_.Document().WritePixel(1, 0, 0x563412);
  ctx_.documentPath = png;
  BtnSaveClick(ctx_);
  ASSERT_TRUE(IsPng(png));
  const Surface eight = LoadPictureFile(png);
  const auto& table = HalftonePalette();
  EXPECT_EQ(eight.Format().bitsPerPixel, 8);
  EXPECT_EQ(eight.Format().colourTable, std::vector<Colour>(table.begin(), table.end()));
  EXPECT_EQ(eight.ReadPixel(0, 0), Red);
  EXPECT_EQ(eight.ReadPixel(1, 0), table[NearestColourIndex(table.data(), 256, 0x563412)]);
  EXPECT_EQ(ctx_.Document().ReadPixel(1, 0), 0x563412u);  // the document keeps its colours

  // "Save++" still works on ".bmp" names only.
  EXPECT_THROW(IncrementalSave1Click(ctx_), std::runtime_error);
}

// A PNG save on a disk that really fills up: the previous file stays whole.
TEST_F(PngDocumentsTest, AFailedPngSaveKeepsThePreviousFile) {
  testing::ScratchMount disk(tmp_.Path("disk"));
  if (!disk.Mounted()) GTEST_SKIP() << disk.Refusal();
  const std::string path = disk.Path("hero.png");
  fs::copy_file(testing::SamplePath("picture_rgb8.png"), path);
  const std::vector<std::uint8_t> before = testing::ReadBytes(path);
  LoadImageFile(ctx_, path);
  ctx_.Document().WritePixel(0, 0, Red);
  ctx_.state.Modified = true;
  ASSERT_TRUE(disk.Fill());
  try {
    BtnSaveClick(ctx_);
    ADD_FAILURE() << "saved on a full disk";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), path + ": cannot write: No space left on device");
  }
  EXPECT_EQ(testing::ReadBytes(path), before);
  EXPECT_TRUE(ctx_.state.Modified);
  EXPECT_EQ(Names(disk.Path("")),
            (std::set<std::string>{"hero.png", testing::ScratchMount::Filler}));
  disk.Free();
  BtnSaveClick(ctx_);
  EXPECT_EQ(LoadPictureFile(path).ReadPixel(0, 0), Red);
}

}  // namespace
}  // namespace gk
