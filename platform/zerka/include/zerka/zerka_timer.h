#pragma once

#include <cstdint>

// Time.
class ZerkaTimer {
 public:
  virtual ~ZerkaTimer() = default;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // Monotonic millisecond counter that wraps at 2^32.
  virtual uint32_t Tick() = 0;
  // Seconds from start to end, correct across one wrap of the counter.
  virtual double SecondsBetween(uint32_t start, uint32_t end) = 0;
};

// The process-wide object, never freed.
ZerkaTimer* get_timer();
