#pragma once

#include <string>

// System-wide single-instance lock (one lock for both programs).
class ZerkaAppMutex {
 public:
  static constexpr int kHeldElsewhere = 63;
  // The lock file could not be opened or locked for another reason.
  static constexpr int kFailed = 1;
  virtual ~ZerkaAppMutex() = default;
  // 0 when taken (also when this object already holds it); kHeldElsewhere when another process,
  // or another lock object of this process, holds it; kFailed for any other failure. The lock
  // file is $ZERKA_LOCK_FILE, else "/run/lock/kolv.lock", else "/tmp/kolv-<uid>.lock"; it is
  // never inherited by programs started from here, and the lock ends with the process.
  virtual int Acquire() = 0;
  virtual void Release() = 0;
  // The lock file this object uses, for messages.
  virtual std::string LockFilePath() = 0;
};

// Created on each call, given back through release_app_mutex.
ZerkaAppMutex* get_app_mutex();
void release_app_mutex(ZerkaAppMutex* mutex);
