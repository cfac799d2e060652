// The "&Chrs" menu as a user meets it: opened while empty, then filled by an Open, opened again
// by mouse and by Alt+C; and a series too long for one flat menu.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "e2e/app_folder.h"
#include "e2e/desktop_session.h"
#include "e2e/editor_layout.h"
#include "e2e/editor_process.h"
#include "editor/picture_files.h"
#include "image/surface.h"

namespace gk::e2e {
namespace {

using L = EditorLayout;

// Menu titles are dark text on the light bar; titles stand further apart than letters.
constexpr int TextDarkness = 0x60;
constexpr int TitleGap = 8;
constexpr int ChrsTitleIndex = 3;  // &File, &Edit, &Pen, &Chrs

int Field(const QString& shell, const char* name) {
  const QRegularExpressionMatch match =
      QRegularExpression(QString("(?:^|\\n)%1=(-?\\d+)").arg(name)).match(shell);
  if (!match.hasMatch()) throw std::runtime_error("no " + std::string(name) + " in geometry");
  return match.captured(1).toInt();
}

bool IsText(QRgb pixel) {
  return qRed(pixel) < TextDarkness && qGreen(pixel) < TextDarkness && qBlue(pixel) < TextDarkness;
}

class SeriesMenuJourney : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<AppFolder>(GK_EDITOR_EXE, std::nullopt);
    editor_ = std::make_unique<EditorProcess>(desktop_, folder_->Program(), folder_->Root());
    // Found once, while no title is highlighted; the bar never changes.
    chrsTitle_ = FindChrsTitle();
  }
  void TearDown() override {
    if (HasFailure()) Shot("failure");
    editor_.reset();
  }

  EditorProcess& Editor() { return *editor_; }
  QString Doc(const QString& name) const { return folder_->DocDir() + "/" + name; }

  void Shot(const QString& moment) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    desktop_.SaveScreenshot(GK_SHOT_DIR, QString("%1-%2").arg(info->name(), moment));
  }

  // An 8 x 8 picture of one colour, so the grid tells which file is open.
  void WriteBmp(const QString& name, Colour colour) {
    SaveBmpFile(Doc(name).toStdString(), Surface(8, 8, PixelFormat::Rgb24(), colour));
  }

  ::testing::AssertionResult IsOpen(const QString& name, Colour colour) {
    if (!Editor().WaitForTitle("gridkiln - " + name)) {
      return ::testing::AssertionFailure() << "title is \"" << Editor().Title().toStdString()
                                           << "\", expected the file " << name.toStdString();
    }
    const QPoint cell = L::CellCentre(0, 0);
    if (!Editor().WaitForScreen([&](const QImage& shot) {
          return Editor().PixelOf(shot, cell.x(), cell.y()) == OnScreen(colour);
        })) {
      return ::testing::AssertionFailure() << "the grid does not show " << name.toStdString();
    }
    return ::testing::AssertionSuccess();
  }

  void OpenWithDialog(const QString& name) {
    const QPoint open = L::ButtonCentre(L::Open);
    Editor().Click(open.x(), open.y());
    Editor().ChooseFile(Doc(name));
  }

  // Where the "&Chrs" title stands on the menu bar, in client coordinates (above the client
  // area, so y is negative): the fourth run of text along the bar.
  QPoint FindChrsTitle() {
    const QRect frame = Editor().WindowGeometry();
    const QPoint origin = Editor().Screen(0, 0);
    const int top = frame.y() + 2;
    const int bottom = origin.y() - 3;  // clear of the bar's bottom line
    if (bottom <= top) throw std::runtime_error("no menu bar above the client area");
    const QImage shot = Editor().Shot();
    std::vector<std::pair<int, int>> runs;  // first and last column of each title's text
    int gap = TitleGap;
    for (int x = frame.x(); x < frame.x() + frame.width() && x < shot.width(); ++x) {
      bool text = false;
      for (int y = top; y <= bottom && !text; ++y) text = IsText(shot.pixel(x, y));
      if (!text) {
        ++gap;
        continue;
      }
      if (gap >= TitleGap) runs.push_back({x, x});
      runs.back().second = x;
      gap = 0;
    }
    if (static_cast<int>(runs.size()) <= ChrsTitleIndex) {
      throw std::runtime_error("found " + std::to_string(runs.size()) + " menu titles");
    }
    const auto [first, last] = runs[ChrsTitleIndex];
    return QPoint((first + last) / 2, (top + bottom) / 2) - origin;
  }

  void ClickChrs() { Editor().Click(chrsTitle_.x(), chrsTitle_.y()); }

  QRect Geometry(const QString& window) const {
    const QString shell = desktop_.Xdotool({"getwindowgeometry", "--shell", window});
    return QRect(Field(shell, "X"), Field(shell, "Y"), Field(shell, "WIDTH"),
                 Field(shell, "HEIGHT"));
  }

  // The popup that the last click or key opened; fails the journey when none shows.
  QRect WaitForPopup(const char* what) {
    const QString popup = Editor().WaitForDialog();
    if (popup.isEmpty()) throw std::runtime_error(std::string("no menu showed: ") + what);
    return Geometry(popup);
  }

  // An empty menu opens nothing a user could see; what a click or Alt+C left behind goes with
  // Escape, as a user would try.
  void OpenEmptyMenu(bool byMouse) {
    if (byMouse) {
      ClickChrs();
    } else {
      Editor().Key("alt+c");
    }
    EXPECT_FALSE(WaitUntil([&] { return !Editor().OtherWindows().isEmpty(); }, 1000))
        << "an empty menu showed a window";
    Editor().Key("Escape");
    ASSERT_TRUE(Editor().WaitForNoDialog());
  }

  // Clicks item `index` of a popup of `count` equally tall items.
  void ClickItem(const QRect& popup, int index, int count) {
    const QPoint origin = Editor().Screen(0, 0);
    const QPoint p(popup.center().x(),
                   popup.top() + popup.height() * (2 * index + 1) / (2 * count));
    Editor().Click(p.x() - origin.x(), p.y() - origin.y());
  }

  DesktopSession desktop_;
  std::unique_ptr<AppFolder> folder_;
  std::unique_ptr<EditorProcess> editor_;
  QPoint chrsTitle_;
};

struct Member {
  const char* name;
  Colour colour;
};
const std::vector<Member> Heroes = {
    {"hero1.bmp", 0x0000FF}, {"hero10.bmp", 0x00FF00}, {"hero2.bmp", 0xFF0000}};

TEST_F(SeriesMenuJourney, MenuClickedEmptyAtStartOpensWithItsItemsOnceFilled) {
  for (const Member& m : Heroes) WriteBmp(m.name, m.colour);

  OpenEmptyMenu(true);
  Shot("empty-clicked");
  OpenEmptyMenu(false);

  OpenWithDialog("hero2.bmp");
  ASSERT_TRUE(IsOpen("hero2.bmp", 0xFF0000));

  // By mouse: the popup shows the three items; the first is hero1.bmp.
  ClickChrs();
  const QRect popup = WaitForPopup("mouse on the filled menu");
  Shot("filled-by-mouse");
  ClickItem(popup, 0, 3);
  EXPECT_TRUE(IsOpen("hero1.bmp", 0x0000FF));
  ASSERT_TRUE(Editor().WaitForNoDialog());

  // By Alt+C: the second item.
  Editor().Menu("c", {"Down", "Return"});
  EXPECT_TRUE(IsOpen("hero10.bmp", 0x00FF00));
}

TEST_F(SeriesMenuJourney, MenuEmptiedByAFileWithoutSeriesComesBackWithTheNextSeries) {
  for (const Member& m : Heroes) WriteBmp(m.name, m.colour);
  WriteBmp("_a.bmp", 0x00FFFF);

  OpenWithDialog("_a.bmp");
  ASSERT_TRUE(IsOpen("_a.bmp", 0x00FFFF));
  OpenEmptyMenu(false);
  OpenEmptyMenu(true);

  OpenWithDialog("hero1.bmp");
  ASSERT_TRUE(IsOpen("hero1.bmp", 0x0000FF));
  Editor().Menu("c", {"Down", "Down", "Return"});
  EXPECT_TRUE(IsOpen("hero2.bmp", 0xFF0000));

  // Filled, emptied, clicked empty, filled again.
  OpenWithDialog("_a.bmp");
  ASSERT_TRUE(IsOpen("_a.bmp", 0x00FFFF));
  OpenEmptyMenu(true);
  OpenWithDialog("hero10.bmp");
  ASSERT_TRUE(IsOpen("hero10.bmp", 0x00FF00));
  ClickChrs();
  const QRect popup = WaitForPopup("mouse on the refilled menu");
  Shot("refilled");
  ClickItem(popup, 2, 3);
  EXPECT_TRUE(IsOpen("hero2.bmp", 0xFF0000));
}

TEST_F(SeriesMenuJourney, LongSeriesOpensThroughGroupsFilledWhenShown) {
  // 600 names: three groups of 200. Only the files a journey opens need pictures in them.
  constexpr int Count = 600;
  for (int i = 0; i < Count; ++i) {
    const QString name = QString("big%1.bmp").arg(i, 4, 10, QChar('0'));
    if (i == 0 || i == 201 || i == 400) continue;
    QFile file(Doc(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  WriteBmp("big0000.bmp", 0x0000FF);
  WriteBmp("big0201.bmp", 0x00FF00);
  WriteBmp("big0400.bmp", 0xFF0000);

  OpenWithDialog("big0000.bmp");
  ASSERT_TRUE(IsOpen("big0000.bmp", 0x0000FF));

  // The second group's second item, by keys.
  Editor().Menu("c", {"Down", "Right", "Down", "Return"});
  EXPECT_TRUE(IsOpen("big0201.bmp", 0x00FF00));
  ASSERT_TRUE(Editor().WaitForNoDialog());

  // By mouse: the menu holds the three groups; the third opens beside it on hover, filled, and
  // its first item opens its file.
  ClickChrs();
  const QRect groups = WaitForPopup("the grouped menu");
  EXPECT_LT(groups.height(), 200) << "the menu holds more than the three groups";
  const QPoint origin = Editor().Screen(0, 0);
  const QPoint third(groups.center().x(), groups.top() + groups.height() * 5 / 6);
  Editor().MoveTo(third.x() - origin.x(), third.y() - origin.y());
  ASSERT_TRUE(WaitUntil([&] { return Editor().OtherWindows().size() >= 2; }))
      << "the third group showed no popup";
  Shot("third-group");
  QRect items;
  for (const QString& window : Editor().OtherWindows()) {
    const QRect r = Geometry(window);
    if (r != groups) items = r;
  }
  // 200 items: far larger than three groups. Too tall for the screen, they stand in columns;
  // the first is at the top left.
  ASSERT_GT(items.height(), 4 * groups.height()) << "the group's popup is not its long list";
  const QPoint first(items.left() + 30, items.top() + 10);
  Editor().Click(first.x() - origin.x(), first.y() - origin.y());
  EXPECT_TRUE(IsOpen("big0400.bmp", 0xFF0000));
}

TEST_F(SeriesMenuJourney, ProgramInAFolderWhoseNameIsNotUtf8FindsItsFilesAndSavesThere) {
  // The editor's folder exists only as bytes; it is started through a link with a plain name,
  // as an installed copy is.
  namespace fs = std::filesystem;
  const fs::path root = folder_->Root().toStdString();
  const fs::path app = root / "app\xFF\xFE";
  // Qt cannot name the folder to remove it with the journey's temporary folder.
  struct RemoveAtEnd {
    fs::path path;
    ~RemoveAtEnd() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  } removeApp{app};
  fs::create_directories(app / "bmp");
  fs::copy_file(GK_EDITOR_EXE, app / "gridkiln");
  fs::copy_file(folder_->PalettePath().toStdString(), app / "palette.bmp");
  fs::create_symlink(app / "gridkiln", root / "odd-gridkiln");
  editor_.reset();
  editor_ = std::make_unique<EditorProcess>(
      desktop_, QString::fromStdString((root / "odd-gridkiln").string()), folder_->Root());
  ASSERT_TRUE(Editor().WaitForTitle("gridkiln"));

  const QPoint save = L::ButtonCentre(L::Save);
  Editor().Click(save.x(), save.y());
  EXPECT_TRUE(WaitUntil([&] { return fs::is_regular_file(app / "bmp" / "1.bmp"); }))
      << "Save wrote nothing into the program's bmp/ folder";
  EXPECT_TRUE(Editor().WaitForTitle("gridkiln - 1.bmp"));
}

}  // namespace
}  // namespace gk::e2e
