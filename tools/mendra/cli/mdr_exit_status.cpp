#include "tools/mendra/cli/mdr_exit_status.h"

#include "cli/exit_status.h"
#include "cli/run_outcome.h"
#include "tools/mendra/common/mdr_code_meaning.h"

unsigned MdrExitStatus(int code) {
  switch (MdrMeaningOf(code).row_status) {
    case kMdrOutcomeSuccess: return kolv_exit::kSuccess;
    case kMdrOutcomeNotApplicable: return kolv_exit::kTestNotApplicable;
    case kMdrOutcomeAborted: return kolv_exit::kTestCancelled;
    case kMdrOutcomeFailed: return kolv_exit::kTestFailed;
    case kMdrOutcomeWarning: return kolv_exit::kTestWarning;
    default: return kolv_exit::kTestInvalid;
  }
}

void ReportToolResult(RunOutcome& outcome, int code) {
  const unsigned status = MdrExitStatus(code);
  if (status != kolv_exit::kSuccess) outcome.Report(status);
}
