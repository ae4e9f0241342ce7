#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "zerka/zerka_semaphore.h"

namespace {

class Semaphore : public ZerkaSemaphore {
 public:
  int Init(int initial, int maximum) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (initialised_) return EBUSY;
    if (maximum < 1 || initial < 0 || initial > maximum) return EINVAL;
    count_ = initial;
    maximum_ = maximum;
    initialised_ = true;
    return 0;
  }

  int Wait() override {
    std::unique_lock<std::mutex> lock(mutex_);
    // Without Init nothing could ever post: refuse instead of waiting forever.
    if (!initialised_) return EINVAL;
    available_.wait(lock, [this] { return count_ > 0; });
    --count_;
    return 0;
  }

  bool TimedWait(uint32_t milliseconds) override {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!initialised_) return false;
    if (!available_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                             [this] { return count_ > 0; }))
      return false;
    --count_;
    return true;
  }

  int Post() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!initialised_) return EINVAL;
      if (count_ >= maximum_) return EOVERFLOW;
      ++count_;
    }
    available_.notify_one();
    return 0;
  }

 private:
  std::mutex mutex_;
  std::condition_variable available_;
  int count_ = 0;
  int maximum_ = 0;
  bool initialised_ = false;
};

}  // namespace

ZerkaSemaphore* GetNewSemaphore() { return new Semaphore; }

void ReleaseSemaphoreInstance(ZerkaSemaphore* semaphore) { delete semaphore; }
