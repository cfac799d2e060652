#include "e2e/editor_process.h"

#include <grp.h>
#include <unistd.h>

#include <QRegularExpression>

#include <stdexcept>
#include <string>

namespace gk::e2e {

namespace {

// The grid's top edge with the initial settings: the button row's height.
constexpr int GridTop = 40;
// A client column right of the button row and clear of the menu titles, inside the grid.
constexpr int ProbeX = 580;
// Starting a Qt program under a loaded machine can take a while.
constexpr int StartTimeoutMs = 30000;

bool IsBlack(QRgb pixel) {
  return (pixel & 0xFFFFFF) == 0;
}

int GeometryField(const QString& shell, const char* name) {
  const QRegularExpressionMatch match =
      QRegularExpression(QString("(?:^|\\n)%1=(-?\\d+)").arg(name)).match(shell);
  if (!match.hasMatch()) throw std::runtime_error("no " + std::string(name) + " in geometry");
  return match.captured(1).toInt();
}

}  // namespace

EditorProcess::EditorProcess(DesktopSession& desktop, const QString& program,
                             const QString& workDir, FirstWindow expected,
                             const std::optional<EditorUser>& user)
    : desktop_(desktop) {
  process_.setProcessEnvironment(user ? desktop.EnvironmentFor(user->home, user->runtime)
                                      : desktop.Environment());
  if (user) {
    // In the child, before the program starts: that user, its group and no others.
    const uid_t uid = user->uid;
    const gid_t gid = user->gid;
    process_.setChildProcessModifier([uid, gid] {
      if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) _exit(127);
    });
  }
  process_.setWorkingDirectory(workDir);
  process_.setProcessChannelMode(QProcess::ForwardedChannels);
  process_.start(program, {});
  if (!process_.waitForStarted(StartTimeoutMs)) {
    throw std::runtime_error("cannot start " + program.toStdString());
  }
  if (!WaitUntil([&] { return !VisibleWindows().isEmpty() || !Running(); }, StartTimeoutMs)) {
    throw std::runtime_error("the editor showed no window");
  }
  if (!Running()) {
    throw std::runtime_error("the editor ended before it showed a window, exit code " +
                             std::to_string(process_.exitCode()));
  }
  window_ = VisibleWindows().first();
  if (expected == FirstWindow::Any) return;

  // Without a window manager the window stands where the program put it. The client area
  // begins below the menu bar: find the grid's black top edge under the light button row in
  // the probe column. The root window is black too, so a window not yet painted shows no edge.
  const QRect frame = WindowGeometry();
  int gridTop = -1;
  WaitUntil(
      [&] {
        const QImage shot = desktop_.Screenshot();
        const int x = frame.x() + ProbeX;
        if (x >= shot.width() || frame.y() + 1 >= shot.height()) return false;
        if (IsBlack(shot.pixel(x, frame.y() + 1))) return false;
        for (int y = frame.y() + 2; y < frame.y() + 200 && y < shot.height(); ++y) {
          if (IsBlack(shot.pixel(x, y)) && !IsBlack(shot.pixel(x, y - 1))) {
            gridTop = y;
            return true;
          }
        }
        return false;
      },
      StartTimeoutMs);
  if (gridTop < 0) throw std::runtime_error("cannot find the edit grid on the screen");
  clientOrigin_ = QPoint(frame.x(), gridTop - GridTop);
  FocusMainWindow();
}

EditorProcess::~EditorProcess() {
  if (Running()) {
    process_.kill();
    process_.waitForFinished(10000);
  }
}

bool EditorProcess::Running() const {
  process_.waitForFinished(0);
  return process_.state() != QProcess::NotRunning;
}

bool EditorProcess::WaitForExit(int timeoutMs) {
  return !Running() || process_.waitForFinished(timeoutMs);
}

QStringList EditorProcess::VisibleWindows() const {
  if (!Running()) return {};
  return desktop_
      .TryXdotool({"search", "--onlyvisible", "--pid", QString::number(process_.processId())})
      .split('\n', Qt::SkipEmptyParts);
}

QStringList EditorProcess::OtherWindows() const {
  QStringList others = VisibleWindows();
  others.removeAll(window_);
  return others;
}

QString EditorProcess::Title() const {
  return desktop_.WindowName(window_);
}

QString EditorProcess::WindowName(const QString& id) const {
  return desktop_.WindowName(id);
}

bool EditorProcess::WaitForTitle(const QString& title, int timeoutMs) const {
  return WaitUntil([&] { return Title() == title; }, timeoutMs);
}

QRect EditorProcess::WindowGeometry() const {
  const QString shell = desktop_.Xdotool({"getwindowgeometry", "--shell", window_});
  return QRect(GeometryField(shell, "X"), GeometryField(shell, "Y"), GeometryField(shell, "WIDTH"),
               GeometryField(shell, "HEIGHT"));
}

QSize EditorProcess::ClientSize() const {
  const QRect frame = WindowGeometry();
  return QSize(frame.width(), frame.y() + frame.height() - clientOrigin_.y());
}

QPoint EditorProcess::Screen(int x, int y) const {
  return clientOrigin_ + QPoint(x, y);
}

unsigned EditorProcess::PixelOf(const QImage& shot, int x, int y) const {
  const QPoint p = Screen(x, y);
  if (!shot.rect().contains(p)) return 0xFFFFFFFFu;
  return shot.pixel(p) & 0xFFFFFF;
}

bool EditorProcess::WaitForScreen(const std::function<bool(const QImage&)>& check,
                                  int timeoutMs) const {
  return WaitUntil([&] { return check(desktop_.Screenshot()); }, timeoutMs);
}

void EditorProcess::MoveTo(int x, int y) {
  // No --sync: it waits for the pointer to move and so hangs when it already stands there. The
  // server keeps the order of the events all the same.
  const QPoint p = Screen(x, y);
  desktop_.Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())});
}

void EditorProcess::Click(int x, int y, int button) {
  MoveTo(x, y);
  desktop_.Xdotool({"click", QString::number(button)});
}

void EditorProcess::ButtonDown(int x, int y) {
  MoveTo(x, y);
  desktop_.Xdotool({"mousedown", "1"});
}

void EditorProcess::ButtonUp() {
  desktop_.Xdotool({"mouseup", "1"});
}

void EditorProcess::QuickStroke(const std::vector<QPoint>& points) {
  if (points.empty()) return;
  // One xdotool run: the server gets the press and every move back to back.
  QStringList arguments;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const QPoint p = Screen(points[i].x(), points[i].y());
    arguments << "mousemove" << QString::number(p.x()) << QString::number(p.y());
    if (i == 0)
      arguments << "mousedown"
                << "1";
  }
  arguments << "mouseup"
            << "1";
  desktop_.Xdotool(arguments);
}

void EditorProcess::Drag(int x1, int y1, int x2, int y2, int steps) {
  ButtonDown(x1, y1);
  for (int i = 1; i <= steps; ++i) {
    MoveTo(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
  }
  ButtonUp();
}

void EditorProcess::Key(const QString& keys) {
  desktop_.Xdotool({"key", "--clearmodifiers", keys});
}

void EditorProcess::Type(const QString& text) {
  desktop_.Xdotool({"type", "--clearmodifiers", "--delay", "30", text});
}

void EditorProcess::FocusMainWindow() {
  // Without a window manager nothing gives the window the keyboard; the menu bar's access keys
  // work only in the active window.
  FocusWindow(window_);
}

void EditorProcess::FocusWindow(const QString& id) {
  desktop_.TryXdotool({"windowfocus", "--sync", id});
}

void EditorProcess::Menu(const QString& accessKey, const QStringList& keys) {
  if (!WaitForNoDialog()) throw std::runtime_error("a dialog is in the way of the menu bar");
  FocusMainWindow();
  Key("alt+" + accessKey);
  int popups = 1;
  if (!WaitUntil([&] { return OtherWindows().size() >= popups; })) {
    throw std::runtime_error("alt+" + accessKey.toStdString() + " opened no menu");
  }
  for (const QString& key : keys) {
    Key(key);
    if (key == "Right") {
      ++popups;
      if (!WaitUntil([&] { return OtherWindows().size() >= popups; })) {
        throw std::runtime_error("no submenu opened");
      }
    }
  }
}

QString EditorProcess::WaitForDialog(int timeoutMs) const {
  QString found;
  WaitUntil(
      [&] {
        const QStringList others = OtherWindows();
        if (others.isEmpty()) return false;
        found = others.first();
        return true;
      },
      timeoutMs);
  return found;
}

bool EditorProcess::WaitForNoDialog(int timeoutMs) const {
  return WaitUntil([&] { return !Running() || OtherWindows().isEmpty(); }, timeoutMs);
}

void EditorProcess::ChooseFile(const QString& path) {
  const QString dialog = WaitForDialog();
  if (dialog.isEmpty()) throw std::runtime_error("no file dialog came up");
  // The box may still hold the last name chosen: replace it.
  Key("ctrl+a");
  Type(path);
  // The box's completer pops up a list of matching names. With the list up, Return can leave it
  // on the screen after the dialog has closed, where it would swallow the next click; close it
  // first (Escape closes only the list).
  if (WaitUntil([&] { return OtherWindows().size() >= 2; }, 2000)) {
    Key("Escape");
    WaitUntil([&] { return OtherWindows().size() < 2; });
  }
  Key("Return");
  if (!WaitUntil([&] { return !OtherWindows().contains(dialog); })) {
    throw std::runtime_error("the file dialog did not close");
  }
  // A list that came up late can outlive the dialog; Escape closes it. It is told from a box
  // the program shows (an error) by its white inside: boxes have the window colour.
  if (!WaitForNoDialog(1000)) {
    const QStringList others = OtherWindows();
    const QString shell =
        others.size() == 1 ? desktop_.TryXdotool({"getwindowgeometry", "--shell", others.first()})
                           : QString();
    if (!shell.isEmpty()) {
      const QPoint inside(GeometryField(shell, "X") + GeometryField(shell, "WIDTH") - 4,
                          GeometryField(shell, "Y") + GeometryField(shell, "HEIGHT") - 4);
      const QImage shot = desktop_.Screenshot();
      if (shot.rect().contains(inside) && (shot.pixel(inside) & 0xFFFFFF) == 0xFFFFFF) {
        Key("Escape");
        WaitForNoDialog();
      }
    }
  }
  // The keyboard goes back to the main window unless the program shows something else.
  if (OtherWindows().isEmpty()) FocusMainWindow();
}

}  // namespace gk::e2e
