#include "tools/mendra/gui/mdr_report_terms.h"

#include "gui/logs/html_log_entry.h"
#include "tools/mendra/common/mdr_result_codes.h"

// The tool's outcomes are row statuses as they are.
static_assert(int{kMdrOutcomeSuccess} == LOG_ENTRY_SUCCESS &&
              int{kMdrOutcomeFailed} == LOG_ENTRY_FAILED &&
              int{kMdrOutcomeNotApplicable} == LOG_ENTRY_NOT_APPLICABLE &&
              int{kMdrOutcomeAborted} == LOG_ENTRY_ABORTED &&
              int{kMdrOutcomeWarning} == LOG_ENTRY_WARNING &&
              int{kMdrOutcomeInvalid} == LOG_ENTRY_INVALID);

namespace {

const char* const kStatusWords[] = {"SUCCESS", "FAILED", "NOT_APPLICABLE",
                                    "ABORTED", "WARNING", "INVALID"};

// Gravity of a row status; 0 for values outside the numbering.
int Gravity(int status) {
  switch (status) {
    case LOG_ENTRY_NOT_APPLICABLE: return 1;
    case LOG_ENTRY_SUCCESS: return 2;
    case LOG_ENTRY_WARNING: return 3;
    case LOG_ENTRY_FAILED: return 4;
    case LOG_ENTRY_ABORTED: return 5;
    case LOG_ENTRY_INVALID: return 6;
    default: return 0;
  }
}

}  // namespace

const char* MdrStatusWord(int row_status) {
  if (row_status < 0 || row_status > 5) return "INVALID";
  return kStatusWords[row_status];
}

std::string OperationLabel(const std::string& operation) {
  if (operation == kMdrOperationScan) return "SCAN_BAD_SECTORS_LABEL";
  if (operation == kMdrOperationRepair) return "SCAN_AND_REPAIR_BAD_SECTORS_LABEL";
  if (operation == kMdrOperationFilesystem) return "FILESYSTEM_REPAIR_LABEL";
  return "UNKNOWN_OPERATION";
}

int MergeStatus(int a, int b) { return Gravity(b) > Gravity(a) ? b : a; }
