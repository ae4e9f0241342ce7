#include <time.h>

#include <cerrno>

#include "zerka/zerka_timer.h"

namespace {

class Timer : public ZerkaTimer {
 public:
  void Sleep(uint32_t milliseconds) override {
    timespec left{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
  }

  uint32_t Tick() override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u +
                  static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
  }

  double SecondsBetween(uint32_t start, uint32_t end) override {
    // Unsigned difference: right across one wrap of the counter.
    return static_cast<uint32_t>(end - start) / 1000.0;
  }
};

}  // namespace

ZerkaTimer* get_timer() {
  static Timer* instance = new Timer;
  return instance;
}
