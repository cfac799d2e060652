// PNG documents in the window. Names typed into the save dialog: a PNG name stays PNG, a name
// without an ending takes the shown filter's, and a BMP of a document with transparency is asked
// about first. Transparent pixels show over a checkerboard of two light greys, never as black.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <filesystem>
#include <set>
#include <string>

#include "editor/document_files.h"
#include "editor/picture_files.h"
#include "image/alpha_blend.h"
#include "image/png_reader.h"
#include "support/file_contents.h"
#include "support/main_window_fixture.h"
#include "support/modal_steps.h"
#include "support/png_samples.h"
#include "support/surface_pixels.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

// The colours a widget shows over a block of its pixels.
std::set<Colour> ShownColours(const QImage& shown, int left, int top, int size) {
  std::set<Colour> colours;
  for (int y = top; y < top + size; ++y) {
    for (int x = left; x < left + size; ++x) {
      const QRgb p = shown.pixel(x, y);
      colours.insert(MakeColour(qRed(p), qGreen(p), qBlue(p)));
    }
  }
  return colours;
}

class PngWindowTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    Start();
    docs_ = dir->Path() + "docs/";
    fs::create_directories(docs_);
  }

  // Runs `command` with the next file dialog answered as a user does: `filter` chosen in the
  // list of kinds (unless empty), `name` typed into the file-name box, then Open or Save.
  void TypeIntoNextDialog(QAction* command, const std::string& name, const QString& filter = {}) {
    test::OnNextModal([this, name, filter](QWidget* modal) {
      QFileDialog* dialog = test::FileDialogAt(modal, docs_);
      if (!dialog) return;
      if (!filter.isEmpty()) {
        auto* kinds = dialog->findChild<QComboBox*>("fileTypeCombo");
        const int index = kinds ? kinds->findText(filter) : -1;
        if (index < 0) ADD_FAILURE() << "no filter " << filter.toStdString();
        kinds->setCurrentIndex(index);
        emit kinds->activated(index);
        emit kinds->textActivated(filter);
      }
      auto* box = dialog->findChild<QLineEdit*>("fileNameEdit");
      if (!box) {
        ADD_FAILURE() << "no file-name box";
        dialog->reject();
        return;
      }
      // The box has the keyboard, as when the user types: typing then deselects the file
      // the dialog was preset with.
      QApplication::setActiveWindow(dialog);
      box->setFocus();
      box->selectAll();
      QTest::keyClicks(box, QString::fromStdString(name));
      test::Accept(dialog);
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog did not take " << name;
        dialog->reject();
      }
    });
    command->trigger();
  }

  std::string docs_;
};

TEST_F(PngWindowTest, SaveAsKeepsATypedPngNameAndWritesAPng) {
  fs::copy_file(testing::SamplePath("tints_fade_indexed8.png"), docs_ + "art.png");
  LoadImageFile(form->ctx, docs_ + "art.png");

  TypeIntoNextDialog(form->Saveas1, "copy.png");
  EXPECT_EQ(form->ctx.documentPath, docs_ + "copy.png");
  EXPECT_TRUE(HasPngSignature(testing::ReadBytes(docs_ + "copy.png")));
  EXPECT_FALSE(fs::exists(docs_ + "copy.png.bmp"));
  EXPECT_EQ(testing::Pixels(LoadPictureFile(docs_ + "copy.png")),
            testing::ExpectedPixels({"", "tints.ppm", "fade.pgm", 8, Black}));

  // A name typed without an ending takes the shown kind's: the document's at first.
  TypeIntoNextDialog(form->Saveas1, "plain");
  EXPECT_EQ(form->ctx.documentPath, docs_ + "plain.png");
  EXPECT_TRUE(HasPngSignature(testing::ReadBytes(docs_ + "plain.png")));

  // Under the BMP filter it is a BMP, which cannot hold the transparent pixels: the user is
  // asked first, and the default answer writes nothing and changes nothing.
  for (const bool yes : {false, true}) {
    QString asked;
    test::OnNextModal([&](QWidget*) {
      test::OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
          modal->close();
          return;
        }
        asked = box->text().remove(QChar(0x200B));
        (yes ? box->button(QMessageBox::Yes) : box->defaultButton())->click();
      });
    });
    TypeIntoNextDialog(form->Saveas1, "flat", "*.bmp (*.bmp)");
    EXPECT_EQ(asked.toStdString(),
              "plain.png has transparent pixels; a BMP file lays them over black. Save anyway?");
    EXPECT_EQ(form->ctx.documentPath, docs_ + (yes ? "flat.bmp" : "plain.png"));
    EXPECT_EQ(fs::exists(docs_ + "flat.bmp"), yes);
  }
  EXPECT_EQ(LoadBmpFile(docs_ + "flat.bmp").Format().bitsPerPixel, 8);
}

TEST_F(PngWindowTest, TransparentPixelsShowOverTheCheckerboard) {
  form->show();
  // Its first row: white opaque, 200,100,50 at alpha 204, ..., 95,190,245 at alpha 0.
  LoadImageFile(form->ctx, testing::SamplePath("tints_fade_rgba8.png"));
  QApplication::processEvents();
  const int d = form->ctx.state.DotSize;
  const Colour tint = MakeColour(200, 100, 50);
  const std::set<Colour> checker{CheckerLight, CheckerDark};
  const std::set<Colour> tinted{Blend(tint, 204, CheckerLight), Blend(tint, 204, CheckerDark)};

  const QImage grid = form->ImgMain->grab().toImage();
  EXPECT_EQ(ShownColours(grid, 5 * d, 0, d), checker);
  EXPECT_EQ(ShownColours(grid, 1 * d, 0, d), tinted);
  EXPECT_EQ(ShownColours(grid, 0, 0, d), std::set<Colour>{White});

  // The view shows each pixel doubled, over a finer checkerboard.
  const QImage view = form->ImgView->grab().toImage();
  for (const Colour c : ShownColours(view, 10, 0, 2)) EXPECT_TRUE(checker.contains(c)) << c;
  for (const Colour c : ShownColours(view, 2, 0, 2)) EXPECT_TRUE(tinted.contains(c)) << c;
  EXPECT_EQ(ShownColours(view, 0, 0, 2), std::set<Colour>{White});
}

}  // namespace
}  // namespace gk
