#include "e2e/editor_process.h"

#include <QRegularExpression>
#include <QThread>

#include <stdexcept>

namespace gk::e2e {

namespace {
// The grid's top edge with the initial settings: the button row's height.
constexpr int kGridTop = 40;
// A client column right of the button row and clear of the menu titles.
constexpr int kProbeX = 580;
}  // namespace

EditorProcess::EditorProcess(DesktopSession& desktop, const QString& appDir) : desktop_(desktop) {
  process_.setProcessEnvironment(desktop.Environment());
  process_.setWorkingDirectory(appDir);
  process_.setProcessChannelMode(QProcess::ForwardedChannels);
  process_.start(appDir + "/gridkiln", {});
  if (!process_.waitForStarted(10000)) throw std::runtime_error("cannot start the editor");
  if (!WaitUntil([&] { return !VisibleWindows().isEmpty(); }, 15000)) {
    throw std::runtime_error("the editor showed no window");
  }
  window_ = VisibleWindows().first();
  // Without a window manager the window stands where the program put it. The client area
  // begins below the menu bar: find the grid's black top edge in the probe column.
  const QString geometry = desktop_.Xdotool({"getwindowgeometry", "--shell", window_});
  int wx = QRegularExpression("X=(-?\\d+)").match(geometry).captured(1).toInt();
  int wy = QRegularExpression("Y=(-?\\d+)").match(geometry).captured(1).toInt();
  int gridTop = -1;
  WaitUntil([&] {
    QImage shot = desktop_.Screenshot();
    for (int y = wy; y < wy + 200 && y < shot.height(); ++y) {
      if ((shot.pixel(wx + kProbeX, y) & 0xFFFFFF) == 0) {
        gridTop = y;
        return true;
      }
    }
    return false;
  });
  if (gridTop < 0) throw std::runtime_error("cannot find the edit grid on the screen");
  clientOrigin_ = QPoint(wx, gridTop - kGridTop);
}

EditorProcess::~EditorProcess() {
  if (Running()) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

bool EditorProcess::WaitForExit(int timeoutMs) { return process_.waitForFinished(timeoutMs); }

QStringList EditorProcess::VisibleWindows() const {
  QProcess search;
  search.setProcessEnvironment(desktop_.Environment());
  search.start("xdotool",
               {"search", "--onlyvisible", "--pid", QString::number(process_.processId())});
  search.waitForFinished(10000);
  return QString::fromLocal8Bit(search.readAllStandardOutput())
      .split('\n', Qt::SkipEmptyParts);
}

QString EditorProcess::Title() const { return desktop_.Xdotool({"getwindowname", window_}); }

QPoint EditorProcess::Screen(int x, int y) const { return clientOrigin_ + QPoint(x, y); }

unsigned EditorProcess::PixelOf(const QImage& shot, int x, int y) const {
  const QPoint p = Screen(x, y);
  return shot.pixel(p) & 0xFFFFFF;
}

unsigned EditorProcess::Pixel(int x, int y) const { return PixelOf(desktop_.Screenshot(), x, y); }

void EditorProcess::Click(int x, int y, int button) {
  const QPoint p = Screen(x, y);
  desktop_.Xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y()),
                    "click", QString::number(button)});
  Settle();
}

void EditorProcess::Drag(int x1, int y1, int x2, int y2, int steps) {
  const QPoint a = Screen(x1, y1);
  desktop_.Xdotool({"mousemove", "--sync", QString::number(a.x()), QString::number(a.y()),
                    "mousedown", "1"});
  for (int i = 1; i <= steps; ++i) {
    const QPoint p = Screen(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
    desktop_.Xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
  }
  desktop_.Xdotool({"mouseup", "1"});
  Settle();
}

void EditorProcess::Key(const QString& keys) {
  desktop_.Xdotool({"key", "--clearmodifiers", keys});
  Settle();
}

void EditorProcess::Type(const QString& text) {
  desktop_.Xdotool({"type", "--delay", "20", text});
  Settle();
}

bool EditorProcess::WaitForTitle(const QString& title, int timeoutMs) const {
  return WaitUntil([&] { return Title() == title; }, timeoutMs);
}

QString EditorProcess::WaitForDialog(int timeoutMs) const {
  QString found;
  WaitUntil(
      [&] {
        for (const QString& id : VisibleWindows()) {
          if (id != window_) {
            found = id;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

bool EditorProcess::WaitForNoDialog(int timeoutMs) const {
  return WaitUntil(
      [&] {
        const QStringList windows = VisibleWindows();
        return windows.size() == 1 && windows.first() == window_;
      },
      timeoutMs);
}

void EditorProcess::Settle() const {
  // xdotool returns when the X server has the events; give the program time to handle them.
  QThread::msleep(150);
}

}  // namespace gk::e2e
