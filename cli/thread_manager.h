// The one thread that makes every blocking call into the diagnostics service: it obtains the
// service, loads the modules, scans devices and runs suites, one command at a time in posting
// order. The main thread posts and stays free to print.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "cli/cli_application.h"
#include "morva_service/morva_service.h"
#include "zerka/zerka.h"

class ThreadManager {
 public:
  // The process-wide instance; its thread is started on the first call (and again after Stop).
  static ThreadManager& Instance();
  // Wakes every wait of the instance so that it looks at the interrupt flag; starts nothing.
  static void WakeWaiters();

  // Waits until the thread has tried to obtain the service; null when it could not.
  morva_service::MorvaService* service();
  // What LoadModules returned; null when the service or its modules did not load.
  std::vector<ModuleInterfaceView*>* loaded_modules();

  void SetModule(ModuleInterfaceView* module);
  void SetGroupId(int64_t group_id);
  // Scans the module set with SetModule; the record's done flag is set when it is over.
  void PostScan(ScanRecord* record);
  // Waits at most milliseconds for the scan of record to end or for an interrupt; true when
  // either came.
  bool WaitForScan(ScanRecord* record, uint32_t milliseconds);
  // Runs one device's suite with the two listeners set; on_done is called on the service thread
  // when Execute returned, whatever the engine reported before, with false when the suite could
  // not run (the engine failed, or nobody was there to run it).
  void PostRun(ModuleInterfaceView* module, SystemComponentView* device,
               std::vector<morva_service::DiagnosticRun> diagnostics,
               std::function<void(bool)> on_done, morva_service::SuiteListenerView* suite_listener,
               morva_service::TestListenerView* test_listener);
  // Ends the thread after the command in progress and waits for it.
  void Stop();
  // Wakes anyone still waiting; nothing is left to wait for afterwards.
  void ReleaseSemaphores();

  // Test seam: called on the service thread right after it gave the engine back.
  static void (*after_engine_release)();

 private:
  struct Command {
    enum Kind { kScan, kRun } kind = kScan;
    ScanRecord* record = nullptr;
    ModuleInterfaceView* module = nullptr;
    SystemComponentView* device = nullptr;
    std::vector<morva_service::DiagnosticRun> diagnostics;
    std::function<void(bool)> on_done;
    morva_service::SuiteListenerView* suite_listener = nullptr;
    morva_service::TestListenerView* test_listener = nullptr;
  };
  enum class State { kStopped, kStarting, kReady, kStopping };

  ThreadManager() = default;
  static ThreadManager& Storage();
  void StartLocked(std::unique_lock<std::mutex>& lock);
  static int Procedure(void* argument);
  int Loop();
  // The engine's calls; an exception from it is the call's failure, never the program's end.
  static uint64_t Scan(ModuleInterfaceView* module);
  static bool Run(morva_service::MorvaService* service, Command& command, int64_t group);

  std::mutex mutex_;
  std::condition_variable changed_;
  State state_ = State::kStopped;
  ZerkaThreadHandle handle_ = nullptr;
  bool thread_running_ = false;
  std::deque<Command> commands_;
  morva_service::MorvaService* service_ = nullptr;
  std::vector<ModuleInterfaceView*>* modules_ = nullptr;
  ModuleInterfaceView* current_module_ = nullptr;
  int64_t group_id_ = 0;
};
