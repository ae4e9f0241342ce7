// Holds the platform's signal watcher at one named point until released, as a preempted thread
// would be held, through the library's own seam. One hold at a time.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

#include "zerka/zerka.h"

class WatcherHold {
 public:
  explicit WatcherHold(const char* point) {
    std::lock_guard<std::mutex> lock(mutex_);
    point_ = point;
    held_ = released_ = false;
    passed_.clear();
    SetSignalWatcherHold(&WatcherHold::Hold);
  }
  ~WatcherHold() {
    Release();
    SetSignalWatcherHold(nullptr);
  }
  WatcherHold(const WatcherHold&) = delete;
  WatcherHold& operator=(const WatcherHold&) = delete;

  void WaitUntilHeld() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [] { return held_; });
  }
  // Until the watcher passed the point count times since the hold was made.
  void WaitForPass(const char* point, int count = 1) {
    std::unique_lock<std::mutex> lock(mutex_);
    const std::string name = point;
    changed_.wait(lock, [&] { return passed_[name] >= count; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  static void Hold(const char* point) {
    std::unique_lock<std::mutex> lock(mutex_);
    ++passed_[point];
    changed_.notify_all();
    if (point_ != point || held_) return;
    held_ = true;
    changed_.notify_all();
    changed_.wait(lock, [] { return released_; });
  }
  static inline std::mutex mutex_;
  static inline std::condition_variable changed_;
  static inline std::string point_;
  static inline bool held_ = false;
  static inline bool released_ = false;
  static inline std::map<std::string, int> passed_;
};
