#include "gui/logs/core/legacy_log_migration.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "gui/logs/core/log_format.h"
#include "gui/logs/core/log_paths.h"

namespace {

// Opening a FIFO or a device can wait for good, and the lock is held meanwhile: no open here
// waits. Only regular files are read or written, so the flag changes nothing for them.
constexpr int kNeverWait = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Beside a current log while an old one is copied behind it, so that the next start can take
// back a copy that was stopped before the old file was gone.
constexpr char kCopyNoteSuffix[] = ".copying";

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

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

bool SyncFolder(const std::string& folder) {
  Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.valid() && ::fsync(fd.get()) == 0;
}

// The current log's size before the copy, and the old file's size and identity.
struct CopyNote {
  intmax_t before = 0;
  intmax_t source_size = 0;
  uintmax_t device = 0;
  uintmax_t inode = 0;
};

// The note is on disk before the first byte is copied: one that cannot be read whole was never
// followed by a copy.
bool WriteNote(const std::string& path, const CopyNote& note) {
  char text[96];
  const int length = std::snprintf(text, sizeof text, "%jd %jd %ju %ju\n", note.before,
                                   note.source_size, note.device, note.inode);
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | kNeverWait, 0644));
  const bool written = fd.valid() && WriteAll(fd.get(), text, size_t(length)) &&
                       ::fsync(fd.get()) == 0 && fd.Close() && SyncFolder(FolderOf(path));
  if (!written) ::unlink(path.c_str());
  return written;
}

// Cuts the current log back to its size before the copy. Refuses when it holds more than the
// copy could have added: runs written since would be cut with it.
bool TruncateBack(const std::string& live, const CopyNote& note) {
  Descriptor fd(::open(live.c_str(), O_WRONLY | kNeverWait));
  if (!fd.valid()) return errno == ENOENT;
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  if (status.st_size <= note.before) return true;
  if (status.st_size > note.before + note.source_size + 2) return false;
  return ::ftruncate(fd.get(), off_t(note.before)) == 0 && ::fsync(fd.get()) == 0;
}

// Takes back what a copy left in the current log when its old file is still there, then drops
// the note. False when that cannot be done; the old file is then not copied again.
bool SettleNote(int legacy_folder, const std::string& old_name, const std::string& live,
                const std::string& note_path) {
  Descriptor fd(::open(note_path.c_str(), O_RDONLY | O_NOFOLLOW | kNeverWait));
  if (!fd.valid()) return errno == ENOENT;
  char text[96] = {};
  const ssize_t got = ::read(fd.get(), text, sizeof text - 1);
  if (got < 0) return false;
  CopyNote note;
  char end = 0;
  struct stat old {};
  const bool whole = std::sscanf(text, "%jd %jd %ju %ju%c", &note.before, &note.source_size,
                                 &note.device, &note.inode, &end) == 5 && end == '\n';
  if (whole && ::fstatat(legacy_folder, old_name.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0) {
    // Only an old file that is gone leaves nothing to take back.
    if (errno != ENOENT) return false;
  } else if (whole && uintmax_t(old.st_dev) == note.device &&
             uintmax_t(old.st_ino) == note.inode && !TruncateBack(live, note)) {
    return false;
  }
  return ::unlink(note_path.c_str()) == 0 && SyncFolder(FolderOf(note_path));
}

// With a note path, the note is written before the copy starts.
LogAppendResult AppendOpened(int source, const std::string& destination_path,
                             const std::string& note_path) {
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
  if (!note_path.empty() &&
      !WriteNote(note_path, {original_size, source_status.st_size, uintmax_t(source_status.st_dev),
                             uintmax_t(source_status.st_ino)})) {
    return LogAppendResult::kFailed;
  }
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
// Each old run ends up in the current log once, whenever a start is stopped. True when nothing of
// it is left behind.
bool MigrateOne(int legacy_folder, const std::string& name) {
  const std::string file_name = name + log_format::kLogExtension;
  const std::string live = LogFilePath(name);
  const std::string note = live + kCopyNoteSuffix;
  if (!SettleNote(legacy_folder, file_name, live, note)) return false;
  Descriptor source(::openat(legacy_folder, file_name.c_str(), O_RDONLY | O_NOFOLLOW | kNeverWait));
  if (!source.valid()) return errno == ENOENT;
  // An old file that cannot be removed would be copied, and taken back, at every start. Asked
  // with the powers the removal uses, not those the program was started with.
  if (::faccessat(legacy_folder, ".", W_OK | X_OK, AT_EACCESS) != 0) return false;
  const bool appended = AppendOpened(source.get(), live, note) == LogAppendResult::kAppended;
  source.Close();
  const bool removed = appended && ::unlinkat(legacy_folder, file_name.c_str(), 0) == 0;
  // After a power cut the old file may come back: the note stays until its removal is on disk.
  if (removed && ::fsync(legacy_folder) != 0) return false;
  // An old file that cannot be removed leaves no copy behind, or every start would add one.
  return SettleNote(legacy_folder, file_name, live, note) && removed;
}

}  // namespace

LogAppendResult AppendLog(const std::string& destination, const std::string& source) {
  Descriptor input(::open(source.c_str(), O_RDONLY | O_NOFOLLOW | kNeverWait));
  if (!input.valid()) {
    return errno == ENOENT ? LogAppendResult::kNoSource : LogAppendResult::kFailed;
  }
  return AppendOpened(input.get(), destination, std::string());
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
