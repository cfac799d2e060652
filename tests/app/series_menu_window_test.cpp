// The "&Chrs" menu of the real window: names that are not UTF-8, and series too long for one
// flat menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/document_files.h"
#include "editor/picture_files.h"
#include "editor/series_menu.h"
#include "support/file_contents.h"
#include "support/main_window_fixture.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

class SeriesMenuWindowTest : public test::MainWindowFixture {
 protected:
  // Qt cannot name some of these files to remove them with the temporary folder.
  void TearDown() override {
    MainWindowFixture::TearDown();
    if (dir) fs::remove_all(dir->Path() + "docs");
  }
  // A folder for documents beside the AppDir's files.
  std::string Docs() {
    const std::string docs = dir->Path() + "docs/";
    fs::create_directories(docs);
    return docs;
  }
  // The entries of "&Chrs": items, or groups.
  QList<QAction*> Entries() { return form->mnChrs->actions(); }
  static QStringList Captions(const QList<QAction*>& actions) {
    QStringList captions;
    for (const QAction* a : actions) captions << a->text();
    return captions;
  }
  static void DeleteOldEntries() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_F(SeriesMenuWindowTest, ItemsWithBytesThatAreNotUtf8OpenAndSaveThoseFiles) {
  Start("Png=1\r\n");
  const std::string docs = Docs();
  const std::string odd =
      "hero\xFF\xFE"
      "1.bmp";
  SaveBmpFile(docs + "hero2.bmp", Surface(3, 1, PixelFormat::Rgb24(), White));
  SaveBmpFile(docs + odd, Surface(5, 2, PixelFormat::Rgb24(), Red));
  LoadImageFile(form->ctx, docs + "hero2.bmp");
  RebuildSeriesMenu(form->ctx);

  // Shown with U+FFFD, kept as bytes: bytes above 127 sort before digits.
  const QString shown = QString::fromUtf8("hero\uFFFD\uFFFD1.bmp");
  ASSERT_EQ(Captions(Entries()), (QStringList{shown, "hero2.bmp"}));
  EXPECT_EQ(form->ctx.seriesItems, (std::vector<std::string>{odd, "hero2.bmp"}));
  Entries()[0]->trigger();
  EXPECT_EQ(form->ctx.documentPath, docs + odd);
  EXPECT_EQ(form->windowTitle(), "gridkiln - " + shown);
  EXPECT_EQ(form->ctx.Document().Width(), 5);
  EXPECT_EQ(form->ctx.Document().ReadPixel(4, 1), Red);

  // Save++ writes the next name by the same bytes, its PNG beside it, and lists it.
  form->IncrementalSave1->trigger();
  const std::string next =
      "hero\xFF\xFE"
      "1a.bmp";
  EXPECT_EQ(form->ctx.documentPath, docs + next);
  EXPECT_EQ(LoadBmpFile(docs + next).Width(), 5);
  EXPECT_TRUE(fs::is_regular_file(docs + "hero\xFF\xFE"
                                         "1a.png"));
  EXPECT_EQ(Captions(Entries()),
            (QStringList{shown, QString::fromUtf8("hero\uFFFD\uFFFD1a.bmp"), "hero2.bmp"}));
  // Nothing was written under the shown text.
  for (const auto& entry : fs::directory_iterator(docs)) {
    EXPECT_EQ(entry.path().filename().string().find("\xEF\xBF\xBD"), std::string::npos)
        << entry.path();
  }
}

TEST_F(SeriesMenuWindowTest, LongSeriesShowsGroupsFilledWhenFirstShown) {
  Start();
  const std::string docs = Docs();
  // 1000 names in four groups of 250; an "&" in a caption shows as itself.
  for (int i = 0; i < 1000; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "a%04d.bmp", i);
    ASSERT_TRUE(testing::WriteText(docs + name, ""));
  }
  ASSERT_TRUE(testing::WriteText(docs + "a&.bmp", ""));
  fs::remove(docs + "a0000.bmp");
  SaveBmpFile(docs + "a0600.bmp", Surface(6, 1, PixelFormat::Rgb24(), Red));
  SaveBmpFile(docs + "a0250.bmp", Surface(7, 1, PixelFormat::Rgb24(), Red));
  SaveBmpFile(docs + "a0249.bmp", Surface(2, 1, PixelFormat::Rgb24(), Red));
  LoadImageFile(form->ctx, docs + "a0249.bmp");
  RebuildSeriesMenu(form->ctx);

  // The logic keeps the whole list; the menu holds only the groups, still empty.
  ASSERT_EQ(form->ctx.seriesItems.size(), 1000u);
  const QList<QAction*> groups = Entries();
  ASSERT_EQ(Captions(groups), (QStringList{QString::fromUtf8("a&&.bmp \u2013 a0249.bmp"),
                                           QString::fromUtf8("a0250.bmp \u2013 a0499.bmp"),
                                           QString::fromUtf8("a0500.bmp \u2013 a0749.bmp"),
                                           QString::fromUtf8("a0750.bmp \u2013 a0999.bmp")}));
  for (const QAction* g : groups) {
    ASSERT_NE(g->menu(), nullptr);
    EXPECT_TRUE(g->menu()->isEmpty());
  }

  // Shown, the third group fills with its 250 names; choosing one opens that file.
  QMenu* third = groups[2]->menu();
  third->popup(QPoint(0, 0));
  const QList<QAction*> items = third->actions();
  ASSERT_EQ(items.size(), 250);
  EXPECT_EQ(items.front()->text(), "a0500.bmp");
  EXPECT_EQ(items.back()->text(), "a0749.bmp");
  third->hide();
  third->popup(QPoint(0, 0));  // filled once
  EXPECT_EQ(third->actions().size(), 250);
  third->hide();
  EXPECT_TRUE(groups[0]->menu()->isEmpty());
  items[100]->trigger();
  EXPECT_EQ(form->ctx.documentPath, docs + "a0600.bmp");
  EXPECT_EQ(form->ctx.Document().Width(), 6);

  // The next button goes by the whole list, across groups.
  LoadImageFile(form->ctx, docs + "a0249.bmp");
  form->btnNextChr->click();
  EXPECT_EQ(form->ctx.documentPath, docs + "a0250.bmp");
}

TEST_F(SeriesMenuWindowTest, FlatUpToTheGroupSizeAndOldEntriesFreedOnRebuild) {
  Start();
  auto names = [](std::size_t count) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < count; ++i) out.push_back("b" + std::to_string(1000 + i) + ".bmp");
    return out;
  };
  form->SetSeriesItems(names(SeriesGroupSize));
  EXPECT_EQ(Entries().size(), static_cast<qsizetype>(SeriesGroupSize));
  for (const QAction* a : Entries()) EXPECT_EQ(a->menu(), nullptr);
  QPointer<QAction> oldItem = Entries().front();

  // One more: two groups as even as may be.
  form->SetSeriesItems(names(SeriesGroupSize + 1));
  ASSERT_EQ(Entries().size(), 2);
  QPointer<QMenu> oldGroup = Entries()[0]->menu();
  oldGroup->popup(QPoint(0, 0));
  oldGroup->hide();
  EXPECT_EQ(oldGroup->actions().size(), static_cast<qsizetype>(SeriesGroupSize / 2 + 1));
  EXPECT_EQ(Entries()[1]->menu()->title(), QString::fromUtf8("b1129.bmp \u2013 b") +
                                               QString::number(1000 + SeriesGroupSize) + ".bmp");
  DeleteOldEntries();
  EXPECT_TRUE(oldItem.isNull());

  // Emptied: the old groups and their items go, and the title carries no menu to open.
  QPointer<QAction> oldGroupItem = oldGroup->actions().front();
  form->SetSeriesItems({});
  EXPECT_TRUE(Entries().isEmpty());
  EXPECT_EQ(form->chrsTitle->menu(), nullptr);
  DeleteOldEntries();
  EXPECT_TRUE(oldGroup.isNull());
  EXPECT_TRUE(oldGroupItem.isNull());
  form->SetSeriesItems(names(1));
  EXPECT_EQ(form->chrsTitle->menu(), form->mnChrs);
}

}  // namespace
}  // namespace gk
