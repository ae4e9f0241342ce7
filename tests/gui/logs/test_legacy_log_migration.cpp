// Moving the logs of earlier installations: what is appended, what is removed, and that nothing
// is lost or glued together when something goes wrong.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include "gui/logs/core/legacy_log_migration.h"
#include "gui/logs/core/log_paths.h"
#include "kolv_os/os.h"
#include "support/log_test_support.h"
#include "tests/support/fault_injection.h"
#include "tests/support/scratch.h"

using test_support::ReadFile;
using test_support::WriteFile;

namespace fs = std::filesystem;

namespace {

std::string WithoutSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Runs body as a program start of its own; false when it did not end by itself (it was killed).
bool EndsByItself(const std::function<void()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    body();
    ::_exit(0);
  }
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status);
}

class Migration : public ::testing::Test {
 protected:
  void SetUp() override {
    legacy_ = WithoutSlash(LegacyLogFolderPath());
    current_ = WithoutSlash(LogFolderPath());
    const char* scratch = std::getenv("KOLV_TEST_TMP");
    elsewhere_ = std::string(scratch != nullptr ? scratch : "/tmp") + "/migration_elsewhere";
    Clean();
  }
  void TearDown() override { Clean(); }

  void Clean() {
    for (const std::string& path : {legacy_, current_, elsewhere_}) fs::remove_all(path);
  }

  std::string OldLog(const std::string& name = "morva") { return legacy_ + "/" + name + ".log"; }
  std::string NewLog(const std::string& name = "morva") { return current_ + "/" + name + ".log"; }
  void MakeFolders() {
    fs::create_directories(legacy_);
    fs::create_directories(current_);
  }

  std::string legacy_, current_, elsewhere_;
};

TEST_F(Migration, WithoutOldFolderNothingChanges) {
  fs::create_directories(current_);
  WriteFile(NewLog(), "+++ NEW\n");
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(NewLog()), "+++ NEW\n");
  EXPECT_FALSE(fs::exists(legacy_));
  EXPECT_FALSE(fs::exists(NewLog("morva_errors")));
}

TEST_F(Migration, OldMainLogGoesBehindTheCurrentOne) {
  MakeFolders();
  WriteFile(NewLog(), "+++ NEW\n");
  WriteFile(OldLog(), "+++ OLD 1\n--- OLD 1\n");
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(NewLog()), "+++ NEW\n+++ OLD 1\n--- OLD 1\n");
  EXPECT_FALSE(fs::exists(NewLog("morva_errors")));
  EXPECT_FALSE(fs::exists(legacy_));

  // Once moved, a later start finds nothing to append.
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(NewLog()), "+++ NEW\n+++ OLD 1\n--- OLD 1\n");
}

TEST_F(Migration, LogsAreCreatedInAnExistingFolder) {
  MakeFolders();
  WriteFile(OldLog(), "main\n");
  WriteFile(OldLog("morva_errors"), "errors\n");
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(NewLog()), "main\n");
  EXPECT_EQ(ReadFile(NewLog("morva_errors")), "errors\n");
  EXPECT_FALSE(fs::exists(legacy_));
}

TEST_F(Migration, MissingLogFolderKeepsTheOldLogs) {
  fs::create_directories(legacy_);
  WriteFile(OldLog(), "main\n");
  WriteFile(OldLog("morva_errors"), "errors\n");
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(OldLog()), "main\n");
  EXPECT_EQ(ReadFile(OldLog("morva_errors")), "errors\n");
  EXPECT_FALSE(fs::exists(current_));
}

TEST_F(Migration, LinesAreNeverGluedTogether) {
  MakeFolders();
  WriteFile(NewLog(), "--- CUT");
  WriteFile(OldLog(), "+++ OLD\n--- OLD");
  WriteFile(OldLog("morva_errors"), "");
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(NewLog()), "--- CUT\n+++ OLD\n--- OLD\n");
  EXPECT_EQ(ReadFile(NewLog("morva_errors")), "");
  EXPECT_FALSE(fs::exists(legacy_));
}

TEST_F(Migration, FilesThatAreNotLogsKeepTheOldFolder) {
  MakeFolders();
  WriteFile(OldLog(), "main\n");
  WriteFile(legacy_ + "/notes.txt", "keep me");
  fs::create_directories(legacy_ + "/sub");
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(NewLog()), "main\n");
  EXPECT_FALSE(fs::exists(OldLog()));
  EXPECT_EQ(ReadFile(legacy_ + "/notes.txt"), "keep me");
  EXPECT_TRUE(fs::is_directory(legacy_ + "/sub"));
}

TEST_F(Migration, OneFolderUnderTwoNamesLosesNothing) {
  fs::create_directories(legacy_);
  WriteFile(OldLog(), "main\n");
  fs::create_directories(fs::path(current_).parent_path());
  fs::create_directory_symlink(legacy_, current_);
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(OldLog()), "main\n");
  EXPECT_TRUE(fs::is_directory(fs::symlink_status(legacy_)));
}

TEST_F(Migration, LogLinkedToTheOldOneIsNotAppendedToItself) {
  MakeFolders();
  WriteFile(OldLog(), "main\n");
  fs::create_symlink(OldLog(), NewLog());
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(OldLog()), "main\n");
  EXPECT_TRUE(fs::exists(legacy_));
}

TEST_F(Migration, LinkedOldFolderIsNeitherFollowedNorRemoved) {
  fs::create_directories(current_);
  fs::create_directories(elsewhere_);
  WriteFile(elsewhere_ + "/morva.log", "not ours\n");
  fs::create_directories(fs::path(legacy_).parent_path());
  fs::create_directory_symlink(elsewhere_, legacy_);
  MigrateLegacyLogs();
  EXPECT_TRUE(fs::is_symlink(legacy_));
  EXPECT_EQ(ReadFile(elsewhere_ + "/morva.log"), "not ours\n");
  EXPECT_FALSE(fs::exists(NewLog()));
}

TEST_F(Migration, LinkedOldLogIsNeitherFollowedNorRemoved) {
  MakeFolders();
  fs::create_directories(elsewhere_);
  WriteFile(elsewhere_ + "/secret", "secret\n");
  fs::create_symlink(elsewhere_ + "/secret", OldLog());
  WriteFile(OldLog("morva_errors"), "errors\n");
  MigrateLegacyLogs();
  EXPECT_FALSE(fs::exists(NewLog()));
  EXPECT_TRUE(fs::is_symlink(OldLog()));
  EXPECT_EQ(ReadFile(elsewhere_ + "/secret"), "secret\n");
  // The error log was moved all the same, and the folder stays for the link.
  EXPECT_EQ(ReadFile(NewLog("morva_errors")), "errors\n");
  EXPECT_TRUE(fs::is_directory(legacy_));
}

// Opening a FIFO for reading waits for a writer: the start must neither wait nor move it.
TEST_F(Migration, FifoInTheOldFolderIsLeftWhereItIs) {
  MakeFolders();
  ASSERT_EQ(::mkfifo(OldLog().c_str(), 0600), 0);
  WriteFile(OldLog("morva_errors"), "errors\n");
  std::promise<void> migrated;
  std::future<void> done = migrated.get_future();
  std::thread start([&migrated] {
    MigrateLegacyLogs();
    migrated.set_value();
  });
  if (done.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    ADD_FAILURE() << "the migration waits on the FIFO";
    // A writer that comes and goes releases the waiting open.
    const int writer = ::open(OldLog().c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
  }
  start.join();
  EXPECT_TRUE(fs::is_fifo(OldLog()));
  EXPECT_FALSE(fs::exists(NewLog()));
  EXPECT_EQ(ReadFile(NewLog("morva_errors")), "errors\n");
  EXPECT_TRUE(fs::is_directory(legacy_));
}

TEST_F(Migration, FailedCopyLeavesBothLogsAsTheyWere) {
  MakeFolders();
  WriteFile(NewLog(), "+++ NEW\n");
  const std::string old_content(200000, 'o');
  WriteFile(OldLog(), old_content + "\n");

  // A file size limit makes the copy fail part of the way, as a full disk would.
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit limited = saved;
  limited.rlim_cur = 100000;
  kolv_os::IgnoreFileSizeLimitSignal();  // as both programs start
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  MigrateLegacyLogs();
  setrlimit(RLIMIT_FSIZE, &saved);

  EXPECT_EQ(ReadFile(NewLog()), "+++ NEW\n");
  EXPECT_EQ(ReadFile(OldLog()), old_content + "\n");

  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(NewLog()), "+++ NEW\n" + old_content + "\n");
  EXPECT_FALSE(fs::exists(legacy_));
}

TEST_F(Migration, OneFailedLogIsRetriedAloneAtTheNextStart) {
  MakeFolders();
  WriteFile(OldLog(), "main\n");
  WriteFile(OldLog("morva_errors"), "errors\n");
  fs::create_directory(NewLog("morva_errors"));  // cannot be appended to
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(NewLog()), "main\n");
  EXPECT_FALSE(fs::exists(OldLog()));
  EXPECT_EQ(ReadFile(OldLog("morva_errors")), "errors\n");

  fs::remove(NewLog("morva_errors"));
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(NewLog()), "main\n");
  EXPECT_EQ(ReadFile(NewLog("morva_errors")), "errors\n");
  EXPECT_FALSE(fs::exists(legacy_));
}

// Killed at any write, a start leaves what the next one ends with each old run once.
TEST_F(Migration, StartKilledAtAnyWriteLeavesEachRunOnce) {
  bool ended = false;
  for (int n = 1; !ended && n < 40; ++n) {
    Clean();
    MakeFolders();
    WriteFile(NewLog(), "+++ NEW\n");
    WriteFile(OldLog(), "+++ OLD\n--- OLD");
    WriteFile(OldLog("morva_errors"), "errors\n");
    ended = EndsByItself([n] {
      test_support::SetFaults("write:" + std::to_string(n) + ":KILL:morva");
      MigrateLegacyLogs();
    });
    MigrateLegacyLogs();
    EXPECT_EQ(ReadFile(NewLog()), "+++ NEW\n+++ OLD\n--- OLD\n") << n;
    EXPECT_EQ(ReadFile(NewLog("morva_errors")), "errors\n") << n;
    EXPECT_FALSE(fs::exists(legacy_)) << n;
    EXPECT_EQ(std::distance(fs::directory_iterator(current_), {}), 2) << n;
  }
  EXPECT_TRUE(ended);
}

// However often the programs start, an old log that cannot be removed is not added again, nor
// copied only to be taken back.
TEST_F(Migration, OldLogThatStaysIsNeverAddedTwice) {
  MakeFolders();
  WriteFile(NewLog(), "+++ NEW\n");
  WriteFile(OldLog(), "+++ OLD\n");
  fs::permissions(legacy_, fs::perms::owner_write, fs::perm_options::remove);
  for (int start = 0; start < 3; ++start) {
    EXPECT_TRUE(EndsByItself([start] {
      // Without the administrator's power over permissions, the read-only folder keeps its file;
      // later starts keep that power in reserve only, unused by a removal.
      __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
      __user_cap_data_struct none[2] = {};
      if (start > 0 && ::syscall(SYS_capget, &header, none) != 0) std::abort();
      none[0].effective = none[1].effective = 0;
      if (::syscall(SYS_capset, &header, none) != 0) std::abort();
      test_support::SetFaults("write:1:KILL:morva");
      MigrateLegacyLogs();
    }));
  }
  EXPECT_EQ(ReadFile(NewLog()), "+++ NEW\n");
  EXPECT_EQ(ReadFile(OldLog()), "+++ OLD\n");
  fs::permissions(legacy_, fs::perms::owner_write, fs::perm_options::add);
  MigrateLegacyLogs();
  EXPECT_EQ(ReadFile(NewLog()), "+++ NEW\n+++ OLD\n");
}

// A copy cut short is taken back later even when a start in between could not look for the old
// file.
TEST_F(Migration, CopyCutShortOutlivesAStartThatCannotLook) {
  MakeFolders();
  WriteFile(NewLog(), "+++ NEW\n");
  const std::string old_content(200000, 'o');
  WriteFile(OldLog(), old_content + "\n");
  // The note, then the copy's first part.
  EXPECT_FALSE(EndsByItself([] {
    test_support::SetFaults("write:3:KILL:morva");
    MigrateLegacyLogs();
  }));
  fs::permissions(legacy_, fs::perms::owner_exec, fs::perm_options::remove);
  EXPECT_TRUE(EndsByItself([] {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[2] = {};
    if (::syscall(SYS_capset, &header, none) != 0) std::abort();
    MigrateLegacyLogs();
  }));
  fs::permissions(legacy_, fs::perms::owner_exec, fs::perm_options::add);
  MigrateLegacyLogs();
  EXPECT_TRUE(ReadFile(NewLog()) == "+++ NEW\n" + old_content + "\n");
}

TEST_F(Migration, AppendReportsWhatHappened) {
  MakeFolders();
  EXPECT_EQ(AppendLog(NewLog(), OldLog()), LogAppendResult::kNoSource);
  EXPECT_FALSE(fs::exists(NewLog()));
  EXPECT_EQ(AppendLog(NewLog(), legacy_), LogAppendResult::kFailed);
  WriteFile(OldLog(), "a\nb\n");
  EXPECT_EQ(AppendLog(current_, OldLog()), LogAppendResult::kFailed);
  EXPECT_EQ(AppendLog(current_ + "/missing/morva.log", OldLog()), LogAppendResult::kFailed);
  EXPECT_EQ(AppendLog(NewLog(), OldLog()), LogAppendResult::kAppended);
  EXPECT_EQ(AppendLog(NewLog(), OldLog()), LogAppendResult::kAppended);
  EXPECT_EQ(ReadFile(NewLog()), "a\nb\na\nb\n");
  EXPECT_EQ(AppendLog(OldLog(), OldLog()), LogAppendResult::kFailed);
  EXPECT_EQ(ReadFile(OldLog()), "a\nb\n");
}

}  // namespace
