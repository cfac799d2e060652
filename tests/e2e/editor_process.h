#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>

#include "e2e/desktop_session.h"

namespace gk::e2e {

// The real editor started in a folder of its own on the session's display, with helpers that
// act as a user does: clicks and drags at client-area positions, keys, the title.
class EditorProcess {
 public:
  EditorProcess(DesktopSession& desktop, const QString& appDir);
  ~EditorProcess();

  bool Running() const { return process_.state() != QProcess::NotRunning; }
  // Waits for the program to end; true when it did within the time.
  bool WaitForExit(int timeoutMs);
  int ExitCode() const { return process_.exitCode(); }

  QString Title() const;
  // Screen position of a client-area point of the main window.
  QPoint Screen(int x, int y) const;
  // The colour shown at a client-area point (0x00RRGGBB as Qt gives it).
  unsigned Pixel(int x, int y) const;
  unsigned PixelOf(const QImage& shot, int x, int y) const;

  void Click(int x, int y, int button = 1);
  void Drag(int x1, int y1, int x2, int y2, int steps = 6);
  void Key(const QString& keys);  // xdotool key syntax: "alt+f", "Return", "y"
  void Type(const QString& text);
  // Waits until the title equals `title`.
  bool WaitForTitle(const QString& title, int timeoutMs = 5000) const;
  // Waits until a window of the program other than the main window is visible and returns its
  // id (a dialog or message box), or an empty text.
  QString WaitForDialog(int timeoutMs = 5000) const;
  bool WaitForNoDialog(int timeoutMs = 5000) const;
  // Waits until the program has handled every event sent so far.
  void Settle() const;

  QString WindowId() const { return window_; }

 private:
  QStringList VisibleWindows() const;

  DesktopSession& desktop_;
  QProcess process_;
  QString window_;
  QPoint clientOrigin_;
};

}  // namespace gk::e2e
