#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "e2e/app_folder.h"
#include "e2e/desktop_session.h"
#include "e2e/editor_layout.h"
#include "e2e/editor_process.h"
#include "editor/picture_files.h"
#include "filesystem/file_io.h"
#include "support/scratch_mount.h"

namespace gk::e2e {
namespace {

using L = EditorLayout;

// The menu bar above the client area, where the "*" marker shows.
QImage MenuBar(const EditorProcess& editor) {
  const QRect frame = editor.WindowGeometry();
  const int height = editor.Screen(0, 0).y() - frame.y();
  return editor.Shot().copy(QRect(frame.x(), frame.y(), frame.width(), height));
}

void Press(EditorProcess& editor, L::Button button) {
  editor.Click(L::ButtonCentre(button).x(), L::ButtonCentre(button).y());
}

// Waits for the one box the program shows besides its main window, runs `whileUp` and answers it
// with Return; false when none with that caption comes.
bool AnswerBox(
    EditorProcess& editor, const QString& caption, const std::function<void()>& whileUp = [] {}) {
  QString box;
  const bool shown = WaitUntil([&] {
    const QStringList others = editor.OtherWindows();
    box = others.size() == 1 ? others.first() : QString();
    return !box.isEmpty() && editor.WindowName(box) == caption;
  });
  if (!shown) return false;
  whileUp();
  editor.FocusWindow(box);
  editor.Key("Return");
  return editor.WaitForNoDialog();
}

// A drawing saved onto a disk that is full: the error box comes, and the file, the title and
// the "*" marker stay as they were; Quit > Yes fails the same way and the window stays. With room
// again the same Save works.
TEST(FileFaultsJourney, SaveOntoAFullDiskShowsTheErrorAndKeepsFileAndMarker) {
  DesktopSession desktop;
  AppFolder folder(GK_EDITOR_EXE, std::nullopt);
  testing::ScratchMount disk((folder.DocDir() + "/disk").toStdString());
  if (!disk.Mounted()) GTEST_SKIP() << disk.Refusal();
  const std::string hero = disk.Path("hero.bmp");
  SaveBmpFile(hero, Surface(8, 8, PixelFormat::Rgb24(), Black));
  const std::vector<std::uint8_t> old = ReadFileBytes(hero, 1 << 20);
  const QStringList onDisk = {"filler", "hero.bmp"};

  EditorProcess editor(desktop, folder.Program(), folder.Root());
  Press(editor, L::Open);
  editor.ChooseFile(QString::fromStdString(hero));
  ASSERT_TRUE(editor.WaitForTitle("gridkiln - hero.bmp"));
  const QImage clean = MenuBar(editor);
  // The grid takes no input for a second after an open: click until the marker shows.
  const QPoint dot = L::CellCentre(2, 2);
  ASSERT_TRUE(WaitUntil([&] {
    editor.Click(dot.x(), dot.y());
    return MenuBar(editor) != clean;
  })) << "no marker after drawing";
  const QImage marked = MenuBar(editor);
  ASSERT_TRUE(disk.Fill());

  Press(editor, L::Save);
  EXPECT_TRUE(AnswerBox(editor, "gridkiln", [&] {
    desktop.SaveScreenshot(GK_SHOT_DIR, "FullDiskSave-error");
  })) << "no error box after a save onto a full disk";
  EXPECT_EQ(editor.Title().toStdString(), "gridkiln - hero.bmp");
  EXPECT_TRUE(WaitUntil([&] { return MenuBar(editor) == marked; })) << "the marker went";
  EXPECT_EQ(ReadFileBytes(hero, 1 << 20), old);
  EXPECT_EQ(QDir(QString::fromStdString(disk.Path(""))).entryList(QDir::Files | QDir::Hidden),
            onDisk);

  editor.Menu("f", {"q"});
  const QString prompt = editor.WaitForDialog();
  ASSERT_FALSE(prompt.isEmpty()) << "no prompt on Quit";
  EXPECT_EQ(editor.WindowName(prompt).toStdString(), "Prompt");
  editor.Key("y");
  EXPECT_TRUE(AnswerBox(editor, "gridkiln")) << "no error box after Yes at the prompt";
  EXPECT_FALSE(editor.WaitForExit(1000)) << "the failed save ended the program";
  EXPECT_TRUE(WaitUntil([&] { return MenuBar(editor) == marked; })) << "the marker went";
  EXPECT_EQ(ReadFileBytes(hero, 1 << 20), old);

  disk.Free();
  Press(editor, L::Save);
  EXPECT_TRUE(editor.WaitForTitle("Saved as hero.bmp"));
  EXPECT_TRUE(WaitUntil([&] { return MenuBar(editor) == clean; })) << "the marker stayed";
  EXPECT_EQ(LoadBmpFile(hero).ReadPixel(2, 2), White);
  if (HasFailure()) desktop.SaveScreenshot(GK_SHOT_DIR, "FullDisk-failure");
}

}  // namespace
}  // namespace gk::e2e
