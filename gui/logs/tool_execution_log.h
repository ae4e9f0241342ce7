// The report of a tool run, filled by a tool's GUI plug-in while the tool runs and rendered by
// HtmlGenerator::ReadToolExecutionLog.
#pragma once

#include <QtGlobal>
#include <string>
#include <utility>
#include <vector>

#include "gui/logs/html_log_entry.h"

// Task name (translation key), (status, result text), messages.
typedef std::pair<std::string,
                  std::pair<std::pair<HtmlLogEntryStatus, std::string>, std::vector<std::string>>>
    ToolTaskResult_;

// Statuses of a report and of its blocks: 0 success, 1 failed, 2 not applicable, 3 aborted,
// 4 warning; any other value is shown as invalid.
struct ToolExecutionLogEntry_ {
  std::string name;  // local 8-bit text, translated for display
  int status = 0;
  std::vector<std::pair<std::string, std::string>> properties;  // shown as they are
  std::vector<ToolTaskResult_> task_results;
  std::string note;  // HTML, shown in a box of its own; the plug-in escapes what it puts in
  std::vector<ToolExecutionLogEntry_> children;  // shown indented below the block
  qint64 start_time = 0;  // seconds since 1970, shown before each task name
  qint64 end_time = 0;    // seconds since 1970, shown before each task message
};

struct ToolExecutionLog_ {
  int status = 0;
  std::string title;
  std::string subtitle;
  std::vector<ToolExecutionLogEntry_> entries;
};
