// Preloaded into a program (LD_PRELOAD), fails chosen system calls, so that tests meet write
// failures for real. GK_FAULTS holds rules "CALL@N=ACTION" separated by commas: the Nth call of
// CALL does ACTION. pwrite, fsync and close count only calls on files whose path matches the glob
// GK_FAULT_FILES; renameat, linkat and tmpfile (an openat with O_TMPFILE) count every call.
// ACTION is EIO, ENOSPC or EOPNOTSUPP (the call fails with it; a close still closes), "short" (a
// pwrite writes half) or "stop" (the file GK_FAULT_STOPPED is made and the call waits for a kill).
// With GK_FAULT_LOG set, every pwrite, fsync, renameat and unlinkat that succeeds, on any file,
// adds a line there in the order of the calls: "pwrite DEV:INODE" and "fsync DEV:INODE" name the
// file written or synced, "renameat NAME" and "unlinkat NAME" the name made or removed.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum Call { Pwrite, Fsync, Close, Renameat, Linkat, Tmpfile, CallCount };
static const char* const CallNames[] = {"pwrite",   "fsync",  "close",
                                        "renameat", "linkat", "tmpfile"};
static int calls[CallCount];
enum { Short = -1 };

// Counts this call and answers what it must do: 0, Short, or an errno, which it sets.
static int Fault(enum Call call, int fd) {
  char name[16], action[16], link[64], path[4096];
  const char* files = getenv("GK_FAULT_FILES");
  if (fd >= 0) {
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (!files || length <= 0 || (fcntl(fd, F_GETFL) & O_PATH)) return 0;
    path[length] = '\0';
    if (fnmatch(files, path, 0) != 0) return 0;
  }
  const int nth = ++calls[call];
  int n, used;
  for (const char* r = getenv("GK_FAULTS");
       r && sscanf(r, "%15[a-z]@%d=%15[A-Za-z]%n", name, &n, action, &used) == 3;
       r += used + (r[used] == ',')) {
    if (n != nth || strcmp(name, CallNames[call]) != 0) continue;
    if (strcmp(action, "stop") == 0) {
      close(open(getenv("GK_FAULT_STOPPED"), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
      for (;;) pause();
    }
    if (strcmp(action, "short") == 0) return Short;
    errno = strcmp(action, "EIO") == 0 ? EIO : strcmp(action, "ENOSPC") == 0 ? ENOSPC : EOPNOTSUPP;
    return errno;
  }
  return 0;
}

// Adds the line of a call that succeeded to GK_FAULT_LOG: `name`, else the file open as `fd`.
static void Log(const char* call, int fd, const char* name) {
  static int log = -1;
  const char* logPath = getenv("GK_FAULT_LOG");
  const int callersErrno = errno;
  struct stat file;
  if (logPath && (name || fstat(fd, &file) == 0)) {
    if (log < 0) log = open(logPath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    char line[4200];
    const int length = name ? snprintf(line, sizeof line, "%s %s\n", call, name)
                            : snprintf(line, sizeof line, "%s %lu:%lu\n", call,
                                       (unsigned long)file.st_dev, (unsigned long)file.st_ino);
    const ssize_t written =
        write(log, line, length > 0 && length < (int)sizeof line ? (size_t)length : 0);
    (void)written;
  }
  errno = callersErrno;
}

// The function the program would have called.
static void Next(const char* name, void* function, size_t size) {
  void* found = dlsym(RTLD_NEXT, name);
  memcpy(function, &found, size);
}
#define REAL(name)        \
  __typeof__(&name) real; \
  Next(#name, &real, sizeof real)

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
  const int fault = Fault(Pwrite, fd);
  if (fault > 0) return -1;
  REAL(pwrite);
  const ssize_t written = real(fd, data, fault == Short && size > 1 ? size / 2 : size, offset);
  if (written > 0) Log("pwrite", fd, NULL);
  return written;
}

int fsync(int fd) {
  if (Fault(Fsync, fd) > 0) return -1;
  REAL(fsync);
  const int synced = real(fd);
  if (synced == 0) Log("fsync", fd, NULL);
  return synced;
}

int close(int fd) {
  const int fault = Fault(Close, fd);
  REAL(close);
  const int closed = real(fd);
  if (fault > 0) errno = fault;
  return fault > 0 ? -1 : closed;
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  if (Fault(Renameat, -1) > 0) return -1;
  REAL(renameat);
  const int renamed = real(fromFolder, from, toFolder, to);
  if (renamed == 0) Log("renameat", -1, to);
  return renamed;
}

int unlinkat(int folder, const char* path, int flags) {
  REAL(unlinkat);
  const int removed = real(folder, path, flags);
  if (removed == 0) Log("unlinkat", -1, path);
  return removed;
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
  if (Fault(Linkat, -1) > 0) return -1;
  REAL(linkat);
  return real(fromFolder, from, toFolder, to, flags);
}

int openat(int folder, const char* path, int flags, ...) {
  mode_t mode = 0;
  if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
    va_list rest;
    va_start(rest, flags);
    mode = va_arg(rest, mode_t);
    va_end(rest);
  }
  if ((flags & O_TMPFILE) == O_TMPFILE && Fault(Tmpfile, -1) > 0) return -1;
  REAL(openat);
  return real(folder, path, flags, mode);
}
