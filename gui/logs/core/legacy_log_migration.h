// Moves the diagnostics logs of earlier installations, kept in a folder at the root of the
// system drive, behind the current logs. Both programs call it once at start, after taking the
// single-instance lock; it shows and reports nothing.
#pragma once

#include <string>

// Appends the old main and error logs to the current ones, removes each old file once its copy
// is complete and on disk, and removes the old folder when that leaves it empty. A log whose
// copy fails, or that cannot be removed, stays where it is, and the current log is left as it
// was; so is a copy that a stopped start left behind, at the next start.
void MigrateLegacyLogs();

enum class LogAppendResult {
  kNoSource,  // the source does not exist; nothing was written
  kAppended,  // the whole source is behind the destination's content, flushed to disk
  kFailed,    // nothing was added to the destination
};

// Appends the whole source file behind the destination's content, byte for byte, creating the
// destination in an existing folder. Lines are never glued together: a line end is added before
// the copy when the destination ends mid-line, and after it when the source does. Refuses to
// append a file to itself, does not follow a symbolic link as source, and reads and writes only
// regular files: a FIFO or a device in either place fails at once, without waiting.
LogAppendResult AppendLog(const std::string& destination, const std::string& source);
