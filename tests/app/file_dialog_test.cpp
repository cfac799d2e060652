// The open and save dialogs with names that are not UTF-8, which Qt shows with U+FFFD and knows
// only under that text, and with names that look like markup.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFileDialog>

#include <filesystem>
#include <optional>
#include <string>

#include "editor/picture_files.h"
#include "support/file_contents.h"
#include "support/main_window_fixture.h"
#include "support/modal_steps.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

const std::string Odd = "pic\xFF\xFE.bmp";
const QString OddShown = QString::fromUtf8("pic\uFFFD\uFFFD.bmp");

class FileDialogTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    Start();
    docs_ = dir->Path() + "docs/";
    fs::create_directories(docs_);
  }
  // Qt cannot name these files to remove them with the temporary folder.
  void TearDown() override {
    MainWindowFixture::TearDown();
    fs::remove_all(docs_);
  }

  // Runs `command` with the next file dialog answered: `name` picked by the text Qt shows for
  // it, as a double click does. A box over the dialog is recorded in `box` and answered with
  // `answer` (none may come when no answer is given); a dialog still up then is cancelled.
  void WithChoice(QAction* command, const std::string& name, test::BoxSeen& box,
                  std::optional<QMessageBox::StandardButton> answer = std::nullopt) {
    test::OnNextModal([this, name, &box, answer](QWidget* modal) {
      QFileDialog* dialog = test::FileDialogAt(modal, docs_);
      if (!dialog) return;
      dialog->selectFile(QFile::decodeName(QByteArray::fromStdString(name)));
      test::AnswerNextBox(box, answer.value_or(QMessageBox::Ok));
      test::Accept(dialog);
      if (dialog->isVisible()) dialog->reject();
    });
    command->trigger();
    EXPECT_EQ(box.seen, answer.has_value()) << box.text.toStdString();
  }

  std::string docs_;
};

TEST_F(FileDialogTest, OpenFindsTheFileBehindItsShownName) {
  SaveBmpFile(docs_ + Odd, Surface(5, 3, PixelFormat::Rgb24(), Red));
  test::BoxSeen none;
  WithChoice(form->Open1, Odd, none);
  EXPECT_EQ(form->ctx.documentPath, docs_ + Odd);
  EXPECT_EQ(form->ctx.Document().Width(), 5);
  EXPECT_EQ(form->windowTitle(), "gridkiln - " + OddShown);
}

TEST_F(FileDialogTest, SaveAsAsksBeforeReplacingTheFileBehindItsShownName) {
  SaveBmpFile(docs_ + Odd, Surface(9, 1));
  form->ctx.Document().WritePixel(0, 0, Red);

  test::BoxSeen refused;
  WithChoice(form->Saveas1, Odd, refused, QMessageBox::No);
  EXPECT_TRUE(refused.text.startsWith(OddShown + " already exists")) << refused.text.toStdString();
  EXPECT_EQ(LoadBmpFile(docs_ + Odd).Width(), 9);

  test::BoxSeen replaced;
  WithChoice(form->Saveas1, Odd, replaced, QMessageBox::Yes);
  EXPECT_EQ(form->ctx.documentPath, docs_ + Odd);
  EXPECT_EQ(LoadBmpFile(docs_ + Odd).ReadPixel(0, 0), Red);
  // Nothing was written under the shown text.
  for (const auto& entry : fs::directory_iterator(docs_)) {
    EXPECT_EQ(entry.path().filename().string(), Odd);
  }
}

TEST_F(FileDialogTest, TwoNamesShownAlikeAreRefusedInTheDialog) {
  SaveBmpFile(docs_ + "a\xFF.bmp", Surface(2, 1));
  SaveBmpFile(docs_ + "a\xFE.bmp", Surface(3, 1));
  test::BoxSeen refusal;
  WithChoice(form->Open1, "a\xFF.bmp", refusal, QMessageBox::Ok);
  EXPECT_TRUE(refusal.text.contains("2 names")) << refusal.text.toStdString();
  EXPECT_EQ(form->ctx.documentPath, "");
}

TEST_F(FileDialogTest, QtsOwnReplaceQuestionShowsMarkupInTheNameLiterally) {
  const std::string spoof = "hero<font color=red size=7>SPOOF<b>.bmp";
  SaveBmpFile(docs_ + spoof, Surface(2, 2));
  test::BoxSeen replace;
  WithChoice(form->Saveas1, spoof, replace, QMessageBox::No);
  EXPECT_EQ(replace.format, Qt::PlainText);
  EXPECT_TRUE(replace.text.startsWith(QString::fromStdString(spoof))) << replace.text.toStdString();
  EXPECT_EQ(LoadBmpFile(docs_ + spoof).Width(), 2);
}

}  // namespace
}  // namespace gk
