#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "zerka/zerka_app_mutex.h"

namespace {

std::string LockFilePath() {
  if (const char* configured = std::getenv("ZERKA_LOCK_FILE"); configured && *configured)
    return configured;
  if (access("/run/lock", W_OK) == 0) return "/run/lock/kolv.lock";
  return "/tmp/kolv-" + std::to_string(getuid()) + ".lock";
}

class AppMutex : public ZerkaAppMutex {
 public:
  ~AppMutex() override { Release(); }

  int Acquire() override {
    if (fd_ >= 0) return 0;
    std::string path = LockFilePath();
    // Close-on-exec: a program started from here must not keep the lock alive after we end.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EACCES) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return kFailed;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      int error = errno;
      close(fd);
      return error == EWOULDBLOCK ? kHeldElsewhere : kFailed;
    }
    fd_ = fd;
    return 0;
  }

  std::string LockFilePath() override { return ::LockFilePath(); }

  void Release() override {
    if (fd_ < 0) return;
    flock(fd_, LOCK_UN);
    close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

}  // namespace

ZerkaAppMutex* get_app_mutex() { return new AppMutex; }

void release_app_mutex(ZerkaAppMutex* mutex) { delete mutex; }
