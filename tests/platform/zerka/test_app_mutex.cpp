#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/support/scratch.h"
#include "zerka/zerka.h"

extern char** environ;

namespace {

struct MutexDeleter {
  void operator()(ZerkaAppMutex* m) const { release_app_mutex(m); }
};
using MutexPtr = std::unique_ptr<ZerkaAppMutex, MutexDeleter>;

class AppMutex : public ::testing::Test {
 protected:
  void SetUp() override {
    lock_file_ = test_support::ScratchDir("appmutex") + "/kolv.lock";
    setenv("ZERKA_LOCK_FILE", lock_file_.c_str(), 1);
  }
  std::string lock_file_;
};

TEST_F(AppMutex, HeldByAnotherProcessGives63) {
  int to_parent[2], to_child[2];
  ASSERT_EQ(pipe(to_parent), 0);
  ASSERT_EQ(pipe(to_child), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    char answer = get_app_mutex()->Acquire() == 0 ? 'y' : 'n';
    if (write(to_parent[1], &answer, 1) != 1) _exit(2);
    char go;
    if (read(to_child[0], &go, 1) != 1) _exit(3);
    _exit(0);  // the lock ends with the process
  }
  char answer = 0;
  ASSERT_EQ(read(to_parent[0], &answer, 1), 1);
  ASSERT_EQ(answer, 'y');

  MutexPtr mine(get_app_mutex());
  EXPECT_EQ(mine->Acquire(), ZerkaAppMutex::kHeldElsewhere);

  char go = 'x';
  ASSERT_EQ(write(to_child[1], &go, 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(mine->Acquire(), 0);
  for (int fd : {to_parent[0], to_parent[1], to_child[0], to_child[1]}) close(fd);
}

TEST_F(AppMutex, OneHolderPerProcessTooAndReleaseFreesIt) {
  MutexPtr first(get_app_mutex());
  MutexPtr second(get_app_mutex());
  ASSERT_EQ(first->Acquire(), 0);
  EXPECT_EQ(first->Acquire(), 0) << "the holder asking again still holds it";
  EXPECT_EQ(second->Acquire(), ZerkaAppMutex::kHeldElsewhere);
  first->Release();
  EXPECT_EQ(second->Acquire(), 0);
  first.reset();
  second.reset();  // releasing the object gives the lock back
  MutexPtr third(get_app_mutex());
  EXPECT_EQ(third->Acquire(), 0);
}

TEST_F(AppMutex, ProgramsStartedByTheHolderDoNotKeepTheLock) {
  // The holder starts a program and ends without unlocking, as the hosts do.
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    if (get_app_mutex()->Acquire() != 0) _exit(2);
    pid_t started = -1;
    char* argv[] = {const_cast<char*>("sleep"), const_cast<char*>("30"), nullptr};
    if (posix_spawn(&started, "/bin/sleep", nullptr, nullptr, argv, environ) != 0) _exit(3);
    if (write(report[1], &started, sizeof started) != sizeof started) _exit(4);
    _exit(0);
  }
  pid_t started = -1;
  ASSERT_EQ(read(report[0], &started, sizeof started), static_cast<ssize_t>(sizeof started));
  int status = 0;
  ASSERT_EQ(waitpid(holder, &status, 0), holder);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  MutexPtr mine(get_app_mutex());
  EXPECT_EQ(mine->Acquire(), 0) << "the started program inherited the lock";
  kill(started, SIGKILL);
  close(report[0]);
  close(report[1]);
}

TEST_F(AppMutex, OtherFailuresAreNeitherSuccessNorHeldElsewhere) {
  std::string bad = lock_file_ + ".d/missing/kolv.lock";
  setenv("ZERKA_LOCK_FILE", bad.c_str(), 1);
  MutexPtr m(get_app_mutex());
  int rc = m->Acquire();
  EXPECT_NE(rc, 0);
  EXPECT_NE(rc, ZerkaAppMutex::kHeldElsewhere);
}

TEST(UserAccount, OverrideAndFreshInstances) {
  ZerkaUserAccount* a = CreatUserAccountInstance();
  ZerkaUserAccount* b = CreatUserAccountInstance();
  EXPECT_NE(a, b);
  setenv("ZERKA_ADMIN", "0", 1);
  EXPECT_FALSE(a->IsAdministrator());
  setenv("ZERKA_ADMIN", "1", 1);
  EXPECT_TRUE(a->IsAdministrator());
  unsetenv("ZERKA_ADMIN");
  EXPECT_EQ(b->IsAdministrator(), geteuid() == 0);
  ReleaseUserAccountInstance(a);
  ReleaseUserAccountInstance(b);
}

}  // namespace
