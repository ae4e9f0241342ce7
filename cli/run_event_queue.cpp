#include "cli/run_event_queue.h"

#include <chrono>
#include <utility>

void RunEventQueue::Push(RunEvent event) {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.push_back(std::move(event));
  changed_.notify_all();
}

bool RunEventQueue::WaitForMore(size_t more_than, uint32_t milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                    [&] { return woken_ || events_.size() > more_than; });
  woken_ = false;
  return events_.size() > more_than;
}

void RunEventQueue::Wake() {
  std::lock_guard<std::mutex> lock(mutex_);
  woken_ = true;
  changed_.notify_all();
}

bool RunEventQueue::Peek(RunEvent& event) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (events_.empty()) return false;
  event = events_.front();
  return true;
}

void RunEventQueue::Pop() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!events_.empty()) events_.pop_front();
}

void RunEventQueue::Close() {
  diagnostic_ack.OpenForGood();
  diagnostic_gate.OpenForGood();
  test_gate.OpenForGood();
}
