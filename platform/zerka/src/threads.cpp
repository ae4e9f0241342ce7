#include <pthread.h>

#include <cerrno>
#include <cstring>

#include "zerka/zerka_threads.h"

namespace {

struct Thread {
  pthread_t id{};
  ZerkaThreadProcedure procedure = nullptr;
  void* argument = nullptr;
  char name[16] = {};
  int result = 0;
};

void* Run(void* raw) {
  Thread* thread = static_cast<Thread*>(raw);
  if (thread->name[0]) pthread_setname_np(pthread_self(), thread->name);
  thread->result = thread->procedure(thread->argument);
  return nullptr;
}

class Threads : public ZerkaThreads {
 public:
  int Create(ZerkaThreadHandle& handle, int flags, ZerkaThreadProcedure procedure,
             void* argument, const char* name) override {
    if (flags != 0 || !procedure) return EINVAL;
    Thread* thread = new Thread;
    thread->procedure = procedure;
    thread->argument = argument;
    // The kernel keeps 15 characters of a thread's name.
    if (name) std::strncpy(thread->name, name, sizeof thread->name - 1);
    int rc = pthread_create(&thread->id, nullptr, Run, thread);
    if (rc != 0) {
      delete thread;
      return rc;
    }
    handle = thread;
    return 0;
  }

  int Join(ZerkaThreadHandle handle, int* exit_code) override {
    if (!handle) return EINVAL;
    Thread* thread = static_cast<Thread*>(handle);
    int rc = pthread_join(thread->id, nullptr);
    if (rc != 0) return rc;
    if (exit_code) *exit_code = thread->result;
    delete thread;
    return 0;
  }

  int SetPriority(ZerkaThreadHandle handle, int priority) override {
    if (!handle) return EINVAL;
    // Threads run at the normal priority; raising or lowering it is not offered.
    return priority == 0 ? 0 : ENOTSUP;
  }
};

}  // namespace

ZerkaThreads* get_thread() {
  static Threads* instance = new Threads;
  return instance;
}
