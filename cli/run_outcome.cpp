#include "cli/run_outcome.h"

#include <atomic>

#include "cli/exit_status.h"

namespace {
std::atomic<unsigned> g_results{kolv_exit::kSuccess};

unsigned Heavier(unsigned current, unsigned candidate) {
  return kolv_exit::ResultWeight(candidate) > kolv_exit::ResultWeight(current) ? candidate
                                                                               : current;
}
}  // namespace

RunOutcome::RunOutcome() { g_results.store(kolv_exit::kSuccess); }

void RunOutcome::Decide(unsigned status) { status_ = status; }

void RunOutcome::Report(unsigned status) {
  // Before the first result the starting status weighs nothing, whatever it is.
  if (!results_reported_ && kolv_exit::ResultWeight(status) > 0) status_ = status;
  status_ = Heavier(status_, status);
  results_reported_ = true;
  g_results.store(status_);
}

void RunOutcome::ReportTest(unsigned test_status) {
  unsigned status;
  switch (test_status) {
    case 0: status = kolv_exit::kSuccess; break;
    case 1: status = kolv_exit::kTestFailed; break;
    case 3: status = kolv_exit::kTestNotApplicable; break;
    case 4: status = kolv_exit::kTestCancelled; break;
    case 5: status = kolv_exit::kTestWarning; break;
    // An outcome the host does not know is no pass: the protocol writes the invalid letter too.
    default: status = kolv_exit::kTestInvalid; break;
  }
  Report(status);
}

void RunOutcome::ReportError(unsigned status) {
  if (status_ == kolv_exit::kSuccess) status_ = status;
}

unsigned RunOutcome::ResultsSoFar() { return g_results.load(); }

unsigned RunOutcome::Cancelled(unsigned status) {
  return Heavier(status, kolv_exit::kTestCancelled);
}
