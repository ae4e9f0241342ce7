#include "gui/shell/morva_service_executor.h"

namespace {

void RegisterExecutorMetaTypes() {
  static const bool registered = [] {
    RegisterKolvLiteMetaTypes();
    qRegisterMetaType<ExecuteContext>("ExecuteContext");
    qRegisterMetaType<ToolExecuteContext>("ToolExecuteContext");
    qRegisterMetaType<ToolAbortContext>("ToolAbortContext");
    return true;
  }();
  (void)registered;
}

}  // namespace

ExecuteContext::ExecuteContext() : module(nullptr), start_time(0) { RegisterExecutorMetaTypes(); }

ToolExecuteContext::ToolExecuteContext() : tool(nullptr), listener(nullptr) {
  RegisterExecutorMetaTypes();
}

ToolAbortContext::ToolAbortContext() : tool(nullptr) { RegisterExecutorMetaTypes(); }

std::vector<morva_service::DiagnosticRun> ToDiagnosticRuns(
    const std::vector<DiagnosticTestSelection>& selection) {
  std::vector<morva_service::DiagnosticRun> runs;
  runs.reserve(selection.size());
  for (const DiagnosticTestSelection& chosen : selection) {
    morva_service::DiagnosticRun run;
    run.diagnostic = chosen.diagnostic;
    run.tests.reserve(chosen.tests.size());
    for (morva_service::TestView* test : chosen.tests) {
      morva_service::TestRun test_run;
      test_run.test = test;
      run.tests.push_back(test_run);
    }
    runs.push_back(std::move(run));
  }
  return runs;
}

// The engine keeps the relays for the executor's whole life, so it never holds a pointer to a
// screen's listener; after Shutdown they swallow events instead of passing them on, and keep
// re-issuing the abort, which the engine clears whenever a device's suite starts.
class MorvaServiceExecutor::SuiteRelay : public morva_service::SuiteListenerView {
 public:
  explicit SuiteRelay(MorvaServiceExecutor* owner) : owner_(owner) {}

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
    if (owner_->shut_down_.load()) {
      owner_->Abort();
      return nullptr;
    }
    return owner_->suite_listener_.load();
  }

  MorvaServiceExecutor* owner_;
};

class MorvaServiceExecutor::TestRelay : public morva_service::TestListenerView {
 public:
  explicit TestRelay(MorvaServiceExecutor* owner) : owner_(owner) {}

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
    return owner_->shut_down_.load() ? nullptr : owner_->test_listener_.load();
  }

  MorvaServiceExecutor* owner_;
};

MorvaServiceExecutor::MorvaServiceExecutor(morva_service::MorvaService* service)
    : QObject(nullptr),
      service_(service),
      suite_relay_(new SuiteRelay(this)),
      test_relay_(new TestRelay(this)) {
  RegisterExecutorMetaTypes();
  if (service_) {
    service_->set_suite_listener(suite_relay_);
    service_->set_test_listener(test_relay_);
  }
}

MorvaServiceExecutor::~MorvaServiceExecutor() {
  delete test_relay_;
  delete suite_relay_;
}

std::vector<morva_service::ModuleInterfaceView*>* MorvaServiceExecutor::loaded_modules() {
  return service_ ? service_->loaded_modules() : nullptr;
}

void MorvaServiceExecutor::set_suite_listener(morva_service::SuiteListenerView* listener) {
  suite_listener_.store(listener);
}

morva_service::SuiteListenerView* MorvaServiceExecutor::suite_listener() {
  return suite_listener_.load();
}

void MorvaServiceExecutor::set_test_listener(morva_service::TestListenerView* listener) {
  test_listener_.store(listener);
}

morva_service::TestListenerView* MorvaServiceExecutor::test_listener() {
  return test_listener_.load();
}

morva_service::ProductVersion* MorvaServiceExecutor::product_version() {
  return service_ ? service_->product_version() : nullptr;
}

morva_service::MorvaService* MorvaServiceExecutor::morva_service() { return service_; }

void MorvaServiceExecutor::Shutdown() {
  shut_down_.store(true);
  Abort();
}

bool MorvaServiceExecutor::is_shut_down() const { return shut_down_.load(); }

void MorvaServiceExecutor::LoadModules() {
  if (service_) service_->LoadModules();
}

void MorvaServiceExecutor::UnloadModules() {
  if (service_) service_->UnloadModules();
}

void MorvaServiceExecutor::LoadModuleInterfaceByName(std::string module_name,
                                                     std::string& error_message) {
  if (!service_) {
    error_message = "SERVICE_NOT_AVAILABLE";
    return;
  }
  service_->LoadModuleInterfaceByName(std::move(module_name), error_message);
}

void MorvaServiceExecutor::Execute(ExecuteContext context) {
  for (DeviceTestSelection* record : context.selection) {
    if (!service_ || shut_down_.load()) break;
    if (!record) continue;
    std::vector<morva_service::DiagnosticRun> runs;
    if (record->diagnostics) runs = ToDiagnosticRuns(*record->diagnostics);
    service_->Execute(context.module, record->device, std::move(runs), context.start_time);
  }
  emit ExecuteFinished();
}

void MorvaServiceExecutor::ExecuteTool(ToolExecuteContext context) {
  if (service_ && !shut_down_.load()) {
    service_->ExecuteTool(context.tool, context.listener, context.devices);
  }
  emit ExecuteToolFinished();
}

void MorvaServiceExecutor::AbortTool(ToolAbortContext context) {
  if (service_) service_->AbortTool(context.tool);
}

void MorvaServiceExecutor::Abort() {
  if (service_) service_->Abort();
}
