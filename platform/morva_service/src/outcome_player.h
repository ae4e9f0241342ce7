#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "catalogue.h"
#include "morva_service/listeners.h"
#include "test_record.h"

namespace morva_service {
namespace detail {

// Plays a test's outcome in time: progress, messages and the question, each at its place.
class OutcomePlayer {
 public:
  OutcomePlayer(const OutcomeSpec& outcome, double started, double time_scale, const std::function<bool()>& aborted,
                TestListenerView* listener, TestRecord& record)
      : outcome_(outcome), started_(started), time_scale_(time_scale), aborted_(aborted), listener_(listener),
        record_(record) {}

  TestStatus Play();

 private:
  enum class StepKind { kProgress, kMessage, kInteraction };

  struct Step {
    double at;  // percent of the test's duration
    StepKind kind;
    size_t index;
  };

  // Everything the test does, in the order of its position within the run.
  static std::vector<Step> StepsOf(const OutcomeSpec& outcome);
  // True when the step ends the test at once.
  bool Perform(const Step& step, TestStatus& status);
  bool Answer(TestStatus& status);
  double Simulated() const;
  TestStatus Cancelled() { return record_.Finish(kTestCancelled, Simulated()); }

  const OutcomeSpec& outcome_;
  const double started_;
  const double time_scale_;
  const std::function<bool()>& aborted_;
  TestListenerView* const listener_;
  TestRecord& record_;
};

}  // namespace detail
}  // namespace morva_service
