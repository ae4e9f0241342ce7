#pragma once

// Threads.
typedef void* ZerkaThreadHandle;
typedef int (*ZerkaThreadProcedure)(void* argument);

class ZerkaThreads {
 public:
  virtual ~ZerkaThreads() = default;
  // Starts procedure(argument) on a new thread; name (may be null) is cut to 15 characters.
  // flags must be 0. Returns 0 when the thread started, and then handle is set.
  virtual int Create(ZerkaThreadHandle& handle, int flags, ZerkaThreadProcedure procedure,
                     void* argument, const char* name) = 0;
  // Waits for the thread, frees the handle and stores its procedure's result when asked.
  virtual int Join(ZerkaThreadHandle handle, int* exit_code = nullptr) = 0;
  // 0 is the normal priority, the only one offered. Returns 0 on success.
  virtual int SetPriority(ZerkaThreadHandle handle, int priority) = 0;
};

// The process-wide object, never freed.
ZerkaThreads* get_thread();
