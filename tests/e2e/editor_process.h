#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <vector>

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include "e2e/desktop_session.h"

namespace gk::e2e {

// A user other than the one running the tests (who is root in CI), with a home and a runtime
// folder of its own.
struct EditorUser {
  uid_t uid;
  gid_t gid;
  QString home;
  QString runtime;
};

// The real editor started on the session's display, with helpers that act as a user does:
// clicks and drags at client-area positions, keys, menus by their access keys, the file
// dialog answered by typing a path. Every wait polls for something a user could see.
class EditorProcess {
 public:
  // What the start waits for: the main window showing the edit grid, or any first window
  // (a start-up error box).
  enum class FirstWindow { MainWindow, Any };

  // Starts `program` (the editor, or a link to it) with `workDir` as its current folder and
  // waits for its first window. Throws when it does not come. With `user`, the program runs as
  // that user, in its home's environment (DesktopSession::EnvironmentFor).
  EditorProcess(DesktopSession& desktop, const QString& program, const QString& workDir,
                FirstWindow expected = FirstWindow::MainWindow,
                const std::optional<EditorUser>& user = std::nullopt);
  ~EditorProcess();
  EditorProcess(const EditorProcess&) = delete;
  EditorProcess& operator=(const EditorProcess&) = delete;

  bool Running() const;
  // Waits for the program to end; true when it did within the time.
  bool WaitForExit(int timeoutMs);
  int ExitCode() const { return process_.exitCode(); }
  QProcess::ExitStatus ExitStatus() const { return process_.exitStatus(); }

  // The main window, or the first window with FirstWindow::Any.
  QString WindowId() const { return window_; }
  QString Title() const;
  bool WaitForTitle(const QString& title, int timeoutMs = 10000) const;
  // The main window's geometry on the screen and the size of its client area (below the menu
  // bar), as the X server has them.
  QRect WindowGeometry() const;
  QSize ClientSize() const;
  // Screen position of a client-area point of the main window.
  QPoint Screen(int x, int y) const;
  // The colour shown at a client-area point, 0xRRGGBB.
  unsigned PixelOf(const QImage& shot, int x, int y) const;
  QImage Shot() const { return desktop_.Screenshot(); }
  // Takes screenshots until `check` holds for one; true when it did within the time.
  bool WaitForScreen(const std::function<bool(const QImage&)>& check, int timeoutMs = 10000) const;

  void Click(int x, int y, int button = 1);
  // Presses the left button at the first point, moves through `steps` evenly spaced points to
  // the second and releases it there. The program merges moves that queue up, so a journey
  // that needs every step seen paces them itself with ButtonDown, MoveTo and ButtonUp.
  void Drag(int x1, int y1, int x2, int y2, int steps);
  void ButtonDown(int x, int y);
  void MoveTo(int x, int y);
  void ButtonUp();
  // Presses the left button at the first point, moves through the others and releases it at the
  // last, all sent at once with nothing waited for between: a stroke as quick as a hand makes.
  void QuickStroke(const std::vector<QPoint>& points);
  // xdotool key syntax ("y", "Escape", "ctrl+a") to whichever window has the keyboard.
  void Key(const QString& keys);
  void Type(const QString& text);

  // Opens a menu of the main window with alt+`accessKey` and presses `keys` in it. "Right"
  // opens a submenu; each opening is waited for. Does not wait for what the last key does.
  void Menu(const QString& accessKey, const QStringList& keys);

  // Visible windows of the program other than the main window (dialogs, message boxes, menus).
  QStringList OtherWindows() const;
  // Waits until a window of the program besides the main window is visible; its id, or an
  // empty text.
  QString WaitForDialog(int timeoutMs = 10000) const;
  bool WaitForNoDialog(int timeoutMs = 10000) const;
  QString WindowName(const QString& id) const;
  // Gives a window of the program the keyboard.
  void FocusWindow(const QString& id);

  // Answers the open or save dialog that is up by typing `path` into its file-name box. Returns
  // when the dialog has closed; a window the program shows then (an error box) stays up.
  void ChooseFile(const QString& path);

 private:
  QStringList VisibleWindows() const;
  void FocusMainWindow();

  DesktopSession& desktop_;
  // Mutable: QProcess notices an exit only inside its own wait calls.
  mutable QProcess process_;
  QString window_;
  QPoint clientOrigin_;
};

}  // namespace gk::e2e
