// Records a tool run as a report while the tool's notifications come in.
#pragma once

#include <string>
#include <vector>

#include "gui/logs/tool_execution_log.h"

class ToolLogBuilder {
 public:
  ToolLogBuilder();
  ~ToolLogBuilder();
  ToolLogBuilder(const ToolLogBuilder&) = delete;
  ToolLogBuilder& operator=(const ToolLogBuilder&) = delete;

  void Reset();
  void PushEntry(const std::string& name);
  void AddTask(const std::string& label);
  void AddProperty(const std::string& name, const std::string& value);
  void SetResult(int code);
  void SetNote(const std::string& html);
  void PopEntry(int code);
  // Closes entries a broken run left open, then settles every status.
  void Finish();
  bool HasOpenEntry() const { return !open_.empty(); }
  ToolExecutionLog_* log() { return &log_; }

 private:
  ToolExecutionLogEntry_& Top();
  ToolTaskResult_& LastTask();

  ToolExecutionLog_ log_;
  std::vector<ToolExecutionLogEntry_> open_;
};
