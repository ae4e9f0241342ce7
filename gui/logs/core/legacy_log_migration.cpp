#include "gui/logs/core/legacy_log_migration.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "gui/logs/core/log_format.h"
#include "gui/logs/core/log_paths.h"

namespace {

// Opening a FIFO or a device can wait for good, and the lock is held meanwhile: no open here
// waits. Only regular files are read or written, so the flag changes nothing for them.
constexpr int kNeverWait = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and tells whether the close succeeded (a failed close can mean lost data).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// Copies source behind destination; false as soon as anything goes wrong.
bool CopyBehind(int source, int destination, off_t destination_size) {
  char last = '\n';
  if (destination_size > 0) {
    ssize_t got;
    do {
      got = ::pread(destination, &last, 1, destination_size - 1);
    } while (got < 0 && errno == EINTR);
    if (got != 1) return false;
  }
  char buffer[64 * 1024];
  bool wrote_separator = false;
  for (;;) {
    const ssize_t got = ::read(source, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    // The destination's last line was cut short: close it before the old lines follow.
    if (!wrote_separator && last != '\n') {
      if (!WriteAll(destination, "\n", 1)) return false;
    }
    wrote_separator = true;
    if (!WriteAll(destination, buffer, static_cast<size_t>(got))) return false;
    last = buffer[got - 1];
  }
  // An old log without a final line end would glue the engine's next line onto its last one.
  if (last != '\n' && !WriteAll(destination, "\n", 1)) return false;
  return ::fsync(destination) == 0;
}

LogAppendResult AppendOpened(int source, const std::string& destination_path) {
  struct stat source_status {};
  if (::fstat(source, &source_status) != 0 || !S_ISREG(source_status.st_mode)) {
    return LogAppendResult::kFailed;
  }
  Descriptor destination(
      ::open(destination_path.c_str(), O_RDWR | O_APPEND | O_CREAT | kNeverWait, 0644));
  if (!destination.valid()) return LogAppendResult::kFailed;
  struct stat destination_status {};
  if (::fstat(destination.get(), &destination_status) != 0 ||
      !S_ISREG(destination_status.st_mode)) {
    return LogAppendResult::kFailed;
  }
  // Old and new may be one file seen through a link: appending it to itself never ends.
  if (destination_status.st_dev == source_status.st_dev &&
      destination_status.st_ino == source_status.st_ino) {
    return LogAppendResult::kFailed;
  }
  const off_t original_size = destination_status.st_size;
  if (!CopyBehind(source, destination.get(), original_size)) {
    // Leave the current log as it was, so that a later start can try again.
    if (::ftruncate(destination.get(), original_size) == 0) ::fsync(destination.get());
    return LogAppendResult::kFailed;
  }
  return destination.Close() ? LogAppendResult::kAppended : LogAppendResult::kFailed;
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Moves one old log behind the current one and removes the old file once it is safely copied.
// True when nothing of it is left behind.
bool MigrateOne(int legacy_folder, const std::string& name) {
  const std::string file_name = name + log_format::kLogExtension;
  Descriptor source(::openat(legacy_folder, file_name.c_str(), O_RDONLY | O_NOFOLLOW | kNeverWait));
  if (!source.valid()) return errno == ENOENT;
  if (AppendOpened(source.get(), LogFilePath(name)) != LogAppendResult::kAppended) return false;
  source.Close();
  return ::unlinkat(legacy_folder, file_name.c_str(), 0) == 0;
}

}  // namespace

LogAppendResult AppendLog(const std::string& destination, const std::string& source) {
  Descriptor input(::open(source.c_str(), O_RDONLY | O_NOFOLLOW | kNeverWait));
  if (!input.valid()) {
    return errno == ENOENT ? LogAppendResult::kNoSource : LogAppendResult::kFailed;
  }
  return AppendOpened(input.get(), destination);
}

void MigrateLegacyLogs() {
  const std::string legacy = WithoutTrailingSeparator(LegacyLogFolderPath());
  // Only a real folder is migrated: a link is never followed to remove what it points at.
  struct stat legacy_status {};
  if (::lstat(legacy.c_str(), &legacy_status) != 0 || !S_ISDIR(legacy_status.st_mode)) return;
  struct stat current_status {};
  const std::string current = WithoutTrailingSeparator(LogFolderPath());
  if (::stat(current.c_str(), &current_status) == 0 &&
      current_status.st_dev == legacy_status.st_dev &&
      current_status.st_ino == legacy_status.st_ino) {
    return;  // the two folders are one: there is nothing to move
  }
  Descriptor folder(::open(legacy.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!folder.valid()) return;
  const bool main_moved = MigrateOne(folder.get(), log_format::kLogBaseName);
  const bool errors_moved = MigrateOne(folder.get(), ErrorLogName());
  folder.Close();
  // Removes the folder only when empty: files that are not ours stay, and so does the folder.
  if (main_moved && errors_moved) ::rmdir(legacy.c_str());
}
