// Merging of test outcomes into the exit status.
#include <gtest/gtest.h>

#include "cli/cli_application.h"
#include "cli/exit_status.h"

namespace {

unsigned Merged(std::initializer_list<unsigned> statuses) {
  CliApplication app(false);
  for (unsigned s : statuses) MergeExitStatus(app, s);
  return app.exit_status;
}

TEST(MergeExitStatus, EveryPairKeepsTheHeavierOutcome) {
  // Test status -> exit status; an unrecognised outcome (2, or any code above 6) is invalid.
  const unsigned exit_of[] = {0, 21, 24, 23, 25, 22, 24, 24};
  // Heaviest first.
  const std::vector<unsigned> order = {21, 22, 25, 0, 24, 23};
  auto rank = [&](unsigned e) {
    for (size_t i = 0; i < order.size(); ++i)
      if (order[i] == e) return static_cast<int>(i);
    return 100;
  };
  for (unsigned a = 0; a < 8; ++a) {
    for (unsigned b = 0; b < 8; ++b) {
      unsigned expected = 0;
      const unsigned ea = exit_of[a], eb = exit_of[b];
      if (ea != 99) expected = ea;
      if (eb != 99 && (ea == 99 || rank(eb) < rank(ea))) expected = eb;
      EXPECT_EQ(Merged({a, b}), expected) << a << " then " << b;
    }
  }
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
  MergeExitStatus(failed, 1);
  MergeRunnerStatus(failed, kolv_exit::kDevicesMissing);
  MergeExitStatus(failed, 0);
  EXPECT_EQ(failed.exit_status, kolv_exit::kTestFailed);

  // Missing devices outweigh a pass, whichever came first, and yield to a cancellation.
  CliApplication passed(false);
  MergeExitStatus(passed, 0);
  MergeRunnerStatus(passed, kolv_exit::kDevicesMissing);
  EXPECT_EQ(passed.exit_status, kolv_exit::kDevicesMissing);
  MergeExitStatus(passed, 0);
  MergeExitStatus(passed, 3);
  EXPECT_EQ(passed.exit_status, kolv_exit::kDevicesMissing);
  MergeExitStatus(passed, 4);
  EXPECT_EQ(passed.exit_status, kolv_exit::kTestCancelled);

  CliApplication nothing(false);
  MergeRunnerStatus(nothing, kolv_exit::kTestNotApplicable);
  MergeExitStatus(nothing, 6);
  EXPECT_EQ(nothing.exit_status, kolv_exit::kTestInvalid);

  // A module whose devices could not be scanned is never covered by another module's pass.
  CliApplication unscanned(false);
  MergeRunnerStatus(unscanned, kolv_exit::kPlatformUnavailable);
  MergeExitStatus(unscanned, 0);
  MergeRunnerStatus(unscanned, kolv_exit::kDevicesMissing);
  MergeExitStatus(unscanned, 6);
  EXPECT_EQ(unscanned.exit_status, kolv_exit::kPlatformUnavailable);
  MergeExitStatus(unscanned, 1);
  EXPECT_EQ(unscanned.exit_status, kolv_exit::kTestFailed);

  // So is a chosen module that is not loaded, which also outweighs missing devices.
  for (unsigned devices_first = 0; devices_first < 2; ++devices_first) {
    CliApplication absent(false);
    if (devices_first) MergeRunnerStatus(absent, kolv_exit::kDevicesMissing);
    MergeRunnerStatus(absent, kolv_exit::kModuleNotLoaded);
    MergeExitStatus(absent, 0);
    MergeRunnerStatus(absent, kolv_exit::kDevicesMissing);
    MergeExitStatus(absent, 3);
    EXPECT_EQ(absent.exit_status, kolv_exit::kModuleNotLoaded) << devices_first;
    MergeRunnerStatus(absent, kolv_exit::kPlatformUnavailable);
    EXPECT_EQ(absent.exit_status, kolv_exit::kPlatformUnavailable) << devices_first;
  }

  CliApplication warned(false);
  MergeExitStatus(warned, 5);
  MergeRunnerStatus(warned, kolv_exit::kTestNotApplicable);
  MergeRunnerStatus(warned, kolv_exit::kDevicesMissing);
  EXPECT_EQ(warned.exit_status, kolv_exit::kTestWarning);
}

}  // namespace
