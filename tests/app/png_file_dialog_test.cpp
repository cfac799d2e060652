// A PNG name typed into the save dialog, which adds ".bmp" only to a name typed without an
// extension.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <string>

#include "editor/document_files.h"
#include "editor/picture_files.h"
#include "image/png_reader.h"
#include "support/file_contents.h"
#include "support/main_window_fixture.h"
#include "support/modal_steps.h"
#include "support/png_samples.h"
#include "support/surface_pixels.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

class PngFileDialogTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    Start();
    docs_ = dir->Path() + "docs/";
    fs::create_directories(docs_);
  }

  // Runs `command` with the next file dialog answered as a user does: `name` typed into the
  // file-name box, then the dialog's Open or Save.
  void TypeIntoNextDialog(QAction* command, const std::string& name) {
    test::OnNextModal([this, name](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (!dialog) {
        ADD_FAILURE() << "no file dialog";
        modal->close();
        return;
      }
      dialog->setDirectory(QString::fromStdString(docs_));
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

TEST_F(PngFileDialogTest, SaveAsKeepsATypedPngNameAndWritesAPng) {
  fs::copy_file(testing::SamplePath("tints_fade_indexed8.png"), docs_ + "art.png");
  LoadImageFile(form->ctx, docs_ + "art.png");

  TypeIntoNextDialog(form->Saveas1, "copy.png");
  EXPECT_EQ(form->ctx.documentPath, docs_ + "copy.png");
  EXPECT_TRUE(HasPngSignature(testing::ReadBytes(docs_ + "copy.png")));
  EXPECT_FALSE(fs::exists(docs_ + "copy.png.bmp"));
  EXPECT_EQ(testing::Pixels(LoadPictureFile(docs_ + "copy.png")),
            testing::ExpectedPixels({"", "tints.ppm", "fade.pgm", 8}));

  // A name without an extension still becomes a BMP.
  TypeIntoNextDialog(form->Saveas1, "plain");
  EXPECT_EQ(form->ctx.documentPath, docs_ + "plain.bmp");
  EXPECT_EQ(LoadBmpFile(docs_ + "plain.bmp").Format().bitsPerPixel, 8);
}

}  // namespace
}  // namespace gk
