#pragma once

// Console interrupt (Ctrl-C, termination request, the terminal closed: SIGINT, SIGTERM and
// SIGHUP; one of them ignored when the program started stays ignored). The callback runs on an
// ordinary thread of the library, never inside a signal handler, so it may lock and allocate.
// Signals reach it whichever thread they are sent to, so Register may be called at any time.
typedef void (*ZerkaInterruptCallback)(int signal_number);

class ZerkaSignalHandler {
 public:
  virtual ~ZerkaSignalHandler() = default;
  // Takes the place of any earlier callback, once a callback still handling an interrupt has
  // returned. 0 on success; nonzero for a null callback.
  virtual int Register(ZerkaInterruptCallback callback) = 0;
  // Stops delivering to the latest callback, once one still handling an interrupt has returned.
  // The callback registered before it gets the interrupts again; when none is left, the signals
  // get back the handling they had before the first Register.
  virtual int Unregister() = 0;
  // Interrupts taken since the program started, counted as they are taken (inside the signal
  // handler), before any callback sees them. Never less than the interrupts taken; one may be
  // counted twice.
  virtual unsigned long Interrupts() = 0;
};

// The process-wide object, never freed.
ZerkaSignalHandler* get_signal_handler();

// For tests: called on the watcher thread at "taken" (the signal was just taken), "calling"
// (before the callback runs) and "returned" (after it); a test blocks there to hold the watcher
// as a preempted thread would be. Null: no hold.
typedef void (*ZerkaSignalWatcherHold)(const char* point);
void SetSignalWatcherHold(ZerkaSignalWatcherHold hold);
