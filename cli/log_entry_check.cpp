#include "cli/log_entry_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
  // "+++ <time> <module> <group>" opens the entry, "--- <module>" closes it.
  const size_t header = added.find("+++ ");
  if (header == std::string::npos || added.back() != '\n') return false;
  const std::string header_line = added.substr(header, added.find('\n', header) - header);
  const std::string group_word = " " + std::to_string(group);
  if (header_line.size() < group_word.size() ||
      header_line.compare(header_line.size() - group_word.size(), group_word.size(), group_word) !=
          0)
    return false;
  const size_t last_line =
      added.size() < 2 ? std::string::npos : added.rfind('\n', added.size() - 2);
  return added.compare(last_line == std::string::npos ? 0 : last_line + 1, 4, "--- ") == 0;
}
