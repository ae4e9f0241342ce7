#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/zerka/src/terminal.h"
#include "zerka/zerka_console.h"

namespace {

// How long a lone Escape waits for the rest of a sequence: terminals send a sequence at once.
const int kSequenceWaitMs = 30;
// Signals whose default action ends the process while the terminal may be held.
const int kRestoreSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT};
constexpr int kRestoreSignalCount = sizeof kRestoreSignals / sizeof kRestoreSignals[0];

// The keyboard is one per process, whatever the number of console objects.
std::mutex state_mutex;
int open_consoles = 0;
std::string pending;
struct termios saved_terminal;
struct termios raw_terminal;
volatile sig_atomic_t terminal_changed = 0;
struct sigaction previous_actions[kRestoreSignalCount];
bool handlers_installed[kRestoreSignalCount] = {};
bool exit_hook_installed = false;

// Holds the terminal's job-control signals back in the calling thread while it lives: a read, a
// flush or a mode change from a background process group then fails or goes through, instead of
// stopping the whole process for good.
class JobControlSignalsHeld {
 public:
  JobControlSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    sigaddset(&held, SIGTTIN);
    sigaddset(&held, SIGTTOU);
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
  }
  ~JobControlSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  JobControlSignalsHeld(const JobControlSignalsHeld&) = delete;
  JobControlSignalsHeld& operator=(const JobControlSignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

// True unless standard input is the controlling terminal of another process group. A terminal
// that is nobody's controlling terminal has no foreground to be in.
bool InForeground() {
  const pid_t foreground = tcgetpgrp(STDIN_FILENO);
  return foreground < 0 || foreground == getpgrp();
}

// Also from a signal handler. In a background group the terminal belongs to the foreground, as its
// owner set it when this program stopped: it is left so.
void RestoreTerminal() {
  if (!terminal_changed) return;
  terminal_changed = 0;
  JobControlSignalsHeld held;
  if (InForeground()) tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
}

void RestoreAndRaise(int signal_number) {
  RestoreTerminal();
  signal(signal_number, SIG_DFL);
  raise(signal_number);
}

void RestoreAtExit() {
  std::lock_guard<std::mutex> lock(state_mutex);
  RestoreTerminal();
}

// A terminal we may read: reading from a background process group would stop the process.
bool UsableTerminal() { return isatty(STDIN_FILENO) && InForeground(); }

// The modes a shell gives back when this program stops, or gives a program it starts.
bool KeyboardModesLost() {
  struct termios now;
  if (tcgetattr(STDIN_FILENO, &now) != 0) return false;
  const tcflag_t ours = ICANON | ECHO;
  return (now.c_lflag & ours) != (raw_terminal.c_lflag & ours) ||
         now.c_cc[VMIN] != raw_terminal.c_cc[VMIN] || now.c_cc[VTIME] != raw_terminal.c_cc[VTIME];
}

// Only where nobody else handles the signal: a host's own handler stays in charge.
void GuardDefaultSignalsLocked() {
  if (!terminal_changed) return;
  for (int i = 0; i < kRestoreSignalCount; ++i) {
    struct sigaction current;
    if (sigaction(kRestoreSignals[i], nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
        (current.sa_flags & SA_SIGINFO))
      continue;
    struct sigaction action = {};
    action.sa_handler = RestoreAndRaise;
    sigemptyset(&action.sa_mask);
    handlers_installed[i] = sigaction(kRestoreSignals[i], &action, &previous_actions[i]) == 0;
  }
}

// Keys one at a time and unechoed, while a console is open and the program is in the
// foreground: at the start, and again once a job that started in the background or was stopped
// is brought back. What it finds is what the terminal is given back.
void HoldKeyboardLocked() {
  if (open_consoles == 0 || !UsableTerminal()) return;
  if (terminal_changed && !KeyboardModesLost()) return;
  terminal_changed = 0;  // a signal's handler never restores half-written modes
  if (tcgetattr(STDIN_FILENO, &saved_terminal) != 0) return;
  raw_terminal = saved_terminal;
  raw_terminal.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw_terminal.c_cc[VMIN] = 0;
  raw_terminal.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &raw_terminal) != 0) return;
  terminal_changed = 1;
  // Also when the program ends at once (quick_exit), skipping its exit handlers.
  if (!exit_hook_installed)
    exit_hook_installed = std::atexit(RestoreAtExit) == 0 && std::at_quick_exit(RestoreAtExit) == 0;
  GuardDefaultSignalsLocked();
}

void OpenKeyboard() {
  std::lock_guard<std::mutex> lock(state_mutex);
  ++open_consoles;
  JobControlSignalsHeld held;
  HoldKeyboardLocked();
}

void CloseKeyboard() {
  std::lock_guard<std::mutex> lock(state_mutex);
  if (open_consoles == 0 || --open_consoles > 0) return;
  RestoreTerminal();
  pending.clear();
  for (int i = 0; i < kRestoreSignalCount; ++i) {
    if (!handlers_installed[i]) continue;
    struct sigaction current;
    // Someone may have taken the signal over since; leave theirs in place.
    if (sigaction(kRestoreSignals[i], nullptr, &current) == 0 &&
        current.sa_handler == RestoreAndRaise)
      sigaction(kRestoreSignals[i], &previous_actions[i], nullptr);
    handlers_installed[i] = false;
  }
}

bool ReadWaiting(int timeout_ms) {
  pollfd p{STDIN_FILENO, POLLIN, 0};
  if (poll(&p, 1, timeout_ms) <= 0 || !(p.revents & POLLIN)) return false;
  char buffer[64];
  ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
  if (n <= 0) return false;
  pending.append(buffer, static_cast<size_t>(n));
  return true;
}

class Console : public ZerkaConsole {
 public:
  Console() { OpenKeyboard(); }
  ~Console() override { CloseKeyboard(); }

  int ReadKey() override {
    std::lock_guard<std::mutex> lock(state_mutex);
    JobControlSignalsHeld held;
    if (!UsableTerminal()) return kNoKey;
    HoldKeyboardLocked();
    if (pending.empty() && !ReadWaiting(0)) return kNoKey;
    if (pending.size() == 1 && pending[0] == '\x1b') ReadWaiting(kSequenceWaitMs);
    return zerka::DecodeKey(pending);
  }

  void DiscardKeys() override {
    std::lock_guard<std::mutex> lock(state_mutex);
    pending.clear();
    JobControlSignalsHeld held;
    if (UsableTerminal()) tcflush(STDIN_FILENO, TCIFLUSH);
  }
};

}  // namespace

void zerka::GuardTerminalOnDefaultSignals() {
  std::lock_guard<std::mutex> lock(state_mutex);
  GuardDefaultSignalsLocked();
}

ZerkaConsole* get_console() { return new Console; }

void release_console_instance(ZerkaConsole* console) { delete console; }
