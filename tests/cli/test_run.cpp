// Diagnostics runs of the real kolv_cli on a scripted catalogue: protocol lines, exit statuses,
// abort from the supervisor, background mode.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/run_program.h"

namespace {

using clitest::RunCli;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(Run, ProtocolLinesOfAScriptedRun) {
  const auto r = RunCli({"--KOLV", "-Mstorage", "0", "1", "7", "-Qf,r(1)"});
  EXPECT_EQ(r.status, 21);
  const std::string device0 =
      "BeginDiagSuite:::Storage\nBeginDiag:::1.1.1\nPrgDiag:::100\nEndDiag:::1|00000\n"
      "PrgDiagSuite:::50\nBeginDiag:::1.1.2\nPrgDiag:::100\nEndDiag:::1|00000\n"
      "PrgDiagSuite:::100\n";
  const std::string device1 =
      "BeginDiagSuite:::Storage\nBeginDiag:::1.1.1\nPrgDiag:::100\nEndDiag:::1|00000\n"
      "PrgDiagSuite:::50\nBeginDiag:::1.1.2\nPrgDiag:::100\nEndDiag:::0|00000\n"
      "PrgDiagSuite:::100\n";
  EXPECT_EQ(r.out.rfind("NOT_FOUND:::7\n" + device0 + "EndDiagSuite:::  1|", 0), 0u) << r.out;
  EXPECT_TRUE(Contains(r.out, device1 + "EndDiagSuite:::  0|")) << r.out;
  EXPECT_EQ(r.out.substr(r.out.size() - 26), "|00000\nPrgDiagSuite:::100\n");
}

TEST(Run, ExitStatusesFollowTheOutcomes) {
  EXPECT_EQ(RunCli({"-Mstorage", "0", "-Q"}).status, 0);
  EXPECT_EQ(RunCli({"-Mstorage", "1", "-Q"}).status, 21);
  EXPECT_EQ(RunCli({"-Mstorage"}).status, 21);  // default diagnostic on every device
  const auto missing = RunCli({"-Mstorage", "7", "-Qf"});
  EXPECT_EQ(missing.status, 31);
  EXPECT_TRUE(Contains(missing.out, "[Warning] Following device(s) are not available: 7\n"));
  // A missing device next to a present one: the run goes on with a warning.
  const auto partly = RunCli({"-Mstorage", "0", "7", "-Qf"});
  EXPECT_EQ(partly.status, 0);
  EXPECT_TRUE(Contains(partly.out, "[Warning] Devices not found: 7\n"));
  EXPECT_TRUE(Contains(partly.out, "Test Status: Passed!"));
  // A failure is not hidden by a missing device.
  EXPECT_EQ(RunCli({"-Mstorage", "1", "-Q", "-Mstorage", "7"}).status, 21);
}

TEST(Run, BackgroundModeReturnsAtOnceAndWritesTheFile) {
  const std::string path = clitest::ScratchDir() + "/background.txt";
  std::remove(path.c_str());
  const auto start = std::chrono::steady_clock::now();
  const auto parent = RunCli({"-b", "-o", path, "-Mstorage", "0", "-Qf"});
  EXPECT_EQ(parent.status, 0);
  EXPECT_EQ(parent.out, "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  std::string text;
  for (int i = 0; i < 300; ++i) {  // hang guard: 30 s
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    text = s.str();
    if (Contains(text, "CLI Execution status:")) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  const std::string tail = "\nCLI Execution status: 0";
  ASSERT_GE(text.size(), tail.size()) << text;
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
  EXPECT_TRUE(Contains(text, "Test Status: Passed!"));
  // The lock is free again once the background copy is done.
  for (int i = 0; i < 100 && RunCli({"-A"}).status == 4; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(RunCli({"-A"}).status, 0);
}

TEST(Run, BackgroundModeChecksTheTestListFirst) {
  const auto r = RunCli({"-b", "-Mstorage", "-Qf,"});
  EXPECT_EQ(r.status, 5);
  EXPECT_TRUE(Contains(r.out, "Fatal parsing error: empty test"));
}

}  // namespace
