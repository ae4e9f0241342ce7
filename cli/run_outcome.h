// The exit status kolv_cli ends with. Every path of the host tells it what happened, and so does a
// tool plug-in of its devices' results; the weighing of outcomes against each other is done here
// alone.
#pragma once

class RunOutcome {
 public:
  RunOutcome();

  // An outcome that decides the status by itself: a refusal, a setup error, a tool's own result.
  void Decide(unsigned status);
  // A result (devices missing, a failed scan, nothing applicable, ...) weighed against the ones
  // before, so that no order of modules changes the outcome. Before the first result the status
  // weighs nothing.
  void Report(unsigned status);
  // An engine test status (morva_service::TestStatus) reported as its exit status; one the host
  // does not know counts as invalid.
  void ReportTest(unsigned test_status);
  // An error that replaces only a success (output lost, a refused command line): a finding or an
  // earlier error says more and stays.
  void ReportError(unsigned status);

  unsigned Status() const { return status_; }
  // The weighed results so far, for an end that cannot ask the main thread. Safe from any thread.
  static unsigned ResultsSoFar();
  // What status becomes when the run was cancelled: a failure or a warning found before stays.
  static unsigned Cancelled(unsigned status);

 private:
  unsigned status_ = 0;
  bool results_reported_ = false;
};
