#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <thread>

#include "tests/support/fault_injection.h"
#include "zerka/zerka.h"

namespace {

struct SemaphoreDeleter {
  void operator()(ZerkaSemaphore* s) const { ReleaseSemaphoreInstance(s); }
};
using SemaphorePtr = std::unique_ptr<ZerkaSemaphore, SemaphoreDeleter>;

TEST(Semaphore, PostAtTheMaximumDoesNotRaiseTheCount) {
  SemaphorePtr signal(GetNewSemaphore());
  ASSERT_EQ(signal->Init(0, 1), 0);
  EXPECT_EQ(signal->Post(), 0);
  EXPECT_NE(signal->Post(), 0);
  EXPECT_TRUE(signal->TimedWait(1000));
  EXPECT_FALSE(signal->TimedWait(30)) << "a second post at the maximum was counted";
}

TEST(Semaphore, InitOnceAndNothingBeforeIt) {
  SemaphorePtr s(GetNewSemaphore());
  EXPECT_NE(s->Wait(), 0) << "Wait before Init must be refused, not block";
  EXPECT_FALSE(s->TimedWait(0));
  EXPECT_NE(s->Post(), 0);
  EXPECT_NE(s->Init(2, 1), 0);
  EXPECT_NE(s->Init(-1, 1), 0);
  EXPECT_NE(s->Init(0, 0), 0);
  ASSERT_EQ(s->Init(1, 1), 0);
  EXPECT_NE(s->Init(0, 5), 0);
  EXPECT_EQ(s->Wait(), 0);
  EXPECT_FALSE(s->TimedWait(10)) << "a refused second Init changed the count";
}

TEST(Semaphore, PostFromAnotherThreadWakesTheWaiter) {
  SemaphorePtr s(GetNewSemaphore());
  ASSERT_EQ(s->Init(0, 3), 0);
  std::atomic<int> taken{0};
  std::thread waiter([&] {
    for (int i = 0; i < 3; ++i)
      if (s->Wait() == 0) ++taken;
  });
  for (int i = 0; i < 3; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    s->Post();
  }
  waiter.join();
  EXPECT_EQ(taken, 3);
}

struct ThreadProbe {
  char name[32] = {};
  bool on_other_thread = false;
  pthread_t creator{};
};

int Probe(void* raw) {
  ThreadProbe* probe = static_cast<ThreadProbe*>(raw);
  pthread_getname_np(pthread_self(), probe->name, sizeof probe->name);
  probe->on_other_thread = !pthread_equal(pthread_self(), probe->creator);
  return 1234;
}

TEST(Threads, RunJoinAndGiveBackTheResult) {
  ZerkaThreads* threads = get_thread();
  ThreadProbe probe;
  probe.creator = pthread_self();
  ZerkaThreadHandle handle = nullptr;
  ASSERT_EQ(threads->Create(handle, 0, Probe, &probe, "ThreadManagerWithALongName"), 0);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(threads->SetPriority(handle, 0), 0);
  int result = 0;
  ASSERT_EQ(threads->Join(handle, &result), 0);
  EXPECT_EQ(result, 1234);
  EXPECT_TRUE(probe.on_other_thread);
  EXPECT_STREQ(probe.name, "ThreadManagerWi");

  ThreadProbe unnamed;
  ASSERT_EQ(threads->Create(handle, 0, Probe, &unnamed, nullptr), 0);
  EXPECT_EQ(threads->Join(handle), 0);
}

TEST(Threads, RefusesWhatItCannotRun) {
  ZerkaThreads* threads = get_thread();
  ZerkaThreadHandle handle = nullptr;
  EXPECT_NE(threads->Create(handle, 1, Probe, nullptr, "x"), 0);
  EXPECT_NE(threads->Create(handle, 0, nullptr, nullptr, "x"), 0);
  EXPECT_EQ(handle, nullptr);
  EXPECT_NE(threads->Join(nullptr), 0);
}

// The fault library that the edge tests build on, checked where its rules meet a real caller: the
// refused start reaches Create's result, and the next start goes through again.
TEST(Threads, AStartTheMachineRefusesIsToldAndLeavesNothing) {
  ZerkaThreads* threads = get_thread();
  test_support::FaultScope refuse_second("thread:2");
  ThreadProbe first, second, third;
  ZerkaThreadHandle handles[3] = {};
  ASSERT_EQ(threads->Create(handles[0], 0, Probe, &first, "a"), 0);
  EXPECT_EQ(threads->Create(handles[1], 0, Probe, &second, "b"), EAGAIN);
  EXPECT_EQ(handles[1], nullptr);
  ASSERT_EQ(threads->Create(handles[2], 0, Probe, &third, "c"), 0);
  EXPECT_EQ(threads->Join(handles[0]), 0);
  EXPECT_EQ(threads->Join(handles[2]), 0);
  EXPECT_EQ(test_support::FaultsFired(), 1);
}

TEST(Timer, SecondsBetweenAcrossTheWrap) {
  ZerkaTimer* timer = get_timer();
  EXPECT_DOUBLE_EQ(timer->SecondsBetween(1000, 3500), 2.5);
  EXPECT_DOUBLE_EQ(timer->SecondsBetween(0xFFFFFF00u, 0x00000100u), 0.512);
  EXPECT_DOUBLE_EQ(timer->SecondsBetween(0xFFFFFFFFu, 0u), 0.001);
  EXPECT_DOUBLE_EQ(timer->SecondsBetween(7, 7), 0.0);
}

TEST(Timer, TickFollowsSleep) {
  ZerkaTimer* timer = get_timer();
  uint32_t start = timer->Tick();
  timer->Sleep(50);
  double elapsed = timer->SecondsBetween(start, timer->Tick());
  EXPECT_GE(elapsed, 0.049);
  EXPECT_LT(elapsed, 10.0);
}

}  // namespace
