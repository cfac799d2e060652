#include "e2e/desktop_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <unistd.h>

#include <stdexcept>

namespace gk::e2e {

namespace {

QString RunTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& env, QByteArray* out = nullptr) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(program, arguments);
  if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    throw std::runtime_error((program + " " + arguments.join(' ') + " failed: " +
                              QString::fromLocal8Bit(process.readAllStandardError()))
                                 .toStdString());
  }
  QByteArray bytes = process.readAllStandardOutput();
  if (out) *out = bytes;
  return QString::fromLocal8Bit(bytes).trimmed();
}

}  // namespace

DesktopSession::DesktopSession() {
  // A display number nobody uses: no lock file and no socket.
  int number = 90 + static_cast<int>(::getpid() % 100);
  while (QFile::exists(QString("/tmp/.X%1-lock").arg(number)) ||
         QFile::exists(QString("/tmp/.X11-unix/X%1").arg(number))) {
    ++number;
  }
  display_ = QString(":%1").arg(number);
  xvfb_.setProgram("Xvfb");
  xvfb_.setArguments({display_, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
  xvfb_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  xvfb_.start();
  if (!xvfb_.waitForStarted(10000)) throw std::runtime_error("cannot start Xvfb");
  const QString socket = QString("/tmp/.X11-unix/X%1").arg(number);
  if (!WaitUntil([&] { return QFile::exists(socket); }, 10000)) {
    throw std::runtime_error("Xvfb did not come up on " + display_.toStdString());
  }
}

DesktopSession::~DesktopSession() {
  xvfb_.terminate();
  if (!xvfb_.waitForFinished(5000)) {
    xvfb_.kill();
    xvfb_.waitForFinished(5000);
  }
}

QProcessEnvironment DesktopSession::Environment() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", display_);
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.remove("WAYLAND_DISPLAY");
  return env;
}

QString DesktopSession::Xdotool(const QStringList& arguments) const {
  return RunTool("xdotool", arguments, Environment());
}

QImage DesktopSession::Screenshot() const {
  QByteArray png;
  RunTool("import", {"-window", "root", "png:-"}, Environment(), &png);
  QImage image;
  if (!image.loadFromData(png, "PNG")) throw std::runtime_error("cannot read a screenshot");
  return image.convertToFormat(QImage::Format_RGB32);
}

void DesktopSession::SaveScreenshot(const QString& dir, const QString& name) const {
  QDir().mkpath(dir);
  Screenshot().save(dir + "/" + name + ".png");
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (true) {
    if (done()) return true;
    if (clock.elapsed() > timeoutMs) return false;
    QThread::msleep(50);
  }
}

}  // namespace gk::e2e
