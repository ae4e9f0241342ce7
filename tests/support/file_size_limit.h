// A disk that is full past a given size, made without root: while the object lives no file of
// the process grows beyond the limit. A write that would cross it writes what fits and the next
// one fails, as on a full disk; the signal the kernel sends for it is ignored meanwhile.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace test_support {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    if (getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved_;
    limited.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  ~FileSizeLimit() {
    if (previous_handler_ == SIG_ERR) return;
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  // False when the limit could not be set; the test cannot show anything then.
  bool active() const { return active_; }

 private:
  struct rlimit saved_ {};
  void (*previous_handler_)(int) = SIG_ERR;
  bool active_ = false;
};

}  // namespace test_support
