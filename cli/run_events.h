// The service thread's listeners and the queue that carries their events to the main thread,
// which alone prints. Gates keep the service from starting the next diagnostic or test before
// the main thread has shown the previous one.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "morva_service/morva_service.h"
#include "zerka/zerka.h"

enum RunEventKind : uint32_t {
  kEventSuiteStarted = 1,
  kEventDeviceStarted = 2,
  kEventDiagnosticStarted = 3,
  kEventTestStarted = 4,
  kEventTestRunning = 5,
  kEventTestFinished = 6,
  kEventDiagnosticFinished = 7,
  kEventDeviceFinished = 8,
  kEventSuiteFinished = 9,
  kEventExecuteReturned = 100,  // the engine's Execute is over, whatever it reported before
};

struct RunEvent {
  uint32_t kind = 0;
  std::string text;                           // diagnostic or test name, device result text
  morva_service::ItemIdentifier identifier;   // test identifier
  uint32_t status = 0;                        // test status
  uint32_t start_tick = 0;
  uint32_t end_tick = 0;
};

// A binary semaphore that can be opened for good, so nobody waits after a run is over.
class Gate {
 public:
  explicit Gate(bool open) : count_(open ? 1 : 0) {}
  void Wait();
  void Post();
  void OpenForGood();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_;
  bool always_open_ = false;
};

class RunEventQueue {
 public:
  RunEventQueue() : diagnostic_ack(false), diagnostic_gate(true), test_gate(true) {}
  void Push(RunEvent event);
  bool IsEmpty();
  size_t Size();
  // Waits at most milliseconds for the queue to hold more than `more_than` events, or until Wake;
  // true when it holds them.
  bool WaitForMore(size_t more_than, uint32_t milliseconds);
  // Ends the current (or next) WaitForMore early, from any thread.
  void Wake();
  // Copy of the first event; false when empty.
  bool Peek(RunEvent& event);
  void Pop();
  // Lets every gate through from now on.
  void Close();

  Gate diagnostic_ack;
  Gate diagnostic_gate;
  Gate test_gate;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<RunEvent> events_;
  bool woken_ = false;
};

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

  uint32_t suite_start() const { return suite_start_.load(); }
  uint32_t suite_end() const { return suite_end_.load(); }

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
