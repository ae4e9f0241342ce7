#include "support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <thread>

namespace morva_service {
namespace detail {

namespace {

std::mutex trace_mutex;
int trace_fd = -1;

}  // namespace

int OpenLogFile(const std::string& path, std::string& error, bool readable) {
  const int fd = ::open(path.c_str(), (readable ? O_RDWR : O_WRONLY) | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) {
    // A FIFO that nobody reads refuses a writer that does not wait.
    error = path + (errno == ENXIO ? std::string(": not a regular file") : ": " + std::string(std::strerror(errno)));
    return -1;
  }
  struct stat status;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    error = path + ": not a regular file";
    ::close(fd);
    return -1;
  }
  // Writes to the file wait as usual.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

void OpenTrace() {
  std::lock_guard<std::mutex> lock(trace_mutex);
  if (trace_fd >= 0) return;
  const char* path = std::getenv("MORVA_TRACE");
  if (!path || !*path) return;
  std::string ignored;
  trace_fd = OpenLogFile(path, ignored);
}

void CloseTrace() {
  std::lock_guard<std::mutex> lock(trace_mutex);
  if (trace_fd >= 0) ::close(trace_fd);
  trace_fd = -1;
}

void Trace(const std::string& text) {
  std::lock_guard<std::mutex> lock(trace_mutex);
  if (trace_fd < 0) return;
  std::string line = text + " tid=" + std::to_string(static_cast<long>(::syscall(SYS_gettid))) + "\n";
  // O_APPEND and one write per line keep lines whole when several processes trace to one file.
  ssize_t ignored = ::write(trace_fd, line.data(), line.size());
  (void)ignored;
}

bool SleepSliced(double seconds, const std::function<bool()>& stop) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(std::max(seconds, 0.0)));
  for (;;) {
    if (stop && stop()) return false;
    auto now = Clock::now();
    if (now >= end) return true;
    std::this_thread::sleep_for(std::min<Clock::duration>(end - now, std::chrono::milliseconds(20)));
  }
}

double MonotonicSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int64_t WallSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

}  // namespace detail
}  // namespace morva_service
