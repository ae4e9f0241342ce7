// kolv_cli run as a program: start-up checks, refused command lines, output redirection.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/run_program.h"
#include "support/texts.h"
#include "tests/support/fault_injection.h"
#include "zerka/zerka.h"

namespace {

using clitest::Contains;
using clitest::kBanner;
using clitest::ReadFile;
using clitest::RunCli;

TEST(Program, NoArgumentsShowsTheBannerAndTheHelp) {
  const auto r = RunCli({});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind(kBanner, 0), 0u) << r.out;
  EXPECT_TRUE(Contains(r.out, "> General options\n  Usage: kolv_cli [option]\n"));
  EXPECT_TRUE(Contains(r.out, "      kolv_cli -Mstorage 0 1 -Q\"f,r\"\n\n> Available module(s): storage\n\n"));
}

TEST(Program, RefusedCommandLinesAreNeverASuccess) {
  const auto unknown = RunCli({"-x"});
  EXPECT_EQ(unknown.status, 5);
  EXPECT_TRUE(Contains(unknown.out, "[Warning] Fatal parsing error: unrecognized option found\n"));
  EXPECT_TRUE(Contains(unknown.out, "> General options"));

  const auto two_kinds = RunCli({"-A", "-D"});
  EXPECT_EQ(two_kinds.status, 5);
  EXPECT_TRUE(Contains(two_kinds.out,
                       "Fatal parsing error: user asked for more than one kind of information"));

  const auto test_list = RunCli({"-Mstorage", "-Qf,"});
  EXPECT_EQ(test_list.status, 5);
  EXPECT_TRUE(Contains(test_list.out, "Fatal parsing error: empty test\n"));

  // A supervising program reads only tagged lines on standard output; why the command line was
  // refused is told on standard error.
  const auto protocol = RunCli({"--KOLV", "-x"});
  EXPECT_EQ(protocol.status, 5);
  EXPECT_EQ(protocol.out, "");
  EXPECT_EQ(protocol.err, "[Warning] Fatal parsing error: unrecognized option found\n");
  const auto protocol_tool = RunCli({"--KOLV", "-Mstorage", "-Trecover", "-s", "2"});
  EXPECT_EQ(protocol_tool.status, 5);
  EXPECT_EQ(protocol_tool.out, "");
  EXPECT_EQ(protocol_tool.err,
            "[Warning] Fatal parsing error: the -T option cannot be used along with other cli options\n");
  const auto protocol_list = RunCli({"--KOLV", "-Mstorage", "-Qf,"});
  EXPECT_EQ(protocol_list.status, 5);
  EXPECT_EQ(protocol_list.out, "");
  EXPECT_EQ(protocol_list.err, "[Warning] Fatal parsing error: empty test\n");

  const auto letter = RunCli({"-Mstorage", "-Z"});
  EXPECT_EQ(letter.status, 5);

  // Protocol mode is known before anything is said: wherever the option stands, abbreviated
  // too, and whichever check refuses the line.
  for (const auto& args : {std::vector<std::string>{"--KOLV", "-Mstorage", "#0", "-Q"},
                           std::vector<std::string>{"-Mstorage", "#0", "-Q", "--KOL"},
                           std::vector<std::string>{"-x", "--KOLV"}}) {
    SCOPED_TRACE(args[0] + " " + args.back());
    const auto refused = RunCli(args);
    EXPECT_EQ(refused.status, 5);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "[Warning] Fatal parsing error: unrecognized option found\n");
  }
}

// A warning quotes the words as the user typed them.
TEST(Program, WarningsQuoteTheWordsAsTyped) {
  const auto r = RunCli({"-Mstorage", "-QMy_Disk"});
  EXPECT_EQ(r.status, 31);
  EXPECT_TRUE(Contains(r.out, "[Warning] Test(s) not found, argument(s) treated as device: My_Disk\n"))
      << r.out;
  EXPECT_TRUE(Contains(r.out, "[Warning] Following device(s) are not available: My_Disk\n")) << r.out;
}

// The copy marker is no option of the user's, abbreviated or not.
TEST(Program, OnlyTheExactMarkerStartsABackgroundCopy) {
  const auto r = RunCli({"--vyx", "-A"});
  EXPECT_EQ(r.status, 5);
  EXPECT_TRUE(Contains(r.out, "[Warning] Fatal parsing error: unrecognized option found\n")) << r.out;
}

// The protocol output takes standard output; a supervisor is told that -o is not used.
TEST(Program, TheProtocolOutputSaysThatTheOutputFileIsNotUsed) {
  const std::string path = clitest::ScratchDir() + "/never_made.txt";
  std::remove(path.c_str());
  const auto r = RunCli({"--KOLV", "-o", path, "-A"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "MODULE_NAME:::storage\n");
  EXPECT_EQ(r.err, "[Warning] The output file is not used with the protocol output: " + path + "\n");
  EXPECT_FALSE(std::filesystem::exists(path));
}

// A diagnostic letter the host keeps for its own options: the help never offers it, the
// diagnostic is chosen by its long name, and the warning says why the letter does nothing.
TEST(Program, ADiagnosticLetterTheHostKeepsIsNeverOffered) {
  std::string catalogue = clitest::SmallCatalogue();
  const std::string letter = R"("letter": "Q", "long_name": "quick")";
  catalogue.replace(catalogue.find(letter), letter.size(), R"("letter": "D", "long_name": "diag")");
  const std::map<std::string, std::string> env = {
      {"MORVA_CATALOGUE", clitest::WriteScratchFile("host_letter.json", catalogue)}};
  const std::string warning =
      "[Warning] Diagnostic letter not usable, short option left out: Storage --diag\n";
  const auto help = RunCli({"-Mstorage", "-h"}, env);
  EXPECT_EQ(help.status, 0);
  EXPECT_FALSE(Contains(help.out, "-D, --diag")) << help.out;
  EXPECT_TRUE(Contains(help.out, "    --diag ")) << help.out;
  EXPECT_TRUE(Contains(help.out, warning)) << help.out;
  const auto refused = RunCli({"-Mstorage", "0", "-Dp"}, env);
  EXPECT_EQ(refused.status, 5);
  EXPECT_TRUE(Contains(refused.out, warning)) << refused.out;
  EXPECT_EQ(RunCli({"-Mstorage", "0", "--diag=f"}, env).status, 0);
}

TEST(Program, AModuleThatIsNotLoadedShowsTheHelp) {
  const auto r = RunCli({"-Mnosuch"});
  EXPECT_EQ(r.status, 30);
  EXPECT_TRUE(Contains(r.out, "[Warning] Following module(s) are not available: nosuch\n\n"));
  EXPECT_TRUE(Contains(r.out, "> General options"));
  // A supervising program is told on standard error.
  const auto protocol = RunCli({"--KOLV", "-Mnosuch"});
  EXPECT_EQ(protocol.status, 30);
  EXPECT_EQ(protocol.out, "");
  EXPECT_EQ(protocol.err, "[Warning] Following module(s) are not available: nosuch\n");

  const auto tool = RunCli({"-Mstorage", "-Tnope"});
  EXPECT_EQ(tool.status, 34);
  EXPECT_TRUE(Contains(tool.out, "> Available tools to storage module: record, broken, absent\n"));
}

TEST(Program, OnlyAnAdministratorMayRunIt) {
  const auto r = RunCli({"-A"}, {{"ZERKA_ADMIN", "0"}});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, "Not Enough Privileges\n");
  const auto protocol = RunCli({"--KOLV", "-A"}, {{"ZERKA_ADMIN", "0"}});
  EXPECT_EQ(protocol.status, 3);
  EXPECT_EQ(protocol.out, "");
  EXPECT_EQ(protocol.err, "Not Enough Privileges\n");
}

TEST(Program, OneInstanceAtATime) {
  ZerkaAppMutex* lock = get_app_mutex();
  ASSERT_NE(lock, nullptr);
  ASSERT_EQ(lock->Acquire(), 0);
  const auto r = RunCli({"-A"});
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.out, "A Tarvex Diagnostics Tool is already running\n");
  const auto protocol = RunCli({"--KOLV", "-A"});
  EXPECT_EQ(protocol.status, 4);
  EXPECT_EQ(protocol.out, "");
  EXPECT_EQ(protocol.err, "A Tarvex Diagnostics Tool is already running\n");
  release_app_mutex(lock);
  EXPECT_EQ(RunCli({"-A"}).status, 0);

  // A lock that cannot be set up at all is no other instance.
  const std::string missing = clitest::ScratchDir() + "/no-such-folder/kolv.lock";
  const auto unusable = RunCli({"-A"}, {{"ZERKA_LOCK_FILE", missing}});
  EXPECT_EQ(unusable.status, 1);
  EXPECT_TRUE(Contains(unusable.out, "The single-instance lock cannot be set up: " + missing + "\n"))
      << unusable.out;
}

// Started with a standard stream closed, the program never lets the lock file take the stream's
// place: console text never lands in it, and it is never read as a supervisor's input.
TEST(Program, ClosedStandardStreams) {
  const std::string lock = std::getenv("ZERKA_LOCK_FILE");
  auto clear_lock = [&](const std::string& text) { std::ofstream(lock, std::ios::trunc) << text; };

  // Output to a closed standard output is lost, as on a full disk: said once, and never a
  // success. Where nothing was to go there (-o, the background copy), nothing is lost.
  clitest::StreamSetup no_output;
  no_output.close_output = true;
  for (const auto& args : {std::vector<std::string>{"-A"},
                           std::vector<std::string>{"-Mstorage", "0", "-Qf"},
                           std::vector<std::string>{"--KOLV", "-Mstorage", "0", "-Qf"}}) {
    SCOPED_TRACE(args[0]);
    clear_lock("");
    const auto lost = clitest::RunCliWith(no_output, args);
    EXPECT_EQ(lost.status, 6);
    EXPECT_EQ(lost.err, "[Warning] output lost: standard output: Bad file descriptor\n");
    EXPECT_EQ(ReadFile(lock), "");
  }
  EXPECT_EQ(clitest::RunCliWith(no_output, {"-Mstorage", "1", "-Q"}).status, 21);
  const std::string file = clitest::ScratchDir() + "/closed_output.txt";
  const auto to_file = clitest::RunCliWith(no_output, {"-o", file, "-Mstorage", "0", "-Qf"});
  EXPECT_EQ(to_file.status, 0);
  EXPECT_EQ(to_file.err, "");
  EXPECT_TRUE(clitest::Contains(ReadFile(file), "Test Status: Passed!")) << ReadFile(file);
  std::remove(file.c_str());
  const auto background = clitest::RunCliWith(no_output, {"-b", "-o", file, "-Mstorage", "0", "-Qf"});
  EXPECT_EQ(background.status, 0);
  EXPECT_EQ(background.err, "");
  EXPECT_TRUE(clitest::FileShows(file, "CLI Execution status: 0")) << ReadFile(file);
  // The copy lets go of the lock as it ends.
  ZerkaAppMutex* copy_done = get_app_mutex();
  ASSERT_NE(copy_done, nullptr);
  for (int i = 0; i < 3000 && copy_done->Acquire() != 0; ++i)  // hang guard: 30 s
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  release_app_mutex(copy_done);

  // The engine tells why it cannot load on standard error.
  clitest::StreamSetup no_errors;
  no_errors.close_errors = true;
  clear_lock("");
  const auto broken = clitest::RunCliWith(no_errors, {"-A"}, {{"MORVA_CATALOGUE", clitest::ScratchDir() + "/missing.json"}});
  EXPECT_EQ(broken.status, 2);
  EXPECT_EQ(ReadFile(lock), "");

  // Text an older run left in the lock file is no abort request. Tests of 1.5 s each leave a
  // request time to be acted on.
  const std::map<std::string, std::string> slower = {{"MORVA_TIME_SCALE", "3"}};
  clitest::StreamSetup no_input;
  no_input.close_input = true;
  clear_lock("a\n");
  const auto protocol = clitest::RunCliWith(no_input, {"--KOLV", "-Mstorage", "0", "-Q"}, slower);
  EXPECT_EQ(protocol.status, 0) << protocol.out;
  EXPECT_EQ(clitest::Count(protocol.out, "EndDiag:::1|"), 2u) << protocol.out;

  // Only a pipe or a terminal carries a supervisor's requests.
  clitest::StreamSetup from_file;
  from_file.input_file = clitest::WriteScratchFile("input.txt", "a\n");
  const auto filed = clitest::RunCliWith(from_file, {"--KOLV", "-Mstorage", "0", "-Q"}, slower);
  EXPECT_EQ(filed.status, 0) << filed.out;
  EXPECT_EQ(clitest::Count(filed.out, "EndDiag:::1|"), 2u) << filed.out;
}

TEST(Program, AServiceThatCannotLoadIsReported) {
  const auto r = RunCli({"-A"}, {{"MORVA_CATALOGUE", clitest::ScratchDir() + "/missing.json"}});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.out, "Cannot load the diagnostics service\n"));
  const auto protocol =
      RunCli({"--KOLV", "-A"}, {{"MORVA_CATALOGUE", clitest::ScratchDir() + "/missing.json"}});
  EXPECT_EQ(protocol.status, 2);
  EXPECT_EQ(protocol.out, "");
  EXPECT_TRUE(Contains(protocol.err, "Cannot load the diagnostics service\n")) << protocol.err;

  const std::string no_modules = clitest::WriteScratchFile(
      "no_modules.json", R"({"faults": {"no_modules": true}, "modules": []})");
  const auto listless = RunCli({"-A"}, {{"MORVA_CATALOGUE", no_modules}});
  EXPECT_EQ(listless.status, 2);
  EXPECT_EQ(listless.out, "Cannot load module(s)\n");
  const auto protocol_listless = RunCli({"--KOLV", "-A"}, {{"MORVA_CATALOGUE", no_modules}});
  EXPECT_EQ(protocol_listless.status, 2);
  EXPECT_EQ(protocol_listless.out, "");
  EXPECT_EQ(protocol_listless.err, "Cannot load module(s)\n");
}

TEST(Program, OutputGoesToTheFileOrFallsBackToTheConsole) {
  const std::string path = clitest::ScratchDir() + "/listing/out.txt";
  const auto written = RunCli({"-o", path, "-A"});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "");
  const std::string file = ReadFile(path);
  EXPECT_EQ(file.rfind(kBanner, 0), 0u);
  EXPECT_TRUE(Contains(file, "> Available Modules\n  - storage\n"));

  const auto unwritable = RunCli({"-o", "/proc/nonexistent/out.txt", "-A"});
  EXPECT_EQ(unwritable.status, 6);
  EXPECT_TRUE(Contains(unwritable.out, "[Warning] Output redirection error: error opening file\n"));
  EXPECT_TRUE(Contains(unwritable.out, "> General options"));

  const auto folder = RunCli({"-o", clitest::ScratchDir() + "/", "-A"});
  EXPECT_EQ(folder.status, 6);

  // Output lost on the way is told once and never passes for a success; findings stay.
  const auto full = RunCli({"-o", "/dev/full", "-A"});
  EXPECT_EQ(full.status, 6);
  EXPECT_EQ(clitest::Count(full.err, "/dev/full"), 1u) << full.err;
  EXPECT_EQ(RunCli({"-o", "/dev/full", "-Mstorage", "1", "-Q"}).status, 21);

  // A bare name lands in the current folder, not beside the program.
  const std::string here = clitest::ScratchDir() + "/here";
  std::filesystem::create_directories(here);
  clitest::StreamSetup in_here;
  in_here.working_folder = here;
  const std::string name = "bare-output-name.txt";
  EXPECT_EQ(clitest::RunCliWith(in_here, {"-o", name, "-A"}).status, 0);
  EXPECT_TRUE(Contains(ReadFile(here + "/" + name), "> Available Modules\n"));
  const std::string beside_program =
      std::filesystem::path(KOLV_CLI_PROGRAM).parent_path().string() + "/" + name;
  EXPECT_FALSE(std::filesystem::exists(beside_program));
  std::filesystem::remove(beside_program);

  // A FIFO nobody reads cannot be opened: waiting for a reader would hold the program, and the
  // single-instance lock, for good. One that is read takes the output.
  const std::string fifo = clitest::ScratchDir() + "/output.fifo";
  std::remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const auto unread = RunCli({"-o", fifo, "-A"}, {}, "", 30);
  EXPECT_EQ(unread.status, 6);
  EXPECT_TRUE(Contains(unread.out, "[Warning] Output redirection error: error opening file\n"));
  EXPECT_EQ(RunCli({"-A"}).status, 0) << "the lock was kept";
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const auto read = RunCli({"-o", fifo, "-A"});
  EXPECT_EQ(read.status, 0);
  EXPECT_EQ(read.out, "");
  std::string received;
  char buffer[4096];
  for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;)
    received.append(buffer, static_cast<size_t>(n));
  close(reader);
  EXPECT_TRUE(Contains(received, "> Available Modules\n  - storage\n")) << received;

  // A reader that stops taking output holds the program in a write: Ctrl-C and SIGTERM still
  // end it, and the lock is given back. The listing is longer than the smallest pipe.
  // ThreadSanitizer holds a signal's handler back while the thread is in a write it intercepts,
  // so under it the signal never comes through.
#ifndef __SANITIZE_THREAD__
  const std::string demo =
      std::filesystem::path(KOLV_CLI_PROGRAM).parent_path().string() + "/morva_catalogue.json";
  for (const int signal_number : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal_number);
    const int stalled = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(stalled, 0);
    ASSERT_GT(fcntl(stalled, F_SETPIPE_SZ, 4096), 0);
    clitest::Session run({"-o", fifo, "-Mstorage", "-D", "-R"},
                         {{"MORVA_CATALOGUE", demo}, {"MORVA_TIME_SCALE", "0.01"}},
                         clitest::Session::Console::kPipes);
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.WaitUntilBlockedInAPipeWrite()) << run.output();
    run.Signal(signal_number);
    const auto ended = run.Finish(30);
    EXPECT_EQ(ended.status, 25) << ended.out;
    EXPECT_TRUE(Contains(ended.out, "output lost: the reader takes no more output\n")) << ended.out;
    close(stalled);
    EXPECT_EQ(RunCli({"-A"}).status, 0) << "the lock was kept";
  }
#endif

  // A refused command line is reported on the console and never touches the file, whichever
  // check refuses it: the options, or the test lists.
  const std::string refused = clitest::ScratchDir() + "/refused.txt";
  struct Refusal {
    std::vector<std::string> args;
    const char* reason;
  } refusals[] = {
      {{"-A", "-D"}, "user asked for more than one kind of information"},
      {{"-Mstorage", "0", "-Qf("}, "parentheses mismatch"},
      {{"-Mstorage", "-Qf,"}, "empty test"},
      {{"-Mstorage", "-Qr"}, "no arguments on test with mandatory test"},
      {{"-b", "-Mstorage", "-Qf,"}, "empty test"},
  };
  for (const Refusal& refusal : refusals) {
    std::vector<std::string> args = {"-o", refused};
    args.insert(args.end(), refusal.args.begin(), refusal.args.end());
    std::ofstream(refused, std::ios::trunc) << "precious\n";
    const auto bad = RunCli(args);
    EXPECT_EQ(bad.status, 5) << refusal.reason;
    EXPECT_TRUE(Contains(bad.out, std::string("Fatal parsing error: ") + refusal.reason)) << bad.out;
    EXPECT_TRUE(Contains(bad.out, "> General options")) << refusal.reason;
    EXPECT_EQ(ReadFile(refused), "precious\n") << refusal.reason;
    std::remove(refused.c_str());
    EXPECT_EQ(RunCli(args).status, 5);
    EXPECT_FALSE(std::filesystem::exists(refused)) << refusal.reason;
  }
}

TEST(Program, LostStandardOutputIsNoSuccess) {
  // A full disk: said once on standard error, and a status of 0 becomes 6; findings stay.
  clitest::StreamSetup full;
  full.output_file = "/dev/full";
  const auto run = clitest::RunCliWith(full, {"-Mstorage", "0", "-Qf"});
  EXPECT_EQ(run.status, 6);
  EXPECT_EQ(clitest::Count(run.err, "\n"), 1u) << run.err;
  EXPECT_TRUE(Contains(run.err, "standard output")) << run.err;
  const auto listing = clitest::RunCliWith(full, {"-A"});
  EXPECT_EQ(listing.status, 6);
  EXPECT_EQ(clitest::Count(listing.err, "\n"), 1u) << listing.err;
  EXPECT_EQ(clitest::RunCliWith(full, {"--KOLV", "-Mstorage", "0", "-Qf"}).status, 6);
  EXPECT_EQ(clitest::RunCliWith(full, {"-Mstorage", "1", "-Q"}).status, 21);
  // The protocol's warnings go to standard error: lost there, they are lost output as well.
  clitest::StreamSetup full_errors;
  full_errors.errors_file = "/dev/full";
  EXPECT_EQ(
      clitest::RunCliWith(full_errors, {"--KOLV", "-Mstorage", "-Mstorage", "0", "-Qf"}).status, 6);
  // A file-size limit is told as a full disk is: the program is never killed by it. The engine's
  // log cannot grow either.
  clitest::StreamSetup capped;
  capped.file_size_limit = 64;
  const std::string file = clitest::ScratchDir() + "/capped.txt";
  const auto past_limit = clitest::RunCliWith(capped, {"-o", file, "-Mstorage", "0", "-Qf"});
  EXPECT_EQ(past_limit.status, 2);
  EXPECT_TRUE(Contains(past_limit.err, file + ": File too large\n")) << past_limit.err;

  // A reader that went away is no loss worth a word.
  clitest::StreamSetup unread;
  unread.output_unread = true;
  for (const auto& args : {std::vector<std::string>{"-Mstorage", "0", "-Qf"},
                           std::vector<std::string>{"--KOLV", "-Mstorage", "0", "-Qf"},
                           std::vector<std::string>{"-A"}}) {
    const auto quiet = clitest::RunCliWith(unread, args);
    EXPECT_EQ(quiet.status, 0) << args[0];
    EXPECT_EQ(quiet.err, "") << args[0];
  }
}

// Faults at the machine's edges along the main path: a thread that cannot start, and writes to
// the diagnostics log or the -o file failing as on a full disk or past the file-size limit. Every
// run ends by itself, without a crash, and none is a success once a fault fired.
TEST(Program, FaultsAlongTheMainPathAreNeverASuccess) {
#if defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the fault library cannot come before ThreadSanitizer's runtime";
#endif
  const std::string file = clitest::ScratchDir() + "/swept.txt";
  const std::string fired = clitest::ScratchDir() + "/faults_fired.txt";
  const char* demo = std::getenv("MORVA_CATALOGUE");
  // A tool run writes no diagnostics log.
  const std::vector<std::string> tool_rules = {"thread:N"};
  const struct Path {
    std::vector<std::string> args;
    const char* input;
    std::vector<std::string> rules;
  } paths[] = {
      {{"-o", file, "-Mstorage", "0", "-Qf"},
       "",
       {"thread:N", "write:N:ENOSPC:morva.log", "write:N:EFBIG:morva.log",
        "write:N:ENOSPC:swept.txt", "write:N:EFBIG:swept.txt"}},
      {{"--KOLV", "-Mstorage", "0", "-Qf"}, "", {"thread:N"}},
      {{"-Mstorage", "-Trecover", "-s", "3"}, "", tool_rules},
      {{"-Mstorage", "-Trecover", "-r", "3"}, "y\n", tool_rules},
  };
  for (const Path& path : paths) {
    for (const std::string& rule : path.rules) {
      for (int n = 1; n < 300; ++n) {
        std::string rules = rule;
        rules.replace(rules.find('N'), 1, std::to_string(n));
        SCOPED_TRACE(path.args.front() + " ... " + path.args.back() + ": " + rules);
        auto env = test_support::FaultEnvironment(rules, fired);
        if (path.args[1] == "-Trecover")
          env.insert({{"MORVA_CATALOGUE", demo}, {"KOLV_WINDOWS_DIR", "C:\\Windows"}});
        std::remove(fired.c_str());
        const auto r = RunCli(path.args, env, path.input, 60);
        EXPECT_GE(r.status, 0) << "killed, or ended by a signal";
        EXPECT_FALSE(Contains(r.err, "Sanitizer") || Contains(r.err, "runtime error")) << r.err;
        if (test_support::FaultsFiredIn(fired) == 0) {
          EXPECT_GT(n, 1) << "no fault fired: the fault library did not reach the program";
          break;
        }
        EXPECT_NE(r.status, 0) << r.out << r.err;
      }
    }
  }
}

}  // namespace

namespace {

TEST(ToolPlugins, TheHostHandsOverItsCommandLine) {
  const std::string record = clitest::ScratchDir() + "/tool_record.txt";
  std::remove(record.c_str());
  const auto r = RunCli({"-Mstorage", "-Trecord", "-s", "0"});
  EXPECT_EQ(r.status, 17);  // the tool's own result
  EXPECT_EQ(ReadFile(record),
            "module=Storage\ntool=Rec|Order\nBOOTABLE=FALSE\nnext=-s\noption=s\ntarget=0\nreleased\n");
}

TEST(ToolPlugins, MissingPluginsAndEntryPointsAreReported) {
  const auto broken = RunCli({"-Mstorage", "-Tbroken"});
  EXPECT_EQ(broken.status, 35);
  EXPECT_TRUE(Contains(broken.out, "[Warning] Tool plug-in has no entry point: "));
  const auto absent = RunCli({"-Mstorage", "-Tabsent"});
  EXPECT_EQ(absent.status, 35);
  EXPECT_TRUE(Contains(absent.out, "[Warning] Tool plug-in cannot be loaded: "));
}

TEST(ToolPlugins, ToolsAreListedWhenTheirPluginCanRun) {
  const auto r = RunCli({"-Mstorage", "-S"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.out,
                       "Storage tools:\n\n => RecOrder\n\tDescription\tRecorder d\n"
                       "\tHint\t\trecord\n\tMore info\tkolv_cli -Mstorage -Trecord\n"))
      << r.out;
  EXPECT_FALSE(Contains(r.out, "Broken"));
  EXPECT_FALSE(Contains(r.out, "Absent"));

  // A copy of the program whose recorder is a real plug-in cut short.
  namespace fs = std::filesystem;
  const fs::path folder = clitest::ScratchDir() + "/cut_plugin";
  fs::create_directories(folder);
  fs::copy_file(KOLV_CLI_PROGRAM, folder / "kolv_cli", fs::copy_options::overwrite_existing);
  const std::string plugin = folder / "recorder_cli.so";
  fs::copy_file(fs::path(KOLV_CLI_PROGRAM).parent_path() / "mendra_cli.so", plugin,
                fs::copy_options::overwrite_existing);
  fs::resize_file(plugin, 20000);
  clitest::StreamSetup cut;
  cut.program = folder / "kolv_cli";
  const auto listed = clitest::RunCliWith(cut, {"-Mstorage", "-S"});
  EXPECT_EQ(listed.status, 0);
  EXPECT_FALSE(Contains(listed.out, "RecOrder")) << listed.out;
  const auto run = clitest::RunCliWith(cut, {"-Mstorage", "-Trecord"});
  EXPECT_EQ(run.status, 35);
  EXPECT_TRUE(Contains(run.out, "[Warning] Tool plug-in cannot be loaded: " + plugin + " (" +
                                    plugin + ": not a library for this machine)\n"))
      << run.out;

  // One without ReleaseToolCli runs, so it is listed.
  fs::copy_file(fs::path(KOLV_CLI_PROGRAM).parent_path() / "keeper" / "recorder_cli.so", plugin,
                fs::copy_options::overwrite_existing);
  EXPECT_TRUE(Contains(clitest::RunCliWith(cut, {"-Mstorage", "-S"}).out, "RecOrder"));
}

}  // namespace
