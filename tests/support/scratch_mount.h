#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

namespace gk::testing {

// A file system mounted on a new folder for the object's life; by default a 64 KiB tmpfs, a disk
// that really fills up. Mounting needs root; where it is refused, Mounted() is false and
// Refusal() says why.
class ScratchMount {
 public:
  explicit ScratchMount(std::string dir, const char* type = "tmpfs",
                        const char* options = "size=64k,mode=0755")
      : dir_(std::move(dir)) {
    if (mkdir(dir_.c_str(), 0755) != 0) {
      refusal_ = "cannot make " + dir_ + ": " + std::strerror(errno);
      return;
    }
    if (mount(type, dir_.c_str(), type, MS_NOSUID | MS_NODEV, options) != 0) {
      refusal_ =
          std::string("cannot mount a ") + type + " on " + dir_ + ": " + std::strerror(errno);
      return;
    }
    mounted_ = true;
  }
  ~ScratchMount() {
    if (mounted_) umount2(dir_.c_str(), MNT_DETACH);
    rmdir(dir_.c_str());
  }
  ScratchMount(const ScratchMount&) = delete;
  ScratchMount& operator=(const ScratchMount&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Refusal() const { return refusal_; }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // Takes every free block with one file, so that the next write needing a block fails with
  // ENOSPC. False when the disk did not end up full.
  bool Fill() {
    const int fd = open(Path(Filler).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    static const char block[4096] = {};
    ssize_t n = 0;
    while ((n = write(fd, block, sizeof block)) > 0) {
    }
    const bool full = n < 0 && errno == ENOSPC;
    close(fd);
    return full;
  }
  void Free() { unlink(Path(Filler).c_str()); }

  static constexpr const char* Filler = "filler";

 private:
  std::string dir_;
  bool mounted_ = false;
  std::string refusal_;
};

}  // namespace gk::testing
