// The bad-sector tool on the console: reads its own options, prints what was asked, and runs a
// scan or a scan-and-repair on a worker thread while this thread prints the tool's events and
// watches for Escape.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "cli/run_outcome.h"
#include "cli/tool_cli.h"
#include "tools/mendra/cli/cli_event_queue.h"
#include "tools/mendra/cli/cli_option_parser.h"
#include "tools/mendra/cli/console_display.h"
#include "tools/mendra/cli/mdr_cli_events.h"
#include "tools/mendra/cli/mdr_cli_listener.h"
#include "tools/mendra/common/mdr_utils.h"
#include "zerka/zerka.h"

class MdrCli : public ToolCli, private MdrCliEventContext {
 public:
  MdrCli(morva_service::ModuleInterfaceView* module, morva_service::ToolView* tool);
  ~MdrCli() override;
  MdrCli(const MdrCli&) = delete;
  MdrCli& operator=(const MdrCli&) = delete;

  // The exit status of kolv_cli: 0 only when the tool did what was asked without findings.
  // An interrupt at any moment since the host took the signals makes it at least cancelled.
  int Run(int argc, char** argv) override;
  // Runs the operation on the devices chosen by SelectDevices.
  int Execute() override;

  // Names the devices to be repaired and asks y/n: 0 only for yes, else the exit status. Reads
  // keys from a terminal, else bytes from standard input (end of input: no). Ctrl-C or SIGTERM
  // ends the question at once, as a no.
  int ConfirmOperation();

 private:
  ConsoleDisplay& display() override { return *display_; }
  void DeviceStarted() override;
  unsigned long SecondsSinceDeviceStart() override;
  void ResultReported(int code, bool whole_device) override;

  static int SpinnerThread(void* self);
  static int ToolRunThread(void* self);
  static void OnConsoleSignal(int signal_number);
  int RunSteps(int argc, char** argv);
  // The module's device scan failed (scan_result_ has its result).
  static constexpr int kReadScanFailed = 3;
  // The options, then the device scan and the targets when the options need devices: 0, 1 when
  // errors were recorded, or kReadScanFailed.
  int ReadCommandLine(int argc, char** argv);
  // The scan or the repair the options asked for, if any, once the question was answered.
  int RunOperation();
  // Also when the interrupt's callback has not run yet.
  bool Interrupted() const { return signal_abort_ || CliInterrupted(); }
  // Fills the model's device list from the parsed targets (every applicable device without
  // target words); false when it stays empty.
  bool SelectDevices();
  // Reads one answer key without blocking; kNoKey when none.
  int ReadAnswerKey(bool terminal);

  morva_service::ModuleInterfaceView* module_;
  morva_service::ToolView* tool_;
  morva_service::MorvaService* service_;
  std::unique_ptr<MdrUtils> model_;
  ZerkaConsole* console_;
  CliEventQueue queue_;
  std::unique_ptr<MdrCliListener> listener_;
  std::unique_ptr<ConsoleDisplay> display_;
  std::unique_ptr<CliOptionParser> parser_;

  std::vector<std::string> errors_;
  std::vector<std::string> warnings_;
  PartitionSelection selection_;
  bool bootable_ = false;
  int flags_ = 0;
  int scan_result_ = 0;

  uint32_t device_start_tick_ = 0;
  bool device_running_ = false;
  // The devices' results, weighed as the host weighs its own; a finding made before an
  // interrupt also decides how the host ends when the reader stops taking output.
  RunOutcome outcome_;
  // Devices the tool reported on.
  size_t results_ = 0;
  bool abort_asked_ = false;
  // The engine threw on the worker thread.
  bool engine_failed_ = false;
  std::vector<morva_service::SystemComponentView*> selected_;

  std::atomic<bool> spinning_{false};
  std::atomic<bool> scanning_{false};
  std::atomic<bool> running_{false};
  std::atomic<bool> signal_abort_{false};
  // The engine is told of an interrupt only while the run is on (guarded by the interrupt's
  // lock in mdr_cli.cpp).
  bool tool_started_ = false;
  // The interrupts reach OnConsoleSignal: without them the tool does not run.
  bool signals_taken_ = false;
};
