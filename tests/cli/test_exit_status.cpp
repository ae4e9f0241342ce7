// Merging of test outcomes into the exit status.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "cli/cli_application.h"
#include "cli/exit_status.h"

namespace {

unsigned Merged(std::initializer_list<unsigned> statuses) {
  CliApplication app(false);
  for (unsigned s : statuses) MergeExitStatus(app, s);
  return app.exit_status;
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
        MergeRunnerStatus(app, heavier_first ? kReadmeOrder[i] : kReadmeOrder[j]);
        MergeRunnerStatus(app, heavier_first ? kReadmeOrder[j] : kReadmeOrder[i]);
        EXPECT_EQ(app.exit_status, kReadmeOrder[i])
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
