#include "cli/test_outcome.h"

#include "cli/exit_status.h"
#include "morva_service/types.h"

namespace {
struct Row {
  morva_service::TestStatus status;
  TestOutcome outcome;
};

const Row kRows[] = {
    {morva_service::kTestPassed, {"PASSED", '1', kolv_exit::kSuccess}},
    {morva_service::kTestFailed, {"FAIL", '0', kolv_exit::kTestFailed}},
    {morva_service::kTestUnrecognized, {"URECOGNIZED", '5', kolv_exit::kTestInvalid}},
    {morva_service::kTestNotApplicable, {"NOT_APPLICABLE", '2', kolv_exit::kTestNotApplicable}},
    {morva_service::kTestCancelled, {"CANCELED", '4', kolv_exit::kTestCancelled}},
    {morva_service::kTestWarning, {"WARNING", '3', kolv_exit::kTestWarning}},
    {morva_service::kTestInvalid, {"INVALID", '5', kolv_exit::kTestInvalid}},
};

const TestOutcome kUnknown{"NONE", '5', kolv_exit::kTestInvalid};
}  // namespace

const TestOutcome& TestOutcome::Of(uint32_t status) {
  for (const Row& row : kRows)
    if (static_cast<uint32_t>(row.status) == status) return row.outcome;
  return kUnknown;
}
