// kolv_cli -Mstorage -Trecover on the demo catalogue, as a user runs it.
#include <gtest/gtest.h>

#include "cli/console_interrupt.h"
#include "run_program.h"
#include "texts.h"

#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

#include "../common/support/tool_run_throws.h"
#include "argv.h"
#include "cli/cli_application.h"
#include "cli/thread_manager.h"
#include "cli/tool_cli.h"
#include "tests/platform/zerka/support/watcher_hold.h"

using clitest::Contains;
using clitest::Count;
using clitest::RunCli;

namespace {

// The demo catalogue that ctest names, with Windows on drive C:.
std::map<std::string, std::string> DemoMachine() {
  const char* catalogue = std::getenv("MORVA_CATALOGUE");
  return {{"KOLV_WINDOWS_DIR", "C:\\Windows"}, {"MORVA_CATALOGUE", catalogue ? catalogue : ""}};
}

clitest::Outcome Tool(std::vector<std::string> words, const std::string& input = "") {
  words.insert(words.begin(), {"-Mstorage", "-Trecover"});
  return RunCli(words, DemoMachine(), input);
}

// A storage module whose disks each end a repair with the given code. Disk 0 holds the system
// on "c:\"; the engine takes the system to be on Z:, so it would repair disk 0 if asked.
struct Disk {
  const char* id;
  const char* name;
  const char* mount;
  int code;
  const char* interaction = nullptr;  // a question asked during the scan or the repair
};

std::map<std::string, std::string> RiggedMachine(const std::vector<Disk>& disks,
                                                 const std::string& windows_dir,
                                                 double scan_seconds = 0.1, double run_seconds = 0.5) {
  std::string devices, scripts;
  for (const Disk& d : disks) {
    const std::string id = d.id;
    devices += std::string(devices.empty() ? "" : ",") + R"({"id": ")" + id + R"(", "udi": "U)" + id +
               R"(", "display_name": ")" + d.name + R"(", "rows": {"MODEL": "M"},
       "attributes": {"NonRotatingMedia": "F"},
       "resources": [{"name": "PARTITION", "properties": {"MOUNT_POINT": ")" + d.mount +
               R"(", "FILESYSTEM": "NTFS", "SIZE": "1 GB"}}]})";
    const std::string run = R"({"code": )" + std::to_string(d.code) +
                            R"(, "sectors": [100, 0, 0, 0], "duration": )" + std::to_string(run_seconds) +
                            (d.interaction ? std::string(R"(, "interaction": )") + d.interaction : "") + "}";
    scripts += std::string(scripts.empty() ? "" : ",") + "\"" + id +
               R"(": {"filter": {"logical": true, "physical": true}, "scan": )" + run +
               R"(, "repair": )" + run + "}";
  }
  const std::string catalogue = R"({"product_version": "1.0.0.1", "modules": [{"name": "storage",
    "help": "H", "version": "1.0.0.1", "scan": {"duration": )" + std::to_string(scan_seconds) +
                                R"(}, "devices": [)" + devices +
                                R"(], "tools": [{"name": "Mendra", "hint": "recover",
    "description": "D", "devices": {)" + scripts + "}}]}]}";
  return {{"KOLV_WINDOWS_DIR", windows_dir},
          {"ZERKA_SYSTEM_DRIVE_LETTER", "Z"},
          {"MORVA_CATALOGUE", clitest::WriteScratchFile("rigged_catalogue.json", catalogue)}};
}

const Disk kSystem{"0", "SYSTEM_DISK", "c:\\\\", 0};
const Disk kClean{"6", "CLEAN_DISK", "M:\\\\", 0};
const Disk kNoRights{"5", "NO_RIGHTS_DISK", "L:\\\\", 7};
const Disk kOdd{"7", "ODD_DISK", "N:\\\\", 13};

TEST(MendraToolRun, ScanReportsEachChosenDeviceWithItsBadSectors) {
  clitest::Outcome run = Tool({"-s", "0", "2"});
  // Errors found on one disk: a failed run, whatever the other disk found.
  EXPECT_EQ(run.status, 21);
  EXPECT_TRUE(Contains(run.out, " Press ESC To Abort Operations\n"));
  EXPECT_TRUE(Contains(run.out, "Started Operation: Scan\n"));
  EXPECT_TRUE(Contains(run.out, "=> SATA_HDD_1TB \n"));
  EXPECT_TRUE(Contains(run.out, "=> SATA_HDD_2TB \n"));
  EXPECT_FALSE(Contains(run.out, "NVME_SSD_512GB"));
  EXPECT_TRUE(Contains(run.out, "Operation status: Errors were found - 12 sectors could not be read.\n"));
  EXPECT_TRUE(Contains(run.out, "   104857612, 104857613, 104857614, 104857615, 209715230\n"));
  EXPECT_TRUE(Contains(run.out, "   1677721620, 3355443240\n"));
  EXPECT_EQ(Count(run.out, "Operation status: No errors were found"), 1u);
  EXPECT_FALSE(Contains(run.out, "corrected"));
}

TEST(MendraToolRun, RepairAsksFirstAndRefusalRunsNothing) {
  // The question names what will be repaired; a refusal is the user's cancellation.
  clitest::Outcome refused = Tool({"-r", "2"}, "n\n");
  EXPECT_EQ(refused.status, 25);
  EXPECT_TRUE(Contains(refused.out, "> The execution of the scan and repair can cause data loss. "
                                    "It is recommended to make a backup before execute this "
                                    "operation.\n"
                                    "> These devices will be repaired:\n"
                                    "  2\tSATA_HDD_2TB\n"
                                    "> Are you sure you want to proceed? (y/n) n\n"));
  EXPECT_FALSE(Contains(refused.out, "Started Operation"));

  // A closed input cannot confirm.
  clitest::Outcome closed = Tool({"-r", "2"}, "");
  EXPECT_EQ(closed.status, 25);
  EXPECT_FALSE(Contains(closed.out, "Started Operation"));

  // -s beside -r runs the repair; with no targets the system disk and the SSD stay out.
  clitest::Outcome accepted = Tool({"-s", "-r"}, "y\n");
  // Some sectors left uncorrected: a warning, not a success.
  EXPECT_EQ(accepted.status, 22);
  EXPECT_TRUE(Contains(accepted.out, "[Warning] Ignoring the 's' option"));
  EXPECT_TRUE(Contains(accepted.out, "> These devices will be repaired:\n  2\tSATA_HDD_2TB\n"
                                     "  3\tUSB_FLASH_DISK_32GB\n> Are you sure"));
  EXPECT_TRUE(Contains(accepted.out, "Started Operation: Repair\n"));
  EXPECT_FALSE(Contains(accepted.out, "SATA_HDD_1TB"));
  EXPECT_FALSE(Contains(accepted.out, "NVME_SSD_512GB"));
  EXPECT_TRUE(Contains(accepted.out, "Number of bad sectors corrected: 9\n"));
  EXPECT_TRUE(Contains(accepted.out, "Number of bad sectors left uncorrected: 3\n"));
  EXPECT_TRUE(Contains(accepted.out, "Unable to fix errors - 3 of the 12 bad sectors could not be remapped."));
  EXPECT_TRUE(Contains(accepted.out, "=> USB_FLASH_DISK_32GB \n"));
}

// Whatever the engine would accept, a repair never takes the system disk, and one device the tool
// could not work on is never hidden by another one's success.
TEST(MendraToolRun, RepairTouchesOnlyTheListedDevicesAndTellsEveryOutcome) {
  struct Case {
    std::vector<Disk> disks;
    const char* windows_dir;
    std::vector<std::string> words;
    int status;
    std::string listed;  // the devices the question names; empty: no question
  };
  const Case cases[] = {
      {{kSystem, kClean}, "C:\\Windows", {"-r"}, 0, "  6\tCLEAN_DISK\n"},
      {{kSystem, kClean}, "C:\\Windows", {"-r", "0", "6"}, 0, "  6\tCLEAN_DISK\n"},
      {{kSystem}, "C:\\Windows", {"-r"}, 31, ""},
      {{kSystem, kClean}, "", {"-r"}, 31, ""},
      {{kSystem, kClean}, "", {"-r", "0", "6"}, 31, ""},
      // A Windows folder without its drive letter tells no drive either.
      {{kSystem, kClean}, "\\Windows", {"-r"}, 31, ""},
      {{kSystem, kClean}, "Windows", {"-r"}, 31, ""},
      {{kSystem, kClean}, "/c/Windows", {"-r", "0", "6"}, 31, ""},
      {{kSystem, kClean}, " C:\\Windows", {"-r"}, 31, ""},
      {{kNoRights, kClean}, "C:\\Windows", {"-r"}, 23, "  5\tNO_RIGHTS_DISK\n  6\tCLEAN_DISK\n"},
      {{kClean, kOdd}, "C:\\Windows", {"-r"}, 24, "  6\tCLEAN_DISK\n  7\tODD_DISK\n"},
      {{kClean, kOdd}, "C:\\Windows", {"-s"}, 24, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> words{"-Mstorage", "-Trecover"};
    words.insert(words.end(), c.words.begin(), c.words.end());
    SCOPED_TRACE(std::string(c.windows_dir) + " " + words.back());
    clitest::Outcome run = RunCli(words, RiggedMachine(c.disks, c.windows_dir), "y\n");
    EXPECT_EQ(run.status, c.status);
    EXPECT_FALSE(Contains(run.out, "SYSTEM_DISK"));
    if (c.listed.empty()) {
      EXPECT_FALSE(Contains(run.out, "(y/n)"));
    } else {
      EXPECT_TRUE(Contains(run.out, "> These devices will be repaired:\n" + c.listed + "> Are you"));
    }
    if (c.status == 31) {
      EXPECT_TRUE(Contains(run.out, "There are no devices applicable for that operation\n"));
      EXPECT_FALSE(Contains(run.out, "Started Operation"));
    }
    if (std::string(c.windows_dir).rfind("C:\\", 0) != 0) {
      EXPECT_TRUE(Contains(run.out, "[Warning] The operating system drive cannot be told, so no "
                                    "device is offered for repair\n"));
    }
  }
}

// Ctrl-C or SIGTERM before the repair starts ends the run there, with nothing repaired.
TEST(MendraToolRun, InterruptBeforeTheRepairRunsNothing) {
  struct Case {
    clitest::Session::Console console;
    const char* wait_for;
    int signal_number;
  };
  const Case cases[] = {
      {clitest::Session::Console::kTerminal, "(y/n) ", SIGINT},
      {clitest::Session::Console::kPipes, "(y/n) ", SIGTERM},
      {clitest::Session::Console::kPipes, "(y/n) ", SIGINT},
      // The device scan never ends by itself: ending at all shows that the signal was heard.
      {clitest::Session::Console::kTerminal, "Scanning devices... ", SIGINT},
      {clitest::Session::Console::kPipes, "Scanning devices... ", SIGTERM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.wait_for) + std::to_string(c.signal_number));
    const bool at_question = std::string(c.wait_for) == "(y/n) ";
    std::map<std::string, std::string> env =
        RiggedMachine({kSystem, kClean}, "C:\\Windows", at_question ? 0.1 : 1000000);
    env["MORVA_TIME_SCALE"] = "1";
    clitest::Session session({"-Mstorage", "-Trecover", "-r", "6"}, env, c.console);
    ASSERT_TRUE(session.started());
    ASSERT_TRUE(session.WaitFor(c.wait_for));
    session.Signal(c.signal_number);
    clitest::Outcome run = session.Finish();
    EXPECT_EQ(run.status, 25) << run.out;
    EXPECT_FALSE(Contains(run.out, "Started Operation"));
  }
}

// In this process, as kolv_cli runs the tool, with "y" as the answer to any question. at(step)
// is called once the host took the signals ("host"), once the tool took them over ("tool"),
// once its run returned ("ran") and once the tool was released ("released").
struct InProcessRun {
  int tool_status = -1;
  unsigned exit_status = 0;  // as the host ends with it
  std::string calls;         // the engine's trace
};

void RunToolInProcess(const std::vector<std::string>& words,
                      const std::function<void(const char* step)>& at, InProcessRun& run) {
  static int runs = 0;
  const std::string trace = clitest::ScratchDir() + "/in_process_trace_" + std::to_string(++runs) + ".txt";
  std::remove(trace.c_str());
  setenv("MORVA_TRACE", trace.c_str(), 1);
  setenv("KOLV_WINDOWS_DIR", "C:\\Windows", 1);
  int answer[2];
  ASSERT_EQ(pipe(answer), 0);
  ASSERT_EQ(write(answer[1], "y\n", 2), 2);
  close(answer[1]);
  const int saved_input = dup(STDIN_FILENO);
  dup2(answer[0], STDIN_FILENO);
  close(answer[0]);
  {
    CliApplication app;
    ASSERT_NE(app.signal_handler, nullptr);
    std::vector<ModuleInterfaceView*>* modules = ThreadManager::Instance().loaded_modules();
    ASSERT_TRUE(modules && !modules->empty());
    ModuleInterfaceView* storage = modules->front();
    ASSERT_FALSE(storage->tools().empty());
    at("host");
    void* plugin = dlopen(MENDRA_CLI_PLUGIN, RTLD_NOW);
    ASSERT_NE(plugin, nullptr) << dlerror();
    auto get_tool = reinterpret_cast<GetToolCliFunction>(dlsym(plugin, "GetToolCli"));
    auto release = reinterpret_cast<ReleaseToolCliFunction>(dlsym(plugin, "ReleaseToolCli"));
    ASSERT_TRUE(get_tool && release);
    ToolCli* tool = get_tool(storage, storage->tools().front());
    tool->SetProperty({"BOOTABLE", "FALSE"});
    at("tool");
    std::vector<std::string> line_words{"-Mstorage", "-Trecover"};
    line_words.insert(line_words.end(), words.begin(), words.end());
    clitest::Argv line(line_words, "kolv_cli");
    optind = 3;  // where the host's parse leaves it: just after -T
    run.tool_status = tool->Run(line.argc(), line.argv());
    at("ran");
    release(tool);
    at("released");
    app.outcome.Decide(static_cast<unsigned>(run.tool_status));
    run.exit_status = ExitStatus(app);
  }
  dup2(saved_input, STDIN_FILENO);
  close(saved_input);
  unsetenv("MORVA_TRACE");
  unsetenv("KOLV_WINDOWS_DIR");
  run.calls = clitest::ReadFile(trace);
}

// An interrupt whose delivery is held up inside the host's callback (a preempted watcher
// thread) while the tool takes the signals over still stops the tool before anything runs on
// the engine.
std::atomic<bool> g_host_callback_entered{false};
void PreemptedHostCallback(int signal_number) {
  g_host_callback_entered = true;
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  OnConsoleInterrupt(signal_number);
}

TEST(MendraToolRun, AnInterruptAsTheToolTakesTheSignalsOverStopsIt) {
  InProcessRun run;
  RunToolInProcess({"-r", "2"}, [](const char* step) {
    if (std::string(step) != "host") return;
    get_signal_handler()->Register(&PreemptedHostCallback);
    raise(SIGTERM);
    while (!g_host_callback_entered) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }, run);
  get_signal_handler()->Unregister();
  EXPECT_EQ(run.tool_status, 25);
  EXPECT_TRUE(Contains(run.calls, "LoadModules")) << run.calls;
  EXPECT_FALSE(Contains(run.calls, "ExecuteTool")) << run.calls;
}

// However long the watcher is held, at whatever point, an interrupt taken since the host took
// the signals keeps every tool run from starting (the device filter too) and the run ends as
// cancelled; one after the tool was released still reaches the host's callback.
TEST(MendraToolRun, AnInterruptHeldUpInTheWatcherIsNeverLost) {
  struct Case {
    std::vector<std::string> words;
    const char* hold_at;
    const char* raise_at;
  };
  const Case cases[] = {
      // Held inside a callback, the watcher would hold up the tool's Register itself.
      {{"-s", "3"}, "taken", "host"},    {{"-s", "3"}, "taken", "tool"},
      {{"-s", "3"}, "calling", "tool"},  {{"-s", "3"}, "returned", "tool"},
      {{"-r", "2"}, "taken", "host"},    {{"-r", "2"}, "calling", "tool"},
      {{"-l"}, "taken", "tool"},         {{"-l"}, "calling", "tool"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words[0] + " held at " + c.hold_at + ", raised once the " + c.raise_at + " took the signals");
    InProcessRun run;
    std::unique_ptr<WatcherHold> hold;
    RunToolInProcess(c.words, [&](const char* step) {
      if (std::string(step) == c.raise_at) {
        hold = std::make_unique<WatcherHold>(c.hold_at);
        raise(SIGTERM);
        hold->WaitUntilHeld();
      } else if (std::string(step) == "ran") {
        hold->Release();
        hold->WaitForPass("returned");
      } else if (std::string(step) == "released") {
        // Given back to the default action, this one would kill the program.
        raise(SIGINT);
        hold->WaitForPass("returned", 2);
      }
    }, run);
    EXPECT_EQ(run.tool_status, 25);
    EXPECT_EQ(run.exit_status, 25u);
    EXPECT_FALSE(Contains(run.calls, "ExecuteTool")) << run.calls;
  }
}

// An engine that throws as it runs the tool (out of memory, for one) ends the run unable to
// execute, as the host's own runs end.
TEST(MendraToolRun, AnEngineThatThrowsEndsUnableToExecute) {
  InProcessRun run;
  mdrtest::g_tool_run_throws = true;
  testing::internal::CaptureStdout();
  RunToolInProcess(
      {"-s", "2"}, [](const char*) {}, run);
  const std::string out = testing::internal::GetCapturedStdout();
  mdrtest::g_tool_run_throws = false;
  EXPECT_EQ(run.tool_status, 2);
  EXPECT_TRUE(Contains(out, "Unable to execute")) << out;
}

// A reader that stops taking the tool's output holds it in a write: Ctrl-C and SIGTERM still end
// it, as they end the host, and the single-instance lock is given back. The finding of the
// device whose report could not be written stays, as on the host's cancelled ends.
TEST(MendraToolRun, AnInterruptEndsAToolWhoseReaderStopped) {
  std::string bad = "[";
  for (int i = 0; i < 30000; ++i) bad += (i ? ", " : "") + std::to_string(1000000 + i);
  bad += "]";
  const struct {
    int signal_number, code, status;
  } rows[] = {{SIGINT, 0, 25}, {SIGTERM, 12, 21}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.signal_number);
    std::map<std::string, std::string> env =
        RiggedMachine({kSystem, {"6", "SCANNED_DISK", "M:\\\\", row.code}}, "C:\\Windows");
    std::string catalogue = clitest::ReadFile(env["MORVA_CATALOGUE"]);
    const std::string sectors = R"("sectors": [100, 0, 0, 0])";
    const std::string many = R"("sectors": [100, 30000, 0, 0], "bad_sectors": )" + bad;
    for (size_t at = catalogue.find(sectors); at != std::string::npos;
         at = catalogue.find(sectors, at + many.size()))
      catalogue.replace(at, sectors.size(), many);
    env["MORVA_CATALOGUE"] = clitest::WriteScratchFile("many_bad_sectors.json", catalogue);
    clitest::Session session({"-Mstorage", "-Trecover", "-s", "6"}, env,
                             clitest::Session::Console::kPipesErrorsApart);
    ASSERT_TRUE(session.started());
    ASSERT_TRUE(session.WaitUntilBlockedInAPipeWrite(60, false));
    session.Signal(row.signal_number);
    clitest::Outcome run = session.FinishUnread(30);
    EXPECT_EQ(run.status, row.status) << run.err;
    EXPECT_TRUE(Contains(run.err, "output lost: the reader takes no more output\n")) << run.err;
    EXPECT_EQ(RunCli({"-A"}).status, 0) << "the lock was kept";
  }
}

// Output the tool could not write is no success, as for the host; a finding says more and stays,
// and a reader that went away is no loss worth a word.
TEST(MendraToolRun, LostOutputIsNoSuccess) {
  clitest::StreamSetup full;
  full.output_file = "/dev/full";
  for (const auto& words : {std::vector<std::string>{"-s", "3"}, std::vector<std::string>{"-l"}}) {
    std::vector<std::string> args{"-Mstorage", "-Trecover"};
    args.insert(args.end(), words.begin(), words.end());
    const clitest::Outcome lost = clitest::RunCliWith(full, args, DemoMachine());
    EXPECT_EQ(lost.status, 6) << words[0];
    EXPECT_EQ(lost.err, "[Warning] output lost: standard output: No space left on device\n") << words[0];
  }
  EXPECT_EQ(clitest::RunCliWith(full, {"-Mstorage", "-Trecover", "-s", "0", "2"}, DemoMachine()).status,
            21);
  clitest::StreamSetup unread;
  unread.output_unread = true;
  const clitest::Outcome quiet = clitest::RunCliWith(unread, {"-Mstorage", "-Trecover", "-l"}, DemoMachine());
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.err, "");
}

// Nobody can answer a question the tool asks during a console run: it gets no answer at once,
// the tool's script for that decides the device's result, and the run can still be interrupted.
TEST(MendraToolRun, QuestionDuringTheRunGetsNoAnswer) {
  const Disk asking{"4", "ASKING_DISK", "K:\\\\", 0,
                    R"({"title": "REMAP_TITLE", "message": "REMAP_QUESTION", "at": 0,
                        "answers": {"1": {"code": 9}, "0": {"code": 10, "message": "NOT_REMAPPED"}}})"};
  const std::string trace = clitest::ScratchDir() + "/question_trace.txt";
  std::map<std::string, std::string> env = RiggedMachine({kSystem, asking}, "C:\\Windows");
  env["MORVA_TRACE"] = trace;
  clitest::Outcome answered = RunCli({"-Mstorage", "-Trecover", "-r", "4"}, env, "y\ny\n");
  EXPECT_EQ(answered.status, 22) << answered.out;
  EXPECT_TRUE(Contains(answered.out, "Operation status: Unable to fix errors - NOT_REMAPPED\n"));
  EXPECT_NE(clitest::ReadFile(trace).find("Interact title=REMAP_TITLE answer=0"), std::string::npos);

  // The work goes on after the question until Ctrl-C ends it.
  env = RiggedMachine({kSystem, asking}, "C:\\Windows", 0.1, 1000000);
  env["MORVA_TIME_SCALE"] = "1";
  clitest::Session session({"-Mstorage", "-Trecover", "-r", "4"}, env, clitest::Session::Console::kTerminal);
  ASSERT_TRUE(session.started());
  ASSERT_TRUE(session.WaitFor("(y/n) "));
  session.Type("y\r");
  ASSERT_TRUE(session.WaitFor("=> ASKING_DISK"));
  session.Signal(SIGINT);
  clitest::Outcome interrupted = session.Finish();
  EXPECT_EQ(interrupted.status, 25) << interrupted.out;
  EXPECT_TRUE(Contains(interrupted.out, "Operation status: Aborted"));
}

// The terminal closes during the repair: the engine is told to abort it, as on Ctrl-C. With the
// hangup ignored, a question on the closed terminal is left unanswered, never waited on for good.
TEST(MendraToolRun, AClosedTerminalAbortsTheRepair) {
  const std::string trace = clitest::ScratchDir() + "/hangup_trace.txt";
  std::map<std::string, std::string> env =
      RiggedMachine({kSystem, kClean}, "C:\\Windows", 0.1, 1000000);
  env["MORVA_TIME_SCALE"] = "1";
  env["MORVA_TRACE"] = trace;
  for (const bool ignored : {false, true}) {
    SCOPED_TRACE(ignored ? "hangup ignored" : "hangup");
    std::remove(trace.c_str());
    // The child inherits the hangup's handling: a run started under nohup must not decide it.
    const auto previous = signal(SIGHUP, ignored ? SIG_IGN : SIG_DFL);
    clitest::Session session({"-Mstorage", "-Trecover", "-r", "6"}, env,
                             clitest::Session::Console::kTerminal);
    signal(SIGHUP, previous);
    ASSERT_TRUE(session.WaitFor("(y/n) "));
    if (!ignored) {
      session.Type("y\r");
      ASSERT_TRUE(session.WaitFor("=> CLEAN_DISK"));
    }
    session.HangUp();
    EXPECT_EQ(session.FinishUnread(60).status, 25);
    EXPECT_EQ(Contains(clitest::ReadFile(trace), "AbortTool tool="), !ignored)
        << clitest::ReadFile(trace);
  }
}

// An empty target names no device, and a question that could not be shown was not asked: in
// neither case does anything run.
TEST(MendraToolRun, NothingRunsOnAnEmptyTargetOrAnUnshownQuestion) {
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"-r", ""}, std::vector<std::string>{"-s", ""},
        std::vector<std::string>{"-r", ",", "-s"}}) {
    SCOPED_TRACE(words[0] + " '" + words[1] + "'");
    clitest::Outcome run = Tool(words, "y\n");
    EXPECT_EQ(run.status, 5);
    EXPECT_TRUE(Contains(run.out, "\t- All devices and partitions specified are invalid to that operation\n"));
    EXPECT_FALSE(Contains(run.out, "(y/n)"));
    EXPECT_FALSE(Contains(run.out, "Started Operation"));
  }

  const std::string trace = clitest::ScratchDir() + "/unshown_question_trace.txt";
  std::remove(trace.c_str());
  std::map<std::string, std::string> env = DemoMachine();
  env["MORVA_TRACE"] = trace;
  clitest::StreamSetup full;
  full.output_file = "/dev/full";
  full.input_file = clitest::WriteScratchFile("yes_answer.txt", "y\n");
  const clitest::Outcome lost = clitest::RunCliWith(full, {"-Mstorage", "-Trecover", "-r", "3"}, env);
  EXPECT_EQ(lost.status, 6);
  EXPECT_EQ(lost.err, "[Warning] output lost: standard output: No space left on device\n");
  EXPECT_FALSE(Contains(clitest::ReadFile(trace), "devices=3")) << clitest::ReadFile(trace);
}

// A machine whose every device scan fails with result.
void FailEveryScan(std::map<std::string, std::string>& env, int result) {
  std::string catalogue = clitest::ReadFile(env["MORVA_CATALOGUE"]);
  const std::string scan = R"("scan": {"duration": 0.100000})";
  const size_t at = catalogue.find(scan);
  ASSERT_NE(at, std::string::npos);
  catalogue.replace(at, scan.size(), R"("scan": {"sequence": [{"devices": [], "result": )" +
                                         std::to_string(result) + "}]}");
  env["MORVA_CATALOGUE"] =
      clitest::WriteScratchFile("failing_scan_" + std::to_string(result) + ".json", catalogue);
}

// A device scan that failed is no empty machine: the tool says so and ends as the host does.
TEST(MendraToolRun, AFailedDeviceScanIsTold) {
  std::map<std::string, std::string> env = RiggedMachine({kSystem, kClean}, "C:\\Windows");
  FailEveryScan(env, 5);
  ASSERT_FALSE(::testing::Test::HasFatalFailure());
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"-l"}, std::vector<std::string>{"-s"},
        std::vector<std::string>{"-s", "6"}, std::vector<std::string>{"-r", "6"}}) {
    SCOPED_TRACE(words[0]);
    std::vector<std::string> args{"-Mstorage", "-Trecover"};
    args.insert(args.end(), words.begin(), words.end());
    clitest::Outcome run = RunCli(args, env, "y\n");
    EXPECT_EQ(run.status, 2) << run.out;
    EXPECT_TRUE(Contains(run.out, "[Warning] Device scan failed: 5\n")) << run.out;
    EXPECT_FALSE(Contains(run.out, "no applicable devices"));
    EXPECT_FALSE(Contains(run.out, "invalid"));
    EXPECT_FALSE(Contains(run.out, "(y/n)"));
  }
}

// A scan may fail with any number, -1 as well: that is still a failed scan, never taken for an
// interrupt that kept the tool from starting.
TEST(MendraToolRun, AScanFailingWithMinusOneIsToldAsFailed) {
  std::map<std::string, std::string> env = RiggedMachine({kSystem, kClean}, "C:\\Windows");
  FailEveryScan(env, -1);
  ASSERT_FALSE(::testing::Test::HasFatalFailure());
  clitest::Outcome run = RunCli({"-Mstorage", "-Trecover", "-s"}, env, "y\n");
  EXPECT_EQ(run.status, 2) << run.out;
  EXPECT_TRUE(Contains(run.out, "[Warning] Device scan failed: -1\n")) << run.out;
}

// A device name with terminal controls in the engine's catalogue is shown, never obeyed: the
// question and the run cannot be made to name another device, neither in the tool nor in the
// host's own listings, output file and protocol.
TEST(MendraToolRun, EngineTextNeverDrivesTheTerminal) {
  const Disk forged{"6", R"(USB\u001b[2K\u001b[1G  0\tSATA_HDD_1TB (the system disk)\u001b]0;x\u0007\u009b \u202e evil)",
                    "M:\\\\", 0};
  const std::map<std::string, std::string> env = RiggedMachine({kSystem, forged}, "C:\\Windows");
  const std::string shown = "USB\\x1b[2K\\x1b[1G  0\tSATA_HDD_1TB (the system disk)\\x1b]0;x\\x07\\u009b \\u202e evil";
  const std::string output_file = clitest::ScratchDir() + "/forged_listing.txt";
  std::remove(output_file.c_str());
  const std::vector<std::vector<std::string>> lines = {
      {"-Mstorage", "-Trecover", "-r", "6"}, {"-Mstorage", "-Trecover", "-l", "6,\xe2\x80\xae"},
      {"-Mstorage", "-D"}, {"-Mstorage", "-D", "-o" + output_file}, {"--KOLV", "-Mstorage", "-D"},
      {"-Mstorage", "6", "-Q"}};
  for (const std::vector<std::string>& words : lines) {
    SCOPED_TRACE(words[0] + " " + words[1] + " " + words.back());
    clitest::Outcome run = RunCli(words, env, "y\n");
    const std::string text = run.out + run.err + clitest::ReadFile(output_file);
    EXPECT_EQ(text.find('\x1b'), std::string::npos) << text;
    EXPECT_EQ(text.find('\a'), std::string::npos) << text;
    EXPECT_EQ(text.find("\xc2\x9b"), std::string::npos) << text;
    EXPECT_EQ(text.find("\xe2\x80\xae"), std::string::npos) << text;
    EXPECT_TRUE(Contains(text, "\\u202e evil")) << text;
    if (words[0] != "--KOLV") {
      EXPECT_TRUE(Contains(text, shown)) << text;
    }
    if (words.size() > 3 && words[2] == "-r") {
      EXPECT_TRUE(Contains(run.out, "> These devices will be repaired:\n  6\t" + shown + "\n")) << run.out;
    }
  }
}

TEST(MendraToolRun, RepairTypedOnATerminalWithBackspace) {
  clitest::Session session({"-Mstorage", "-Trecover", "-r", "3"}, DemoMachine(),
                           clitest::Session::Console::kTerminal);
  ASSERT_TRUE(session.started());
  ASSERT_TRUE(session.WaitFor("(y/n) "));
  session.Type("n\x7fy\r");
  clitest::Outcome run = session.Finish();
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(Contains(session.output(), "Started Operation: Repair"));
  EXPECT_TRUE(Contains(session.output(), "The errors were corrected"));
}

// Keys typed before the question was shown never answer it: only a key pressed after it does.
TEST(MendraToolRun, KeysTypedBeforeTheRepairQuestionDoNotAnswerIt) {
  clitest::Session session({"-Mstorage", "-Trecover", "-r", "3"}, DemoMachine(),
                           clitest::Session::Console::kTerminal);
  ASSERT_TRUE(session.started());
  session.Type("y\ry\r");
  ASSERT_TRUE(session.WaitFor("(y/n) "));
  session.Type("n\r");
  clitest::Outcome run = session.Finish();
  EXPECT_EQ(run.status, 25) << run.out;
  EXPECT_TRUE(Contains(run.out, "(y/n) n\r\n")) << run.out;
  EXPECT_FALSE(Contains(run.out, "Started Operation"));
}

TEST(MendraToolRun, ListingShowsDevicesAndApplicablePartitions) {
  clitest::Outcome all = Tool({"-l"});
  EXPECT_EQ(all.status, 0);
  EXPECT_TRUE(Contains(all.out, "> List of devices and their applicable partitions\n"));
  EXPECT_EQ(Count(all.out, std::string(58, '-')), 4u);
  EXPECT_TRUE(Contains(all.out, "  Device Id\t\t1\n  Display Name\t\tNVME_SSD_512GB\n"
                                "  * This device is a non rotating media (SSD)\n"));
  EXPECT_TRUE(Contains(all.out, "  C:\\\t250 GB\t\tNTFS\n"));
  EXPECT_FALSE(Contains(all.out, "UNABLE_TO_OBTAIN"));
  EXPECT_FALSE(Contains(all.out, "Started Operation"));

  clitest::Outcome chosen = Tool({"-l", "2"});
  EXPECT_TRUE(Contains(chosen.out, ">>Listing devices and their applicable partitions\n"));
  EXPECT_EQ(Count(chosen.out, std::string(58, '-')), 1u);
  EXPECT_TRUE(Contains(chosen.out, "  F:\\\t1800 GB\t\tNTFS\n"));
}

TEST(MendraToolRun, HelpPrintsUsageAndStartsNothing) {
  clitest::Outcome help = Tool({"-h"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(Contains(help.out, "> General options\n"));
  EXPECT_TRUE(Contains(help.out, "\t   kolv_cli  -Mstorage -Trecover -s 0 1\n"));
  // Every example is a command line the program takes.
  EXPECT_TRUE(Contains(help.out, "\t   kolv_cli  -Mstorage -Trecover -r\n"));
  EXPECT_EQ(Count(help.out, "\t   kolv_cli  -Mstorage -Trecover -"), 3u);
  EXPECT_FALSE(Contains(help.out, "Started Operation"));

  clitest::Outcome bare = Tool({});
  EXPECT_TRUE(Contains(bare.out, "> Scan only or Scan and Repair Bad Sectors\n"));
  EXPECT_FALSE(Contains(bare.out, "[Warning]"));
}

TEST(MendraToolRun, BadTargetsAndOptionsAreErrorsWithTheHint) {
  clitest::Outcome bad = Tool({"-s", "C:", "9"});
  EXPECT_EQ(bad.status, 5);  // a refused command line, as the host reports its own
  EXPECT_TRUE(Contains(bad.out, "[Warning] Following are not available or not applicable devices: C:, 9\n"));
  EXPECT_TRUE(Contains(bad.out, ">> Errors:\n\t- All devices and partitions specified are invalid to that operation\n"));
  EXPECT_TRUE(Contains(bad.out, ">> To see instructions use: kolv_cli -Mstorage -Trecover -h\n"));
  EXPECT_FALSE(Contains(bad.out, "Started Operation"));

  clitest::Outcome system = Tool({"-r", "0"}, "y\n");
  EXPECT_TRUE(Contains(system.out, "[Warning] The device '0' is the operating system device"));
  EXPECT_FALSE(Contains(system.out, "Started Operation"));

  clitest::Outcome unknown = Tool({"-s", "--frobnicate"});
  EXPECT_TRUE(Contains(unknown.out, "\t- Unrecognized option found\n"));
}

}  // namespace
