// A disk that is full past a given size, made without root: while the object lives no file of
// the process grows beyond the limit. A write that would cross it writes what fits and the next
// one fails, as on a full disk, in a process set up as the programs set themselves up
// (kolv_os::IgnoreFileSizeLimitSignal); elsewhere the kernel's signal ends the process.
#pragma once

#include <sys/resource.h>

namespace test_support {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    if (getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
    struct rlimit limited = saved_;
    limited.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  ~FileSizeLimit() {
    if (active_) setrlimit(RLIMIT_FSIZE, &saved_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  // False when the limit could not be set; the test cannot show anything then.
  bool active() const { return active_; }

 private:
  struct rlimit saved_ {};
  bool active_ = false;
};

}  // namespace test_support
