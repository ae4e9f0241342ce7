// Aborting a run of the real kolv_cli: Escape typed on its terminal, "a" from a supervising
// program, Ctrl-C. Every way ends the running test and all later ones as cancelled, on every
// device, with exit status 25, and never hangs (the time limits here are hang guards only).
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_application.h"
#include "cli/console_interrupt.h"
#include "cli/thread_manager.h"
#include "support/run_program.h"
#include "support/texts.h"

namespace {

using clitest::Contains;
using clitest::Count;
using clitest::Session;

// Two devices, three tests of one second each: long enough to act in the middle of a test.
const char kCatalogue[] = R"({
  "product_version": "1.0.0.1",
  "modules": [{
    "name": "Storage", "help": "STORAGE_HELP", "version": "2.0.0.7",
    "devices": [{"id": "0", "udi": "U0", "display_name": "DISK_ZERO"},
                {"id": "1", "udi": "U1", "display_name": "DISK_ONE"}],
    "diagnostics": [{"id": "1.1.0", "name": "QUICK", "description": "Q", "tests": [
      {"id": "1.1.1", "name": "READ", "description": "R", "outcome": {"status": "passed", "duration": 1.5}},
      {"id": "1.1.2", "name": "VERIFY", "description": "V", "outcome": {"status": "passed", "duration": 1.5}},
      {"id": "1.1.3", "name": "SEEK", "description": "S", "outcome": {"status": "passed", "duration": 1.5}}]}],
    "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"}],
    "test_options": [{"id": "1.1.1", "letter": "f", "long_name": "read"},
                     {"id": "1.1.2", "letter": "v", "long_name": "verify"},
                     {"id": "1.1.3", "letter": "k", "long_name": "seek"}]
  }]
})";

std::map<std::string, std::string> Environment() {
  return {{"MORVA_CATALOGUE", clitest::WriteScratchFile("abort_catalogue.json", kCatalogue)},
          {"MORVA_TIME_SCALE", "1"}};
}

TEST(Abort, EscapeOnTheTerminal) {
  Session run({"-Mstorage", "0", "1", "-Q"}, Environment(), Session::Console::kTerminal);
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(run.WaitFor("=> Read")) << run.output();
  // An arrow key starts with the Escape byte but is no request to stop.
  run.Type("\x1b[A");
  ASSERT_TRUE(run.WaitFor("=> Verify")) << run.output();
  run.Type("\x1b");
  const auto r = run.Finish();
  EXPECT_EQ(r.status, 25) << r.out;
  EXPECT_EQ(Count(r.out, "Test Status: Passed!"), 1u) << r.out;
  // Verify and Seek on device 0, all three on device 1.
  EXPECT_EQ(Count(r.out, "Test Status: Canceled!"), 5u) << r.out;
  EXPECT_EQ(Count(r.out, "Finished diagnostic: Quick"), 2u) << r.out;
}

TEST(Abort, CtrlCAbortsOnceAndTheSecondDoesNotKill) {
  Session run({"-Mstorage", "0", "1", "-Q"}, Environment(), Session::Console::kPipes);
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(run.WaitFor("=> Read")) << run.output();
  run.Signal(SIGINT);
  run.Signal(SIGINT);
  const auto r = run.Finish();
  EXPECT_EQ(r.status, 25) << r.out;
  EXPECT_EQ(Count(r.out, "Test Status: Passed!"), 0u) << r.out;
  EXPECT_EQ(Count(r.out, "Test Status: Canceled!"), 6u) << r.out;
}

TEST(Abort, TheSupervisorSendsA) {
  Session run({"--KOLV", "-Mstorage", "0", "1", "-Q"}, Environment(), Session::Console::kPipes);
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(run.WaitFor("BeginDiag:::1.1.1\n")) << run.output();
  // Other bytes are read and ignored; reading goes on.
  run.Type("x\n");
  ASSERT_TRUE(run.WaitFor("BeginDiag:::1.1.2\n")) << run.output();
  run.Type("a");
  const auto r = run.Finish();
  EXPECT_EQ(r.status, 25) << r.out;
  EXPECT_EQ(Count(r.out, "EndDiag:::1|"), 1u) << r.out;
  EXPECT_EQ(Count(r.out, "EndDiag:::4|"), 5u) << r.out;
  // Only the first cancelled test of the run has an elapsed time.
  std::vector<std::string> cancelled;
  for (size_t at = r.out.find("EndDiag:::4|"); at != std::string::npos;
       at = r.out.find("EndDiag:::4|", at + 1))
    cancelled.push_back(r.out.substr(at, r.out.find('\n', at) - at));
  ASSERT_EQ(cancelled.size(), 5u);
  for (size_t i = 1; i < cancelled.size(); ++i) EXPECT_EQ(cancelled[i], "EndDiag:::4|00000");
  EXPECT_EQ(Count(r.out, "BeginDiagSuite:::Storage\n"), 2u) << r.out;
}

// The terminal closes under a run (a closed window, a dropped link): the run aborts as on Ctrl-C
// and the finished tests stay in the log. Started with the hangup ignored (nohup), the run goes on
// to its end, and its writes to the closed terminal fail without a word. A background copy's file
// ends with its status.
TEST(Abort, AClosedTerminalAbortsTheRunUnlessTheHangupIsIgnored) {
  struct Row {
    const char* name;
    std::vector<std::string> args;
    const char* wait_for;
    bool ignored;
    int status;
    const char* logged;
  } rows[] = {
      {"console", {"-Mstorage", "0", "-Q"}, "=> Verify", false, 25, " STOP VERIFY ABORTED"},
      {"protocol", {"--KOLV", "-Mstorage", "0", "-Q"}, "BeginDiag:::1.1.2", false, 25,
       " STOP VERIFY ABORTED"},
      {"nohup", {"-Mstorage", "0", "-Q"}, "=> Verify", true, 0, " STOP SEEK SUCCESS"},
  };
  const std::string drive = clitest::ScratchDir() + "/hangup_drive";
  std::map<std::string, std::string> env = Environment();
  env["ZERKA_SYSTEM_DRIVE"] = drive;
  // The children inherit the hangup's handling: a test run under nohup must not decide it.
  const auto previous = std::signal(SIGHUP, SIG_DFL);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove_all(drive);
    std::signal(SIGHUP, row.ignored ? SIG_IGN : SIG_DFL);
    Session run(row.args, env, Session::Console::kTerminal);
    std::signal(SIGHUP, SIG_DFL);
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.WaitFor(row.wait_for)) << run.output();
    run.HangUp();
    EXPECT_EQ(run.FinishUnread(60).status, row.status);
    const std::string log = clitest::ReadFile(drive + "/ProgramData/Tarvex/morva/morva.log");
    EXPECT_TRUE(Contains(log, " STOP READ SUCCESS")) << log;
    EXPECT_TRUE(Contains(log, row.logged)) << log;
  }

  const std::string file = clitest::ScratchDir() + "/hangup_copy.txt";
  env["MORVA_TRACE"] = clitest::ScratchDir() + "/hangup_trace.txt";
  std::remove(env["MORVA_TRACE"].c_str());
  Session copy({"-o", file, "-Mstorage", "0", "-Q", "--vyx-instance"}, env,
               Session::Console::kPipes);
  ASSERT_TRUE(clitest::FileShows(env["MORVA_TRACE"], "TestStarted returned"));
  copy.Signal(SIGHUP);
  EXPECT_EQ(copy.Finish().status, 25);
  EXPECT_TRUE(Contains(clitest::ReadFile(file), "\nCLI Execution status: 25"))
      << clitest::ReadFile(file);
  std::signal(SIGHUP, previous);
}

// A scan that never ends by itself: ending at all shows that the signal was heard.
std::map<std::string, std::string> EndlessScan() {
  return {{"MORVA_CATALOGUE", clitest::WriteScratchFile("endless_scan.json", R"({
        "modules": [{"name": "Storage", "scan": {"duration": 1000000},
          "devices": [{"id": "0", "udi": "U0", "display_name": "D"}],
          "diagnostics": [{"id": "1.1.0", "name": "QUICK", "description": "Q", "tests": [
            {"id": "1.1.1", "name": "READ", "description": "R"}]}],
          "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"}]}]})")},
          {"MORVA_TIME_SCALE", "1"}};
}

TEST(Abort, SignalsDuringADeviceScanEndTheProgram) {
  struct Row {
    std::vector<std::string> args;
    int signal_number;
  } rows[] = {{{"-Mstorage", "-D"}, SIGINT}, {{"-Mstorage", "-Q"}, SIGTERM}};
  for (const Row& row : rows) {
    Session run(row.args, EndlessScan(), Session::Console::kPipes);
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.WaitFor("Scanning storage devices")) << run.output();
    run.Signal(row.signal_number);
    const auto r = run.Finish();
    EXPECT_EQ(r.status, 25) << row.args[1] << "\n" << r.out;
  }
}

// The modes a new terminal starts with, as the user's terminal was before the program ran.
termios FreshTerminalModes() {
  termios modes = {};
  int master = -1, slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
    tcgetattr(slave, &modes);
    close(slave);
    close(master);
  }
  return modes;
}

// However the program ends, the terminal keeps echo, line mode and its read settings.
TEST(Abort, EveryWayOutGivesTheTerminalBack) {
  const termios before = FreshTerminalModes();
  ASSERT_TRUE((before.c_lflag & ICANON) && (before.c_lflag & ECHO));
  struct Row {
    const char* name;
    std::vector<std::string> args;
    std::map<std::string, std::string> env;
    const char* wait_for;  // null: nothing to wait for, no signal
    int signal_number;
    int status;
  };
  const Row rows[] = {
      {"normal end", {"-Mstorage", "0", "-Qf"}, {}, nullptr, 0, 0},
      {"refused command line", {"-Mstorage", "-Qf,"}, {}, nullptr, 0, 5},
      {"Ctrl-C during a test", {"-Mstorage", "0", "-Q"}, Environment(), "=> Read", SIGINT, 25},
      {"SIGTERM during a test", {"-Mstorage", "0", "-Q"}, Environment(), "=> Read", SIGTERM, 25},
      {"Ctrl-C during a scan", {"-Mstorage", "-Q"}, EndlessScan(), "Scanning storage", SIGINT, 25},
      // A tool that holds the console of its own and ends without waiting for the engine.
      {"Ctrl-C while a tool waits", {"-Mstorage", "-Trecord", "-w"}, {}, "Waiting for an interrupt",
       SIGINT, 25},
      {"SIGTERM while a tool waits", {"-Mstorage", "-Trecord", "-w"}, {},
       "Waiting for an interrupt", SIGTERM, 25},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Session run(row.args, row.env, Session::Console::kTerminal);
    ASSERT_TRUE(run.started());
    if (row.wait_for) {
      ASSERT_TRUE(run.WaitFor(row.wait_for)) << run.output();
      run.Signal(row.signal_number);
    }
    const auto r = run.Finish();
    EXPECT_EQ(r.status, row.status) << r.out;
    termios after = {};
    ASSERT_TRUE(run.TerminalModes(after));
    EXPECT_EQ(after.c_lflag, before.c_lflag) << std::hex << (before.c_lflag & ~after.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_cc[VMIN], before.c_cc[VMIN]);
    EXPECT_EQ(after.c_cc[VTIME], before.c_cc[VTIME]);
  }
}

// The first test lasts until it is cancelled, however late a request comes.
std::map<std::string, std::string> LongFirstTest() {
  std::string catalogue = kCatalogue;
  const std::string quick = "\"duration\": 1.5";
  catalogue.replace(catalogue.find(quick), quick.size(), "\"duration\": 100000");
  std::map<std::string, std::string> env = Environment();
  env["MORVA_CATALOGUE"] = clitest::WriteScratchFile("long_first_test.json", catalogue);
  return env;
}

TEST(Abort, TheSupervisorAbortsAsTheRunStarts) {
  const std::string trace = clitest::ScratchDir() + "/run_start_trace.txt";
  std::remove(trace.c_str());
  std::map<std::string, std::string> env = LongFirstTest();
  env["MORVA_TRACE"] = trace;
  Session run({"--KOLV", "-Mstorage", "0", "1", "-Q"}, env, Session::Console::kPipes);
  ASSERT_TRUE(run.started());
  // The scan is over: the request reaches the run, not the scan.
  ASSERT_TRUE(clitest::FileShows(trace, "Scan module=Storage result=")) << clitest::ReadFile(trace);
  run.Type("xa");
  const auto r = run.Finish();
  EXPECT_EQ(r.status, 25) << r.out;
  EXPECT_EQ(Count(r.out, "EndDiag:::4|"), 6u) << r.out;
  EXPECT_EQ(Count(r.out, "EndDiag:::1|"), 0u) << r.out;
}

// "a" while the devices are scanned ends the program there, as Ctrl-C does; the scan never ends
// by itself, so ending at all shows that the request was heard.
TEST(Abort, TheSupervisorAbortsADeviceScan) {
  const std::string trace = clitest::ScratchDir() + "/scan_abort_trace.txt";
  std::map<std::string, std::string> env = EndlessScan();
  env["MORVA_TRACE"] = trace;
  struct Row {
    std::vector<std::string> args;
    bool during_scan;  // else typed at once, before the scan starts or while it starts
  } rows[] = {{{"--KOLV", "-Mstorage", "-Q"}, true},
              {{"--KOLV", "-Mstorage", "-D"}, true},
              {{"--KOLV", "-Mstorage", "-Q"}, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args[2] + (row.during_scan ? " during the scan" : " at once"));
    std::remove(trace.c_str());
    Session run(row.args, env, Session::Console::kPipes);
    ASSERT_TRUE(run.started());
    if (row.during_scan) {
      ASSERT_TRUE(clitest::FileShows(trace, "Scan module=Storage")) << clitest::ReadFile(trace);
    }
    run.Type("a");
    const auto r = run.Finish();
    EXPECT_EQ(r.status, 25) << r.out;
    EXPECT_FALSE(clitest::Contains(r.out, "BeginDiag")) << r.out;
    EXPECT_FALSE(clitest::Contains(r.out, "ID:::")) << r.out;
  }
}

// A supervisor that reads slowly keeps a full pipe most of the time. Ctrl-C then aborts the run as
// always: the supervisor reads the cancelled tests and the rest of the run, however slowly.
TEST(Abort, CtrlCWhileASlowSupervisorCatchesUpAbortsTheRun) {
  std::string devices;
  std::vector<std::string> args = {"--KOLV", "-Mstorage"};
  for (int i = 0; i < 1500; ++i) {
    const std::string id = std::to_string(i);
    devices += std::string(i ? "," : "") + R"({"id": ")" + id + R"(", "udi": "U)" + id +
               R"(", "display_name": "D"})";
    args.push_back(id);
  }
  args.push_back("-Qf");
  const std::string catalogue = R"({"modules": [{"name": "Storage", "devices": [)" + devices + R"(],
      "diagnostics": [{"id": "1.1.0", "name": "QUICK", "description": "Q", "tests": [
        {"id": "1.1.1", "name": "READ", "description": "R", "outcome": {"status": "passed", "duration": 1}}]}],
      "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"}],
      "test_options": [{"id": "1.1.1", "letter": "f", "long_name": "read"}]}]})";
  Session run(args,
              {{"MORVA_CATALOGUE", clitest::WriteScratchFile("many_devices.json", catalogue)},
               {"MORVA_TIME_SCALE", "0.0001"}},
              Session::Console::kPipes);
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(run.WaitFor("BeginDiagSuite:::Storage\n")) << run.output();
  // Nothing is read from here to the signal: the pipe stays full.
  ASSERT_TRUE(run.WaitUntilBlockedInAPipeWrite(60, false)) << run.output();
  run.Signal(SIGINT);
  const auto r = run.Finish(120, 1024, 20);
  EXPECT_EQ(r.status, 25) << r.out.substr(r.out.size() - std::min<size_t>(r.out.size(), 2000));
  EXPECT_FALSE(clitest::Contains(r.out, "output lost")) << r.out.substr(0, 2000);
  EXPECT_GE(Count(r.out, "EndDiag:::4|"), 1u);
  // Every device is there to the end.
  EXPECT_EQ(Count(r.out, "BeginDiagSuite:::Storage\n"), 1500u);
  EXPECT_EQ(Count(r.out, "EndDiagSuite:::"), 1500u);
}

// A supervisor or a user asks for the abort and its reader stops taking output: the program ends
// two seconds later all the same, and the first test's failure is still its status. The second
// test runs until it is cancelled; the cancelled rest is far more than a pipe holds.
TEST(Abort, AReaderThatStopsAfterTheAbortNeverHidesAFinding) {
  std::string tests = R"({"id": "1.1.1", "name": "T1", "description": "D",
      "outcome": {"status": "failed", "duration": 0.01}},
      {"id": "1.1.2", "name": "T2", "description": "D",
       "outcome": {"status": "passed", "duration": 100000, "progress": [0, 100]}})";
  for (int i = 3; i <= 3000; ++i)
    tests += R"(, {"id": "1.1.)" + std::to_string(i) + R"(", "name": "T)" + std::to_string(i) +
             R"(", "description": "D", "outcome": {"status": "passed", "duration": 0.01}})";
  const std::string catalogue = R"({"modules": [{"name": "Storage",
      "devices": [{"id": "0", "udi": "U0", "display_name": "D"}],
      "diagnostics": [{"id": "1.1.0", "name": "QUICK", "description": "Q", "tests": [)" + tests + R"(]}],
      "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"}]}]})";
  const std::map<std::string, std::string> env = {
      {"MORVA_CATALOGUE", clitest::WriteScratchFile("first_of_many_fails.json", catalogue)},
      {"MORVA_TIME_SCALE", "1"}};
  struct Row {
    const char* name;
    std::vector<std::string> args;
    Session::Console console;
    const char* second_test;
    int signal_number;  // else the keys are typed
    const char* keys;
  } rows[] = {
      {"Ctrl-C", {"--KOLV", "-Mstorage", "0", "-Q"}, Session::Console::kPipesErrorsApart,
       "BeginDiag:::1.1.2\n", SIGINT, nullptr},
      {"a", {"--KOLV", "-Mstorage", "0", "-Q"}, Session::Console::kPipesErrorsApart,
       "BeginDiag:::1.1.2\n", 0, "a"},
      {"Escape", {"-Mstorage", "0", "-Q"}, Session::Console::kTerminalOutputApart, "=> T2\n", 0,
       "\x1b"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Session run(row.args, env, row.console);
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.WaitFor(row.second_test)) << run.output();
    ASSERT_TRUE(clitest::Contains(run.output(), row.console == Session::Console::kTerminalOutputApart
                                                    ? "Test Status: Fail!"
                                                    : "EndDiag:::0|"))
        << run.output();
    // From here on nothing is read.
    if (row.keys)
      run.Type(row.keys);
    else
      run.Signal(row.signal_number);
    const auto r = run.FinishUnread(60);
    EXPECT_EQ(r.status, 21) << r.err;
    EXPECT_TRUE(clitest::Contains(r.err, "output lost: the reader takes no more output\n")) << r.err;
  }
}

// In this process: an interrupt that comes as the program ends, once the engine was given back,
// finds no engine to abort.
TEST(Abort, AnInterruptAsTheProgramEndsNeverReachesTheReleasedEngine) {
  static bool engine_still_known = false;
  ThreadManager::after_engine_release = [] {
    engine_still_known = CliService() != nullptr;
    OnConsoleInterrupt(SIGINT);
  };
  {
    CliApplication app;
    ASSERT_NE(CliService(), nullptr);
  }
  ThreadManager::after_engine_release = nullptr;
  EXPECT_FALSE(engine_still_known);
  EXPECT_EQ(CliService(), nullptr);
}

// Job control at an interactive shell: a run in the background never stops on the terminal,
// whatever is typed to the shell meanwhile and however the job got there, and a job brought to
// the foreground is aborted as ever. The first test runs until it is cancelled.
struct JobRow {
  const char* name;
  std::vector<std::string> args;
  const char* started;  // what the output file shows once the run has started
};
const JobRow kJobRows[] = {
    {"protocol", {"--KOLV", "-Mstorage", "0", "-Q"}, "BeginDiag:::1.1.1\n"},
    {"console", {"-Mstorage", "0", "-Q"}, "Scanning storage devices finished"},
};

std::string CommandLine(const JobRow& row, const std::string& output) {
  std::string line = "$KOLV";
  for (const std::string& arg : row.args) line += " " + arg;
  return line + " > " + output;
}

TEST(JobControl, AJobInTheBackgroundLeavesTheTerminalToTheShell) {
  for (const JobRow& row : kJobRows) {
    SCOPED_TRACE(row.name);
    clitest::Shell shell(LongFirstTest());
    ASSERT_TRUE(shell.started());
    const std::string output = clitest::ScratchDir() + "/background_job.txt";
    std::remove(output.c_str());
    shell.Line(CommandLine(row, output) + " &");
    const pid_t job = std::atoi(shell.Value("$!").c_str());
    ASSERT_GT(job, 0) << shell.output();
    ASSERT_TRUE(clitest::FileShows(output, row.started)) << clitest::ReadFile(output);
    // The user goes on working at the shell while the run goes on.
    EXPECT_EQ(shell.Value("typed"), "typed");
    EXPECT_NE(clitest::ProcessState(job), 'T');
    shell.Line("kill -INT %1");
    EXPECT_EQ(shell.JobStatus("%1", job), "25") << shell.output();
  }
}

// The job's process group owns the terminal.
bool InTheForeground(pid_t pid) {
  const std::string stat = clitest::ReadFile("/proc/" + std::to_string(pid) + "/stat");
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return false;
  std::istringstream fields(stat.substr(close + 2));
  std::string state, parent, group, session, terminal, foreground;
  fields >> state >> parent >> group >> session >> terminal >> foreground;
  return !group.empty() && group == foreground;
}

TEST(JobControl, AJobBroughtToTheForegroundIsAbortedAsEver) {
  struct Row {
    const JobRow& job;
    const char* keys;
  } rows[] = {{kJobRows[0], "a\r"}, {kJobRows[1], "\x1b"}, {kJobRows[0], "\x03"},
              {kJobRows[1], "\x03"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.job.name) + " " + (row.keys[0] == 3 ? "Ctrl-C" : row.keys));
    clitest::Shell shell(LongFirstTest());
    ASSERT_TRUE(shell.started());
    const std::string output = clitest::ScratchDir() + "/foreground_job.txt";
    std::remove(output.c_str());
    shell.Line(CommandLine(row.job, output) + " &");
    const pid_t job = std::atoi(shell.Value("$!").c_str());
    ASSERT_GT(job, 0) << shell.output();
    ASSERT_TRUE(clitest::FileShows(output, row.job.started)) << clitest::ReadFile(output);
    shell.Line("fg");
    const auto guard = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!InTheForeground(job)) {
      ASSERT_LT(std::chrono::steady_clock::now(), guard) << shell.output();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    shell.Type(row.keys);
    // Typed before the job's end, the next line would be the job's input.
    while (clitest::ProcessState(job) != 0 && clitest::ProcessState(job) != 'Z') {
      ASSERT_LT(std::chrono::steady_clock::now(), guard) << shell.output();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(shell.Value("$?"), "25") << shell.output();
    EXPECT_EQ(Count(clitest::ReadFile(output), row.job.name[0] == 'p' ? "EndDiag:::4|" : "Canceled!"),
              3u);
  }
}

// Ctrl-Z, then bg: the job runs on and ends in the background, and leaves the terminal as the
// shell has it.
TEST(JobControl, AJobStoppedAndSentToTheBackgroundEndsThere) {
  for (const JobRow& row : kJobRows) {
    SCOPED_TRACE(row.name);
    clitest::Shell shell(LongFirstTest());
    ASSERT_TRUE(shell.started());
    const std::string modes = shell.Value("$(stty -g)");
    ASSERT_FALSE(modes.empty()) << shell.output();
    const std::string output = clitest::ScratchDir() + "/stopped_job.txt";
    std::remove(output.c_str());
    shell.Line(CommandLine(row, output));
    ASSERT_TRUE(clitest::FileShows(output, row.started)) << clitest::ReadFile(output);
    shell.Type("\x1a");
    ASSERT_TRUE(shell.WaitFor("Stopped")) << shell.output();
    const pid_t job = std::atoi(shell.Value("$(jobs -p %1)").c_str());
    ASSERT_GT(job, 0) << shell.output();
    shell.Line("bg");
    EXPECT_EQ(shell.Value("typed"), "typed");
    shell.Line("kill -INT %1");
    EXPECT_EQ(shell.JobStatus("%1", job), "25") << shell.output();
    EXPECT_EQ(shell.Value("$(stty -g)"), modes);
  }
}

}  // namespace
