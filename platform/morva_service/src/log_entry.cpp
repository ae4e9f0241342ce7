#include "log_entry.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "support.h"
#include "zerka/zerka.h"

namespace morva_service {
namespace detail {

namespace {

std::string DateTime(int64_t seconds) { return get_time_handler()->FormatDateTime(seconds); }

// The reader takes everything after the first ":" trimmed, and an empty value breaks the line.
std::string PropertyValue(const std::string& value) {
  size_t first = value.find_first_not_of(" \t");
  if (first == std::string::npos) return "N/A";
  size_t last = value.find_last_not_of(" \t");
  return value.substr(first, last - first + 1);
}

std::string Property(const std::string& key, const std::string& value) {
  return key + ": " + PropertyValue(value);
}

std::mutex log_mutex;

}  // namespace

const char* LogResultWord(TestStatus status) {
  switch (status) {
    case kTestPassed: return "SUCCESS";
    case kTestFailed: return "FAILED";
    case kTestNotApplicable: return "NOT_APPLICABLE";
    case kTestCancelled: return "ABORTED";
    case kTestWarning: return "WARNING";
    // An unrecognised outcome is no success: the reader only counts these six words.
    case kTestUnrecognized:
    case kTestInvalid: return "INVALID";
  }
  return "INVALID";
}

LogEntry::LogEntry(const std::string& module_name, int64_t start_seconds, int64_t group,
                   const DeviceSpec& device)
    : module_name_(module_name) {
  lines_.push_back("+++ " + DateTime(start_seconds) + " " + module_name + " " + std::to_string(group));
  lines_.push_back(Property("UDI", device.udi));
  lines_.push_back(Property("DISPLAY_NAME", device.information.display_name));
  for (const auto& row : device.information.properties) lines_.push_back(Property(row.first, row.second));
  for (size_t i = 0; i < device.resources.size(); ++i) {
    const SystemComponentResource& resource = device.resources[i];
    std::string index = std::to_string(i);
    for (const auto& property : resource.properties)
      if (property.first == "INDEX") index = property.second;
    lines_.push_back(">>> RESOURCE " + resource.name);
    lines_.push_back(Property("INDEX", index));
    for (const auto& property : resource.properties)
      if (property.first != "INDEX") lines_.push_back(Property(property.first, property.second));
    lines_.push_back("<<< RESOURCE");
  }
  lines_.push_back("START TESTS");
}

void LogEntry::StartTest(const std::string& test_name, int64_t when) {
  lines_.push_back(DateTime(when) + " START " + test_name);
  ++test_count_;
}

void LogEntry::AddMessage(int64_t when, const MessageSpec& message) {
  std::string line = DateTime(when) + " " + message.kind;
  for (const std::string& word : message.words) line += " " + word;
  if (!message.code.empty()) line += " CODE " + message.code;
  lines_.push_back(line);
}

void LogEntry::StopTest(const std::string& test_name, TestStatus status, double seconds, int64_t when) {
  lines_.push_back(DateTime(when) + " STOP " + test_name + " " + LogResultWord(status) + " " +
                   get_number_handler()->ToString(seconds, 1) + " S");
}

void LogEntry::Finish(const std::string& result_code) {
  lines_.push_back("STOP TESTS " + result_code);
  lines_.push_back("--- " + module_name_);
}

std::string DiagnosticsLogPath() {
  ZerkaFilesystem* filesystem = get_filesystem();
  return filesystem->NativePath(std::string(1, filesystem->SystemDriveLetter()) +
                                ":\\ProgramData\\Tarvex\\morva\\morva.log");
}

namespace {

// True when the file ends inside a line: someone else's write was cut short there.
bool EndsMidLine(int fd, off_t size) {
  if (size <= 0) return false;
  char last = '\n';
  ssize_t got;
  do {
    got = ::pread(fd, &last, 1, size - 1);
  } while (got < 0 && errno == EINTR);
  return got == 1 && last != '\n';
}

// One write per line, so a reader that runs meanwhile sees only whole lines. false with the
// reason on the first write that fails.
bool WriteLines(int fd, const std::vector<std::string>& lines, bool end_cut_line, std::string& reason) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string line = (i == 0 && end_cut_line ? "\n" : "") + lines[i] + "\n";
    size_t done = 0;
    while (done < line.size()) {
      ssize_t written = ::write(fd, line.data() + done, line.size() - done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        reason = std::strerror(written == 0 ? ENOSPC : errno);
        return false;
      }
      done += static_cast<size_t>(written);
    }
  }
  return true;
}

// The lock is held only for a few writes; a holder that keeps it for seconds is stalled (a stopped
// job), and the entry then goes in without it rather than holding the run for good.
bool LockBriefly(int fd) {
  for (int tries = 0; tries < 200; ++tries) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace

bool AppendToDiagnosticsLog(const std::vector<std::string>& lines, std::string& error) {
  std::string path = DiagnosticsLogPath();
  std::string folder = path.substr(0, path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/'));
  std::lock_guard<std::mutex> lock(log_mutex);
  if (!folder.empty() && get_filesystem()->CreateDirectories(folder) != 0) {
    error = "cannot create the log folder " + folder;
    return false;
  }
  int fd = OpenLogFile(path, error, true);
  if (fd < 0) {
    error = "cannot open " + error;
    return false;
  }
  // Engines of other processes append to the same log: theirs and ours, and a cut-back of ours,
  // never meet.
  const bool locked = LockBriefly(fd);
  struct stat before {};
  std::string reason;
  bool ok = ::fstat(fd, &before) == 0;
  if (!ok) {
    reason = std::strerror(errno);
  } else if (!WriteLines(fd, lines, EndsMidLine(fd, before.st_size), reason)) {
    ok = false;
    // A cut entry would glue the next run's first line onto its last one. Unlocked, the end may
    // already hold another writer's lines.
    if (locked && ::ftruncate(fd, before.st_size) != 0) {
      reason += std::string(", and the cut entry stays: ") + std::strerror(errno);
    }
  }
  if (::close(fd) != 0 && ok) {
    reason = std::strerror(errno);
    ok = false;
  }
  if (!ok) error = "cannot write " + path + ": " + reason;
  return ok;
}

}  // namespace detail
}  // namespace morva_service
