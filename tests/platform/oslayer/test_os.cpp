#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "kolv_os/os.h"

namespace {

std::string Scratch(const std::string& name) {
  const char* base = std::getenv("KOLV_TEST_TMP");
  std::string dir = std::string(base && *base ? base : "/tmp") + "/" + name;
  std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
  return dir;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

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
  std::string dir = Scratch("spawn");
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
  std::string text = Slurp(out);
  EXPECT_EQ(text.rfind("started\n", 0), 0u) << text;
  EXPECT_EQ(text.find("leaked"), std::string::npos) << text;
  EXPECT_NE(text.find("/dev/null\n/dev/null\n"), std::string::npos) << text;
  EXPECT_NE(text.find("session-leader"), std::string::npos) << text;

  ASSERT_GT(copier, 0) << error;
  ASSERT_EQ(ExitStatus(copier), 0);
  std::string status = Slurp(status_copy);
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

TEST(OsInput, ReadStandardInputNonBlockingOnAPipe) {
  int p[2];
  ASSERT_EQ(pipe(p), 0);
  int saved = dup(STDIN_FILENO);
  ASSERT_EQ(dup2(p[0], STDIN_FILENO), 0);

  std::string got = "x";
  EXPECT_EQ(kolv_os::ReadStandardInputNonBlocking(got), 0) << "an empty pipe must not block";
  ASSERT_EQ(write(p[1], "ab", 2), 2);
  EXPECT_EQ(kolv_os::ReadStandardInputNonBlocking(got), 2);
  EXPECT_EQ(got, "xab");
  EXPECT_EQ(kolv_os::ReadStandardInputNonBlocking(got), 0);
  ASSERT_EQ(write(p[1], "c", 1), 1);
  close(p[1]);
  EXPECT_EQ(kolv_os::ReadStandardInputNonBlocking(got), 1) << "data before the end is kept";
  EXPECT_EQ(got, "xabc");
  EXPECT_EQ(kolv_os::ReadStandardInputNonBlocking(got), -1);

  dup2(saved, STDIN_FILENO);
  close(saved);
  close(p[0]);
}

}  // namespace
