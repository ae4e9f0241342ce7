#include "cli/cli_listeners.h"

#include <utility>

CliSuiteListener::CliSuiteListener(RunEventQueue* queue) : queue_(queue), timer_(get_timer()) {}

uint32_t CliSuiteListener::Now() { return timer_ ? timer_->Tick() : 0; }

bool CliSuiteListener::SuiteStarted() {
  diagnostic_open_ = false;
  test_open_ = false;
  const uint32_t now = Now();
  suite_start_.store(now);
  suite_end_.store(now);
  RunEvent event;
  event.kind = kEventSuiteStarted;
  event.start_tick = now;
  queue_->Push(event);
  return true;
}

void CliSuiteListener::SuiteFinished() {
  suite_end_.store(Now());
  RunEvent event;
  event.kind = kEventSuiteFinished;
  event.start_tick = suite_start_.load();
  event.end_tick = suite_end_.load();
  queue_->Push(event);
}

bool CliSuiteListener::DiagnosticStarted(morva_service::DiagnosticView* diagnostic) {
  if (!diagnostic_open_) queue_->diagnostic_gate.Wait();
  diagnostic_open_ = true;
  if (!diagnostic) return false;
  RunEvent event;
  event.kind = kEventDiagnosticStarted;
  event.text = diagnostic->name();
  queue_->Push(event);
  queue_->diagnostic_ack.Wait();
  return true;
}

void CliSuiteListener::DiagnosticFinished() {
  diagnostic_open_ = false;
  RunEvent event;
  event.kind = kEventDiagnosticFinished;
  queue_->Push(event);
}

bool CliSuiteListener::TestStarted(morva_service::TestView* test) {
  if (!test_open_) queue_->test_gate.Wait();
  test_open_ = true;
  if (!test) return false;
  test_start_ = Now();
  RunEvent started;
  started.kind = kEventTestStarted;
  started.text = test->name();
  started.identifier = test->identifier();
  started.start_tick = test_start_;
  queue_->Push(started);
  RunEvent running;
  running.kind = kEventTestRunning;
  running.start_tick = test_start_;
  queue_->Push(running);
  return true;
}

void CliSuiteListener::TestFinished(morva_service::TestStatus status) {
  test_open_ = false;
  RunEvent event;
  event.kind = kEventTestFinished;
  event.status = static_cast<uint32_t>(status);
  event.start_tick = test_start_;
  event.end_tick = Now();
  queue_->Push(event);
}

bool CliSuiteListener::SystemComponentStarted() { return true; }

bool CliSuiteListener::SystemComponentRunStarted(int, morva_service::SystemComponentView* device) {
  if (!device) return false;
  device_start_ = Now();
  RunEvent event;
  event.kind = kEventDeviceStarted;
  event.text = device->id();
  queue_->Push(event);
  return true;
}

void CliSuiteListener::SystemComponentFinished(std::string) {}

void CliSuiteListener::SystemComponentRunFinished(std::string result) {
  RunEvent event;
  event.kind = kEventDeviceFinished;
  event.text = std::move(result);
  event.start_tick = device_start_;
  event.end_tick = Now();
  queue_->Push(event);
}

void CliSuiteListener::Message(std::string) {}

void CliTestListener::ProgressUpdated(int percent, std::string text) {
  progress_value_.store(percent);
  if (text.empty()) return;
  std::lock_guard<std::mutex> lock(message_mutex_);
  message_text_ = std::move(text);
}

void CliTestListener::Interact(::InputRequest* request) {
  if (request) request->answer = ::InputRequest::kNoAnswer;
}

std::string CliTestListener::message() {
  std::lock_guard<std::mutex> lock(message_mutex_);
  return message_text_;
}

void CliTestListener::ClearMessage() {
  std::lock_guard<std::mutex> lock(message_mutex_);
  message_text_.clear();
}
