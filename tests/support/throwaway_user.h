#pragma once

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/child_process.h"

namespace gk::testing {

// An ordinary user made with useradd for one test and removed with its group afterwards, so
// that permission checks that do not stop root can be run for real. Needs root.
class ThrowawayUser {
 public:
  ThrowawayUser() {
    if (geteuid() != 0) {
      refusal_ = "making a user needs root";
      return;
    }
    name_ = "gktest" + std::to_string(getpid());
    // Tests running beside this one may hold the lock on /etc/passwd for a moment.
    for (int attempt = 0; attempt < 20 && !made_; ++attempt) {
      made_ = Shell(
          "useradd --system --no-create-home --home-dir /nonexistent "
          "--shell /usr/sbin/nologin --user-group " +
          name_);
      if (!made_) usleep(250000);
    }
    const passwd* entry = made_ ? getpwnam(name_.c_str()) : nullptr;
    if (!entry) {
      refusal_ = "useradd could not make a throw-away user";
      return;
    }
    credentials_ = {entry->pw_uid, entry->pw_gid};
  }
  ~ThrowawayUser() {
    for (int attempt = 0; made_ && attempt < 20 && !Shell("userdel " + name_); ++attempt) {
      usleep(250000);
    }
  }
  ThrowawayUser(const ThrowawayUser&) = delete;
  ThrowawayUser& operator=(const ThrowawayUser&) = delete;

  bool Made() const { return made_ && credentials_.uid != 0; }
  const std::string& Refusal() const { return refusal_; }
  Credentials Ids() const { return credentials_; }

 private:
  static bool Shell(const std::string& command) {
    return std::system(("PATH=/usr/sbin:/sbin:$PATH " + command + " >/dev/null 2>&1").c_str()) == 0;
  }

  std::string name_;
  bool made_ = false;
  std::string refusal_;
  Credentials credentials_{0, 0};
};

}  // namespace gk::testing
