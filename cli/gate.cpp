#include "cli/gate.h"

void Gate::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return always_open_ || count_ > 0; });
  if (!always_open_) --count_;
}

void Gate::Post() {
  std::lock_guard<std::mutex> lock(mutex_);
  count_ = 1;  // at its maximum the count stays as it is
  changed_.notify_all();
}

void Gate::OpenForGood() {
  std::lock_guard<std::mutex> lock(mutex_);
  always_open_ = true;
  changed_.notify_all();
}
