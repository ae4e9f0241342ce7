#include "cli/console_interrupt.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "cli/morva_stdio.h"
#include "cli/run_outcome.h"
#include "cli/startup.h"
#include "cli/thread_manager.h"
#include "cli/tool_cli.h"
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
// The watcher is started with the run, so that a run is never started without it, and looks
// only once asked to.
std::once_flag g_stall_watch;
int g_stall_watch_error = 0;
std::mutex g_watch_mutex;
std::condition_variable& g_watch_asked = *new std::condition_variable;  // the watcher outlives main
bool g_watching = false;

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
  {
    std::unique_lock<std::mutex> lock(g_watch_mutex);
    g_watch_asked.wait(lock, [] { return g_watching; });
  }
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

namespace {
int StartStallWatch() {
  std::call_once(g_stall_watch, [] {
    try {
      std::thread(WatchForStalledOutput).detach();
    } catch (const std::system_error& error) {
      g_stall_watch_error = error.code().value() != 0 ? error.code().value() : EAGAIN;
    }
  });
  return g_stall_watch_error;
}
}  // namespace

void WatchForAStalledReader() {
  std::lock_guard<std::mutex> lock(g_watch_mutex);
  g_watching = true;
  g_watch_asked.notify_all();
}

void AbortAsAsked() {
  WatchForAStalledReader();
  if (morva_service::MorvaService* service = CliService()) service->Abort();
  SetCliInterrupted();
}

void ResetInterrupts() {
  g_interrupted.store(false);
  g_ending.store(false);
}

int TakeInterrupts(ZerkaSignalHandler* handler) {
  if (!handler) return ENOSYS;
  if (const int error = StartStallWatch()) return error;
  g_interrupts_before.store(handler->Interrupts());
  g_counting.store(true);
  const int error = handler->Register(&OnConsoleInterrupt);
  // Interrupts counted from here on would reach nobody.
  if (error != 0) g_counting.store(false);
  return error;
}

void SetCliService(morva_service::MorvaService* service) {
  std::lock_guard<std::mutex> lock(g_service_mutex);
  g_service.store(service);
}

void NoteEnding() { g_ending.store(true); }

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
  // As for a stalled reader: the run was cancelled, a finding made before stays.
  if (g_ending.load())
    EndWithoutWaiting(nullptr, RunOutcome::Cancelled(RunOutcome::ResultsSoFar()));
  if (!NoteInterrupt()) return;  // one interrupt aborts once
  {
    std::lock_guard<std::mutex> lock(g_service_mutex);
    if (morva_service::MorvaService* service = g_service.load()) service->Abort();
  }
  // A device scan cannot be aborted; its waiter gives up instead.
  ThreadManager::WakeWaiters();
}
