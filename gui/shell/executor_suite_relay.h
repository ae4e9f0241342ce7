#pragma once

#include <string>
#include <utility>

#include "gui/shell/morva_service_executor.h"
#include "morva_service/listeners.h"

// The engine keeps the executor's relays for the executor's whole life, so it never holds a
// pointer to a screen's listener; after Shutdown they swallow events instead of passing them on,
// and this one keeps re-issuing the abort, which the engine clears whenever a device's suite
// starts.
class ExecutorSuiteRelay : public morva_service::SuiteListenerView {
 public:
  explicit ExecutorSuiteRelay(MorvaServiceExecutor* owner) : owner_(owner) {}

  bool SuiteStarted() override {
    auto* target = Target();
    return target ? target->SuiteStarted() : true;
  }
  void SuiteFinished() override {
    if (auto* target = Target()) target->SuiteFinished();
  }
  bool DiagnosticStarted(morva_service::DiagnosticView* diagnostic) override {
    auto* target = Target();
    return target ? target->DiagnosticStarted(diagnostic) : true;
  }
  void DiagnosticFinished() override {
    if (auto* target = Target()) target->DiagnosticFinished();
  }
  void SuitePaused() override {
    if (auto* target = Target()) target->SuitePaused();
  }
  void SuiteResumed() override {
    if (auto* target = Target()) target->SuiteResumed();
  }
  void DiagnosticSkipped(morva_service::DiagnosticView* diagnostic) override {
    if (auto* target = Target()) target->DiagnosticSkipped(diagnostic);
  }
  void TestSkipped(morva_service::TestView* test) override {
    if (auto* target = Target()) target->TestSkipped(test);
  }
  void TestPaused() override {
    if (auto* target = Target()) target->TestPaused();
  }
  void TestResumed() override {
    if (auto* target = Target()) target->TestResumed();
  }
  void ResourceStarted(std::string name) override {
    if (auto* target = Target()) target->ResourceStarted(std::move(name));
  }
  void ResourceFinished(std::string name) override {
    if (auto* target = Target()) target->ResourceFinished(std::move(name));
  }
  void IterationStarted(int iteration) override {
    if (auto* target = Target()) target->IterationStarted(iteration);
  }
  void IterationFinished(int iteration) override {
    if (auto* target = Target()) target->IterationFinished(iteration);
  }
  void LogWritten(std::string text) override {
    if (auto* target = Target()) target->LogWritten(std::move(text));
  }
  bool TestStarted(morva_service::TestView* test) override {
    auto* target = Target();
    return target ? target->TestStarted(test) : true;
  }
  void TestFinished(morva_service::TestStatus status) override {
    if (auto* target = Target()) target->TestFinished(status);
  }
  bool SystemComponentStarted() override {
    auto* target = Target();
    return target ? target->SystemComponentStarted() : true;
  }
  bool SystemComponentRunStarted(int run, morva_service::SystemComponentView* device) override {
    auto* target = Target();
    return target ? target->SystemComponentRunStarted(run, device) : true;
  }
  void SystemComponentFinished(std::string code) override {
    if (auto* target = Target()) target->SystemComponentFinished(std::move(code));
  }
  void SystemComponentRunFinished(std::string result) override {
    if (auto* target = Target()) target->SystemComponentRunFinished(std::move(result));
  }
  void Message(std::string text) override {
    if (auto* target = Target()) target->Message(std::move(text));
  }

 private:
  morva_service::SuiteListenerView* Target() {
    if (owner_->is_shut_down()) {
      owner_->Abort();
      return nullptr;
    }
    return owner_->suite_listener();
  }

  MorvaServiceExecutor* owner_;
};
