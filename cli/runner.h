// The main-thread side of a diagnostics run: per module the run list of devices, diagnostics and
// tests, one suite per device on the service thread, and the printing of its events.
#pragma once

#include <atomic>

#include "cli/cli_application.h"
#include "cli/run_events.h"

void RunSelectedModules(CliApplication& app);
void BuildDeviceRunList(CliApplication& app, ModuleSelection& selection);
void RunDiagnostics(CliApplication& app, ModuleSelection& selection);

// Prints one device's events until the engine's Execute has returned. done is set (from any
// thread) when Execute is over; the matching kEventExecuteReturned ends the loop.
class DeviceRunPrinter {
 public:
  DeviceRunPrinter(CliApplication& app, ModuleSelection& selection, RunEventQueue& queue,
                   CliTestListener& test_listener, int run_test_count);
  void Run();

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
};
