// The queue that carries the service thread's events to the main thread, which alone prints.
// Gates keep the service from starting the next diagnostic or test before the main thread has
// shown the previous one.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

#include "cli/gate.h"
#include "cli/run_event.h"

class RunEventQueue {
 public:
  RunEventQueue() : diagnostic_ack(false), diagnostic_gate(true), test_gate(true) {}
  void Push(RunEvent event);
  // Waits at most milliseconds for the queue to hold more than `more_than` events, or until Wake;
  // true when it holds them.
  bool WaitForMore(size_t more_than, uint32_t milliseconds);
  // Ends the current (or next) WaitForMore early, from any thread.
  void Wake();
  // Copy of the first event; false when empty.
  bool Peek(RunEvent& event);
  void Pop();
  // Lets every gate through from now on.
  void Close();

  Gate diagnostic_ack;
  Gate diagnostic_gate;
  Gate test_gate;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<RunEvent> events_;
  bool woken_ = false;
};
