#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/platform/zerka/support/watcher_hold.h"
#include "zerka/zerka.h"

namespace {

std::mutex mutex;
std::condition_variable arrived;
std::vector<int> received;
std::atomic<bool> on_main_thread{false};
pthread_t main_thread;

void Record(int signal_number) {
  std::lock_guard<std::mutex> lock(mutex);  // allowed: never runs in a signal handler
  received.push_back(signal_number);
  if (pthread_equal(pthread_self(), main_thread)) on_main_thread = true;
  arrived.notify_all();
}

std::atomic<int> other_calls{0};
void Other(int) { ++other_calls; }

// Hang guard only: the callback normally comes at once.
bool WaitFor(size_t count) {
  std::unique_lock<std::mutex> lock(mutex);
  return arrived.wait_for(lock, std::chrono::seconds(10), [&] { return received.size() >= count; });
}

// The watcher thread may still be appending: read under the lock.
std::vector<int> Received() {
  std::lock_guard<std::mutex> lock(mutex);
  return received;
}

// Holds the watcher inside the callback, as a preempted thread would be.
std::atomic<bool> slow_entered{false};
std::atomic<bool> slow_done{false};
void Slow(int) {
  slow_entered = true;
  usleep(300000);
  slow_done = true;
}

std::atomic<int> host_handler_calls{0};
void HostHandler(int) { ++host_handler_calls; }

// One test: the handler is process-wide, so the steps depend on each other.
TEST(SignalHandler, CallbackRunsOnAnOrdinaryThread) {
  main_thread = pthread_self();
  struct sigaction host = {};
  host.sa_handler = HostHandler;
  sigemptyset(&host.sa_mask);
  ASSERT_EQ(sigaction(SIGINT, &host, nullptr), 0);

  ZerkaSignalHandler* handler = get_signal_handler();
  EXPECT_NE(handler->Register(nullptr), 0);
  ASSERT_EQ(handler->Register(Record), 0);

  raise(SIGINT);
  ASSERT_TRUE(WaitFor(1));
  EXPECT_EQ(Received()[0], SIGINT);
  EXPECT_FALSE(on_main_thread);

  // A termination request sent to the process, and a Ctrl-C landing on another thread.
  kill(getpid(), SIGTERM);
  ASSERT_TRUE(WaitFor(2));
  std::thread([] { raise(SIGINT); }).join();
  ASSERT_TRUE(WaitFor(3));
  EXPECT_EQ(Received()[1], SIGTERM);
  EXPECT_EQ(Received()[2], SIGINT);
  EXPECT_FALSE(on_main_thread);
  EXPECT_EQ(host_handler_calls, 0);

  ASSERT_EQ(handler->Register(Other), 0);
  raise(SIGINT);
  for (int i = 0; i < 1000 && other_calls == 0; ++i) usleep(10000);
  EXPECT_EQ(other_calls, 1);

  // A nested Unregister hands the interrupts back to the callback registered before, never to
  // the default action while its owner still runs.
  ASSERT_EQ(handler->Unregister(), 0);
  raise(SIGINT);
  ASSERT_TRUE(WaitFor(4));
  EXPECT_EQ(host_handler_calls, 0);
  EXPECT_EQ(other_calls, 1);

  // After the last Unregister the handling from before the first Register is back.
  ASSERT_EQ(handler->Unregister(), 0);
  raise(SIGINT);
  EXPECT_EQ(host_handler_calls, 1);
  usleep(50000);
  EXPECT_EQ(other_calls, 1);
  EXPECT_EQ(Received().size(), 4u);

  ASSERT_EQ(handler->Register(Record), 0);
  raise(SIGINT);
  EXPECT_TRUE(WaitFor(5));
  EXPECT_EQ(host_handler_calls, 1);

  // A new callback takes over only once an interrupt taken before has been handled, so whoever
  // registers can rely on what the earlier callback did; so does Unregister.
  for (const bool unregister : {false, true}) {
    slow_entered = slow_done = false;
    ASSERT_EQ(handler->Register(Slow), 0);
    raise(SIGINT);
    while (!slow_entered) usleep(1000);
    ASSERT_EQ(unregister ? handler->Unregister() : handler->Register(Record), 0);
    EXPECT_TRUE(slow_done) << unregister;
  }
  // Record, then Slow and Record from the first round (the second round's Slow is gone).
  for (int i = 0; i < 3; ++i) handler->Unregister();

  // An interrupt is counted where it is taken: a watcher held before it reads the callback, or
  // with no callback left to read, loses none.
  ASSERT_EQ(handler->Register(Record), 0);
  for (const bool unregister : {false, true}) {
    const size_t before = Received().size();
    const unsigned long counted = handler->Interrupts();
    WatcherHold hold("taken");
    raise(SIGTERM);
    hold.WaitUntilHeld();
    EXPECT_GE(handler->Interrupts(), counted + 1) << unregister;
    EXPECT_EQ(Received().size(), before);
    std::thread late;
    if (unregister) late = std::thread([&] { handler->Unregister(); });
    hold.Release();
    if (late.joinable()) late.join();
    if (!unregister) {
      EXPECT_TRUE(WaitFor(before + 1));
    }
  }
  EXPECT_EQ(host_handler_calls, 1);
}

// Decided at the first Register: a fresh program, started as nohup or a script's background job.
TEST(SignalHandler, AnInterruptIgnoredAtStartStaysIgnored) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        signal(SIGINT, SIG_IGN);
        signal(SIGHUP, SIG_IGN);
        if (get_signal_handler()->Register(Record) != 0) std::_Exit(2);
        raise(SIGINT);
        raise(SIGHUP);
        raise(SIGTERM);
        std::_Exit(WaitFor(1) && Received() == std::vector<int>{SIGTERM} ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
