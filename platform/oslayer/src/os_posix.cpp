#include "kolv_os/os.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "zerka/zerka.h"

extern char** environ;

namespace kolv_os {

const char* const kPluginSuffix = ".so";

namespace {
bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
}  // namespace

std::string PluginFileName(const std::string& stem) {
  std::string base = stem;
  if (EndsWith(base, ".dll"))
    base.resize(base.size() - 4);
  else if (EndsWith(base, kPluginSuffix))
    base.resize(base.size() - std::strlen(kPluginSuffix));
  return base + kPluginSuffix;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string WindowsDirectory() {
  if (const char* dir = std::getenv("KOLV_WINDOWS_DIR")) return dir;
  ZerkaFilesystem* fs = get_filesystem();
  if (!fs) return std::string();
  return std::string(1, fs->SystemDriveLetter()) + ":\\Windows";
}

long SpawnDetached(const std::string& program, const std::vector<std::string>& argv,
                   std::string& error) {
  if (argv.empty()) {
    error = "cannot start " + program + ": no argument vector";
    return -1;
  }
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (posix_spawn_file_actions_init(&actions) != 0) {
    error = "cannot prepare the child's standard streams";
    return -1;
  }
  posix_spawnattr_init(&attributes);
  // The child starts clean: its own session, no blocked signals and every signal at its default,
  // whatever this process blocks or ignores.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  sigdelset(&all, SIGKILL);
  sigdelset(&all, SIGSTOP);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  int prepared = 0;
  for (int fd = 0; fd < 3; ++fd)
    prepared |= posix_spawn_file_actions_addopen(&actions, fd, "/dev/null",
                                                 fd == 0 ? O_RDONLY : O_WRONLY, 0);
  // Descriptors opened without close-on-exec (by us or by a library) stay behind.
  prepared |= posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  if (prepared != 0) {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    error = "cannot prepare the child's standard streams";
    return -1;
  }

  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  pid_t pid = -1;
  int rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (rc != 0) {
    error = std::string("cannot start ") + program + ": " + std::strerror(rc);
    return -1;
  }
  return static_cast<long>(pid);
}

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return std::string();
  buffer[n] = '\0';
  return buffer;
}

void IgnoreFileSizeLimitSignal() { signal(SIGXFSZ, SIG_IGN); }

void ReopenClosedStandardStreams() {
  for (int fd = 0; fd < 3; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lower descriptors are open by now, so open takes this one. Standard output is opened
    // for reading only: a write to it fails as on a closed stream, and so is never taken for
    // output that arrived.
    const int opened = open("/dev/null", fd == 2 ? O_WRONLY : O_RDONLY);
    if (opened >= 0 && opened != fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
}

FILE* OpenOutputFile(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  const int flags = fcntl(fd, F_GETFL);
  FILE* file = nullptr;
  if (flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) file = fdopen(fd, "w");
  if (!file) {
    const int error = errno;
    close(fd);
    errno = error;
  }
  return file;
}

bool WriteWouldWait(int fd) {
  struct stat status;
  if (fd < 0 || fstat(fd, &status) != 0) return false;
  if (!S_ISFIFO(status.st_mode) && !S_ISSOCK(status.st_mode)) return false;
  pollfd ready{fd, POLLOUT, 0};
  return poll(&ready, 1, 0) == 0;
}

long UnreadOutput(int fd) {
  struct stat status;
  if (fd < 0 || fstat(fd, &status) != 0) return -1;
  int bytes = 0;
  if (S_ISFIFO(status.st_mode)) return ioctl(fd, FIONREAD, &bytes) == 0 ? bytes : -1;
  if (S_ISSOCK(status.st_mode)) return ioctl(fd, TIOCOUTQ, &bytes) == 0 ? bytes : -1;
  return -1;
}

bool StandardInputIsLive() {
  struct stat status;
  if (fstat(STDIN_FILENO, &status) != 0) return false;
  return S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode) || isatty(STDIN_FILENO) == 1;
}

StandardInputWaiter::StandardInputWaiter() {
  if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
}

StandardInputWaiter::~StandardInputWaiter() {
  for (int fd : wake_)
    if (fd >= 0) close(fd);
}

namespace {
// How often a job in the background looks whether it has been brought to the foreground.
constexpr int kForegroundLookMs = 100;

bool InTerminalForeground() {
  const pid_t foreground = tcgetpgrp(STDIN_FILENO);
  return foreground < 0 || foreground == getpgrp();
}

// A read from the terminal by a background job fails instead of stopping the whole process.
ssize_t ReadWithoutStopping(char* buffer, size_t size) {
  sigset_t held, previous;
  sigemptyset(&held);
  sigaddset(&held, SIGTTIN);
  pthread_sigmask(SIG_BLOCK, &held, &previous);
  const ssize_t n = read(STDIN_FILENO, buffer, size);
  const int error = errno;
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = error;
  return n;
}
}  // namespace

int StandardInputWaiter::Read(std::string& out) {
  if (wake_[0] < 0) return -1;
  const bool terminal = isatty(STDIN_FILENO) == 1;
  for (;;) {
    // A terminal's keys belong to its foreground: a job in the background leaves them to the
    // shell and waits until it is brought to the foreground.
    const bool may_read = !terminal || InTerminalForeground();
    pollfd p[2] = {{may_read ? STDIN_FILENO : -1, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    const int ready = poll(p, 2, may_read ? -1 : kForegroundLookMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return -1;
    if (p[1].revents) return 0;
    if (ready == 0) continue;
    if (p[0].revents & POLLNVAL) return -1;
    char buffer[256];
    const ssize_t n = ReadWithoutStopping(buffer, sizeof buffer);
    // Someone else may have taken the bytes poll saw, or a signal came: wait again, since 0
    // means only an interrupt. The job may have gone to the background while it waited.
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0 && errno == EIO && terminal && !InTerminalForeground()) continue;
    if (n <= 0) return -1;
    out.append(buffer, static_cast<size_t>(n));
    return static_cast<int>(n);
  }
}

void StandardInputWaiter::Interrupt() {
  if (wake_[1] >= 0) (void)!write(wake_[1], "x", 1);
}

}  // namespace kolv_os
