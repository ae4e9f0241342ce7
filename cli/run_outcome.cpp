#include "cli/run_outcome.h"

#include <atomic>

#include "cli/exit_status.h"
#include "cli/test_outcome.h"

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
  Report(TestOutcome::Of(test_status).exit_status);
}

void RunOutcome::ReportError(unsigned status) {
  if (status_ == kolv_exit::kSuccess) status_ = status;
}

unsigned RunOutcome::ResultsSoFar() { return g_results.load(); }

unsigned RunOutcome::Cancelled(unsigned status) {
  return Heavier(status, kolv_exit::kTestCancelled);
}
