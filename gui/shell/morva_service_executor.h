// Runs the engine's blocking calls on the worker thread. Screens invoke the slots by name
// (queued, or blocking queued where they must wait) and learn of a run's end by signal.
#pragma once

#include <QObject>
#include <atomic>
#include <string>
#include <vector>

#include "gui/shell/kolv_lite_meta_types.h"
#include "gui/shell/request_contexts.h"
#include "gui/shell/test_selections.h"
#include "morva_service/morva_service.h"

class ExecutorSuiteRelay;
class ExecutorTestRelay;

// Turns the GUI's selection into what the engine runs: the same tests without parameters.
std::vector<morva_service::DiagnosticRun> ToDiagnosticRuns(
    const std::vector<DiagnosticTestSelection>& selection);

// Registers the request records under their names; cheap to call again.
void RegisterExecutorMetaTypes();

class MorvaServiceExecutor : public QObject {
  Q_OBJECT

 public:
  // service may be null (the engine could not be loaded): every request then ends at once.
  explicit MorvaServiceExecutor(morva_service::MorvaService* service);
  // Does not touch the engine; it has been given back by then.
  ~MorvaServiceExecutor() override;

  std::vector<morva_service::ModuleInterfaceView*>* loaded_modules();
  // The listeners of the next runs. The engine itself only ever sees the executor's own relays,
  // which pass events on to these; a listener must stay alive until ExecuteFinished of every run
  // that started while it was set.
  void set_suite_listener(morva_service::SuiteListenerView* listener);
  morva_service::SuiteListenerView* suite_listener();
  void set_test_listener(morva_service::TestListenerView* listener);
  morva_service::TestListenerView* test_listener();
  morva_service::ProductVersion* product_version();
  morva_service::MorvaService* morva_service();

  // For the execution context's teardown, from any thread: events stop reaching the listeners,
  // the running suite is aborted and devices not yet started are not run any more.
  void Shutdown();
  bool is_shut_down() const;

 signals:
  void ExecuteFinished();
  void ExecuteToolFinished();

 public slots:
  void LoadModules();
  void UnloadModules();
  // error_message comes back only through a blocking-queued (or direct) invocation.
  void LoadModuleInterfaceByName(std::string module_name, std::string& error_message);
  void Execute(ExecuteContext context);
  void ExecuteTool(ToolExecuteContext context);
  void AbortTool(ToolAbortContext context);
  // Also called directly from the GUI thread while Execute runs on the worker.
  void Abort();

 private:
  morva_service::MorvaService* service_;
  std::atomic<bool> shut_down_{false};
  std::atomic<morva_service::SuiteListenerView*> suite_listener_{nullptr};
  std::atomic<morva_service::TestListenerView*> test_listener_{nullptr};
  ExecutorSuiteRelay* suite_relay_;
  ExecutorTestRelay* test_relay_;
};
