#pragma once

#include <condition_variable>
#include <mutex>

// A binary semaphore that can be opened for good, so nobody waits after a run is over.
class Gate {
 public:
  explicit Gate(bool open) : count_(open ? 1 : 0) {}
  void Wait();
  void Post();
  void OpenForGood();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_;
  bool always_open_ = false;
};
