#pragma once

#include <string>
#include <utility>

#include "gui/shell/morva_service_executor.h"
#include "morva_service/input_request.h"
#include "morva_service/listeners.h"

// Passes the engine's test events on to the executor's test listener; after Shutdown it swallows
// them (see ExecutorSuiteRelay).
class ExecutorTestRelay : public morva_service::TestListenerView {
 public:
  explicit ExecutorTestRelay(MorvaServiceExecutor* owner) : owner_(owner) {}

  void ProgressUpdated(int percent, std::string text) override {
    if (auto* target = Target()) target->ProgressUpdated(percent, std::move(text));
  }
  // Without a listener the request stays unanswered (0), as if its dialog had been closed.
  void Interact(InputRequest* request) override {
    if (auto* target = Target()) target->Interact(request);
  }
  bool IsInteractive() override {
    auto* target = Target();
    return target ? target->IsInteractive() : false;
  }
  int progress() override {
    auto* target = Target();
    return target ? target->progress() : -1;
  }
  std::string message() override {
    auto* target = Target();
    return target ? target->message() : std::string();
  }
  void ClearMessage() override {
    if (auto* target = Target()) target->ClearMessage();
  }

 private:
  morva_service::TestListenerView* Target() {
    return owner_->is_shut_down() ? nullptr : owner_->test_listener();
  }

  MorvaServiceExecutor* owner_;
};
