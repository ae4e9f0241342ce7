#include "cli/console_interrupt.h"

#include <fcntl.h>
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

// Looks at the output for a reader that stopped taking it. The watcher is started with the run,
// so that a run is never started without it, and looks only once asked to.
class StallWatch {
 public:
  // 0, or the error (an errno value) that kept the watcher from starting.
  int Start() {
    std::call_once(started_, [this] {
      // The watcher's own descriptor is taken now: naming the output then never needs a new
      // one, which at the descriptor limit would leave a stalled reader unseen.
      slot_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
      if (slot_ < 0) {
        start_error_ = errno;
        return;
      }
      try {
        std::thread([this] { Run(); }).detach();
      } catch (const std::system_error& error) {
        start_error_ = error.code().value() != 0 ? error.code().value() : EAGAIN;
      }
    });
    return start_error_;
  }
  void Ask() {
    std::lock_guard<std::mutex> lock(mutex_);
    watching_ = true;
    asked_.notify_all();
  }
  // The descriptor the output sink writes to; -1: none. The watcher looks through its own
  // descriptor, pointed at the sink's file, so that a sink closing its file never leaves the
  // watcher on a number that a later open takes over. At -1 it lets go of the file.
  void SetOutput(int fd) {
    std::lock_guard<std::mutex> lock(output_mutex_);
    if (slot_ < 0) return;
    watched_ = fd >= 0 && dup3(fd, slot_, O_CLOEXEC) == slot_;
    if (!watched_) (void)dup3(STDERR_FILENO, slot_, O_CLOEXEC);
  }

 private:
  // Looks at the output until the program ends. Stalled only when every look of the grace
  // period found no room and nothing taken: the bytes waiting in the pipe and the sinks'
  // progress both stood still. Counting the looks too keeps a watcher that was itself held up
  // from judging on one look.
  void Run() {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      asked_.wait(lock, [this] { return watching_; });
    }
    constexpr long kLooks = kStallGrace / kStallLook;
    long unread = -2;
    uint64_t progress = 0;
    long still_looks = 0;
    auto still_since = std::chrono::steady_clock::now();
    for (;;) {
      std::this_thread::sleep_for(kStallLook);
      std::lock_guard<std::mutex> lock(output_mutex_);
      const int output = watched_ ? slot_ : -1;
      const long now_unread = kolv_os::UnreadOutput(output);
      const uint64_t now_progress = MorvaStdio::OutputProgress();
      const auto now = std::chrono::steady_clock::now();
      if (!kolv_os::WriteWouldWait(output) || now_unread != unread || now_progress != progress) {
        still_looks = 0;
        still_since = now;
      } else if (++still_looks >= kLooks && now - still_since >= kStallGrace) {
        EndWithStalledOutput();
      }
      unread = now_unread;
      progress = now_progress;
    }
  }

  std::once_flag started_;
  int start_error_ = 0;
  std::mutex mutex_;
  std::condition_variable asked_;
  bool watching_ = false;
  // Held while looking; the looks never wait.
  std::mutex output_mutex_;
  int slot_ = -1;  // set once, before the thread starts
  bool watched_ = false;
};

// What the interrupt callback, the runner and the sinks share, whichever thread they run on.
struct InterruptState {
  // The callback aborts through service while holding service_mutex, and the pointer is cleared
  // under it before the engine is given back: it never reaches a freed engine.
  std::mutex service_mutex;
  std::atomic<morva_service::MorvaService*> service{nullptr};
  std::atomic<bool> interrupted{false};
  // The platform counts interrupts as they are taken; those past this count came after the host
  // took the signals, whether or not a callback has seen them yet. kNotCounting: not taken.
  static constexpr unsigned long kNotCounting = ~0UL;
  std::atomic<unsigned long> counted_from{kNotCounting};
  // The exit status was read out: an interrupt now can only end the program.
  std::atomic<bool> ending{false};
  StallWatch stall_watch;
};
// Never destroyed: the watcher outlives main.
InterruptState& g_state = *new InterruptState;

// True for the first interrupt. Never waits: the abort must not wait for the reader, nor hold up
// later interrupts.
bool NoteInterrupt() {
  WatchForAStalledReader();
  return !g_state.interrupted.exchange(true);
}
}  // namespace

void WatchForAStalledReader() { g_state.stall_watch.Ask(); }

void AbortAsAsked() {
  WatchForAStalledReader();
  if (morva_service::MorvaService* service = CliService()) service->Abort();
  SetCliInterrupted();
}

void ResetInterrupts() {
  g_state.interrupted.store(false);
  g_state.ending.store(false);
}

int TakeInterrupts(ZerkaSignalHandler* handler) {
  if (!handler) return ENOSYS;
  if (const int error = g_state.stall_watch.Start()) return error;
  g_state.counted_from.store(handler->Interrupts());
  const int error = handler->Register(&OnConsoleInterrupt);
  // Interrupts counted from here on would reach nobody.
  if (error != 0) g_state.counted_from.store(InterruptState::kNotCounting);
  return error;
}

void SetCliService(morva_service::MorvaService* service) {
  std::lock_guard<std::mutex> lock(g_state.service_mutex);
  g_state.service.store(service);
}

void NoteEnding() { g_state.ending.store(true); }

morva_service::MorvaService* CliService() { return g_state.service.load(); }
bool CliInterrupted() {
  if (g_state.interrupted.load()) return true;
  const unsigned long counted_from = g_state.counted_from.load();
  if (counted_from == InterruptState::kNotCounting) return false;
  ZerkaSignalHandler* handler = get_signal_handler();
  return handler != nullptr && handler->Interrupts() > counted_from;
}
void SetCliInterrupted() { g_state.interrupted.store(true); }

void WatchOutput(int fd) { g_state.stall_watch.SetOutput(fd); }

void ToolInterrupted() { NoteInterrupt(); }

void OnConsoleInterrupt(int /*signal_number*/) {
  // As for a stalled reader: the run was cancelled, a finding made before stays.
  if (g_state.ending.load())
    EndWithoutWaiting(nullptr, RunOutcome::Cancelled(RunOutcome::ResultsSoFar()));
  if (!NoteInterrupt()) return;  // one interrupt aborts once
  {
    std::lock_guard<std::mutex> lock(g_state.service_mutex);
    if (morva_service::MorvaService* service = g_state.service.load()) service->Abort();
  }
  // A device scan cannot be aborted; its waiter gives up instead.
  ThreadManager::WakeWaiters();
}
