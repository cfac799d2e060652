// Starts a program on the X display and prints, in milliseconds from the start, when its first
// window was mapped and when the program first drew into one of its windows, then its process
// id; then waits until the program ends (its caller ends it), so that it is never left unreaped.
// Used by bench/startup_report.sh:
//   first_paint <program> [arguments...]   ->   "<mapped ms> <painted ms> <pid>"
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace {

double NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

int Fail(const char* why, pid_t pid) {
  std::fprintf(stderr, "first_paint: %s\n", why);
  if (pid > 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: first_paint <program> [arguments...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return Fail("cannot open the display", 0);
  int damageEvent = 0, damageError = 0;
  if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
    return Fail("the X server has no DAMAGE extension", 0);
  }
  // Without a window manager every top-level window is a child of the root: its creation and
  // mapping arrive here. Each is watched for drawing from its creation on, before the program
  // can map and paint it.
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const double start = NowMs();
  const pid_t pid = fork();
  if (pid < 0) return Fail("cannot start the program", 0);
  if (pid == 0) {
    // The program's own output would hold the caller's pipe open.
    close(ConnectionNumber(display));
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execvp(argv[1], argv + 1);
    _exit(127);
  }

  double mapped = -1;
  double painted = -1;
  while (painted < 0) {
    if (XPending(display) == 0) {
      pollfd fd{ConnectionNumber(display), POLLIN, 0};
      if (poll(&fd, 1, 10000) <= 0) return Fail("no window drawn within 10 s", pid);
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == CreateNotify) {
      XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
      XFlush(display);
    } else if (event.type == MapNotify && mapped < 0) {
      mapped = NowMs() - start;
    } else if (event.type == damageEvent + XDamageNotify) {
      painted = NowMs() - start;
      if (mapped < 0) mapped = painted;
    }
  }
  std::printf("%.1f %.1f %d\n", mapped, painted, static_cast<int>(pid));
  std::fflush(stdout);
  XCloseDisplay(display);
  waitpid(pid, nullptr, 0);
  return 0;
}
