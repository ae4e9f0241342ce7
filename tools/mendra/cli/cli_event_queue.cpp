#include "tools/mendra/cli/cli_event_queue.h"

CliEventQueue::CliEventQueue() : lock_(GetNewSemaphore()) { lock_->Init(1, 1); }

CliEventQueue::~CliEventQueue() {
  for (MdrCliEvent* event : events_) delete event;
  ReleaseSemaphoreInstance(lock_);
}

void CliEventQueue::Push(MdrCliEvent* event) {
  lock_->Wait();
  events_.push_back(event);
  lock_->Post();
}

std::unique_ptr<MdrCliEvent> CliEventQueue::Take() {
  lock_->Wait();
  MdrCliEvent* event = nullptr;
  if (!events_.empty()) {
    event = events_.front();
    events_.pop_front();
  }
  lock_->Post();
  return std::unique_ptr<MdrCliEvent>(event);
}

bool CliEventQueue::Empty() {
  lock_->Wait();
  const bool empty = events_.empty();
  lock_->Post();
  return empty;
}
