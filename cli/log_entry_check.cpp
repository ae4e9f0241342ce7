#include "cli/log_entry_check.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "gui/logs/core/log_paths.h"

namespace {
int64_t FileSize(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? static_cast<int64_t>(status.st_size) : 0;
}
}  // namespace

LogEntryCheck::LogEntryCheck() : path_(LogFilePath("morva")), size_(FileSize(path_)) {}

bool LogEntryCheck::EntryWritten(int64_t group) const {
  std::ifstream log(path_, std::ios::binary);
  if (!log.seekg(size_)) return false;
  const std::string added{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
  // "+++ <time> <module> <group>" opens the entry, "--- <module>" closes it.
  const size_t header = added.find("+++ ");
  if (header == std::string::npos || added.empty() || added.back() != '\n') return false;
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
