#pragma once

#include <string>
#include <utility>
#include <vector>

#include "catalogue.h"
#include "log_entry.h"
#include "support.h"

namespace morva_service {
namespace detail {

// One test's lines of the log entry, and the messages it logged for the device's summary.
class TestRecord {
 public:
  TestRecord(LogEntry& entry, std::vector<MessageSpec>& logged, std::string name)
      : entry_(entry), logged_(logged), name_(std::move(name)) {}

  void Start() { entry_.StartTest(name_, WallSeconds()); }
  void Log(const MessageSpec& message) {
    entry_.AddMessage(WallSeconds(), message);
    logged_.push_back(message);
  }
  TestStatus Finish(TestStatus status, double seconds) {
    entry_.StopTest(name_, status, seconds, WallSeconds());
    return status;
  }

 private:
  LogEntry& entry_;
  std::vector<MessageSpec>& logged_;
  const std::string name_;
};

}  // namespace detail
}  // namespace morva_service
