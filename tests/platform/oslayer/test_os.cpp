#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "kolv_os/os.h"
#include "tests/support/scratch.h"

namespace {
// Steps a test runs around the waiter's next poll calls, one per call, to play another reader.
std::function<void()> g_before_next_poll;
std::function<void()> g_after_next_poll;
}  // namespace

// Stands in for the system's poll in this program only.
extern "C" int poll(pollfd* fds, nfds_t count, int timeout) {
  using Poll = int (*)(pollfd*, nfds_t, int);
  static const Poll system_poll = reinterpret_cast<Poll>(dlsym(RTLD_NEXT, "poll"));
  if (auto before = std::exchange(g_before_next_poll, nullptr)) before();
  const int ready = system_poll(fds, count, timeout);
  if (auto after = std::exchange(g_after_next_poll, nullptr)) after();
  return ready;
}

namespace {

// Waits for a spawned child; its own session does not stop it being our child.
int ExitStatus(long pid) {
  int status = 0;
  if (waitpid(static_cast<pid_t>(pid), &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(OsNames, PluginFileNameAndJoinPath) {
  EXPECT_EQ(kolv_os::PluginFileName("mendra_cli"), "mendra_cli.so");
  EXPECT_EQ(kolv_os::PluginFileName("mendra_cli.dll"), "mendra_cli.so");
  EXPECT_EQ(kolv_os::PluginFileName("mendra_gui.so"), "mendra_gui.so");
  EXPECT_EQ(kolv_os::PluginFileName("odd.dll.dll"), "odd.dll.so");
  EXPECT_EQ(kolv_os::PluginFileName("mendra_cli.DLL"), "mendra_cli.DLL.so");
  EXPECT_EQ(kolv_os::JoinPath("/opt/kolv", "mendra_cli.so"), "/opt/kolv/mendra_cli.so");
  EXPECT_EQ(kolv_os::JoinPath("/", "x"), "/x");
  EXPECT_EQ(kolv_os::JoinPath("", "x"), "x");
}

TEST(OsNames, WindowsDirectoryFollowsTheSystemDrive) {
  unsetenv("KOLV_WINDOWS_DIR");
  unsetenv("ZERKA_SYSTEM_DRIVE_LETTER");
  EXPECT_EQ(kolv_os::WindowsDirectory(), "C:\\Windows");
  setenv("ZERKA_SYSTEM_DRIVE_LETTER", "E", 1);
  EXPECT_EQ(kolv_os::WindowsDirectory(), "E:\\Windows");
  setenv("KOLV_WINDOWS_DIR", "D:\\WINNT", 1);
  EXPECT_EQ(kolv_os::WindowsDirectory(), "D:\\WINNT");
  setenv("KOLV_WINDOWS_DIR", "", 1);
  EXPECT_EQ(kolv_os::WindowsDirectory(), "");
  unsetenv("KOLV_WINDOWS_DIR");
  unsetenv("ZERKA_SYSTEM_DRIVE_LETTER");
}

TEST(OsProcess, ExecutablePathIsThisProgram) {
  std::string path = kolv_os::ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_NE(path.find("os_test_os"), std::string::npos) << path;
}

TEST(OsProcess, SpawnDetachedRunsTheProgramInAFreshState) {
  std::string dir = test_support::ScratchDir("spawn");
  std::string out = dir + "/out";
  // Left open on purpose, without close-on-exec: the child must not get it.
  int leaked = open("/dev/null", O_RDONLY);
  ASSERT_GE(leaked, 3);
  struct sigaction ignore = {}, previous_pipe = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous_pipe);
  sigset_t term, previous_mask;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &term, &previous_mask);

  std::string script =
      "echo started > " + out + ";"
      "[ -e /proc/$$/fd/" + std::to_string(leaked) + " ] && echo leaked >> " + out + ";"
      "readlink /proc/$$/fd/0 /proc/$$/fd/2 >> " + out + ";"
      "[ \"$(cut -d' ' -f6 /proc/$$/stat)\" = $$ ] && echo session-leader >> " + out + ";"
      "exit 7";
  std::string error;
  long pid = kolv_os::SpawnDetached("/bin/sh", {"sh", "-c", script}, error);
  // The signal state as a program sees it on start (a shell blocks signals now and then).
  std::string status_copy = dir + "/status";
  long copier = kolv_os::SpawnDetached("/bin/cp", {"cp", "/proc/self/status", status_copy}, error);
  pthread_sigmask(SIG_SETMASK, &previous_mask, nullptr);
  sigaction(SIGPIPE, &previous_pipe, nullptr);
  close(leaked);

  ASSERT_GT(pid, 0) << error;
  EXPECT_EQ(ExitStatus(pid), 7);
  std::string text = test_support::ReadFile(out);
  EXPECT_EQ(text.rfind("started\n", 0), 0u) << text;
  EXPECT_EQ(text.find("leaked"), std::string::npos) << text;
  EXPECT_NE(text.find("/dev/null\n/dev/null\n"), std::string::npos) << text;
  EXPECT_NE(text.find("session-leader"), std::string::npos) << text;

  ASSERT_GT(copier, 0) << error;
  ASSERT_EQ(ExitStatus(copier), 0);
  std::string status = test_support::ReadFile(status_copy);
  EXPECT_NE(status.find("SigBlk:\t0000000000000000"), std::string::npos) << status;
  // An ignored SIGPIPE must not carry over into the child.
  std::string::size_type ignored = status.find("SigIgn:\t");
  ASSERT_NE(ignored, std::string::npos) << status;
  unsigned long long mask = std::stoull(status.substr(ignored + 8, 16), nullptr, 16);
  EXPECT_EQ(mask & (1ull << (SIGPIPE - 1)), 0u) << status;
}

TEST(OsProcess, SpawnDetachedReportsAMissingProgram) {
  std::string error;
  EXPECT_EQ(kolv_os::SpawnDetached("/nonexistent/kolv_cli", {"kolv_cli"}, error), -1);
  EXPECT_NE(error.find("/nonexistent/kolv_cli"), std::string::npos) << error;
  error.clear();
  EXPECT_EQ(kolv_os::SpawnDetached("/bin/true", {}, error), -1);
  EXPECT_FALSE(error.empty());
}

// Standard input replaced by a non-blocking pipe for the test's span.
class PipeOnStandardInput {
 public:
  PipeOnStandardInput() {
    if (pipe2(ends_, O_NONBLOCK) != 0) return;
    saved_ = dup(STDIN_FILENO);
    dup2(ends_[0], STDIN_FILENO);
  }
  ~PipeOnStandardInput() {
    if (saved_ >= 0) dup2(saved_, STDIN_FILENO);
    for (int fd : {saved_, ends_[0], ends_[1]})
      if (fd >= 0) close(fd);
  }
  bool ok() const { return saved_ >= 0; }
  void Write(const char* text) {
    const ssize_t length = static_cast<ssize_t>(std::strlen(text));
    ASSERT_EQ(write(ends_[1], text, static_cast<size_t>(length)), length);
  }
  void CloseWriteEnd() {
    close(ends_[1]);
    ends_[1] = -1;
  }
  std::string Drain() {
    std::string taken;
    char c;
    while (read(ends_[0], &c, 1) == 1) taken += c;
    return taken;
  }

 private:
  int ends_[2] = {-1, -1};
  int saved_ = -1;
};

TEST(OsInput, StandardInputWaiterZeroMeansOnlyAnInterrupt) {
  PipeOnStandardInput input;
  ASSERT_TRUE(input.ok());
  kolv_os::StandardInputWaiter waiter;
  std::string got;

  input.Write("ab");
  EXPECT_EQ(waiter.Read(got), 2);
  EXPECT_EQ(got, "ab");

  // Another reader of the same input takes the byte poll saw; the waiter waits for the next.
  input.Write("x");
  std::string taken;
  g_after_next_poll = [&] {
    taken = input.Drain();
    g_before_next_poll = [&] { input.Write("a"); };
  };
  got.clear();
  EXPECT_EQ(waiter.Read(got), 1);
  EXPECT_EQ(taken, "x");
  EXPECT_EQ(got, "a");

  waiter.Interrupt();
  EXPECT_EQ(waiter.Read(got), 0);
  EXPECT_EQ(waiter.Read(got), 0) << "an interrupt lasts";
  kolv_os::StandardInputWaiter fresh;
  input.CloseWriteEnd();
  EXPECT_EQ(fresh.Read(got), -1);
}

}  // namespace
