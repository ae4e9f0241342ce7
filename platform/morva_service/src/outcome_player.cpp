#include "outcome_player.h"

#include <algorithm>
#include <vector>

#include "question.h"
#include "support.h"

namespace morva_service {
namespace detail {

namespace {

int Ask(const InteractionSpec& interaction, TestListenerView* listener) {
  if (!listener || !listener->IsInteractive()) return AskQuestion(interaction, nullptr);
  return AskQuestion(interaction, [listener](InputRequest* request) { listener->Interact(request); });
}

}  // namespace

std::vector<OutcomePlayer::Step> OutcomePlayer::StepsOf(const OutcomeSpec& outcome) {
  std::vector<Step> steps;
  for (size_t i = 0; i < outcome.progress.size(); ++i)
    steps.push_back({double(outcome.progress[i].percent), StepKind::kProgress, i});
  for (size_t i = 0; i < outcome.messages.size(); ++i) steps.push_back({outcome.messages[i].at, StepKind::kMessage, i});
  if (outcome.interaction) steps.push_back({outcome.interaction->at, StepKind::kInteraction, 0});
  std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.at < b.at; });
  return steps;
}

TestStatus OutcomePlayer::Play() {
  const double total = outcome_.duration * time_scale_;
  TestStatus status = outcome_.status;
  for (const Step& step : StepsOf(outcome_)) {
    if (!SleepSliced(started_ + total * step.at / 100 - MonotonicSeconds(), aborted_)) return Cancelled();
    bool finish_now = Perform(step, status);
    // An abort made while a listener had the call is honoured right after it.
    if (aborted_()) return Cancelled();
    if (finish_now) return record_.Finish(status, Simulated());
  }
  if (!SleepSliced(started_ + total - MonotonicSeconds(), aborted_)) return Cancelled();
  return record_.Finish(status, outcome_.duration);
}

bool OutcomePlayer::Perform(const Step& step, TestStatus& status) {
  switch (step.kind) {
    case StepKind::kProgress:
      if (listener_)
        listener_->ProgressUpdated(outcome_.progress[step.index].percent, outcome_.progress[step.index].text);
      return false;
    case StepKind::kMessage:
      record_.Log(outcome_.messages[step.index]);
      return false;
    case StepKind::kInteraction:
      return Answer(status);
  }
  return false;
}

bool OutcomePlayer::Answer(TestStatus& status) {
  int answer = Ask(*outcome_.interaction, listener_);
  auto effect = outcome_.interaction->answers.find(answer);
  if (effect == outcome_.interaction->answers.end()) return false;
  for (const MessageSpec& message : effect->second.messages) record_.Log(message);
  if (effect->second.has_status) status = effect->second.status;
  return effect->second.finish_now;
}

double OutcomePlayer::Simulated() const {
  if (time_scale_ <= 0) return 0.0;
  return std::min(outcome_.duration, (MonotonicSeconds() - started_) / time_scale_);
}

}  // namespace detail
}  // namespace morva_service
