#pragma once

#include <functional>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace gk::e2e {

// A private X server (Xvfb) on a display it picks itself, and xdotool and ImageMagick pointed at
// it. Programs started in the session get a configuration folder of their own, so nothing from
// the user's desktop settings leaks in.
class DesktopSession {
 public:
  DesktopSession();
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  const QString& Display() const { return display_; }
  QProcessEnvironment Environment() const;
  // For a program run as another user with `home` as its home folder: the session's display,
  // and no XDG folders but the runtime folder (which that user must own, mode 0700), so the
  // program takes the defaults under `home` as at a fresh login.
  QProcessEnvironment EnvironmentFor(const QString& home, const QString& runtime) const;

  // Runs xdotool with the arguments; its standard output, trimmed. Throws when it fails.
  QString Xdotool(const QStringList& arguments) const;
  // Like Xdotool, but a failure gives an empty text (a window may vanish between two calls).
  QString TryXdotool(const QStringList& arguments) const;
  // The title of a window exactly as it is (blanks at its end included); empty when the window
  // is gone.
  QString WindowName(const QString& id) const;
  // The whole screen, as 32-bit RGB.
  QImage Screenshot() const;
  // Saves the screen as <dir>/<name>.png for a person to inspect; never throws.
  void SaveScreenshot(const QString& dir, const QString& name) const;

 private:
  QString display_;
  QProcess xvfb_;
  QTemporaryDir home_;
};

// Polls `done` until it holds or `timeoutMs` passes; true when it held.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

}  // namespace gk::e2e
