// The service thread's listeners: they turn the engine's calls into events on the queue and
// wait at its gates.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "cli/run_event_queue.h"
#include "morva_service/morva_service.h"
#include "zerka/zerka.h"

class CliSuiteListener : public morva_service::SuiteListenerView {
 public:
  explicit CliSuiteListener(RunEventQueue* queue);

  bool SuiteStarted() override;
  void SuiteFinished() override;
  bool DiagnosticStarted(morva_service::DiagnosticView* diagnostic) override;
  void DiagnosticFinished() override;
  bool TestStarted(morva_service::TestView* test) override;
  void TestFinished(morva_service::TestStatus status) override;
  bool SystemComponentStarted() override;
  bool SystemComponentRunStarted(int run, morva_service::SystemComponentView* device) override;
  void SystemComponentFinished(std::string code) override;
  void SystemComponentRunFinished(std::string result) override;
  void Message(std::string text) override;

 private:
  uint32_t Now();

  RunEventQueue* queue_;
  ZerkaTimer* timer_;
  // Service-thread state: a start whose finish never came leaves its gate closed, so the next
  // start must not wait for it.
  bool diagnostic_open_ = false;
  bool test_open_ = false;
  uint32_t test_start_ = 0;
  uint32_t device_start_ = 0;
  std::atomic<uint32_t> suite_start_{0};
  std::atomic<uint32_t> suite_end_{0};
};

class CliTestListener : public morva_service::TestListenerView {
 public:
  void ProgressUpdated(int percent, std::string text) override;
  void Interact(::InputRequest* request) override;
  bool IsInteractive() override { return false; }
  int progress() override { return progress_value_.load(); }
  std::string message() override;
  void ClearMessage() override;
  void Reset() { progress_value_.store(-1); }

 private:
  std::atomic<int> progress_value_{-1};
  std::mutex message_mutex_;
  std::string message_text_;
};
