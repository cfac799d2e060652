#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QProcess>
#include <QString>

namespace gk::e2e {

// A private X server (Xvfb) on a display of its own, and xdotool and ImageMagick pointed at it.
class DesktopSession {
 public:
  DesktopSession();
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  const QString& Display() const { return display_; }
  QProcessEnvironment Environment() const;

  // Runs xdotool with the arguments; its standard output, trimmed. Throws when it fails.
  QString Xdotool(const QStringList& arguments) const;
  // The whole screen.
  QImage Screenshot() const;
  // Saves the screen as <dir>/<name>.png for a person to inspect.
  void SaveScreenshot(const QString& dir, const QString& name) const;

 private:
  QString display_;
  QProcess xvfb_;
};

// Polls `done` until it holds or `timeoutMs` passes; true when it held.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

}  // namespace gk::e2e
