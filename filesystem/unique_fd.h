#pragma once

#include <unistd.h>

#include <cerrno>

namespace gk {

// Owns one open file descriptor and closes it when it goes, so every early exit (an error, an
// exception passing through) releases it.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) ::close(fd_);
      fd_ = other.Release();
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes now and reports what close() says: 0, or the errno of a failed close. A close
  // interrupted by a signal has still closed the descriptor on Linux, so it counts as done.
  int Close() {
    const int fd = Release();
    if (fd < 0 || ::close(fd) == 0) return 0;
    return errno == EINTR ? 0 : errno;
  }

 private:
  int fd_ = -1;
};

}  // namespace gk
