// Runs the engine's blocking calls on the worker thread. Screens invoke the slots by name
// (queued, or blocking queued where they must wait) and learn of a run's end by signal.
#pragma once

#include <QObject>
#include <QVector>
#include <QtGlobal>
#include <atomic>
#include <string>
#include <vector>

#include "gui/shell/kolv_lite_meta_types.h"
#include "morva_service/morva_service.h"

// The tests chosen for one diagnostic; the engine owns the objects.
struct DiagnosticTestSelection {
  morva_service::DiagnosticView* diagnostic = nullptr;
  std::vector<morva_service::TestView*> tests;
};

// The choice for one device. The record and its diagnostics vector belong to whoever made them
// (the execution context frees both).
struct DeviceTestSelection {
  morva_service::SystemComponentView* device = nullptr;
  std::vector<DiagnosticTestSelection>* diagnostics = nullptr;
};

// One run (iteration) of the chosen tests over the chosen devices.
struct ExecuteContext {
  ExecuteContext();

  morva_service::ModuleInterfaceView* module;
  std::vector<DiagnosticTestSelection> diagnostics;  // not read by Execute
  QVector<DeviceTestSelection*> selection;            // shared with the execution context
  qint64 start_time;                                  // handed to the engine with every device
};

struct ToolExecuteContext {
  ToolExecuteContext();

  morva_service::ToolView* tool;
  morva_service::ToolListenerView* listener;  // may be null
  std::vector<morva_service::SystemComponentView*> devices;
};

struct ToolAbortContext {
  ToolAbortContext();

  morva_service::ToolView* tool;
};

Q_DECLARE_METATYPE(ExecuteContext)
Q_DECLARE_METATYPE(ToolExecuteContext)
Q_DECLARE_METATYPE(ToolAbortContext)

// Turns the GUI's selection into what the engine runs: the same tests without parameters.
std::vector<morva_service::DiagnosticRun> ToDiagnosticRuns(
    const std::vector<DiagnosticTestSelection>& selection);

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
  class SuiteRelay;
  class TestRelay;

  morva_service::MorvaService* service_;
  std::atomic<bool> shut_down_{false};
  std::atomic<morva_service::SuiteListenerView*> suite_listener_{nullptr};
  std::atomic<morva_service::TestListenerView*> test_listener_{nullptr};
  SuiteRelay* suite_relay_;
  TestRelay* test_relay_;
};
