#include "tools/mendra/gui/mdr_tool_log.h"

#include <QDateTime>
#include <stdexcept>

#include "gui/logs/html_log_entry.h"
#include "gui/shell/kolv_lite_translator.h"
#include "tools/mendra/common/mdr_code_meaning.h"

// The tool's outcomes are row statuses as they are.
static_assert(int{kMdrOutcomeSuccess} == LOG_ENTRY_SUCCESS &&
              int{kMdrOutcomeFailed} == LOG_ENTRY_FAILED &&
              int{kMdrOutcomeNotApplicable} == LOG_ENTRY_NOT_APPLICABLE &&
              int{kMdrOutcomeAborted} == LOG_ENTRY_ABORTED &&
              int{kMdrOutcomeWarning} == LOG_ENTRY_WARNING &&
              int{kMdrOutcomeInvalid} == LOG_ENTRY_INVALID);

namespace {

const char* const kStatusWords[] = {"SUCCESS", "FAILED", "NOT_APPLICABLE",
                                    "ABORTED", "WARNING", "INVALID"};

// Gravity of a row status; 0 for values outside the numbering.
int Gravity(int status) {
  switch (status) {
    case LOG_ENTRY_NOT_APPLICABLE: return 1;
    case LOG_ENTRY_SUCCESS: return 2;
    case LOG_ENTRY_WARNING: return 3;
    case LOG_ENTRY_FAILED: return 4;
    case LOG_ENTRY_ABORTED: return 5;
    case LOG_ENTRY_INVALID: return 6;
    default: return 0;
  }
}

qint64 Now() { return QDateTime::currentSecsSinceEpoch(); }

void Settle(ToolExecutionLogEntry_& entry) {
  int status = MergeStatus(LOG_ENTRY_NOT_APPLICABLE, entry.status);
  for (const ToolTaskResult_& task : entry.task_results) status = MergeStatus(status, task.second.first.first);
  for (ToolExecutionLogEntry_& child : entry.children) {
    Settle(child);
    status = MergeStatus(status, child.status);
  }
  entry.status = status;
}

}  // namespace

const char* MdrStatusWord(int row_status) {
  if (row_status < 0 || row_status > 5) return "INVALID";
  return kStatusWords[row_status];
}

std::string OperationLabel(const std::string& operation) {
  if (operation == "scan") return "SCAN_BAD_SECTORS_LABEL";
  if (operation == "repair") return "SCAN_AND_REPAIR_BAD_SECTORS_LABEL";
  if (operation == "filesystem") return "FILESYSTEM_REPAIR_LABEL";
  return "UNKNOWN_OPERATION";
}

int MergeStatus(int a, int b) { return Gravity(b) > Gravity(a) ? b : a; }

ToolLogBuilder::ToolLogBuilder() = default;
ToolLogBuilder::~ToolLogBuilder() = default;

void ToolLogBuilder::Reset() {
  log_ = ToolExecutionLog_();
  open_.clear();
}

void ToolLogBuilder::PushEntry(const std::string& name) {
  ToolExecutionLogEntry_ entry;
  entry.name = name;
  open_.push_back(std::move(entry));
}

ToolExecutionLogEntry_& ToolLogBuilder::Top() {
  if (open_.empty()) throw std::out_of_range("no open tool log entry");
  return open_.back();
}

ToolTaskResult_& ToolLogBuilder::LastTask() {
  ToolExecutionLogEntry_& top = Top();
  if (top.task_results.empty()) throw std::out_of_range("tool log entry without a task");
  return top.task_results.back();
}

void ToolLogBuilder::AddTask(const std::string& label) {
  ToolExecutionLogEntry_& top = Top();
  top.start_time = Now();
  ToolTaskResult_ task;
  task.first = label;
  task.second.first.first = LOG_ENTRY_SUCCESS;
  top.task_results.push_back(std::move(task));
}

void ToolLogBuilder::AddProperty(const std::string& name, const std::string& value) {
  Top().properties.emplace_back(name, value);
}

void ToolLogBuilder::SetResult(int code) {
  ToolTaskResult_& task = LastTask();
  Top().end_time = Now();
  const MdrCodeMeaning meaning = MdrMeaningOf(code);
  task.second.first.first = static_cast<HtmlLogEntryStatus>(meaning.row_status);
  task.second.first.second = MdrStatusWord(meaning.row_status);
  if (meaning.message_key[0] != '\0') {
    task.second.second.push_back(KolvLiteTranslate("MESSAGE_").toStdString() + ": " +
                                 meaning.result_key);
  }
}

void ToolLogBuilder::SetNote(const std::string& html) { Top().note = html; }

void ToolLogBuilder::PopEntry(int code) {
  ToolExecutionLogEntry_ entry = std::move(Top());
  open_.pop_back();
  entry.status = MdrMeaningOf(code).row_status;
  if (open_.empty()) {
    log_.entries.push_back(std::move(entry));
  } else {
    open_.back().children.push_back(std::move(entry));
  }
}

void ToolLogBuilder::Finish() {
  // A run cut short leaves entries open; they still belong in the report.
  while (!open_.empty()) PopEntry(kMdrUnknownCode);
  int status = LOG_ENTRY_NOT_APPLICABLE;
  for (ToolExecutionLogEntry_& entry : log_.entries) {
    Settle(entry);
    status = MergeStatus(status, entry.status);
  }
  log_.status = status;
  log_.title.clear();
  log_.subtitle.clear();
}
