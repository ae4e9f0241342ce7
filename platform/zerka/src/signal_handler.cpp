#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <future>
#include <mutex>
#include <vector>

#include "platform/zerka/src/terminal.h"
#include "zerka/zerka_signal_handler.h"

namespace {

// Ctrl-C, a termination request, and the terminal closing under the program.
const int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kInterruptCount = sizeof kInterrupts / sizeof kInterrupts[0];

std::mutex mutex;
// The latest Register's callback is last; Unregister gives the one before it its place back.
std::vector<ZerkaInterruptCallback>& callbacks = *new std::vector<ZerkaInterruptCallback>;
// A callback is running on the watcher. Register and Unregister wait for it: once they return,
// every interrupt taken before was handled by the callback it was taken for.
bool delivering = false;
// Never destroyed: the detached watcher may still signal it while the process runs its exit
// handlers.
std::condition_variable& delivered = *new std::condition_variable;
bool watcher_started = false;
std::atomic<pid_t> watcher_thread{0};
struct sigaction previous_actions[kInterruptCount];
// The signals taken: one ignored when the program started stays ignored, as the hangup under
// nohup and Ctrl-C in a script's background job, which a Ctrl-C meant for the script must not end.
bool taken[kInterruptCount] = {};
bool installed = false;

// Counted where the signal is taken, before anything else can be held up: an interrupt is never
// lost to a watcher that has not yet run, nor to a moment without a callback.
std::atomic<unsigned long> forwarded{0};
// Taken by the watcher without passing through Forward (every other thread had it blocked).
std::atomic<unsigned long> taken_directly{0};
static_assert(std::atomic<unsigned long>::is_always_lock_free, "counted inside a signal handler");

std::atomic<ZerkaSignalWatcherHold> watcher_hold{nullptr};

void HoldWatcher(const char* point) {
  if (ZerkaSignalWatcherHold hold = watcher_hold.load()) hold(point);
}

// Decided once, before the watcher starts.
void ChooseTakenSignals() {
  for (int i = 0; i < kInterruptCount; ++i) {
    struct sigaction current;
    taken[i] =
        !(sigaction(kInterrupts[i], nullptr, &current) == 0 && current.sa_handler == SIG_IGN);
  }
}

sigset_t InterruptSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int i = 0; i < kInterruptCount; ++i)
    if (taken[i]) sigaddset(&set, kInterrupts[i]);
  return set;
}

// Runs in whatever thread the signal lands on: only hands it to the watcher, which has it
// blocked and takes it with sigwait.
void Forward(int signal_number) {
  int saved_errno = errno;
  forwarded.fetch_add(1);
  pid_t target = watcher_thread.load();
  if (target != 0) syscall(SYS_tgkill, getpid(), target, signal_number);
  errno = saved_errno;
}

void* Watch(void* ready) {
  watcher_thread = static_cast<pid_t>(syscall(SYS_gettid));
  pthread_setname_np(pthread_self(), "zerka-signals");
  static_cast<std::promise<void>*>(ready)->set_value();
  sigset_t set = InterruptSet();
  unsigned long forwarded_seen = 0;
  for (;;) {
    int signal_number = 0;
    if (sigwait(&set, &signal_number) != 0) continue;
    // Counting a forwarded one twice does no harm; missing one would.
    const unsigned long now_forwarded = forwarded.load();
    if (now_forwarded == forwarded_seen) taken_directly.fetch_add(1);
    forwarded_seen = now_forwarded;
    HoldWatcher("taken");
    ZerkaInterruptCallback current;
    {
      std::lock_guard<std::mutex> lock(mutex);
      current = callbacks.empty() ? nullptr : callbacks.back();
      delivering = current != nullptr;
    }
    if (!current) continue;
    HoldWatcher("calling");
    current(signal_number);
    HoldWatcher("returned");
    {
      std::lock_guard<std::mutex> lock(mutex);
      delivering = false;
    }
    delivered.notify_all();
  }
  return nullptr;
}

// A callback that registers another one itself must not wait for its own end.
void WaitForDelivery(std::unique_lock<std::mutex>& lock) {
  if (static_cast<pid_t>(syscall(SYS_gettid)) == watcher_thread.load()) return;
  delivered.wait(lock, [] { return !delivering; });
}

class SignalHandler : public ZerkaSignalHandler {
 public:
  int Register(ZerkaInterruptCallback new_callback) override {
    if (!new_callback) return EINVAL;
    std::unique_lock<std::mutex> lock(mutex);
    WaitForDelivery(lock);
    if (!watcher_started) {
      ChooseTakenSignals();
      int rc = StartWatcher();
      if (rc != 0) return rc;
      watcher_started = true;
    }
    callbacks.push_back(new_callback);
    if (!installed) {
      struct sigaction action = {};
      action.sa_handler = Forward;
      action.sa_flags = SA_RESTART;
      sigemptyset(&action.sa_mask);
      for (int i = 0; i < kInterruptCount; ++i)
        if (taken[i]) sigaction(kInterrupts[i], &action, &previous_actions[i]);
      installed = true;
    }
    return 0;
  }

  int Unregister() override {
    {
      std::unique_lock<std::mutex> lock(mutex);
      WaitForDelivery(lock);
      if (!callbacks.empty()) callbacks.pop_back();
      // The caller of an earlier Register is still running and keeps the signals.
      if (!callbacks.empty() || !installed) return 0;
      for (int i = 0; i < kInterruptCount; ++i) {
        struct sigaction current;
        if (taken[i] && sigaction(kInterrupts[i], nullptr, &current) == 0 &&
            current.sa_handler == Forward)
          sigaction(kInterrupts[i], &previous_actions[i], nullptr);
      }
      installed = false;
    }
    // A console may still hold the terminal: a default Ctrl-C must not leave it changed.
    zerka::GuardTerminalOnDefaultSignals();
    return 0;
  }

  unsigned long Interrupts() override { return forwarded.load() + taken_directly.load(); }

 private:
  // The watcher starts with the interrupts blocked so that only sigwait takes them there.
  static int StartWatcher() {
    sigset_t set = InterruptSet(), old;
    pthread_sigmask(SIG_BLOCK, &set, &old);
    std::promise<void> ready;
    pthread_t thread;
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    int rc = pthread_create(&thread, &attributes, Watch, &ready);
    pthread_attr_destroy(&attributes);
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    if (rc != 0) return rc;
    ready.get_future().wait();
    return 0;
  }
};

}  // namespace

void SetSignalWatcherHold(ZerkaSignalWatcherHold hold) { watcher_hold.store(hold); }

ZerkaSignalHandler* get_signal_handler() {
  static SignalHandler* instance = new SignalHandler;
  return instance;
}
