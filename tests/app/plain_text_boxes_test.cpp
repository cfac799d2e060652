// Message boxes show file names as they are, never as markup: the error box of a handler and
// the start-up error box. The file dialogs' own boxes are in file_dialog_test.cpp.
#include <gtest/gtest.h>

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QScreen>

#include <string>

#include "support/file_contents.h"
#include "support/main_window_fixture.h"
#include "support/modal_steps.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

namespace gk {
namespace {

// A name that, read as markup, shows a large red "SPOOF.bmp".
const std::string Spoof = "hero<font color=red size=7>SPOOF<b>.bmp";

using PlainTextBoxesTest = test::MainWindowFixture;

TEST_F(PlainTextBoxesTest, ErrorBoxesShowMarkupInNamesLiterally) {
  Start();
  ASSERT_TRUE(Qt::mightBeRichText(QString::fromStdString(Spoof)));
  const std::string junk = dir->Path() + Spoof;
  ASSERT_TRUE(testing::WriteText(junk, "not a picture"));

  // A series item that is not a BMP: the handler's error box names it.
  form->ctx.documentPath = dir->Path() + "hero1.bmp";
  form->SetSeriesItems({Spoof});
  test::BoxSeen error;
  test::AnswerNextBox(error, QMessageBox::Ok);
  form->mnChrs->actions().front()->trigger();
  ASSERT_TRUE(error.seen);
  EXPECT_EQ(error.format, Qt::PlainText);
  EXPECT_TRUE(error.text.contains(QString::fromStdString(junk))) << error.text.toStdString();
  EXPECT_EQ(error.caption, QString::fromStdString(form->ctx.appTitle));

  // The start-up error box has no window to stand on.
  test::BoxSeen startup;
  test::AnswerNextBox(startup, QMessageBox::Ok);
  EXPECT_EQ(ShowMessageBox(nullptr, QString::fromStdString(junk + ": not a BMP file"), "gridkiln",
                           MessageButtons::Ok, MessageIcon::Stop),
            MessageResult::Ok);
  ASSERT_TRUE(startup.seen);
  EXPECT_EQ(startup.format, Qt::PlainText);
  EXPECT_EQ(startup.text, QString::fromStdString(junk + ": not a BMP file"));
}

// A long name wraps instead of being cut: the box stays within the screen, and its label holds
// every character on lines no wider than itself.
TEST(MessageBoxWrapTest, LongNamesWrapWithinTheScreen) {
  std::string umlauts;
  for (int i = 0; i < 120; ++i) umlauts += "\xC3\xA4";  // "ä", two bytes each
  const std::string cases[] = {
      std::string(252, 'n') + ".bmp: not a BMP file",
      "Could not write the PNG file /srv/" + std::string(120, 'f') + "/" + std::string(130, 'h') +
          ".png: No space left on device",
      "/tmp/" + umlauts + ".bmp: cannot open: Permission denied",
  };
  for (const std::string& text : cases) {
    const QString given = FromUtf8(text);
    bool seen = false;
    test::OnNextModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      const auto* label = box ? box->findChild<QLabel*>("qt_msgbox_label") : nullptr;
      if (label) {
        seen = true;
        EXPECT_LE(box->frameGeometry().width(), box->screen()->availableGeometry().width());
        EXPECT_TRUE(box->rect().contains(label->geometry()));
        EXPECT_EQ(label->text().remove(QChar(0x200B)), given);
        const QRect room = label->contentsRect();
        const QRect used =
            QFontMetrics(label->font())
                .boundingRect(room, Qt::TextWordWrap | label->alignment(), label->text());
        EXPECT_LE(used.width(), room.width()) << text;
        EXPECT_LE(used.height(), room.height()) << text;
      }
      modal->close();
    });
    ShowMessageBox(nullptr, given, "gridkiln", MessageButtons::Ok, MessageIcon::Stop);
    EXPECT_TRUE(seen) << text;
  }
}

}  // namespace
}  // namespace gk
