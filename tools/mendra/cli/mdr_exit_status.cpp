#include "tools/mendra/cli/mdr_exit_status.h"

#include "cli/exit_status.h"
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

namespace {
// The host's order of outcomes, except that success weighs least of all the tool's statuses.
int ToolStatusWeight(unsigned status) {
  if (status == kolv_exit::kSuccess) return 1;
  const int weight = kolv_exit::ResultWeight(status);
  return weight > 0 ? weight + 1 : 0;
}
}  // namespace

unsigned MergeToolStatus(unsigned a, unsigned b) {
  return ToolStatusWeight(b) > ToolStatusWeight(a) ? b : a;
}
