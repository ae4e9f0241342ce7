// Merging of test outcomes into the exit status.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <iterator>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_application.h"
#include "cli/console_interrupt.h"
#include "cli/exit_status.h"
#include "cli/startup.h"

namespace {
// Makes the engine throw as it loads, as it does when memory runs out (ulimit -v).
std::atomic<bool> g_engine_load_throws{false};
}  // namespace

// Stands before the engine's own for this test program.
morva_service::MorvaService* GetMorvaServiceInstance() {
  if (g_engine_load_throws) throw std::bad_alloc();
  static const auto engine = reinterpret_cast<morva_service::MorvaService* (*)()>(
      dlsym(RTLD_NEXT, "_Z23GetMorvaServiceInstancev"));
  return engine ? engine() : nullptr;
}

namespace {

// A service that cannot load, however it fails: the program says so and ends with 2.
TEST(ExitStatus, AnEngineThatThrowsAsItLoadsIsAServiceThatCannotLoad) {
  g_engine_load_throws = true;
  CliApplication app;
  g_engine_load_throws = false;
  char program[] = "kolv_cli", list[] = "-A";
  char* argv[] = {program, list, nullptr};
  testing::internal::CaptureStdout();
  EXPECT_EQ(PrepareRun(app, 2, argv), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot load the diagnostics service\n");
  EXPECT_EQ(app.outcome.Status(), kolv_exit::kPlatformUnavailable);
}

unsigned Merged(std::initializer_list<unsigned> statuses) {
  CliApplication app(false);
  for (unsigned s : statuses) app.outcome.ReportTest(s);
  return app.outcome.Status();
}

// The README's order of kolv_cli's outcomes, heaviest first.
const unsigned kReadmeOrder[] = {
    kolv_exit::kTestFailed,        kolv_exit::kTestWarning,     kolv_exit::kTestCancelled,
    kolv_exit::kPlatformUnavailable, kolv_exit::kModuleNotLoaded, kolv_exit::kDevicesMissing,
    kolv_exit::kSuccess,           kolv_exit::kTestInvalid,     kolv_exit::kTestNotApplicable,
};

TEST(MergeExitStatus, TheReadmeOrderIsTheOneStatusesFollow) {
  EXPECT_EQ(std::vector<unsigned>(std::begin(kReadmeOrder), std::end(kReadmeOrder)),
            (std::vector<unsigned>{21, 22, 25, 2, 30, 31, 0, 24, 23}));
  // Any two of them, in either order, leave the one listed first.
  for (size_t i = 0; i < std::size(kReadmeOrder); ++i) {
    for (size_t j = i + 1; j < std::size(kReadmeOrder); ++j) {
      for (bool heavier_first : {true, false}) {
        CliApplication app(false);
        app.outcome.Report(heavier_first ? kReadmeOrder[i] : kReadmeOrder[j]);
        app.outcome.Report(heavier_first ? kReadmeOrder[j] : kReadmeOrder[i]);
        EXPECT_EQ(app.outcome.Status(), kReadmeOrder[i])
            << kReadmeOrder[i] << " and " << kReadmeOrder[j];
      }
    }
  }
}

TEST(MergeExitStatus, EveryPairKeepsTheHeavierOutcome) {
  // Test status -> exit status; an unrecognised outcome (2, or any code above 6) is invalid.
  const unsigned exit_of[] = {0, 21, 24, 23, 25, 22, 24, 24};
  // Whichever of the two the README lists first.
  auto heavier = [](unsigned ea, unsigned eb) {
    for (unsigned status : kReadmeOrder)
      if (status == ea || status == eb) return status;
    ADD_FAILURE() << ea << " and " << eb << " are not in the README's order";
    return 0u;
  };
  for (unsigned a = 0; a < 8; ++a)
    for (unsigned b = 0; b < 8; ++b)
      EXPECT_EQ(Merged({a, b}), heavier(exit_of[a], exit_of[b])) << a << " then " << b;
}

TEST(MergeExitStatus, SequencesFromUse) {
  EXPECT_EQ(Merged({0, 3, 0}), 0u);
  EXPECT_EQ(Merged({1, 0}), kolv_exit::kTestFailed);
  EXPECT_EQ(Merged({5, 4}), kolv_exit::kTestWarning);
  EXPECT_EQ(Merged({3, 6}), kolv_exit::kTestInvalid);
  EXPECT_EQ(Merged({6}), kolv_exit::kTestInvalid);
  EXPECT_EQ(Merged({3}), kolv_exit::kTestNotApplicable);
  EXPECT_EQ(Merged({2}), kolv_exit::kTestInvalid);
  EXPECT_EQ(Merged({3, 2}), kolv_exit::kTestInvalid);
  EXPECT_EQ(Merged({2, 0}), 0u);
  EXPECT_EQ(Merged({7}), kolv_exit::kTestInvalid);
  EXPECT_EQ(Merged({0xFFFFFFFFu}), kolv_exit::kTestInvalid);
}

TEST(MergeExitStatus, RunnerStatusesNeverHideAFailure) {
  CliApplication failed(false);
  failed.outcome.ReportTest(1);
  failed.outcome.Report(kolv_exit::kDevicesMissing);
  failed.outcome.ReportTest(0);
  EXPECT_EQ(failed.outcome.Status(), kolv_exit::kTestFailed);

  // Missing devices outweigh a pass, whichever came first, and yield to a cancellation.
  CliApplication passed(false);
  passed.outcome.ReportTest(0);
  passed.outcome.Report(kolv_exit::kDevicesMissing);
  EXPECT_EQ(passed.outcome.Status(), kolv_exit::kDevicesMissing);
  passed.outcome.ReportTest(0);
  passed.outcome.ReportTest(3);
  EXPECT_EQ(passed.outcome.Status(), kolv_exit::kDevicesMissing);
  passed.outcome.ReportTest(4);
  EXPECT_EQ(passed.outcome.Status(), kolv_exit::kTestCancelled);

  CliApplication nothing(false);
  nothing.outcome.Report(kolv_exit::kTestNotApplicable);
  nothing.outcome.ReportTest(6);
  EXPECT_EQ(nothing.outcome.Status(), kolv_exit::kTestInvalid);

  // A module whose devices could not be scanned is never covered by another module's pass.
  CliApplication unscanned(false);
  unscanned.outcome.Report(kolv_exit::kPlatformUnavailable);
  unscanned.outcome.ReportTest(0);
  unscanned.outcome.Report(kolv_exit::kDevicesMissing);
  unscanned.outcome.ReportTest(6);
  EXPECT_EQ(unscanned.outcome.Status(), kolv_exit::kPlatformUnavailable);
  unscanned.outcome.ReportTest(1);
  EXPECT_EQ(unscanned.outcome.Status(), kolv_exit::kTestFailed);

  // So is a chosen module that is not loaded, which also outweighs missing devices.
  for (unsigned devices_first = 0; devices_first < 2; ++devices_first) {
    CliApplication absent(false);
    if (devices_first) absent.outcome.Report(kolv_exit::kDevicesMissing);
    absent.outcome.Report(kolv_exit::kModuleNotLoaded);
    absent.outcome.ReportTest(0);
    absent.outcome.Report(kolv_exit::kDevicesMissing);
    absent.outcome.ReportTest(3);
    EXPECT_EQ(absent.outcome.Status(), kolv_exit::kModuleNotLoaded) << devices_first;
    absent.outcome.Report(kolv_exit::kPlatformUnavailable);
    EXPECT_EQ(absent.outcome.Status(), kolv_exit::kPlatformUnavailable) << devices_first;
  }

  CliApplication warned(false);
  warned.outcome.ReportTest(5);
  warned.outcome.Report(kolv_exit::kTestNotApplicable);
  warned.outcome.Report(kolv_exit::kDevicesMissing);
  EXPECT_EQ(warned.outcome.Status(), kolv_exit::kTestWarning);
}

// The background copy's last line tells the status the program ends with: a run cancelled after
// its last result is never told there as a success.
TEST(MergeExitStatus, TheFinalLineTellsAnInterruptedRunsStatus) {
  CliApplication app(false);
  app.outcome.ReportTest(0);
  app.sink = new MorvaStdio();
  SetCliInterrupted();
  testing::internal::CaptureStdout();
  WriteFinalStatus(app);
  app.sink->Finish();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), FinalStatusLine(ExitStatus(app)));
  EXPECT_EQ(ExitStatus(app), kolv_exit::kTestCancelled);
}

// An interrupt after the status was read out ends the program at once, as cancelled; a failure or
// a warning found before still decides the status, as on every other cancelled end.
TEST(MergeExitStatusDeathTest, AnInterruptAtTheEndKeepsAFinding) {
  const struct {
    unsigned test_status, exit_status;
  } rows[] = {
      {1, kolv_exit::kTestFailed},
      {5, kolv_exit::kTestWarning},
      {0, kolv_exit::kTestCancelled},
  };
  for (const auto& row : rows) {
    EXPECT_EXIT(
        {
          CliApplication app(false);
          app.outcome.ReportTest(row.test_status);
          (void)ExitStatus(app);
          OnConsoleInterrupt(SIGINT);
        },
        ::testing::ExitedWithCode(static_cast<int>(row.exit_status)), "")
        << row.test_status;
  }
}

// Named with no descriptor to spare, the output is still watched: a reader that stopped after an
// interrupt ends the program as cancelled instead of holding it for ever.
TEST(MergeExitStatusDeathTest, AStalledReaderIsSeenWithNoDescriptorToSpare) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto stall = [] {
    int ends[2];
    if (TakeInterrupts(get_signal_handler()) != 0 || pipe2(ends, O_NONBLOCK) != 0) _exit(1);
    const std::string block(4096, 'x');
    while (write(ends[1], block.data(), block.size()) > 0) {
    }
    const rlimit few = {64, 64};
    setrlimit(RLIMIT_NOFILE, &few);
    while (dup(0) >= 0) {
    }
    WatchOutput(ends[1]);
    WatchForAStalledReader();
    std::this_thread::sleep_for(std::chrono::seconds(8));
    _exit(0);
  };
  EXPECT_EXIT(stall(), ::testing::ExitedWithCode(static_cast<int>(kolv_exit::kTestCancelled)), "");
}

}  // namespace
