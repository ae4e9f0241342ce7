// One entry of the diagnostics log, built while a suite runs and written in one go after it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue.h"

namespace morva_service {
namespace detail {

class LogEntry {
 public:
  LogEntry(const std::string& module_name, int64_t start_seconds, int64_t group, const DeviceSpec& device);

  void StartTest(const std::string& test_name, int64_t when);
  void AddMessage(int64_t when, const MessageSpec& message);
  void StopTest(const std::string& test_name, TestStatus status, double seconds, int64_t when);
  // Closes the tests block with the device's result code and the entry.
  void Finish(const std::string& result_code);

  int test_count() const { return test_count_; }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::string module_name_;
  std::vector<std::string> lines_;
  int test_count_ = 0;
};

// The word the log uses for a test status.
const char* LogResultWord(TestStatus status);

// Where the engine keeps its diagnostics log on this machine.
std::string DiagnosticsLogPath();

// Appends the lines to the diagnostics log, creating its folder. Entries written from several
// threads never interleave. false with a reason on failure.
bool AppendToDiagnosticsLog(const std::vector<std::string>& lines, std::string& error);

}  // namespace detail
}  // namespace morva_service
