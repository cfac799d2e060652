#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include "e2e/desktop_session.h"
#include "e2e/editor_layout.h"
#include "e2e/editor_process.h"
#include "editor/picture_files.h"
#include "filesystem/file_io.h"
#include "support/file_contents.h"
#include "support/throwaway_user.h"

namespace gk::e2e {
namespace {

using L = EditorLayout;

constexpr mode_t OpenFolder = 0755;

// The editor installed under a prefix only root may write, as a distribution package puts it,
// and run as an ordinary user with a home of its own and no XDG settings, as at a fresh login.
class InstalledCopyJourney : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!user_.Made()) GTEST_SKIP() << user_.Refusal();
    ASSERT_TRUE(root_.isValid());
    ASSERT_EQ(chmod(Root().c_str(), OpenFolder), 0);
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(GK_CMAKE_COMMAND, {"--install", GK_BUILD_DIR, "--prefix", Prefix()});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
    ASSERT_TRUE(QDir(root_.path()).mkdir("home"));
    const std::string runtime = Root() + "/run";
    ASSERT_EQ(mkdir(runtime.c_str(), 0700), 0);
    ASSERT_EQ(chown(runtime.c_str(), user_.Ids().uid, user_.Ids().gid), 0);
  }

  void TearDown() override {
    if (HasFailure() && editor_) desktop_.SaveScreenshot(GK_SHOT_DIR, "InstalledCopy-failure");
    editor_.reset();
  }

  std::string Root() const { return root_.path().toStdString(); }
  QString Prefix() const { return root_.path() + "/usr"; }
  QString Home() const { return root_.path() + "/home"; }
  std::string HomePath(const QString& name) const { return (Home() + "/" + name).toStdString(); }
  void GiveHomeToUser() {
    ASSERT_EQ(chown(Home().toStdString().c_str(), user_.Ids().uid, user_.Ids().gid), 0);
    ASSERT_EQ(chmod(Home().toStdString().c_str(), 0700), 0);
  }
  EditorProcess& Launch() {
    editor_ = std::make_unique<EditorProcess>(
        desktop_, Prefix() + "/bin/gridkiln", Home(), EditorProcess::FirstWindow::MainWindow,
        EditorUser{user_.Ids().uid, user_.Ids().gid, Home(), root_.path() + "/run"});
    return *editor_;
  }
  void Press(L::Button b) { editor_->Click(L::ButtonCentre(b).x(), L::ButtonCentre(b).y()); }

  // Edit > Option, then OK (the fourth control in the dialog's tab order). The id of the box
  // that follows, captioned "Option"; empty when none comes.
  QString OptionOk() {
    editor_->Menu("e", {"o"});
    const QString dialog = editor_->WaitForDialog();
    if (dialog.isEmpty() || editor_->WindowName(dialog) != "Option") return {};
    editor_->FocusWindow(dialog);
    for (const char* key : {"Tab", "Tab", "Tab", "space"}) editor_->Key(key);
    QString box;
    WaitUntil([&] {
      const QStringList others = editor_->OtherWindows();
      box = others.size() == 1 && others.first() != dialog ? others.first() : QString();
      return !box.isEmpty();
    });
    return box.isEmpty() || editor_->WindowName(box) != "Option" ? QString() : box;
  }
  void Answer(const QString& box) {
    editor_->FocusWindow(box);
    editor_->Key("Return");
    EXPECT_TRUE(editor_->WaitForNoDialog());
  }

  testing::ThrowawayUser user_;
  QTemporaryDir root_;
  DesktopSession desktop_;
  std::unique_ptr<EditorProcess> editor_;
};

TEST_F(InstalledCopyJourney, SavesIntoThePicturesFolderAndSettingsIntoTheConfigFolder) {
  // The programs themselves stand in bin/, the palette in share/gridkiln/.
  const QFileInfo program(Prefix() + "/bin/gridkiln");
  EXPECT_TRUE(program.isFile() && !program.isSymLink() && program.isExecutable());
  EXPECT_TRUE(QFileInfo(Prefix() + "/bin/gridkiln-bmp").isExecutable());
  EXPECT_TRUE(QFileInfo(Prefix() + "/share/gridkiln/palette.bmp").isFile());
  GiveHomeToUser();

  EditorProcess& editor = Launch();
  EXPECT_TRUE(editor.WaitForTitle("gridkiln"));
  // The first start made the folder of automatic names, as an installer makes bmp/.
  EXPECT_TRUE(WaitUntil([&] { return QFileInfo(Home() + "/Pictures/gridkiln").isDir(); }));

  editor.Click(L::CellCentre(2, 1).x(), L::CellCentre(2, 1).y());
  Press(L::Save);
  EXPECT_TRUE(editor.WaitForTitle("Saved as 1.bmp")) << "title " << editor.Title().toStdString();
  EXPECT_TRUE(editor.OtherWindows().isEmpty()) << "a box came up after Save";
  const std::string saved = HomePath("Pictures/gridkiln/1.bmp");
  ASSERT_TRUE(FileExists(saved));
  EXPECT_EQ(LoadBmpFile(saved).ReadPixel(2, 1), White);
  struct stat status {};
  ASSERT_EQ(stat(saved.c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, user_.Ids().uid);

  const QString box = OptionOk();
  ASSERT_FALSE(box.isEmpty()) << "no box after OK in the options dialog";
  const std::string config = HomePath(".config/gridkiln");
  // Only "再起動してください。" follows a written file; "failed!" writes nothing.
  EXPECT_EQ(testing::ReadText(config + "/gridkiln.ini"),
            "Save256=0\r\nWidth=32\r\nHeight=32\r\nWidth2=16\r\nHeight2=16\r\nDotSize=37\r\n"
            "Png=0\r\nButtonW=48\r\nButtonH=40\r\n");
  ASSERT_EQ(stat(config.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_EQ(status.st_uid, user_.Ids().uid);
  Answer(box);
}

// A home the user may not write: no folder of its own can be made. The editor starts all the
// same; Save and the options' OK each say what failed in a box, and the program goes on.
TEST_F(InstalledCopyJourney, StartsWhereItsFoldersCannotBeMadeAndReportsThemWhenUsed) {
  ASSERT_EQ(chmod(Home().toStdString().c_str(), OpenFolder), 0);
  EditorProcess& editor = Launch();
  EXPECT_TRUE(editor.WaitForTitle("gridkiln"));
  EXPECT_FALSE(QFileInfo::exists(Home() + "/Pictures"));

  editor.Click(L::CellCentre(0, 0).x(), L::CellCentre(0, 0).y());
  Press(L::Save);
  const QString error = editor.WaitForDialog();
  ASSERT_FALSE(error.isEmpty()) << "no error box after Save";
  EXPECT_EQ(editor.WindowName(error), "gridkiln");
  desktop_.SaveScreenshot(GK_SHOT_DIR, "InstalledCopy-save-error");
  Answer(error);

  const QString box = OptionOk();
  ASSERT_FALSE(box.isEmpty()) << "no box after OK in the options dialog";
  desktop_.SaveScreenshot(GK_SHOT_DIR, "InstalledCopy-option-error");
  Answer(box);
  EXPECT_EQ(QDir(Home()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
  EXPECT_TRUE(editor.Running());
}

}  // namespace
}  // namespace gk::e2e
