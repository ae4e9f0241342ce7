// How fast kolv_cli stops when asked: "a" from a supervising program and SIGINT during a test, and
// both during a device scan. Runs the built kolv_cli 20 times per case on a catalogue whose test
// and scan never end by themselves, and prints the latencies in milliseconds. Targets: the 95th
// percentile of "a" under 50 ms; SIGINT or "a" during a scan ends the program in under 200 ms.
// Exits with 1 when a target is missed. Not run by ctest; see README.md ("kolv_cli abort
// benchmark").
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "support/run_program.h"
#include "support/texts.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 20;

const char kCatalogue[] = R"({
  "product_version": "1.0.0.1",
  "modules": [{
    "name": "Storage", "scan": {"duration": 0},
    "devices": [{"id": "0", "udi": "U0", "display_name": "DISK_ZERO"}],
    "diagnostics": [{"id": "1.1.0", "name": "QUICK", "description": "Q", "tests": [
      {"id": "1.1.1", "name": "READ", "description": "R", "outcome": {"status": "passed", "duration": 100000}}]}],
    "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"}]
  }, {
    "name": "Slow", "scan": {"duration": 100000},
    "devices": [{"id": "0", "udi": "S0", "display_name": "SLOW_ZERO"}]
  }]
})";

struct Figures {
  std::vector<double> milliseconds;
  int failures = 0;
};

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t index = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

using Ready = std::function<bool(clitest::Session&)>;

Ready Printed(const std::string& text) {
  return [text](clitest::Session& s) { return s.WaitFor(text, 30); };
}

// The protocol prints nothing while it scans: the engine's trace tells that the scan began.
Ready Traced(const std::string& trace, const std::string& text) {
  std::remove(trace.c_str());
  return [trace, text](clitest::Session&) { return clitest::FileShows(trace, text, 1); };
}

// One run: start, wait until ready, act, and time until `done` is printed (or, when done is
// empty, until the program has ended).
void Measure(Figures& figures, const std::vector<std::string>& args,
             const std::map<std::string, std::string>& env, const Ready& ready,
             const std::function<void(clitest::Session&)>& act, const std::string& done) {
  clitest::Session run(args, env, clitest::Session::Console::kPipes);
  if (!run.started() || !ready(run)) {
    ++figures.failures;
    return;
  }
  const auto start = Clock::now();
  act(run);
  bool ended = true, stopped = true;
  if (!done.empty()) {
    ended = stopped = run.WaitFor(done, 30);
  } else {
    const int status = run.Finish(30).status;
    ended = status >= 0;
    stopped = status == 25;
  }
  const double elapsed =
      std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  if (!stopped) ++figures.failures;
  if (ended) figures.milliseconds.push_back(elapsed);
}

bool Report(const char* name, const Figures& figures, double p95_target) {
  const double p95 = Percentile(figures.milliseconds, 0.95);
  std::printf("%-37s runs %2zu  min %7.1f  median %7.1f  p95 %7.1f  max %7.1f ms", name,
              figures.milliseconds.size(),
              figures.milliseconds.empty() ? 0.0 : *std::min_element(figures.milliseconds.begin(), figures.milliseconds.end()),
              Percentile(figures.milliseconds, 0.5), p95,
              figures.milliseconds.empty() ? 0.0 : *std::max_element(figures.milliseconds.begin(), figures.milliseconds.end()));
  const bool met = figures.failures == 0 && (p95_target <= 0 || p95 < p95_target);
  if (figures.failures) std::printf("  (%d runs did not stop with status 25)", figures.failures);
  if (p95_target > 0) std::printf("  target p95 < %.0f ms: %s", p95_target, met ? "met" : "MISSED");
  std::printf("\n");
  return met;
}

}  // namespace

int main() {
  char folder[] = "/tmp/kolv-abort-bench-XXXXXX";
  if (!mkdtemp(folder)) {
    std::perror("mkdtemp");
    return 2;
  }
  const std::string root = folder;
  setenv("KOLV_TEST_TMP", root.c_str(), 1);
  const std::map<std::string, std::string> env = {
      {"MORVA_CATALOGUE", clitest::WriteScratchFile("abort_bench.json", kCatalogue)},
      {"MORVA_TIME_SCALE", "1"},
      {"ZERKA_ADMIN", "1"},
      {"ZERKA_LOCK_FILE", root + "/kolv.lock"},
      {"ZERKA_SYSTEM_DRIVE", root + "/drive_c"}};

  const std::vector<std::string> run = {"--KOLV", "-Mstorage", "0", "-Q"};
  std::map<std::string, std::string> traced = env;
  const std::string trace = root + "/trace.txt";
  traced["MORVA_TRACE"] = trace;
  Figures by_a, by_sigint, by_sigint_in_scan, by_a_in_scan;
  for (int i = 0; i < kRuns; ++i) {
    Measure(by_a, run, env, Printed("BeginDiag:::1.1.1\n"),
            [](clitest::Session& s) { s.Type("a"); }, "EndDiag:::4|");
    Measure(by_sigint, run, env, Printed("BeginDiag:::1.1.1\n"),
            [](clitest::Session& s) { s.Signal(SIGINT); }, "EndDiag:::4|");
    Measure(by_sigint_in_scan, {"-Mslow", "-D"}, env, Printed("Scanning slow devices"),
            [](clitest::Session& s) { s.Signal(SIGINT); }, "");
    Measure(by_a_in_scan, {"--KOLV", "-Mslow", "-D"}, traced, Traced(trace, "Scan module=Slow"),
            [](clitest::Session& s) { s.Type("a"); }, "");
  }
  std::printf("kolv_cli abort latency over %d runs (from the request to the cancelled test's line;\n"
              "for the scan, to the program's end with status 25)\n", kRuns);
  bool met = Report("\"a\" on standard input, in a test", by_a, 50);
  met = Report("SIGINT, in a test", by_sigint, 0) && met;
  met = Report("SIGINT, during a device scan", by_sigint_in_scan, 200) && met;
  met = Report("\"a\" on standard input, during a scan", by_a_in_scan, 200) && met;
  const std::string cleanup = "rm -rf '" + root + "'";
  if (std::system(cleanup.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", root.c_str());
  return met ? 0 : 1;
}
