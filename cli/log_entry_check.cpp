#include "cli/log_entry_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "gui/logs/core/log_format.h"
#include "gui/logs/core/log_paths.h"

namespace {
int64_t FileSize(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? static_cast<int64_t>(status.st_size) : 0;
}

// What the log holds from offset on; only a regular file is read, and never waited for.
std::string ReadFrom(const std::string& path, int64_t offset) {
  std::string added;
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return added;
  struct stat status {};
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && lseek(fd, offset, SEEK_SET) == offset) {
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) added.append(buffer, n);
  }
  close(fd);
  return added;
}
}  // namespace

LogEntryCheck::LogEntryCheck() : path_(LogFilePath("morva")), size_(FileSize(path_)) {}

bool LogEntryCheck::EntryWritten(int64_t group) const {
  const std::string added = ReadFrom(path_, size_);
  // "+++ <time> <module> <group>" opens the entry, "--- <module>" closes it. Engines of other
  // processes append to the same log: their whole entries may stand before or after it.
  using log_format::kGroupEnd;
  using log_format::kGroupStart;
  const std::string group_word = " " + std::to_string(group);
  bool opened = false;
  for (size_t start = 0, end; (end = added.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = added.substr(start, end - start);
    if (!opened)
      opened = line.compare(0, kGroupStart.size(), kGroupStart) == 0 &&
               line.size() > group_word.size() &&
               line.compare(line.size() - group_word.size(), group_word.size(), group_word) == 0;
    else if (line.compare(0, kGroupEnd.size(), kGroupEnd) == 0)
      return true;
  }
  return false;
}
