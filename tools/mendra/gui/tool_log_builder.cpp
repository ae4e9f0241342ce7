#include "tools/mendra/gui/tool_log_builder.h"

#include <QDateTime>
#include <stdexcept>

#include "gui/logs/html_log_entry.h"
#include "gui/shell/kolv_lite_translator.h"
#include "tools/mendra/common/mdr_code_meaning.h"
#include "tools/mendra/common/mdr_result_codes.h"
#include "tools/mendra/gui/mdr_report_terms.h"

namespace {

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
