#include "e2e/desktop_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <stdexcept>

namespace gk::e2e {

namespace {

// Generous: the suite runs on loaded two-core machines.
constexpr int ToolTimeoutMs = 30000;

struct ToolResult {
  bool ok = false;
  QByteArray out;
  QString error;
};

ToolResult RunTool(const QString& program, const QStringList& arguments,
                   const QProcessEnvironment& env) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(program, arguments);
  ToolResult result;
  if (!process.waitForFinished(ToolTimeoutMs)) {
    process.kill();
    process.waitForFinished(5000);
    result.error = program + " did not finish";
    return result;
  }
  result.out = process.readAllStandardOutput();
  result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  if (!result.ok) {
    result.error = program + " " + arguments.join(' ') +
                   " failed: " + QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
  }
  return result;
}

}  // namespace

DesktopSession::DesktopSession() {
  if (!home_.isValid()) throw std::runtime_error("cannot make a temporary folder");
  QDir(home_.path()).mkpath("config");
  QDir(home_.path()).mkpath("cache");
  QDir(home_.path()).mkpath("runtime");
  QFile::setPermissions(home_.path() + "/runtime",
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  // -displayfd lets the server take the first free display itself and tell us its number,
  // which avoids racing another server for a guessed one. -noreset: by default the server
  // resets when its last client leaves, and a program connecting just then is refused.
  xvfb_.setProgram("Xvfb");
  xvfb_.setArguments(
      {"-displayfd", "1", "-screen", "0", "1024x900x24", "-nolisten", "tcp", "-noreset"});
  xvfb_.setProcessChannelMode(QProcess::SeparateChannels);
  xvfb_.setReadChannel(QProcess::StandardOutput);
  xvfb_.start();
  if (!xvfb_.waitForStarted(ToolTimeoutMs)) throw std::runtime_error("cannot start Xvfb");
  QByteArray number;
  QElapsedTimer clock;
  clock.start();
  while (!number.contains('\n') && clock.elapsed() < ToolTimeoutMs &&
         xvfb_.state() == QProcess::Running) {
    xvfb_.waitForReadyRead(500);
    number += xvfb_.readAllStandardOutput();
  }
  if (!number.contains('\n')) {
    throw std::runtime_error("Xvfb gave no display number: " +
                             xvfb_.readAllStandardError().toStdString());
  }
  display_ = ":" + QString::fromLatin1(number).trimmed();
  if (!WaitUntil([&] { return RunTool("xdotool", {"getmouselocation"}, Environment()).ok; })) {
    throw std::runtime_error("Xvfb does not answer on " + display_.toStdString());
  }
}

DesktopSession::~DesktopSession() {
  xvfb_.terminate();
  if (!xvfb_.waitForFinished(10000)) {
    xvfb_.kill();
    xvfb_.waitForFinished(5000);
  }
}

QProcessEnvironment DesktopSession::Environment() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", display_);
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.remove("WAYLAND_DISPLAY");
  env.remove("XAUTHORITY");
  env.insert("XDG_CONFIG_HOME", home_.path() + "/config");
  env.insert("XDG_CACHE_HOME", home_.path() + "/cache");
  env.insert("XDG_RUNTIME_DIR", home_.path() + "/runtime");
  return env;
}

QProcessEnvironment DesktopSession::EnvironmentFor(const QString& home,
                                                   const QString& runtime) const {
  QProcessEnvironment env = Environment();
  env.insert("HOME", home);
  env.insert("XDG_RUNTIME_DIR", runtime);
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME",
                           "USER", "LOGNAME"}) {
    env.remove(name);
  }
  return env;
}

QString DesktopSession::Xdotool(const QStringList& arguments) const {
  const ToolResult result = RunTool("xdotool", arguments, Environment());
  if (!result.ok) throw std::runtime_error(result.error.toStdString());
  return QString::fromLocal8Bit(result.out).trimmed();
}

QString DesktopSession::TryXdotool(const QStringList& arguments) const {
  const ToolResult result = RunTool("xdotool", arguments, Environment());
  return result.ok ? QString::fromLocal8Bit(result.out).trimmed() : QString();
}

QString DesktopSession::WindowName(const QString& id) const {
  const ToolResult result = RunTool("xdotool", {"getwindowname", id}, Environment());
  if (!result.ok) return {};
  QString name = QString::fromUtf8(result.out);
  if (name.endsWith('\n')) name.chop(1);
  return name;
}

QImage DesktopSession::Screenshot() const {
  // PPM is the quickest for ImageMagick to write and for Qt to read.
  const ToolResult result = RunTool("import", {"-window", "root", "ppm:-"}, Environment());
  if (!result.ok) throw std::runtime_error(result.error.toStdString());
  QImage image;
  if (!image.loadFromData(result.out, "PPM")) {
    throw std::runtime_error("cannot read a screenshot");
  }
  return image.convertToFormat(QImage::Format_RGB32);
}

void DesktopSession::SaveScreenshot(const QString& dir, const QString& name) const {
  try {
    QDir().mkpath(dir);
    Screenshot().save(dir + "/" + name + ".png");
  } catch (const std::exception&) {
    // A missing screenshot must not hide the failure being recorded.
  }
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
