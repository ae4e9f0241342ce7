#include "gui/shell/morva_service_executor.h"

#include "gui/shell/engine_call.h"
#include "gui/shell/executor_suite_relay.h"
#include "gui/shell/executor_test_relay.h"

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

MorvaServiceExecutor::MorvaServiceExecutor(morva_service::MorvaService* service)
    : QObject(nullptr),
      service_(service),
      suite_relay_(new ExecutorSuiteRelay(this)),
      test_relay_(new ExecutorTestRelay(this)) {
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
  if (service_) EngineCallReturned([this] { service_->LoadModules(); });
}

void MorvaServiceExecutor::UnloadModules() {
  if (service_) EngineCallReturned([this] { service_->UnloadModules(); });
}

void MorvaServiceExecutor::LoadModuleInterfaceByName(std::string module_name,
                                                     std::string& error_message) {
  const bool returned =
      service_ && EngineCallReturned([&] {
        service_->LoadModuleInterfaceByName(std::move(module_name), error_message);
      });
  if (!returned) error_message = "SERVICE_NOT_AVAILABLE";
}

void MorvaServiceExecutor::Execute(ExecuteContext context) {
  // A device whose suite threw ends the run: the engine is in no state to run the next one.
  bool returned = true;
  for (DeviceTestSelection* record : context.selection) {
    if (!service_ || shut_down_.load() || !returned) break;
    if (!record) continue;
    std::vector<morva_service::DiagnosticRun> runs;
    if (record->diagnostics) runs = ToDiagnosticRuns(*record->diagnostics);
    returned = EngineCallReturned([&] {
      service_->Execute(context.module, record->device, std::move(runs), context.start_time);
    });
  }
  emit ExecuteFinished();
}

void MorvaServiceExecutor::ExecuteTool(ToolExecuteContext context) {
  if (service_ && !shut_down_.load()) {
    EngineCallReturned(
        [&] { service_->ExecuteTool(context.tool, context.listener, context.devices); });
  }
  emit ExecuteToolFinished();
}

void MorvaServiceExecutor::AbortTool(ToolAbortContext context) {
  if (service_) EngineCallReturned([&] { service_->AbortTool(context.tool); });
}

void MorvaServiceExecutor::Abort() {
  if (service_) EngineCallReturned([this] { service_->Abort(); });
}
