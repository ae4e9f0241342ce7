// The execution log screen over logs the engine wrote: a run of three iterations, a run with an
// iteration that wrote no log next to an older run, a missing log, a single run, a new run after
// the flow was unloaded, a log that lacks devices or iterations of the run, stopping, and the
// export of the page shown.
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTextEdit>
#include <QtTest>

#include "gui/screens/execution_log_screen.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/shell/test_selections.h"
#include "morva_service/morva_service.h"
#include "tests/gui/logs/support/report_test_support.h"
#include "tests/gui/support/engine_rig.h"
#include "tests/support/fault_injection.h"

using namespace morva_service;

namespace {

// Lets the test read the entries the screen holds.
class LogScreen : public ExecutionLogScreen {
 public:
  using ExecutionLogScreen::ExecutionLogScreen;
  QStringList keys() const {
    QStringList out;
    for (const HtmlLogEntry& entry : entries) out << entry.time_key;
    return out;
  }
  QStackedWidget* pages() const { return findChild<QStackedWidget*>("iterations_stackedWidget"); }
  QString label(const char* name) const { return findChild<QLabel*>(name)->text(); }
  QPushButton* arrow(const char* name) const { return findChild<QPushButton*>(name); }
  QPushButton* export_widget() const { return export_button; }
};

}  // namespace

class TestExecutionLogScreen : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(gui_test::RegisterProgramResources());
    gui_test::EngineRig rig;
    controller_ = rig.controller;
    context_ = rig.context;
    service_ = rig.service();
    QVERIFY(service_);
    QVERIFY(!rig.modules.empty());
    module_ = rig.modules.front();
    QVERIFY(rig.Choose(module_) && module_->system_component_count() > 0);
    device_ = module_->system_component(0);
    DiagnosticView* diagnostic = module_->diagnostics().front();
    for (TestView* test : diagnostic->tests()) {
      if (test->SupportsComponent(device_)) {
        selection_.push_back({diagnostic, {{test, {}}}});
        break;
      }
    }
    QVERIFY(!selection_.empty());
    base_ = QDateTime::currentSecsSinceEpoch() - 1000;
  }

  void cleanupTestCase() {
    service_->UnloadModules();
    delete controller_;
  }

  void threeIterations() {
    report_test::RemoveDiagnosticsLog();
    Run(base_, {true, true, true}, 0);
    LogScreen screen(controller_);
    Enter(screen);
    QCOMPARE(screen.keys(), Keys(base_, {0, 1, 2}));
    QCOMPARE(screen.pages()->count(), 4);
    QCOMPARE(screen.pages()->currentIndex(), 1);
    QCOMPARE(screen.label("iterations_label"), QStringLiteral("1 OF 3"));
    QVERIFY(!screen.arrow("previous_iteration_pushButton")->isEnabled());
    QVERIFY(screen.arrow("next_iteration_pushButton")->isEnabled());
    QVERIFY(!screen.arrow("next_iteration_pushButton")->isHidden());
    QVERIFY(!screen.export_widget()->isHidden());
    // Each page shows its iteration's entry.
    auto* page = qobject_cast<QTextEdit*>(screen.pages()->widget(2));
    QVERIFY(page && page->toPlainText().contains(QStringLiteral("RESULT_CODE")));

    screen.NextIteration();
    QCOMPARE(context_->current_iteration, 1);
    QCOMPARE(screen.label("iterations_label"), QStringLiteral("2 OF 3"));
    screen.NextIteration();
    QVERIFY(!screen.arrow("next_iteration_pushButton")->isEnabled());
    screen.NextIteration();
    QCOMPARE(context_->current_iteration, 2);

    // Coming back shows the iteration the execution screen shows.
    context_->current_iteration = 1;
    screen.OnExit();
    screen.OnEnter();
    QCOMPARE(screen.pages()->currentIndex(), 2);
    screen.OnExit();
  }

  void iterationWithoutLogAmongOtherRuns() {
    // An older run, then this run whose second iteration ended before writing its log.
    const qint64 start = base_ + 100;
    Run(base_ + 50, {true}, 0);
    Run(start, {true, false, true}, 2);
    LogScreen screen(controller_);
    Enter(screen);
    QCOMPARE(screen.keys(), Keys(start, {0, 2}));
    QCOMPARE(screen.pages()->count(), 3);
    // The last iteration's page, which is the last page there is. Each page names its own
    // iteration, out of all the run's iterations.
    QCOMPARE(screen.pages()->currentIndex(), 2);
    QCOMPARE(screen.label("iterations_label"), QStringLiteral("3 OF 3"));
    screen.PreviousIteration();
    QCOMPARE(screen.label("iterations_label"), QStringLiteral("1 OF 3"));
    QCOMPARE(context_->current_iteration, 0);
    QVERIFY(!screen.arrow("previous_iteration_pushButton")->isEnabled());
    screen.NextIteration();
    QCOMPARE(screen.label("iterations_label"), QStringLiteral("3 OF 3"));
    QCOMPARE(context_->current_iteration, 2);
    // Back from the execution screen on the iteration without a log: the next one that has one.
    context_->current_iteration = 1;
    screen.OnExit();
    screen.OnEnter();
    QCOMPARE(screen.pages()->currentIndex(), 2);
    QCOMPARE(screen.label("iterations_label"), QStringLiteral("3 OF 3"));

    const QString dir = test_support::ScratchDir(QStringLiteral("execution_log"));
    {
      report_test::DialogHand hand(dir + "/shown");
      screen.ExportLog();
      QCOMPARE(hand.title, QStringLiteral("LOG_SAVED_HEADER"));
    }
    QVERIFY(QFileInfo(dir + "/shown.html").isFile());
    // Without a page of an entry there is nothing to export, and no dialog opens.
    screen.pages()->setCurrentIndex(0);
    {
      report_test::DialogHand hand(dir + "/none");
      screen.ExportLog();
      QVERIFY(!hand.file_dialog_seen);
    }
    screen.OnExit();
  }

  void missingLogSingleRunAndReload() {
    Run(base_ + 200, {true}, 0);
    report_test::RemoveDiagnosticsLog();
    LogScreen screen(controller_);
    Enter(screen);
    QCOMPARE(screen.pages()->currentIndex(), 0);
    QCOMPARE(screen.label("log_status_label"), QStringLiteral("LOG_FILE_NOT_FOUND"));
    QVERIFY(screen.export_widget()->isHidden());
    screen.OnExit();

    // A new run after the flow was unloaded: only its page, with the arrows hidden for one run.
    screen.Unload();
    Run(base_ + 300, {true}, 0);
    Enter(screen);
    QCOMPARE(screen.keys(), Keys(base_ + 300, {0}));
    QCOMPARE(screen.pages()->count(), 2);
    QCOMPARE(screen.pages()->currentIndex(), 1);
    QVERIFY(screen.arrow("next_iteration_pushButton")->isHidden());
    QVERIFY(screen.arrow("previous_iteration_pushButton")->isHidden());
    screen.OnExit();

    // Start times no group carries.
    screen.Unload();
    context_->iteration_start_times = {base_ + 400};
    Enter(screen);
    QCOMPARE(screen.label("log_status_label"), QStringLiteral("NO_LOGS_FOUND_ON_INTERVAL"));
    screen.OnExit();
  }

  void incompleteLog() {
    // Two devices ran in each of two iterations; the log holds one device of the first only.
    SelectTwoDevices();
    Run(base_ + 600, {true, false}, 0);
    LogScreen screen(controller_);
    Enter(screen);
    context_->ClearSelection();
    QCOMPARE(screen.keys(), Keys(base_ + 600, {0, 1}));
    QCOMPARE(IncompletePages(screen), 2);
    screen.OnExit();
  }

  // A run of two devices, its log and the export of its page, with a fault at each thread start,
  // and at each open and write of the log and of the saved page. Each ends, and never tells the
  // run whole or the page saved after a fault hit them.
  void faultsAtTheEdges() {
    SelectTwoDevices();
    const QString dir = test_support::ScratchDir(QStringLiteral("drive_c/faults"));
    for (const std::string kind : {"thread:", "open:", "write:"}) {
      for (int n = 1;; ++n) {
        report_test::RemoveDiagnosticsLog();
        QDir(dir).removeRecursively();
        const std::string where = kind == "thread:" ? "" : ":/drive_c/";
        test_support::FaultScope faults(kind + std::to_string(n) + where);
        context_->iteration_start_times = {base_ + 700};
        for (DeviceTestSelection* device : context_->selected_tests) {
          service_->Execute(module_, device->device, selection_, base_ + 700);
        }
        const int in_run = test_support::FaultsFired();
        LogScreen screen(controller_);
        Enter(screen);
        if (QTest::currentTestFailed()) return;
        const int in_read = test_support::FaultsFired() - in_run;
        const QString status = screen.label("log_status_label");
        int fired = in_run + in_read;
        if (screen.pages()->currentIndex() == 0) {
          QVERIFY2(status == "LOG_FILE_NOT_FOUND" || (in_run && status == "NO_LOGS_FOUND_ON_INTERVAL"),
                   qPrintable(status));
        } else {
          QVERIFY(!in_read && IncompletePages(screen) >= 0);
          if (kind != "thread:") QCOMPARE(IncompletePages(screen) > 0, in_run > 0);
          report_test::DialogHand hand(dir + "/page");
          screen.ExportLog();
          const bool in_export = test_support::FaultsFired() > fired;
          fired = test_support::FaultsFired();
          test_support::ClearFaults();
          if (hand.message == "LOG_SAVED_OK") {
            QVERIFY(!in_export || kind == "thread:");
            QVERIFY(report_test::ReadText(dir + "/page.html").endsWith("</html>"));
          } else {
            QCOMPARE(hand.message, QStringLiteral("LOG_SAVE_FAILED"));
            QVERIFY(in_export);
          }
        }
        screen.OnExit();
        if (fired == 0) break;
      }
    }
    context_->ClearSelection();
  }

  void stopping() {
    Run(base_ + 500, {true, true}, 0);
    LogScreen screen(controller_);
    QSignalSpy stopped(&screen, &KolvLiteScreen::Stopped);
    screen.Stop();
    QCOMPARE(stopped.count(), 1);

    // Stopped during a read: once, after the read has reported.
    LogScreen reading(controller_);
    QSignalSpy stopped_reading(&reading, &KolvLiteScreen::Stopped);
    reading.OnEnter();
    reading.Stop();
    QCOMPARE(stopped_reading.count(), 0);
    QTRY_COMPARE(stopped_reading.count(), 1);
    QTest::qWait(50);
    QCOMPARE(stopped_reading.count(), 1);
    reading.OnExit();

    // A screen that goes while its read runs waits for it.
    auto* gone = new LogScreen(controller_);
    gone->OnEnter();
    delete gone;
  }

 private:
  // Writes the run's groups as the execution screen has the engine write them: one start time
  // per iteration, one second apart; false marks an iteration that wrote nothing.
  void Run(qint64 first, const QVector<bool>& written, int current) {
    context_->current_module = module_;
    context_->runs = written.size();
    context_->current_iteration = current;
    context_->iteration_start_times.clear();
    for (int i = 0; i < written.size(); ++i) {
      context_->iteration_start_times.append(first + i);
      if (written[i]) service_->Execute(module_, device_, selection_, first + i);
    }
  }

  void SelectTwoDevices() {
    QVERIFY(module_->system_component_count() > 1);
    for (int i = 0; i < 2; ++i) {
      context_->selected_tests.append(new DeviceTestSelection{
          module_->system_component(i),
          new std::vector<DiagnosticTestSelection>{
              {selection_[0].diagnostic, {selection_[0].tests[0].test}}}});
    }
  }

  // Pages that say the log of the run is incomplete; none of them says the run passed.
  static int IncompletePages(LogScreen& screen) {
    int count = 0;
    for (int page = 1; page < screen.pages()->count(); ++page) {
      const QString text = qobject_cast<QTextEdit*>(screen.pages()->widget(page))->toPlainText();
      if (!text.contains(QStringLiteral("LOG_INCOMPLETE_MESSAGE"))) continue;
      ++count;
      if (text.contains(QStringLiteral("LOG_ENTRY_SUCCESS_MESSAGE"))) return -1;
    }
    return count;
  }

  void Enter(LogScreen& screen) {
    screen.OnEnter();
    // The read runs on its own thread; the screen has its pages once the status or the pages
    // are there.
    QTRY_VERIFY(screen.pages()->count() > 1 || !screen.label("log_status_label").isEmpty());
  }

  static QStringList Keys(qint64 first, const QVector<int>& iterations) {
    QStringList keys;
    for (int i : iterations) keys << QString::number(first + i);
    return keys;
  }

  KolvLiteController* controller_ = nullptr;
  KolvLiteContext* context_ = nullptr;
  MorvaService* service_ = nullptr;
  ModuleInterfaceView* module_ = nullptr;
  SystemComponentView* device_ = nullptr;
  std::vector<DiagnosticRun> selection_;
  qint64 base_ = 0;
};

int main(int argc, char** argv) {
  report_test::FixTimeAndLocale();
  QApplication application(argc, argv);
  TestExecutionLogScreen test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_execution_log_screen.moc"
