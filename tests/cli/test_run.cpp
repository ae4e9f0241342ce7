// Diagnostics runs of the real kolv_cli on scripted catalogues: the order of printed events,
// protocol lines, exit statuses, background mode.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>
#include <sstream>
#include <thread>

#include "cli/log_entry_check.h"
#include "gui/logs/core/log_paths.h"
#include "support/run_program.h"
#include "support/texts.h"
#include "zerka/zerka.h"

namespace {

using clitest::Contains;
using clitest::RunCli;

TEST(Run, ProtocolLinesOfAScriptedRun) {
  // The lines carry elapsed seconds, so the engine runs without delays; then each test's
  // progress arrives before the host has printed the test's start, and must still be shown.
  const auto r = RunCli({"--KOLV", "-Mstorage", "0", "1", "7", "-Qf,r(1)"},
                        {{"MORVA_TIME_SCALE", "0"}});
  EXPECT_EQ(r.status, 21);
  // The suite's progress is each device's share of the whole run list: four tests, 25 each.
  const std::string device0 =
      "BeginDiagSuite:::Storage\nBeginDiag:::1.1.1\nPrgDiag:::100\nEndDiag:::1|00000\n"
      "PrgDiagSuite:::25\nBeginDiag:::1.1.2\nPrgDiag:::100\nEndDiag:::1|00000\n"
      "PrgDiagSuite:::50\n";
  const std::string device1 =
      "BeginDiagSuite:::Storage\nBeginDiag:::1.1.1\nPrgDiag:::100\nEndDiag:::1|00000\n"
      "PrgDiagSuite:::25\nBeginDiag:::1.1.2\nPrgDiag:::100\nEndDiag:::0|00000\n"
      "PrgDiagSuite:::50\n";
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
  // A missing device next to a present one: the run goes on with a warning, and the status
  // still tells a script that a device was missing.
  const auto partly = RunCli({"-Mstorage", "0", "7", "-Qf"});
  EXPECT_EQ(partly.status, 31);
  EXPECT_TRUE(Contains(partly.out, "[Warning] Devices not found: 7\n"));
  EXPECT_TRUE(Contains(partly.out, "Test Status: Passed!"));
  const auto partly_protocol = RunCli({"--KOLV", "-Mstorage", "9", "0", "-Qf"});
  EXPECT_EQ(partly_protocol.status, 31) << partly_protocol.out;
  EXPECT_EQ(partly_protocol.out.rfind("NOT_FOUND:::9\nBeginDiagSuite:::Storage\n", 0), 0u)
      << partly_protocol.out;
  EXPECT_TRUE(Contains(partly_protocol.out, "EndDiag:::1|")) << partly_protocol.out;
  // A finding on the present device says more.
  EXPECT_EQ(RunCli({"-Mstorage", "1", "7", "-Qr(1)"}).status, 21);

  // Modules of the demo catalogue, in either order: missing devices outweigh a pass and never
  // hide a failure.
  const std::map<std::string, std::string> demo = {{"MORVA_CATALOGUE", std::getenv("MORVA_CATALOGUE")}};
  const std::vector<std::string> missing_storage = {"-Mstorage", "7", "-Qs"};
  const std::vector<std::string> failing_storage = {"-Mstorage", "2", "-Qr"};
  const std::vector<std::string> passing_memory = {"-Mmemory", "0", "-Xp"};
  const std::vector<std::string> missing_memory = {"-Mmemory", "7", "-Xp"};
  struct Row {
    std::vector<std::string> first, second;
    int status;
  } rows[] = {{missing_storage, passing_memory, 31}, {failing_storage, missing_memory, 21}};
  for (const Row& row : rows) {
    std::vector<std::string> forward = row.first, backward = row.second;
    forward.insert(forward.end(), row.second.begin(), row.second.end());
    backward.insert(backward.end(), row.first.begin(), row.first.end());
    EXPECT_EQ(RunCli(forward, demo).status, row.status) << forward[0] << forward[1];
    EXPECT_EQ(RunCli(backward, demo).status, row.status) << backward[0] << backward[1];
  }
  // A chosen module that is not loaded is told, the others run, and their pass never hides it,
  // in either order; it outweighs missing devices and yields to a failure.
  auto joined = [](std::vector<std::string> first, const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
  };
  const std::vector<std::string> absent_module = {"-Mnope", "0", "-Qf"};
  const std::vector<std::string> passing = {"-Mstorage", "0", "-Qf"};
  for (const auto& args : {joined(absent_module, passing), joined(passing, absent_module)}) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 30) << args[0] << "\n" << r.out;
    EXPECT_TRUE(Contains(r.out, "[Warning] Following module(s) are not available: nope\n")) << r.out;
    EXPECT_TRUE(Contains(r.out, "Test Status: Passed!")) << r.out;
    const auto protocol = RunCli(joined({"--KOLV"}, args));
    EXPECT_EQ(protocol.status, 30) << protocol.out;
    EXPECT_TRUE(Contains(protocol.out, "EndDiag:::1|")) << protocol.out;
    EXPECT_EQ(protocol.err, "[Warning] Following module(s) are not available: nope\n");
  }
  EXPECT_EQ(RunCli(joined(absent_module, {"-Mstorage", "0", "7", "-Qf"})).status, 30);
  EXPECT_EQ(RunCli(joined(absent_module, {"-Mstorage", "1", "-Qr(1)"})).status, 21);

  // The help's own example.
  const auto example = RunCli({"-Mstorage", "0", "1", "-Qf,r"}, demo);
  EXPECT_EQ(example.status, 0) << example.out;
  EXPECT_EQ(clitest::Count(example.out, "Test Status: Passed!"), 4u) << example.out;
}

// A catalogue of three diagnostics with two to four tests each; every test has a random
// duration, outcome, progress steps and messages, different on the two devices.
std::string RandomCatalogue(std::mt19937& random) {
  const char* statuses[] = {"passed", "failed", "warning", "not_applicable", "invalid"};
  auto outcome = [&] {
    std::uniform_int_distribution<int> percent(1, 99), duration(0, 30), status(0, 4), steps(0, 3);
    std::string progress;
    for (int i = steps(random); i > 0; --i) {
      if (!progress.empty()) progress += ", ";
      progress += (random() % 2) ? std::to_string(percent(random))
                                 : "{\"percent\": " + std::to_string(percent(random)) +
                                       ", \"text\": \"STEP_" + std::to_string(i) + "\"}";
    }
    return "{\"status\": \"" + std::string(statuses[status(random)]) +
           "\", \"duration\": " + std::to_string(duration(random)) + ", \"progress\": [" +
           progress + "]}";
  };
  std::string diagnostics, options;
  const char letters[] = {'Q', 'P', 'K'};
  for (int d = 1; d <= 3; ++d) {
    std::string tests;
    const int count = 2 + static_cast<int>(random() % 3);
    for (int t = 1; t <= count; ++t) {
      if (!tests.empty()) tests += ",";
      tests += "{\"id\": \"1." + std::to_string(d) + "." + std::to_string(t) +
               "\", \"name\": \"TEST_" + std::to_string(d) + std::to_string(t) +
               "\", \"description\": \"D\", \"outcome\": " + outcome() +
               ", \"outcomes\": {\"1\": " + outcome() + "}}";
    }
    if (d > 1) diagnostics += ",", options += ",";
    diagnostics += "{\"id\": \"1." + std::to_string(d) + ".0\", \"name\": \"DIAG_" +
                   std::to_string(d) + "\", \"description\": \"D\", \"tests\": [" + tests + "]}";
    options += "{\"id\": \"1." + std::to_string(d) + ".0\", \"letter\": \"" + letters[d - 1] +
               "\", \"long_name\": \"diag" + std::to_string(d) + "\"}";
  }
  return "{\"product_version\": \"1.0.0.1\", \"modules\": [{\"name\": \"Storage\", "
         "\"devices\": [{\"id\": \"0\", \"udi\": \"U0\", \"display_name\": \"D0\"}, "
         "{\"id\": \"1\", \"udi\": \"U1\", \"display_name\": \"D1\"}], "
         "\"diagnostics\": [" + diagnostics + "], \"diagnostic_options\": [" + options + "]}]}";
}

// What the engine did, in its order: per Execute the diagnostics with their tests, and the
// status each test ended with.
struct EngineTest {
  std::string diagnostic, test;
  int status = -1;
};
std::vector<std::vector<EngineTest>> EngineOrder(const std::string& trace_path) {
  std::vector<std::vector<EngineTest>> runs;
  std::ifstream trace(trace_path);
  size_t finished = 0;
  for (std::string line; std::getline(trace, line);) {
    if (line.rfind("Execute ", 0) == 0) {
      const size_t from = line.find("selection=") + 10;
      std::stringstream selection(line.substr(from, line.find(" group=") - from));
      runs.emplace_back();
      finished = 0;
      for (std::string diagnostic; std::getline(selection, diagnostic, ';');) {
        const size_t colon = diagnostic.find(':');
        std::stringstream tests(diagnostic.substr(colon + 1));
        for (std::string test; std::getline(tests, test, ',');)
          runs.back().push_back({diagnostic.substr(0, colon), test, -1});
      }
    } else if (line.rfind("TestFinished status=", 0) == 0 && !runs.empty() &&
               finished < runs.back().size()) {
      runs.back()[finished++].status = std::stoi(line.substr(20));
    }
  }
  return runs;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(Run, EventsArePrintedInTheEnginesOrder) {
  const unsigned seed = std::random_device()();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  const std::string trace = clitest::ScratchDir() + "/order_trace.txt";
  std::map<std::string, std::string> env = {
      {"MORVA_CATALOGUE", clitest::WriteScratchFile("order.json", RandomCatalogue(random))},
      {"MORVA_TRACE", trace}};
  const char letter[] = {'1', '0', '5', '2', '4', '3', '5'};  // by status

  // The supervisor's lines: progress only inside its test, everything else in engine order.
  std::remove(trace.c_str());
  const auto protocol = RunCli({"--KOLV", "-Mstorage", "0", "1", "-Q", "-P", "-K"}, env);
  ASSERT_TRUE(protocol.status == 0 || (protocol.status >= 21 && protocol.status <= 24)) << protocol.out;
  std::vector<std::vector<EngineTest>> runs = EngineOrder(trace);
  ASSERT_EQ(runs.size(), 2u);
  // Each test adds its share of the whole run list, on both devices alike.
  size_t all_tests = 0;
  for (const auto& run : runs) all_tests += run.size();
  std::vector<std::string> expected;
  for (const auto& run : runs) {
    expected.push_back("BeginDiagSuite:::Storage");
    bool failed = false;
    for (size_t i = 0; i < run.size(); ++i) {
      ASSERT_GE(run[i].status, 0);
      expected.push_back("BeginDiag:::" + run[i].test);
      expected.push_back(std::string("EndDiag:::") + letter[run[i].status] + "|");
      expected.push_back("PrgDiagSuite:::" + std::to_string((i + 1) * (100 / all_tests)));
      failed = failed || run[i].status == 1;
    }
    expected.push_back(std::string("EndDiagSuite:::  ") + (failed ? '0' : '1') + "|");
    expected.push_back("PrgDiagSuite:::100");
  }
  std::vector<std::string> printed;
  bool in_test = false;
  for (const std::string& line : Lines(protocol.out)) {
    if (line.rfind("PrgDiag:::", 0) == 0) {
      EXPECT_TRUE(in_test) << "progress outside a test: " << protocol.out;
      continue;
    }
    if (line.rfind("BeginDiag:::", 0) == 0) in_test = true;
    if (line.rfind("EndDiag:::", 0) == 0) in_test = false;
    // Elapsed times and the device's result code depend on the run.
    const bool end_line = line.rfind("EndDiag", 0) == 0;
    printed.push_back(end_line ? line.substr(0, line.find('|') + 1) : line);
  }
  EXPECT_EQ(printed, expected) << protocol.out;

  // The console: diagnostics and tests open and close in the engine's order.
  std::remove(trace.c_str());
  const auto console = RunCli({"-Mstorage", "0", "1", "-Q", "-P", "-K"}, env);
  runs = EngineOrder(trace);
  ASSERT_EQ(runs.size(), 2u);
  const char* words[] = {"Passed", "Fail", "Urecognized", "Not Applicable", "Canceled",
                         "Warning", "Invalid"};
  expected.clear();
  for (const auto& run : runs) {
    for (size_t i = 0; i < run.size(); ++i) {
      const std::string diagnostic = "Diag " + run[i].diagnostic.substr(2, 1);
      if (i == 0 || run[i - 1].diagnostic != run[i].diagnostic)
        expected.push_back("Started diagnostic: " + diagnostic);
      expected.push_back("=> Test " + run[i].test.substr(2, 1) + run[i].test.substr(4));
      expected.push_back(std::string("   Test Status: ") + words[run[i].status] + "!");
      if (i + 1 == run.size() || run[i + 1].diagnostic != run[i].diagnostic)
        expected.push_back("Finished diagnostic: " + diagnostic);
    }
    expected.push_back("   Result Code: ");
  }
  printed.clear();
  for (std::string line : Lines(console.out)) {
    line = line.substr(line.rfind('\r') == std::string::npos ? 0 : line.rfind('\r') + 1);
    for (const char* start : {"Started diagnostic: ", "=> ", "   Test Status: ",
                              "Finished diagnostic: ", "   Result Code: "})
      if (line.rfind(start, 0) == 0)
        printed.push_back(std::string(start) == "   Result Code: " ? start : line);
  }
  EXPECT_EQ(printed, expected) << console.out;
}

// One test per outcome on device 0; NARROW runs only on device 1.
const char kOutcomeCatalogue[] = R"({
  "product_version": "1.0.0.1",
  "modules": [{
    "name": "Storage", "help": "H", "version": "2.0.0.7",
    "devices": [{"id": "0", "udi": "U0", "display_name": "DISK_ZERO"},
                {"id": "1", "udi": "U1", "display_name": "DISK_ONE"}],
    "diagnostics": [
      {"id": "1.1.0", "name": "QUICK", "description": "Q", "tests": [
        {"id": "1.1.1", "name": "PASSING", "description": "D", "outcome": {"status": "passed"}},
        {"id": "1.1.2", "name": "WARNING", "description": "D", "outcome": {"status": "warning"}},
        {"id": "1.1.3", "name": "INVALID", "description": "D", "outcome": {"status": "invalid"}},
        {"id": "1.1.4", "name": "CANCELLED", "description": "D", "outcome": {"status": "cancelled"}},
        {"id": "1.1.5", "name": "FAILING", "description": "D", "outcome": {"status": "failed"}},
        {"id": "1.1.6", "name": "NARROW", "description": "D", "devices": ["1"]},
        {"id": "1.1.7", "name": "UNRECOGNISED", "description": "D", "outcome": {"status": "unrecognized"}}]},
      {"id": "1.2.0", "name": "ONLY_NARROW", "description": "N", "tests": [
        {"id": "1.2.1", "name": "NARROW_TOO", "description": "D", "devices": ["1"]}]}],
    "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"},
                           {"id": "1.2.0", "letter": "N", "long_name": "narrow"}],
    "test_options": [{"id": "1.1.1", "letter": "p", "long_name": "passing"},
                     {"id": "1.1.2", "letter": "w", "long_name": "warning"},
                     {"id": "1.1.3", "letter": "i", "long_name": "invalid"},
                     {"id": "1.1.4", "letter": "c", "long_name": "cancelled"},
                     {"id": "1.1.5", "letter": "f", "long_name": "failing"},
                     {"id": "1.1.6", "letter": "n", "long_name": "narrow"},
                     {"id": "1.1.7", "letter": "u", "long_name": "unrecognised"},
                     {"id": "1.2.1", "letter": "t", "long_name": "narrowtoo"}]
  }]
})";

TEST(Run, ExitStatusesOfWarningsNotApplicableAndInvalidTests) {
  const std::map<std::string, std::string> env = {
      {"MORVA_CATALOGUE", clitest::WriteScratchFile("outcomes.json", kOutcomeCatalogue)}};
  struct Row {
    const char* tests;
    int status;
  } rows[] = {
      {"-Qw", 22}, {"-Qn", 23}, {"-Qi", 24},
      // The heavier outcome wins, in either order.
      {"-Qn,i", 24}, {"-Qi,n", 24}, {"-Qp,w", 22}, {"-Qw,p", 22}, {"-Qi,p", 0},
      {"-Qw,c", 22}, {"-Qc,i", 25}, {"-Qw,f,c", 21},
      // An outcome the host does not know is no pass: it counts as invalid.
      {"-Qu", 24}, {"-Qn,u", 24}, {"-Qu,p", 0}, {"-Qu,w", 22},
  };
  for (const Row& row : rows) {
    const auto r = RunCli({"-Mstorage", "0", row.tests}, env);
    EXPECT_EQ(r.status, row.status) << row.tests << "\n" << r.out;
  }
  const auto warned = RunCli({"-Mstorage", "0", "-Qw"}, env);
  EXPECT_TRUE(Contains(warned.out, "=> Warning\n")) << warned.out;
  EXPECT_TRUE(Contains(warned.out, "   Test Status: Warning!\n")) << warned.out;

  // A diagnostic none of whose tests suits the device is not run at all.
  const auto nothing = RunCli({"-Mstorage", "0", "-N"}, env);
  EXPECT_EQ(nothing.status, 23);
  EXPECT_TRUE(Contains(nothing.out,
                       "[Warning] Only narrow are not supported for device: 0\n"
                       "[Warning] No selected diagnostics are applicable for the selected devices\n"))
      << nothing.out;
  EXPECT_FALSE(Contains(nothing.out, "Started diagnostic")) << nothing.out;
  // A supervisor has every test run and reported.
  const auto reported = RunCli({"--KOLV", "-Mstorage", "0", "-N"}, env);
  EXPECT_EQ(reported.status, 23);
  EXPECT_TRUE(Contains(reported.out, "BeginDiag:::1.2.1\n")) << reported.out;
  EXPECT_TRUE(Contains(reported.out, "EndDiag:::2|00000\n")) << reported.out;

  // A device that is not there is named, and outweighs what nothing applicable says; also a
  // test-list item that is no test, which names a device. In every output form.
  const std::string file = clitest::ScratchDir() + "/nothing_applicable.txt";
  struct Missing {
    std::vector<std::string> args;
    const char* id;
  } missing[] = {{{"-Mstorage", "0", "9", "-N"}, "9"}, {{"-Mstorage", "0", "-Qz"}, "z"}};
  for (const Missing& row : missing) {
    const auto console = RunCli(row.args, env);
    EXPECT_EQ(console.status, 31) << row.id << "\n" << console.out;
    EXPECT_TRUE(Contains(console.out, std::string("[Warning] Devices not found: ") + row.id + "\n"))
        << console.out;
    EXPECT_TRUE(Contains(console.out, "No selected diagnostics are applicable")) << console.out;
    std::vector<std::string> to_file = {"-o", file};
    to_file.insert(to_file.end(), row.args.begin(), row.args.end());
    EXPECT_EQ(RunCli(to_file, env).status, 31) << row.id;
    EXPECT_TRUE(Contains(clitest::ReadFile(file), std::string("Devices not found: ") + row.id))
        << clitest::ReadFile(file);
    std::vector<std::string> protocol_args = {"--KOLV"};
    protocol_args.insert(protocol_args.end(), row.args.begin(), row.args.end());
    const auto protocol = RunCli(protocol_args, env);
    EXPECT_EQ(protocol.status, 31) << row.id << "\n" << protocol.out;
    EXPECT_EQ(protocol.out.rfind(std::string("NOT_FOUND:::") + row.id + "\n", 0), 0u) << protocol.out;
    EXPECT_TRUE(Contains(protocol.err, std::string("[Warning] Devices not found: ") + row.id + "\n"))
        << protocol.err;
  }
}

TEST(Run, DevicesNamedForAModuleWithoutDevicesAreNamed) {
  const std::map<std::string, std::string> env = {
      {"MORVA_CATALOGUE", clitest::WriteScratchFile("no_devices.json", R"({
  "product_version": "1.0.0.1",
  "modules": [{"name": "Storage", "devices": [],
    "diagnostics": [{"id": "1.1.0", "name": "QUICK", "description": "Q", "tests": [
      {"id": "1.1.1", "name": "READ", "description": "R"}]}],
    "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"}]}]
})")},
      {"MORVA_TIME_SCALE", "0"}};
  const auto named = RunCli({"-Mstorage", "3", "-Q"}, env);
  EXPECT_EQ(named.status, 31) << named.out;
  EXPECT_TRUE(Contains(named.out, "[Warning] No devices found for this module\n")) << named.out;
  EXPECT_TRUE(Contains(named.out, "[Warning] Following device(s) are not available: 3\n")) << named.out;
  const auto unnamed = RunCli({"-Mstorage", "-Q"}, env);
  EXPECT_EQ(unnamed.status, 31) << unnamed.out;
  EXPECT_FALSE(Contains(unnamed.out, "not available")) << unnamed.out;

  // A supervisor reads why on standard error, worded as on the console.
  const auto protocol = RunCli({"--KOLV", "-Mstorage", "3", "-Q"}, env);
  EXPECT_EQ(protocol.status, 31);
  EXPECT_EQ(protocol.out, "NOT_FOUND:::3\n");
  EXPECT_EQ(protocol.err,
            "[Warning] No devices found for this module\n"
            "[Warning] Following device(s) are not available: 3\n");
}

TEST(Run, SuiteProgressIsTheShareOfTheWholeRunList) {
  const std::map<std::string, std::string> env = {
      {"MORVA_CATALOGUE", clitest::WriteScratchFile("outcomes.json", kOutcomeCatalogue)},
      {"MORVA_TIME_SCALE", "0"}};
  auto suite_lines = [](const std::string& out) {
    std::string lines;
    for (const std::string& line : Lines(out)) {
      if (line.rfind("BeginDiagSuite:::", 0) == 0) lines += "| ";
      if (line.rfind("PrgDiagSuite:::", 0) == 0) lines += line.substr(15) + " ";
    }
    return lines;
  };
  // Two devices of five tests: 10 per test, each device climbs to 50 and ends at 100.
  const auto ten = RunCli({"--KOLV", "-Mstorage", "0", "1", "-Qp,w,i,c,f"}, env);
  EXPECT_EQ(suite_lines(ten.out), "| 10 20 30 40 50 100 | 10 20 30 40 50 100 ") << ten.out;
  // Three tests on one device: the share is 33, so the last test reaches 99.
  const auto third = RunCli({"--KOLV", "-Mstorage", "0", "-Qp,w,i"}, env);
  EXPECT_EQ(suite_lines(third.out), "| 33 66 99 100 ") << third.out;
}

// Storage's device scan fails; Memory's works and its test passes.
const char kFailingScanCatalogue[] = R"({
  "product_version": "1.0.0.1",
  "modules": [
    {"name": "Storage", "scan": {"sequence": [{"devices": ["0"], "result": -5}]},
     "devices": [{"id": "0", "udi": "U0", "display_name": "DISK"}],
     "diagnostics": [{"id": "1.1.0", "name": "QUICK", "description": "Q", "tests": [
       {"id": "1.1.1", "name": "READ", "description": "R", "outcome": {"status": "passed"}}]}],
     "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"}]},
    {"name": "Memory", "devices": [{"id": "0", "udi": "M0", "display_name": "RAM"}],
     "diagnostics": [{"id": "2.1.0", "name": "PATTERN", "description": "P", "tests": [
       {"id": "2.1.1", "name": "WALK", "description": "W", "outcome": {"status": "passed"}}]}],
     "diagnostic_options": [{"id": "2.1.0", "letter": "X", "long_name": "pattern"}]}]
})";

TEST(Run, AFailedDeviceScanIsNeverASuccess) {
  const std::map<std::string, std::string> env = {
      {"MORVA_CATALOGUE", clitest::WriteScratchFile("failing_scan.json", kFailingScanCatalogue)},
      {"MORVA_TIME_SCALE", "0"}};
  const auto run = RunCli({"-Mstorage", "0", "-Q"}, env);
  EXPECT_EQ(run.status, 2) << run.out;
  EXPECT_TRUE(Contains(run.out, "[Warning] Device scan failed: -5\n")) << run.out;
  EXPECT_FALSE(Contains(run.out, "No devices found")) << run.out;
  EXPECT_FALSE(Contains(run.out, "Devices not found")) << run.out;
  EXPECT_FALSE(Contains(run.out, "Started diagnostic")) << run.out;
  const auto told = RunCli({"--KOLV", "-Mstorage", "0", "-Q"}, env);
  EXPECT_EQ(told.status, 2);
  EXPECT_EQ(told.out, "");
  EXPECT_EQ(told.err, "[Warning] Device scan failed: -5\n");

  // The other module still runs, and its pass never hides the failed scan, in either order.
  for (const auto& args : {std::vector<std::string>{"-Mstorage", "0", "-Q", "-Mmemory", "0", "-X"},
                           std::vector<std::string>{"-Mmemory", "0", "-X", "-Mstorage", "0", "-Q"}}) {
    const auto both = RunCli(args, env);
    EXPECT_EQ(both.status, 2) << args[0] << "\n" << both.out;
    EXPECT_TRUE(Contains(both.out, "Started diagnostic: Pattern")) << both.out;
    const auto protocol_args = [&] {
      std::vector<std::string> with = args;
      with.insert(with.begin(), "--KOLV");
      return with;
    }();
    const auto protocol = RunCli(protocol_args, env);
    EXPECT_EQ(protocol.status, 2) << protocol.out;
    EXPECT_EQ(clitest::Count(protocol.out, "BeginDiagSuite:::"), 1u) << protocol.out;
  }
}

// Another engine's whole entries may stand before or after the run's own in the log.
TEST(Run, TheLogCheckFindsTheRunsOwnEntryAmongOthers) {
  const std::string log = LogFilePath("morva");
  std::filesystem::create_directories(std::filesystem::path(log).parent_path());
  std::ofstream(log, std::ios::app) << "--- Memory\n";
  const LogEntryCheck check;
  std::ofstream(log, std::ios::app) << "+++ 2026-01-01 00:00:00 Memory 9\n--- Memory\n"
                                    << "+++ 2026-01-01 00:00:01 Storage 7\nSTART TESTS\n";
  EXPECT_FALSE(check.EntryWritten(7));
  std::ofstream(log, std::ios::app) << "--- Storage\n+++ 2026-01-01 00:00:02 Memory 9\n";
  EXPECT_TRUE(check.EntryWritten(7));
  EXPECT_FALSE(check.EntryWritten(17));
}

TEST(Run, BackgroundModeReturnsAtOnceAndHoldsTheLockUntilItsFileIsWritten) {
  // One test of three seconds: time enough to start another instance meanwhile.
  const std::string catalogue = clitest::WriteScratchFile("slow.json", R"({
    "product_version": "1.0.0.1",
    "modules": [{"name": "Storage", "devices": [{"id": "0", "udi": "U0", "display_name": "D"}],
      "diagnostics": [{"id": "1.1.0", "name": "QUICK", "description": "Q", "tests": [
        {"id": "1.1.1", "name": "READ", "description": "R",
         "outcome": {"status": "passed", "duration": 3}}]}],
      "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"}]}]})");
  const std::string path = clitest::ScratchDir() + "/background.txt";
  const std::string trace = clitest::ScratchDir() + "/background_trace.txt";
  std::remove(path.c_str());
  std::remove(trace.c_str());
  const std::map<std::string, std::string> env = {
      {"MORVA_CATALOGUE", catalogue}, {"MORVA_TIME_SCALE", "1"}, {"MORVA_TRACE", trace}};
  const auto start = std::chrono::steady_clock::now();
  const auto parent = RunCli({"-b", "-o", path, "-Mstorage", "0", "-Q"}, env);
  EXPECT_EQ(parent.status, 0);
  EXPECT_EQ(parent.out, "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

  // The background copy's test has begun: it holds the lock.
  bool running = false;
  for (int i = 0; i < 300 && !running; ++i) {  // hang guard: 30 s
    running = Contains(clitest::ReadFile(trace), "TestStarted returned");
    if (!running) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_TRUE(running) << clitest::ReadFile(trace);
  const auto meanwhile = RunCli({"-A"}, env);
  EXPECT_EQ(meanwhile.status, 4);
  EXPECT_EQ(meanwhile.out, "A Tarvex Diagnostics Tool is already running\n");

  std::string text;
  for (int i = 0; i < 300; ++i) {  // hang guard: 30 s
    text = clitest::ReadFile(path);
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

// The parent says what the copy will warn about, and 0 means that the copy runs; the copy's
// own status ends its file.
TEST(Run, TheBackgroundParentWarnsAndReturnsZeroOnceTheCopyRuns) {
  const std::string path = clitest::ScratchDir() + "/background_warned.txt";
  std::remove(path.c_str());
  const auto parent = RunCli({"-b", "-o", path, "-Mnosuch", "-Mstorage", "0", "-Qf"});
  EXPECT_EQ(parent.status, 0);
  EXPECT_EQ(parent.out, "[Warning] Following module(s) are not available: nosuch\n");
  EXPECT_TRUE(clitest::FileShows(path, "\nCLI Execution status: 30")) << clitest::ReadFile(path);
  const auto copy_ended = [] {
    for (int i = 0; i < 100 && RunCli({"-A"}).status == 4; ++i)  // hang guard: the copy ends
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
  };
  copy_ended();
  // Warnings nobody could read are lost output, as anywhere.
  clitest::StreamSetup full;
  full.output_file = "/dev/full";
  std::remove(path.c_str());
  const auto unheard =
      clitest::RunCliWith(full, {"-b", "-o", path, "-Mnosuch", "-Mstorage", "0", "-Qf"});
  EXPECT_EQ(unheard.status, 6);
  EXPECT_TRUE(Contains(unheard.err, "output lost: standard output")) << unheard.err;
  EXPECT_TRUE(clitest::FileShows(path, "\nCLI Execution status: 30")) << clitest::ReadFile(path);
  copy_ended();

  // A copy that never gets the lock ends its file all the same, with the reason; a file that the
  // copy holding the lock writes stays that copy's.
  const std::string taken = clitest::WriteScratchFile("background_taken.txt", "the other run\n");
  const int other_copy = open(taken.c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_EQ(flock(other_copy, LOCK_EX), 0);
  ZerkaAppMutex* lock = get_app_mutex();
  ASSERT_EQ(lock->Acquire(), 0);
  clitest::Session beside({"-o", taken, "-Mstorage", "0", "-Qf", "--vyx-instance"}, {},
                          clitest::Session::Console::kPipes);
  const auto locked_out = RunCli({"-o", path, "-Mstorage", "0", "-Qf", "--vyx-instance"});
  EXPECT_EQ(beside.Finish().status, 4);
  release_app_mutex(lock);
  close(other_copy);
  EXPECT_EQ(clitest::ReadFile(taken), "the other run\n");
  EXPECT_EQ(locked_out.status, 4);
  EXPECT_EQ(clitest::ReadFile(path),
            "A Tarvex Diagnostics Tool is already running\n\nCLI Execution status: 4");
}

TEST(Run, BackgroundModeChecksTheTestListFirst) {
  const auto r = RunCli({"-b", "-Mstorage", "-Qf,"});
  EXPECT_EQ(r.status, 5);
  EXPECT_TRUE(Contains(r.out, "Fatal parsing error: empty test"));
}

}  // namespace
