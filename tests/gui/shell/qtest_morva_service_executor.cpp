// The executor, the listener adapters and the execution context together, on the real worker
// thread over the stand-in engine with a catalogue written by the test.
#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_suite_listener.h"
#include "gui/shell/kolv_lite_test_listener.h"
#include "gui/shell/morva_service_executor.h"
#include "morva_service/diagnostics.h"
#include "morva_service/morva_service.h"
#include "tests/gui/support/engine_rig.h"
#include "tests/gui/support/engine_throws.h"

namespace {

const char kCatalogue[] = R"({
  "modules": [{
    "name": "Bench",
    "devices": [
      {"id": "dev_a", "udi": "UDI-A", "display_name": "DEVICE_A"},
      {"id": "dev_b", "udi": "UDI-B", "display_name": "DEVICE_B"},
      {"id": "dev_c", "udi": "UDI-C", "display_name": "DEVICE_C"}
    ],
    "diagnostics": [{
      "id": "1.1.1", "name": "BenchDiag",
      "tests": [
        {"id": "1.1.10", "name": "QuickTest", "outcome": {"status": "passed", "duration": 1}},
        {"id": "1.1.11", "name": "AskTest", "outcome": {"status": "passed", "duration": 1,
          "interaction": {"title": "ASK_TITLE", "message": "ASK_MESSAGE", "buttons": "ok_cancel",
            "fields": ["FIELD_ONE"], "at": 50,
            "answers": {"1": {"status": "passed"}, "2": {"status": "failed"},
                        "0": {"status": "warning"}}}}},
        {"id": "1.1.12", "name": "LongTest", "outcome": {"status": "passed", "duration": 3000}}
      ]
    }]
  }]
})";

const char kUnavailableCatalogue[] = R"({"faults": {"service_unavailable": true}, "modules": []})";

// Counts, on the engine's thread, the callbacks that have returned, so a GUI-thread slot can
// tell whether the engine is still waiting inside the callback it is handling.
class ProbeSuiteListener : public KolvLiteSuiteListener {
 public:
  std::atomic<int> returned{0};
  QStringList devices;  // written on the worker, read after the run

  bool SuiteStarted() override { return Count(KolvLiteSuiteListener::SuiteStarted()); }
  void SuiteFinished() override { KolvLiteSuiteListener::SuiteFinished(); ++returned; }
  bool DiagnosticStarted(morva_service::DiagnosticView* d) override {
    return Count(KolvLiteSuiteListener::DiagnosticStarted(d));
  }
  void DiagnosticFinished() override { KolvLiteSuiteListener::DiagnosticFinished(); ++returned; }
  bool TestStarted(morva_service::TestView* t) override {
    return Count(KolvLiteSuiteListener::TestStarted(t));
  }
  void TestFinished(morva_service::TestStatus s) override {
    KolvLiteSuiteListener::TestFinished(s);
    ++returned;
  }
  bool SystemComponentStarted() override {
    return Count(KolvLiteSuiteListener::SystemComponentStarted());
  }
  bool SystemComponentRunStarted(int run, morva_service::SystemComponentView* device) override {
    devices << QString::fromStdString(device ? device->id() : std::string("(null)"));
    return KolvLiteSuiteListener::SystemComponentRunStarted(run, device);
  }
  void SystemComponentFinished(std::string code) override {
    KolvLiteSuiteListener::SystemComponentFinished(code);
    ++returned;
  }

 private:
  bool Count(bool result) {
    ++returned;
    return result;
  }
};

class ProbeTestListener : public KolvLiteTestListener {
 public:
  std::atomic<bool> asked{false};
  // When set, a request waits here until the test has stopped serving GUI events.
  QSemaphore* hold = nullptr;
  int answer = -1;

  void Interact(InputRequest* request) override {
    asked = true;
    if (hold) hold->acquire();
    KolvLiteTestListener::Interact(request);
    answer = request->answer;
  }
};

// The GUI side of a run: records every event, checking that the engine waits while it is
// handled, and answers interaction requests with a dialog.
class RunRecorder : public QObject {
  Q_OBJECT

 public:
  RunRecorder(ProbeSuiteListener* suite, KolvLiteTestListener* test) : suite_(suite) {
    const auto blocking = Qt::BlockingQueuedConnection;
    connect(suite, SIGNAL(SuiteStartedSignal()), this, SLOT(OnSuiteStarted()), blocking);
    connect(suite, SIGNAL(SuiteFinishedSignal()), this, SLOT(OnSuiteFinished()), blocking);
    connect(suite, SIGNAL(SystemComponentStartedSignal()), this, SLOT(OnComponentStarted()),
            blocking);
    connect(suite, SIGNAL(SystemComponentFinished(std::string*)), this,
            SLOT(OnComponentFinished(std::string*)), blocking);
    connect(suite, SIGNAL(DiagStarted()), this, SLOT(OnDiagStarted()), blocking);
    connect(suite, SIGNAL(DiagFinished()), this, SLOT(OnDiagFinished()), blocking);
    connect(suite, SIGNAL(TestStarted()), this, SLOT(OnTestStarted()), blocking);
    connect(suite, SIGNAL(TestFinished(morva_service::TestStatus*)), this,
            SLOT(OnTestFinished(morva_service::TestStatus*)), blocking);
    connect(test, SIGNAL(TestInteracted(InputRequest*)), this, SLOT(OnInteract(InputRequest*)),
            blocking);
    connect(test, SIGNAL(ProgressUpdated(int, QString)), this, SLOT(OnProgress(int, QString)));
  }

  QStringList events;
  QList<int> statuses;
  QList<int> answers;
  QStringList request_texts;
  QStringList field_texts;
  int progress_events = 0;
  bool engine_waited = true;
  bool on_gui_thread = true;
  // Which button the next dialog gets: "ok_pushButton", "cancel_pushButton" or
  // "close_pushButton".
  QString answer_with = QStringLiteral("ok_pushButton");
  std::function<void(const QString&)> on_event;

 public slots:
  void OnSuiteStarted() { Record(QStringLiteral("SuiteStarted")); }
  void OnSuiteFinished() { Record(QStringLiteral("SuiteFinished")); }
  void OnComponentStarted() { Record(QStringLiteral("ComponentStarted")); }
  void OnComponentFinished(std::string* code) {
    Record(QStringLiteral("ComponentFinished:") + QString::fromStdString(code ? *code : "null"));
  }
  void OnDiagStarted() { Record(QStringLiteral("DiagStarted")); }
  void OnDiagFinished() { Record(QStringLiteral("DiagFinished")); }
  void OnTestStarted() { Record(QStringLiteral("TestStarted")); }
  void OnTestFinished(morva_service::TestStatus* status) {
    statuses << (status ? static_cast<int>(*status) : -1);
    Record(QStringLiteral("TestFinished"));
  }
  void OnInteract(InputRequest* request) {
    request_texts << QString::fromStdString(request->title + "|" + request->message);
    KolvLiteDialog dialog(request, nullptr);
    // The fields were made inside the engine's library; the dialog recognises them by type.
    for (QLabel* label : dialog.findChild<QWidget*>("fields_widget")
                             ->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
      field_texts << label->text();
    }
    const QString button = answer_with;
    QTimer::singleShot(0, &dialog, [&dialog, button] {
      if (auto* b = dialog.findChild<QPushButton*>(button)) b->click();
    });
    dialog.exec();
    answers << request->answer;
    Record(QStringLiteral("Interact"));
  }
  void OnProgress(int, QString) { ++progress_events; }

 private:
  void Record(const QString& name) {
    on_gui_thread = on_gui_thread && QThread::currentThread() == qApp->thread();
    // Interaction and suite callbacks alike: the engine thread is still inside the callback
    // being handled, so exactly the earlier suite callbacks have returned.
    const int suite_events = static_cast<int>(
        std::count_if(events.begin(), events.end(), [](const QString& e) { return e != "Interact"; }));
    if (name != QLatin1String("Interact") && suite_->returned.load() != suite_events) {
      engine_waited = false;
    }
    events << name;
    if (on_event) on_event(name);
  }

  ProbeSuiteListener* suite_;
};

// Queues a run and waits for its end. ExecuteFinished may come before a wait could start, so it
// is counted from the moment of the request.
bool ExecuteAndWait(MorvaServiceExecutor* executor, const ExecuteContext& run) {
  int finished = 0;
  QObject receiver;
  QObject::connect(executor, &MorvaServiceExecutor::ExecuteFinished, &receiver,
                   [&finished] { ++finished; });
  const bool invoked = QMetaObject::invokeMethod(executor, "Execute", Qt::QueuedConnection,
                                                 Q_ARG(ExecuteContext, run));
  QDeadlineTimer hang_guard(60000);
  while (invoked && finished == 0 && !hang_guard.hasExpired()) QTest::qWait(5);
  return invoked && finished == 1;
}

struct Selection {
  morva_service::ModuleInterfaceView* module = nullptr;
  std::vector<morva_service::SystemComponentView*> devices;
  std::vector<morva_service::TestView*> tests;  // QuickTest, AskTest, LongTest
  morva_service::DiagnosticView* diagnostic = nullptr;
};

}  // namespace

class TestMorvaServiceExecutor : public QObject {
  Q_OBJECT

 private:
  std::optional<gui_test::CatalogueSwap> catalogue_;
  std::unique_ptr<KolvLiteContext> context_;
  std::unique_ptr<ProbeSuiteListener> suite_;
  std::unique_ptr<ProbeTestListener> test_;
  std::unique_ptr<RunRecorder> recorder_;
  Selection selection_;

  // Loads the modules on the worker and scans the one module, as the screens do.
  void LoadAndScan() {
    QVERIFY(QMetaObject::invokeMethod(context_->executor, "UnloadModules",
                                      Qt::BlockingQueuedConnection));
    QVERIFY(QMetaObject::invokeMethod(context_->executor, "LoadModules",
                                      Qt::BlockingQueuedConnection));
    auto* modules = context_->executor->loaded_modules();
    QVERIFY(modules);
    QCOMPARE(modules->size(), size_t(1));
    selection_.module = modules->front();
    QSignalSpy scanned(context_->scan_controller, &DevicesScanController::ScanFinished);
    context_->scan_controller->Scan(selection_.module);
    QVERIFY(scanned.wait(10000));
    selection_.devices = selection_.module->system_components();
    QCOMPARE(selection_.devices.size(), size_t(3));
    selection_.diagnostic = selection_.module->diagnostics().at(0);
    selection_.tests = selection_.diagnostic->tests();
    QCOMPARE(selection_.tests.size(), size_t(3));
  }

  // Fills the context's selection: the given tests on the given devices.
  ExecuteContext MakeRun(const QList<int>& devices, const QList<int>& tests, qint64 start) {
    context_->ClearSelection();
    for (int d : devices) {
      auto* record = new DeviceTestSelection;
      record->device = selection_.devices.at(d);
      record->diagnostics = new std::vector<DiagnosticTestSelection>(1);
      record->diagnostics->front().diagnostic = selection_.diagnostic;
      for (int t : tests) record->diagnostics->front().tests.push_back(selection_.tests.at(t));
      context_->selected_devices << record->device;
      context_->selected_tests << record;
    }
    ExecuteContext run;
    run.module = selection_.module;
    run.selection = context_->selected_tests;
    run.start_time = start;
    return run;
  }

  bool RunAndWait(const ExecuteContext& run) { return ExecuteAndWait(context_->executor, run); }

 private slots:
  void initTestCase() {
    catalogue_.emplace("bridge_catalogue.json", kCatalogue);
    QVERIFY(catalogue_->written());
  }

  void init() {
    context_ = std::make_unique<KolvLiteContext>();
    QVERIFY2(context_->executor->morva_service(), MorvaLastError().c_str());
    suite_ = std::make_unique<ProbeSuiteListener>();
    test_ = std::make_unique<ProbeTestListener>();
    recorder_ = std::make_unique<RunRecorder>(suite_.get(), test_.get());
    context_->executor->set_suite_listener(suite_.get());
    context_->executor->set_test_listener(test_.get());
    LoadAndScan();
  }

  void cleanup() {
    gui_test::engine_throws_at = nullptr;
    context_.reset();
    recorder_.reset();
    test_.reset();
    suite_.reset();
  }

  void runEventsArriveInOrderWhileEngineWaits() {
    ExecuteContext run = MakeRun({0}, {0}, 1000);
    QVERIFY(RunAndWait(run));
    const QStringList expected = {"SuiteStarted", "ComponentStarted", "DiagStarted",
                                  "TestStarted",  "TestFinished",     "DiagFinished"};
    QCOMPARE(recorder_->events.mid(0, expected.size()), expected);
    QVERIFY(recorder_->events.size() == expected.size() + 2);
    QVERIFY(recorder_->events.at(expected.size()).startsWith("ComponentFinished:"));
    QCOMPARE(recorder_->events.last(), QStringLiteral("SuiteFinished"));
    QCOMPARE(recorder_->statuses, QList<int>{morva_service::kTestPassed});
    QVERIFY(recorder_->engine_waited);
    QVERIFY(recorder_->on_gui_thread);
    QVERIFY(recorder_->progress_events > 0);
  }

  void runHandsDevicesToEngineInSelectionOrder() {
    ExecuteContext run = MakeRun({2, 0, 1}, {0}, 2000);
    QVERIFY(RunAndWait(run));
    QCOMPARE(suite_->devices, (QStringList{"dev_c", "dev_a", "dev_b"}));
    QCOMPARE(recorder_->events.count("SuiteStarted"), 3);
    QCOMPARE(recorder_->events.count("SuiteFinished"), 3);
  }

  void emptySelectionFinishesWithoutEngine() {
    ExecuteContext run = MakeRun({}, {0}, 3000);
    QVERIFY(RunAndWait(run));
    QVERIFY(recorder_->events.isEmpty());
  }

  void interactionAnswersFollowTheButton_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("status");
    QTest::newRow("ok") << "ok_pushButton" << 1 << int(morva_service::kTestPassed);
    QTest::newRow("cancel") << "cancel_pushButton" << 2 << int(morva_service::kTestFailed);
    QTest::newRow("closed") << "close_pushButton" << 0 << int(morva_service::kTestWarning);
  }

  void interactionAnswersFollowTheButton() {
    QFETCH(QString, button);
    QFETCH(int, answer);
    QFETCH(int, status);
    recorder_->answer_with = button;
    ExecuteContext run = MakeRun({0}, {1}, 4000);
    QVERIFY(RunAndWait(run));
    QCOMPARE(recorder_->request_texts, QStringList{"ASK_TITLE|ASK_MESSAGE"});
    QCOMPARE(recorder_->field_texts, QStringList{"FIELD_ONE"});
    QCOMPARE(recorder_->answers, QList<int>{answer});
    QCOMPARE(recorder_->statuses, QList<int>{status});
    const int interact = recorder_->events.indexOf("Interact");
    QVERIFY(interact > recorder_->events.indexOf("TestStarted"));
    QVERIFY(interact < recorder_->events.indexOf("TestFinished"));
  }

  void abortFromGuiThreadEndsRun() {
    recorder_->on_event = [this](const QString& name) {
      if (name == QLatin1String("TestStarted")) context_->executor->Abort();
    };
    ExecuteContext run = MakeRun({0}, {2}, 5000);
    QVERIFY(RunAndWait(run));
    QCOMPARE(recorder_->statuses, QList<int>{morva_service::kTestCancelled});
    QCOMPARE(recorder_->events.last(), QStringLiteral("SuiteFinished"));
  }

  // An engine that throws on the worker (out of memory, for one) ends each request as failed:
  // the run ends at the device that threw, the scan and the check end (the module unusable),
  // a load by name fails as without an engine, and the worker goes on serving.
  void engineThatThrowsEndsEachRequest() {
    using gui_test::engine_throws_at;
    MorvaServiceExecutor* executor = context_->executor;
    DevicesScanController* scans = context_->scan_controller;
    engine_throws_at = "TestStarted returned";
    QVERIFY(RunAndWait(MakeRun({0, 1}, {0}, 8000)));
    QCOMPARE(suite_->devices, QStringList{"dev_a"});
    engine_throws_at = "Scan module";
    QSignalSpy scanned(scans, &DevicesScanController::ScanFinished);
    scans->Scan(selection_.module);
    QVERIFY(scanned.wait(10000));
    engine_throws_at = "CheckForComponents module";
    QSignalSpy checked(scans, &DevicesScanController::CheckFinished);
    scans->CheckForComponents(selection_.module);
    QVERIFY(checked.wait(10000));
    QCOMPARE(checked.at(0).at(1).toBool(), false);
    QVERIFY(!scans->IsBusy());
    engine_throws_at = "ExecuteTool";
    QSignalSpy tool_ended(executor, &MorvaServiceExecutor::ExecuteToolFinished);
    QVERIFY(QMetaObject::invokeMethod(executor, "ExecuteTool",
                                      Q_ARG(ToolExecuteContext, ToolExecuteContext())));
    QTRY_COMPARE_WITH_TIMEOUT(tool_ended.count(), 1, 10000);
    engine_throws_at = "LoadModuleInterfaceByName";
    std::string error;
    QVERIFY(QMetaObject::invokeMethod(executor, "LoadModuleInterfaceByName",
                                      Qt::BlockingQueuedConnection,
                                      Q_ARG(std::string, std::string("Bench")),
                                      Q_ARG(std::string&, error)));
    QCOMPARE(error, std::string("SERVICE_NOT_AVAILABLE"));
    engine_throws_at = "AbortTool";
    QVERIFY(QMetaObject::invokeMethod(executor, "AbortTool", Qt::BlockingQueuedConnection,
                                      Q_ARG(ToolAbortContext, ToolAbortContext())));
    for (const char* slot : {"Abort", "UnloadModules", "LoadModules"}) {
      engine_throws_at = slot;
      QVERIFY(QMetaObject::invokeMethod(executor, "UnloadModules", Qt::BlockingQueuedConnection));
      QVERIFY(QMetaObject::invokeMethod(executor, slot, Qt::BlockingQueuedConnection));
    }
    QVERIFY(!executor->loaded_modules());
  }

  void destroyingContextDuringRunNeitherHangsNorCrashes() {
    bool long_test_running = false;
    recorder_->on_event = [&](const QString& name) {
      if (name == QLatin1String("TestStarted")) long_test_running = true;
    };
    ExecuteContext run = MakeRun({0, 1, 2}, {2, 2}, 6000);
    QVERIFY(QMetaObject::invokeMethod(context_->executor, "Execute", Qt::QueuedConnection,
                                      Q_ARG(ExecuteContext, run)));
    QTRY_VERIFY_WITH_TIMEOUT(long_test_running, 20000);
    const int events_before = recorder_->events.size();
    context_.reset();
    // No event reached the GUI after the teardown, and the listeners are still ours to free.
    QCoreApplication::processEvents();
    QCOMPARE(recorder_->events.size(), events_before);
    QVERIFY(!recorder_->events.contains("SuiteFinished"));
  }

  void destroyingContextWithInteractionPendingLeavesItUnanswered() {
    // The question reaches the GUI thread only after it has stopped serving events, as when
    // the program tears the context down after its event loop has ended.
    QSemaphore hold;
    test_->hold = &hold;
    ExecuteContext run = MakeRun({0}, {1, 2}, 7000);
    QVERIFY(QMetaObject::invokeMethod(context_->executor, "Execute", Qt::QueuedConnection,
                                      Q_ARG(ExecuteContext, run)));
    QTRY_VERIFY_WITH_TIMEOUT(test_->asked.load(), 20000);
    hold.release();
    context_.reset();
    QCOMPARE(test_->answer, 0);
    QVERIFY(!recorder_->events.contains("Interact"));
    QVERIFY(!recorder_->events.contains("SuiteFinished"));
  }
};

// Cases that need no scanned module.
class TestMorvaServiceExecutorBasics : public QObject {
  Q_OBJECT

 private slots:
  void blockingLoadReturnsAfterModulesAreLoaded() {
    const gui_test::CatalogueSwap catalogue("bridge_catalogue.json", kCatalogue);
    KolvLiteContext context;
    QVERIFY(context.executor->thread() == context.worker);
    QVERIFY(QMetaObject::invokeMethod(context.executor, "LoadModules",
                                      Qt::BlockingQueuedConnection));
    QVERIFY(context.executor->loaded_modules());
    QCOMPARE(context.executor->loaded_modules()->size(), size_t(1));

    std::string error;
    QVERIFY(QMetaObject::invokeMethod(context.executor, "LoadModuleInterfaceByName",
                                      Qt::BlockingQueuedConnection,
                                      Q_ARG(std::string, std::string("NoSuchModule")),
                                      Q_ARG(std::string&, error)));
    QVERIFY(!error.empty());
  }

  void unavailableEngineFailsClearly() {
    const gui_test::CatalogueSwap catalogue("bridge_unavailable.json", kUnavailableCatalogue);
    {
      KolvLiteContext context;
      QVERIFY(!context.executor->morva_service());
      QVERIFY(QMetaObject::invokeMethod(context.executor, "LoadModules",
                                        Qt::BlockingQueuedConnection));
      QVERIFY(!context.executor->loaded_modules());
      QVERIFY(!context.executor->product_version());
      auto* record = new DeviceTestSelection;
      record->diagnostics = new std::vector<DiagnosticTestSelection>;
      context.selected_tests << record;
      ExecuteContext run;
      run.selection = context.selected_tests;
      QVERIFY(ExecuteAndWait(context.executor, run));
      context.executor->Abort();
    }
    MorvaResetForTests();
  }

  void clearResetsRunAndFreesSelection() {
    const gui_test::CatalogueSwap catalogue("bridge_catalogue.json", kCatalogue);
    KolvLiteContext context;
    context.ClearSelection();  // nothing chosen yet
    context.runs = 5;
    context.current_iteration = 4;
    context.selection_changed = true;
    context.iteration_start_times << 1 << 2;
    context.module_name = QStringLiteral("Bench");
    for (int i = 0; i < 2; ++i) {
      auto* record = new DeviceTestSelection;
      record->diagnostics = new std::vector<DiagnosticTestSelection>(2);
      context.selected_tests << record;
    }
    context.Clear();
    QCOMPARE(context.runs, 1);
    QCOMPARE(context.current_iteration, 0);
    QVERIFY(!context.selection_changed);
    QVERIFY(context.iteration_start_times.isEmpty());
    QVERIFY(context.selected_tests.isEmpty());
    QCOMPARE(context.module_name, QStringLiteral("Bench"));
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int status = 0;
  {
    TestMorvaServiceExecutorBasics basics;
    status |= QTest::qExec(&basics, argc, argv);
  }
  {
    TestMorvaServiceExecutor runs;
    status |= QTest::qExec(&runs, argc, argv);
  }
  return status;
}

#include "qtest_morva_service_executor.moc"
