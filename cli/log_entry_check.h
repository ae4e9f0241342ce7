// The engine appends each device run's entry to the diagnostics log and tells nobody when it cannot
// (a full disk, a file-size limit): the host looks whether the log grew by the run's whole entry.
#pragma once

#include <cstdint>
#include <string>

class LogEntryCheck {
 public:
  // Notes where the log ends now, before the run.
  LogEntryCheck();
  // True when the log grew since by a whole entry of group: its header, and its closing line.
  bool EntryWritten(int64_t group) const;

 private:
  std::string path_;
  int64_t size_ = 0;
};
