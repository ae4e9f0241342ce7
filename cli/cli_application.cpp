#include "cli/cli_application.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "cli/exit_status.h"
#include "cli/morva_stdio.h"
#include "cli/startup.h"
#include "cli/thread_manager.h"
#include "kolv_os/os.h"

namespace {
// The interrupt callback aborts through g_service while holding g_service_mutex, and the
// pointer is cleared under it before the engine is given back: it never reaches a freed engine.
std::mutex g_service_mutex;
std::atomic<morva_service::MorvaService*> g_service{nullptr};
std::atomic<bool> g_interrupted{false};
// The platform counts interrupts as they are taken; those past this count came after the host
// took the signals, whether or not a callback has seen them yet.
std::atomic<bool> g_counting{false};
std::atomic<unsigned long> g_interrupts_before{0};
// The exit status was read out: an interrupt now can only end the program.
std::atomic<bool> g_ending{false};
std::atomic<int> g_output{-1};
std::once_flag g_stall_watch;

// After an interrupt or an abort request, a reader that takes nothing for this long has stopped:
// the program ends without it. One that takes anything, however slowly, gets the rest of the run.
constexpr auto kStallGrace = std::chrono::milliseconds(2000);
constexpr auto kStallLook = std::chrono::milliseconds(20);

// The main thread waits, or is about to wait, in a write that never ends. Nothing here may touch
// that stream or its lock: a line on standard error when it takes one at once, then the end
// without the flushing of the exit handlers (the terminal is still given back).
[[noreturn]] void EndWithStalledOutput() {
  const std::string line =
      MorvaStdio::KeyToText("[|WARNING]_OUTPUT_LOST", false, false, true) + ": " +
      MorvaStdio::KeyToText("THE_READER_TAKES_NO_MORE_OUTPUT", false, false, true) + "\n";
  if (!kolv_os::WriteWouldWait(STDERR_FILENO))
    (void)!write(STDERR_FILENO, line.data(), line.size());
  // The run was cancelled; a finding made before stays.
  std::quick_exit(static_cast<int>(RunOutcome::Cancelled(RunOutcome::ResultsSoFar())));
}

// Looks at the watched output until the program ends. Stalled only when every look of the grace
// period found no room and nothing taken: the bytes waiting in the pipe and the sinks' progress
// both stood still. Counting the looks too keeps a watcher that was itself held up from judging
// on one look.
void WatchForStalledOutput() {
  constexpr long kLooks = kStallGrace / kStallLook;
  long unread = -2;
  uint64_t progress = 0;
  long still_looks = 0;
  auto still_since = std::chrono::steady_clock::now();
  for (;;) {
    std::this_thread::sleep_for(kStallLook);
    const int fd = g_output.load();
    const long now_unread = kolv_os::UnreadOutput(fd);
    const uint64_t now_progress = MorvaStdio::OutputProgress();
    const auto now = std::chrono::steady_clock::now();
    if (!kolv_os::WriteWouldWait(fd) || now_unread != unread || now_progress != progress) {
      still_looks = 0;
      still_since = now;
    } else if (++still_looks >= kLooks && now - still_since >= kStallGrace) {
      EndWithStalledOutput();
    }
    unread = now_unread;
    progress = now_progress;
  }
}

// True for the first interrupt. Never waits: the abort must not wait for the reader, nor hold up
// later interrupts.
bool NoteInterrupt() {
  WatchForAStalledReader();
  return !g_interrupted.exchange(true);
}
}  // namespace

void WatchForAStalledReader() {
  std::call_once(g_stall_watch, [] {
    try {
      std::thread(WatchForStalledOutput).detach();
    } catch (const std::system_error&) {
      // No thread to spare: the program waits for its reader, as it did before any interrupt.
    }
  });
}

void UniqueTextList::Add(const std::string& text) {
  for (const std::string& item : items_)
    if (item == text) return;
  items_.push_back(text);
}

std::string UniqueTextList::Joined(const std::string& separator) const {
  std::string text;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (i) text += separator;
    text += items_[i];
  }
  return text;
}

CliApplication::CliApplication(bool connect_service) : connected_(connect_service) {
  g_interrupted.store(false);
  g_ending.store(false);
  signal_handler = get_signal_handler();
  if (connected_) {
    if (signal_handler) {
      g_interrupts_before.store(signal_handler->Interrupts());
      g_counting.store(true);
      signal_handler->Register(&OnConsoleInterrupt);
    }
    morva_service::MorvaService* service = ThreadManager::Instance().service();
    std::lock_guard<std::mutex> lock(g_service_mutex);
    g_service.store(service);
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
  if (connected_) {
    {
      std::lock_guard<std::mutex> lock(g_service_mutex);
      g_service.store(nullptr);
    }
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

unsigned ExitStatus(const CliApplication& app) {
  // Set before the look, so that an interrupt the look misses finds it set.
  g_ending.store(true);
  const unsigned status = app.outcome.Status();
  return CliInterrupted() ? RunOutcome::Cancelled(status) : status;
}

void WriteFinalStatus(CliApplication& app) {
  if (app.sink)
    app.sink->Print("\nCLI Execution status: " + std::to_string(app.outcome.Status()), false, false,
                    false, false);
}

morva_service::MorvaService* CliService() { return g_service.load(); }
bool CliInterrupted() {
  if (g_interrupted.load()) return true;
  if (!g_counting.load()) return false;
  ZerkaSignalHandler* handler = get_signal_handler();
  return handler != nullptr && handler->Interrupts() > g_interrupts_before.load();
}
void SetCliInterrupted() { g_interrupted.store(true); }

void WatchOutput(int fd) { g_output.store(fd); }

void ToolInterrupted() { NoteInterrupt(); }

void OnConsoleInterrupt(int /*signal_number*/) {
  if (g_ending.load()) EndWithoutWaiting(nullptr, kolv_exit::kTestCancelled);
  if (!NoteInterrupt()) return;  // one interrupt aborts once
  {
    std::lock_guard<std::mutex> lock(g_service_mutex);
    if (morva_service::MorvaService* service = g_service.load()) service->Abort();
  }
  // A device scan cannot be aborted; its waiter gives up instead.
  ThreadManager::WakeWaiters();
}
