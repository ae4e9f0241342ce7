// What the tool's result codes mean on screen and in the report, and the builder that records a
// tool run as a report while the tool's notifications come in.
#pragma once

#include <string>
#include <vector>

#include "gui/logs/tool_execution_log.h"

// "SUCCESS", "FAILED", ...; "INVALID" for anything outside 0-5.
const char* MdrStatusWord(int row_status);
// "scan" -> "SCAN_BAD_SECTORS_LABEL", ...; "UNKNOWN_OPERATION" for anything else.
std::string OperationLabel(const std::string& operation);
// The graver of two row statuses; equal gravity keeps a.
int MergeStatus(int a, int b);

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
