#pragma once

#include <cstdint>

// Counting semaphore. Init once: (1, 1) serves as a lock, (0, 1) as a signal.
class ZerkaSemaphore {
 public:
  virtual ~ZerkaSemaphore() = default;
  // 0 on success; nonzero for a second Init or counts out of range (0 <= initial <= maximum,
  // maximum >= 1).
  virtual int Init(int initial, int maximum) = 0;
  // 0 once the count was taken; nonzero at once when Init has not been called.
  virtual int Wait() = 0;
  // Waits at most the given time; true when the count was taken.
  virtual bool TimedWait(uint32_t milliseconds) = 0;
  // Raises the count by one and returns 0; at the maximum the count stays as it is and the
  // result is nonzero, as it is before Init.
  virtual int Post() = 0;
};

// Created on each call, given back through ReleaseSemaphoreInstance.
ZerkaSemaphore* GetNewSemaphore();
void ReleaseSemaphoreInstance(ZerkaSemaphore* semaphore);
