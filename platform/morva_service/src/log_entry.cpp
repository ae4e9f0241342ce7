#include "log_entry.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

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

bool AppendToDiagnosticsLog(const std::vector<std::string>& lines, std::string& error) {
  std::string path = DiagnosticsLogPath();
  std::string folder = path.substr(0, path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/'));
  std::lock_guard<std::mutex> lock(log_mutex);
  if (!folder.empty() && get_filesystem()->CreateDirectories(folder) != 0) {
    error = "cannot create the log folder " + folder;
    return false;
  }
  int fd = OpenLogFile(path, error);
  if (fd < 0) {
    error = "cannot open " + error;
    return false;
  }
  bool ok = true;
  // One write per line, so a reader that runs meanwhile sees only whole lines.
  for (const std::string& text : lines) {
    std::string line = text + "\n";
    size_t done = 0;
    while (done < line.size()) {
      ssize_t written = ::write(fd, line.data() + done, line.size() - done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        ok = false;
        break;
      }
      done += static_cast<size_t>(written);
    }
    if (!ok) break;
  }
  if (::close(fd) != 0 && ok) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    ok = false;
  }
  return ok;
}

}  // namespace detail
}  // namespace morva_service
