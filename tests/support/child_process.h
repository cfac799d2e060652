#pragma once

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace gk::testing {

struct Credentials {
  uid_t uid;
  gid_t gid;
};

// How a child run ended: `finished` is false when the alarm had to stop it (the body blocked);
// `threw` says whether the body raised, `text` is the exception's message or what it returned.
struct ChildOutcome {
  bool finished = false;
  bool threw = false;
  std::string text;
};

// Runs `body` in a forked child, stopped by an alarm after `seconds`, so that code which
// blocks forever fails the test instead of hanging it. With `as`, the child first becomes that
// user, with that group and no others.
inline ChildOutcome RunInChild(const std::function<std::string()>& body, unsigned seconds = 10,
                               std::optional<Credentials> as = std::nullopt) {
  int channel[2];
  if (pipe(channel) != 0) return {true, true, "cannot make a pipe"};
  const pid_t pid = fork();
  if (pid < 0) return {true, true, "cannot fork"};
  if (pid == 0) {
    close(channel[0]);
    alarm(seconds);
    std::string text;
    int code = 0;
    if (as && (setgroups(0, nullptr) != 0 || setgid(as->gid) != 0 || setuid(as->uid) != 0)) {
      text = "cannot become the user";
      code = 1;
    } else {
      try {
        text = body();
      } catch (const std::exception& e) {
        text = e.what();
        code = 1;
      }
    }
    for (std::size_t done = 0; done < text.size();) {
      const ssize_t n = write(channel[1], text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    _exit(code);
  }
  close(channel[1]);
  ChildOutcome outcome;
  char buffer[4096];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    outcome.text.append(buffer, static_cast<std::size_t>(n));
  }
  close(channel[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  outcome.finished = WIFEXITED(status);
  outcome.threw = !outcome.finished || WEXITSTATUS(status) != 0;
  if (!outcome.finished) outcome.text = "still blocked after " + std::to_string(seconds) + " s";
  return outcome;
}

// A program run as a child, with `env` ahead of the test's own environment and its standard
// error in `errorFile`; killed, if still running, when the object goes.
class ToolProcess {
 public:
  ToolProcess(const std::vector<std::string>& argv, std::vector<std::string> env,
              const std::string& errorFile) {
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> args, vars;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    for (const std::string& v : env) vars.push_back(const_cast<char*>(v.c_str()));
    args.push_back(nullptr);
    vars.push_back(nullptr);
    if ((pid_ = fork()) != 0) return;
    const int err = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (err >= 0 && dup2(err, 2) >= 0) execve(args[0], args.data(), vars.data());
    _exit(127);
  }
  ~ToolProcess() { Wait(SIGKILL); }
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // Sends `signal` first, if any: the exit code, or 128 + the signal that ended the program.
  int Wait(int signal = 0) {
    int status = 0;
    if (pid_ > 0 && signal != 0) kill(pid_, signal);
    while (pid_ > 0 && waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
};

}  // namespace gk::testing
