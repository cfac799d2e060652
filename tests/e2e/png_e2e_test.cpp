// A PNG as a user meets it: opened from the open dialog (its name typed, or found under the PNG
// filter), drawn on with a tool chosen by its key, saved with Ctrl+S back into the same PNG.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <memory>
#include <string>
#include <vector>

#include "e2e/app_folder.h"
#include "e2e/desktop_session.h"
#include "e2e/editor_layout.h"
#include "e2e/editor_process.h"
#include "editor/picture_files.h"
#include "image/alpha_blend.h"
#include "image/png_reader.h"

namespace gk::e2e {
namespace {

using L = EditorLayout;

std::vector<Colour> Pixels(const Surface& s) {
  std::vector<Colour> out;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) out.push_back(s.ReadPixel(x, y));
  }
  return out;
}

class PngJourney : public ::testing::Test {
 protected:
  void TearDown() override {
    if (HasFailure()) {
      const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
      desktop_.SaveScreenshot(GK_SHOT_DIR, QString("%1-failure").arg(info->name()));
    }
    editor_.reset();
  }

  // True once one screenshot shows every cell of the picture from origin (0, 0).
  bool GridShows(const Surface& picture) {
    return editor_->WaitForScreen([&](const QImage& shot) {
      for (int row = 0; row < picture.Height(); ++row) {
        for (int column = 0; column < picture.Width(); ++column) {
          const QPoint c = L::CellCentre(column, row);
          if (editor_->PixelOf(shot, c.x(), c.y()) != OnScreen(picture.ReadPixel(column, row))) {
            return false;
          }
        }
      }
      return true;
    });
  }

  // Ctrl+S, then the bytes of the document's file once the title says it was saved; none when
  // it does not.
  std::vector<std::uint8_t> SaveWithCtrlS(const QString& path) {
    editor_->Key("ctrl+s");
    const QString saved = "Saved as " + QFileInfo(path).fileName();
    EXPECT_TRUE(editor_->WaitForTitle(saved)) << editor_->Title().toStdString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
  }

  DesktopSession desktop_;
  std::unique_ptr<AppFolder> folder_;
  std::unique_ptr<EditorProcess> editor_;
};

TEST_F(PngJourney, OpensATypedPngDrawsWithAKeyChosenToolAndSavesItWithCtrlS) {
  // "Png"=1: a PNG document is its own PNG, so the save writes nothing beside it.
  folder_ = std::make_unique<AppFolder>(GK_EDITOR_EXE, QByteArray("Png=1\r\n"));
  editor_ = std::make_unique<EditorProcess>(desktop_, folder_->Program(), folder_->Root());
  const QString path = folder_->DocDir() + "/hero.png";
  ASSERT_TRUE(QFile::copy(GK_SOURCE_DIR "/tests/data/picture_indexed8.png", path));
  const Surface original = LoadPictureFile(path.toStdString());
  ASSERT_EQ(original.Format().bitsPerPixel, 8);

  // The dialog lists "*.bmp" files only; the name is typed.
  const QPoint open = L::ButtonCentre(L::Open);
  editor_->Click(open.x(), open.y());
  editor_->ChooseFile(path);
  ASSERT_TRUE(editor_->WaitForTitle("gridkiln - hero.png")) << editor_->Title().toStdString();
  ASSERT_TRUE(GridShows(original)) << "the grid does not show hero.png";

  // E chooses the eraser; the grid takes input once the second after the open is over.
  editor_->Key("e");
  const QPoint dot = L::CellCentre(1, 0);
  ASSERT_NE(original.ReadPixel(1, 0), Black);
  ASSERT_TRUE(WaitUntil([&] {
    editor_->Click(dot.x(), dot.y());
    return editor_->WaitForScreen(
        [&](const QImage& shot) { return editor_->PixelOf(shot, dot.x(), dot.y()) == 0; }, 500);
  })) << "the eraser never drew";

  const std::vector<std::uint8_t> png = SaveWithCtrlS(path);
  ASSERT_TRUE(HasPngSignature(png));
  const PngInfo info = ReadPngInfo(png, "hero.png");
  EXPECT_EQ(info.colourType, 3) << "no longer indexed";
  EXPECT_EQ(info.bitDepth, 8);
  const Surface saved = DecodePng(png, "hero.png");
  EXPECT_EQ(saved.Format().colourTable, original.Format().colourTable);
  Surface expected = original;
  expected.WritePixel(1, 0, Black);
  EXPECT_EQ(Pixels(saved), Pixels(expected));
  // Another program reads it too.
  const QImage image(path);
  ASSERT_EQ(image.size(), QSize(original.Width(), original.Height()));
  EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, 0u);
  EXPECT_EQ(QDir(folder_->DocDir()).entryList(QDir::Files | QDir::Hidden), QStringList{"hero.png"});
}

TEST_F(PngJourney, FindsASpriteUnderThePngFilterErasesToTransparentAndKeepsItsAlpha) {
  folder_ = std::make_unique<AppFolder>(GK_EDITOR_EXE, QByteArray());
  editor_ = std::make_unique<EditorProcess>(desktop_, folder_->Program(), folder_->Root());
  const QString folder = folder_->DocDir();
  const QString path = folder + "/sprite.png";
  ASSERT_TRUE(QFile::copy(GK_SOURCE_DIR "/tests/data/tints_fade_rgba8.png", path));
  // Under the BMP filter the folder's only file would be this one.
  ASSERT_TRUE(QFile::copy(GK_SOURCE_DIR "/tests/data/picture_info24.bmp", folder + "/other.bmp"));
  const Surface original = LoadPictureFile(path.toStdString());
  ASSERT_EQ(original.ReadAlpha(0, 0), 255);

  // The dialog opens in the name box: Tab reaches the kinds, Down chooses "*.png"; back in the
  // name box the folder is typed, then its list (now sprite.png alone) takes the first file.
  const QPoint open = L::ButtonCentre(L::Open);
  editor_->Click(open.x(), open.y());
  ASSERT_FALSE(editor_->WaitForDialog().isEmpty());
  for (const char* key : {"Tab", "Down", "shift+Tab", "ctrl+a"}) editor_->Key(key);
  editor_->Type(folder + "/");
  editor_->Key("Return");
  for (const char* key : {"shift+Tab", "Home", "space", "Return"}) editor_->Key(key);
  ASSERT_TRUE(editor_->WaitForTitle("gridkiln - sprite.png")) << editor_->Title().toStdString();
  // Without a window manager nothing hands the keyboard back to the main window.
  ASSERT_TRUE(editor_->WaitForNoDialog());
  editor_->FocusWindow(editor_->WindowId());

  // The eraser makes the opaque white corner transparent; it shows the checkerboard.
  editor_->Key("e");
  const QPoint dot = L::CellCentre(0, 0);
  ASSERT_TRUE(WaitUntil([&] {
    editor_->Click(dot.x(), dot.y());
    return editor_->WaitForScreen(
        [&](const QImage& shot) {
          const unsigned shown = editor_->PixelOf(shot, dot.x(), dot.y());
          return shown == OnScreen(CheckerLight) || shown == OnScreen(CheckerDark);
        },
        500);
  })) << "the eraser never drew";

  const std::vector<std::uint8_t> png = SaveWithCtrlS(path);
  EXPECT_EQ(ReadPngInfo(png, "sprite.png").colourType, 6) << "no longer RGBA";
  const Surface saved = DecodePng(png, "sprite.png");
  for (int y = 0; y < original.Height(); ++y) {
    for (int x = 0; x < original.Width(); ++x) {
      const bool erased = x == 0 && y == 0;
      EXPECT_EQ(saved.ReadAlpha(x, y), erased ? 0 : original.ReadAlpha(x, y)) << x << "," << y;
      EXPECT_EQ(saved.ReadPixel(x, y), erased ? Black : original.ReadPixel(x, y)) << x << "," << y;
    }
  }
  // Another program sees the same transparency.
  EXPECT_EQ(qAlpha(QImage(path).pixel(0, 0)), 0);
}

}  // namespace
}  // namespace gk::e2e
