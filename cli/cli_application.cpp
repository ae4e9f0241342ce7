#include "cli/cli_application.h"

#include <ctime>
#include <string>

#include "cli/console_interrupt.h"
#include "cli/thread_manager.h"

CliApplication::CliApplication(bool connect_service) : connected_(connect_service) {
  ResetInterrupts();
  signal_handler = get_signal_handler();
  // Without the interrupts no run may start: the engine is not even loaded.
  if (connected_) interrupt_error = TakeInterrupts(signal_handler);
  if (connected_ && interrupt_error == 0) {
    service_started_ = true;
    SetCliService(ThreadManager::Instance().service());
  }
  scan_record = std::make_unique<ScanRecord>();
  string_handler = get_string_handler();
  number_handler = get_number_handler();
  timer = get_timer();
  group_id = static_cast<int64_t>(std::time(nullptr));
  product_version = std::make_unique<morva_service::ProductVersion>(3, 2, 0, 4749);
}

CliApplication::~CliApplication() {
  delete sink;
  sink = nullptr;
  WatchOutput(-1);
  for (auto& entry : module_selections) delete entry.second;
  module_selections.clear();
  if (service_started_) {
    SetCliService(nullptr);
    ThreadManager& manager = ThreadManager::Instance();
    manager.Stop();  // gives the engine back
    manager.ReleaseSemaphores();
    // The signals stay with the host's callback until the program has ended: given back, a late
    // interrupt would kill the program by the signal.
  }
}

ModuleSelection* CliApplication::FindSelection(const std::string& name) const {
  for (const auto& entry : module_selections)
    if (entry.first == name) return entry.second;
  return nullptr;
}

namespace {
unsigned StatusSoFar(const CliApplication& app) {
  const unsigned status = app.outcome.Status();
  return CliInterrupted() ? RunOutcome::Cancelled(status) : status;
}
}  // namespace

unsigned ExitStatus(const CliApplication& app) {
  // Set before the look, so that an interrupt the look misses finds it set.
  NoteEnding();
  return StatusSoFar(app);
}

std::string FinalStatusLine(unsigned status) {
  return "\nCLI Execution status: " + std::to_string(status);
}

void WriteFinalStatus(CliApplication& app) {
  if (app.sink) app.sink->Print(FinalStatusLine(StatusSoFar(app)), false, false, false, false);
}
