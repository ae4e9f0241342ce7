#pragma once

#include <cstdint>

#include "cli/cli_application.h"
#include "cli/cli_listeners.h"
#include "cli/run_event_queue.h"

// Prints one device's events until the engine's Execute has returned. done is set (from any
// thread) when Execute is over; the matching kEventExecuteReturned ends the loop.
class DeviceRunPrinter {
 public:
  DeviceRunPrinter(CliApplication& app, ModuleSelection& selection, RunEventQueue& queue,
                   CliTestListener& test_listener, int run_test_count);
  void Run();
  int tests_finished() const { return tests_finished_; }

 private:
  bool Handle(const RunEvent& event);
  void FollowTest(uint32_t start_tick);
  void PollAbort();
  double Since(uint32_t tick);

  CliApplication& app_;
  ModuleSelection& selection_;
  RunEventQueue& queue_;
  CliTestListener& test_listener_;
  int test_share_;  // percent per finished test
  int suite_progress_ = 0;
  bool device_failed_ = false;
  uint32_t suite_start_ = 0;
  int tests_finished_ = 0;
};
