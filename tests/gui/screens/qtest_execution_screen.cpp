// The execution screen over the stand-in engine on the real worker thread, with a catalogue
// written by the test: rows driven by the engine's events, iterations and their log groups,
// interaction requests, aborts, stopping and leaving during a run.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QResource>
#include <QScrollArea>
#include <QSet>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "gui/screens/devices_loading_screen.h"
#include "gui/screens/diagnostic_selection_screen.h"
#include "gui/screens/execution_screen.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/widgets/diagnostic_widget.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/progress_widget.h"
#include "gui/widgets/test_widget.h"
#include "morva_service/morva_service.h"
#include "tests/gui/support/engine_rig.h"
#include "tests/gui/support/engine_throws.h"
#include "support/dialog_watch.h"
#include "support/recommended_flow.h"
#include "tests/gui/support/program_resources.h"
#include "zerka/zerka.h"

namespace {

const char kCatalogue[] = R"({
  "modules": [{
    "name": "Rig",
    "devices": [
      {"id": "dev_a", "udi": "UDI-A", "display_name": "DEVICE_A"},
      {"id": "dev_b", "udi": "UDI-B", "display_name": "DEVICE_B"}
    ],
    "diagnostics": [
      {"id": "1.1.0", "name": "RigQuick", "tests": [
        {"id": "1.1.1", "name": "PassTest", "outcome": {"status": "passed", "duration": 1,
          "progress": [{"percent": 50, "text": "HALF_WAY"}, 100]}},
        {"id": "1.1.2", "name": "MixedTest", "outcome": {"status": "failed", "duration": 1},
          "outcomes": {"dev_b": {"status": "unrecognized", "duration": 1}}},
        {"id": "1.1.3", "name": "OddTest", "outcome": {"status": "invalid", "duration": 1},
          "outcomes": {"dev_b": {"status": "warning", "duration": 1}}},
        {"id": "1.1.4", "name": "OnlyBTest", "devices": ["dev_b"],
          "outcome": {"status": "not_applicable", "duration": 1}}
      ]},
      {"id": "1.2.0", "name": "RigDeep", "tests": [
        {"id": "1.2.1", "name": "AskTest", "outcome": {"status": "passed", "duration": 1,
          "interaction": {"title": "ASK_TITLE", "message": "ASK_MESSAGE", "kind": "question",
            "buttons": "ok_cancel", "at": 50,
            "answers": {"1": {"status": "passed"}, "2": {"status": "failed"},
                        "0": {"status": "warning"}}}}},
        {"id": "1.2.2", "name": "LongTest", "outcome": {"status": "passed", "duration": 3000}},
        {"id": "1.2.3", "name": "ShortTest", "outcome": {"status": "passed", "duration": 1}}
      ]}
    ]
  }]
})";

// Two devices, the first named by the test (%1), and two quick tests.
const char kNamedDeviceCatalogue[] = R"({"modules": [{"name": "Rig",
  "devices": [{"id": "dev_a", "udi": "UDI-A", "display_name": "%1"},
              {"id": "dev_b", "udi": "UDI-B", "display_name": "DEVICE_B"}],
  "diagnostics": [{"id": "1.1.0", "name": "RigQuick", "tests": [
    {"id": "1.1.1", "name": "PassTest", "outcome": {"status": "passed", "duration": 1}},
    {"id": "1.1.2", "name": "FailTest", "outcome": {"status": "failed", "duration": 1}}]}]}]})";

constexpr int kHangGuardMs = 30000;

QStringList ReadLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString LogPath() {
  ZerkaFilesystem* fs = get_filesystem();
  const std::string windows =
      std::string(1, fs->SystemDriveLetter()) + ":\\ProgramData\\Tarvex\\morva\\morva.log";
  return QString::fromStdString(fs->NativePath(windows));
}

// Group numbers of the log entries "+++ <time> Rig <group>" written after the first skip lines.
QList<qint64> LogGroupsAfter(int skip) {
  QList<qint64> groups;
  const QStringList lines = ReadLines(LogPath());
  for (int i = skip; i < lines.size(); ++i) {
    if (!lines[i].startsWith(QLatin1String("+++ "))) continue;
    const QStringList words = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() >= 4 && words[2] == QLatin1String("Rig")) groups << words.last().toLongLong();
  }
  return groups;
}

// Answers every interaction dialog that opens with the next button of the queue.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(QStringList buttons, std::function<void(int)> before = {})
      : buttons_(std::move(buttons)), before_(std::move(before)) {}
  int answered = 0;
  QStringList titles;

 private:
  void Answer(KolvLiteDialog* dialog) {
    if (buttons_.isEmpty()) return;
    if (auto* title = dialog->findChild<QLabel*>(QStringLiteral("header_label"))) {
      titles << title->text();
    }
    if (before_) before_(answered);
    auto* button = dialog->findChild<QPushButton*>(buttons_.takeFirst());
    if (button != nullptr) button->click();
    ++answered;
  }
  QStringList buttons_;
  std::function<void(int)> before_;
  DialogWatch watch_{[this](KolvLiteDialog* dialog) { Answer(dialog); }};
};

// Whether every row's status of the shown iteration page lies inside its scroll area's view.
bool EveryStatusInView(ExecutionScreen* screen) {
  QWidget* page = screen->findChild<QStackedWidget*>("iterations_stackedWidget")->currentWidget();
  auto* scroll = page != nullptr ? page->findChild<QScrollArea*>() : nullptr;
  if (scroll == nullptr) return false;
  const QRect view = scroll->viewport()->rect();
  const QList<QLabel*> statuses = scroll->widget()->findChildren<QLabel*>("test_status");
  for (const QLabel* status : statuses) {
    const QRect shown(status->mapTo(scroll->viewport(), QPoint(0, 0)), status->size());
    if (shown.right() > view.right() || shown.left() < view.left()) return false;
  }
  return !statuses.isEmpty();
}

}  // namespace

class TestExecutionScreen : public QObject {
  Q_OBJECT

  // One controller with the engine's module loaded and scanned.
  struct Rig {
    Rig() {
      gui_test::EngineRig engine;
      controller = engine.controller;
      context = engine.context;
      module = engine.Module(0);
      engine.Choose(module);
      context->module_name = QStringLiteral("Rig");
    }
    ~Rig() {
      screens.clear();
      delete controller;
    }
    morva_service::SystemComponentView* Device(int index) const {
      return module->system_component(static_cast<size_t>(index));
    }
    morva_service::TestView* Test(int diagnostic, int test) const {
      return module->diagnostics()[static_cast<size_t>(diagnostic)]
          ->tests()[static_cast<size_t>(test)];
    }
    // Selects tests of one diagnostic (by index) for a device.
    void Select(int device, int diagnostic, std::vector<int> tests) {
      DiagnosticTestSelection chosen;
      chosen.diagnostic = module->diagnostics()[static_cast<size_t>(diagnostic)];
      for (int test : tests) chosen.tests.push_back(Test(diagnostic, test));
      auto* record = new DeviceTestSelection;
      record->device = Device(device);
      record->diagnostics = new std::vector<DiagnosticTestSelection>{chosen};
      context->selected_tests.append(record);
      if (!context->selected_devices.contains(record->device)) {
        context->selected_devices.append(record->device);
      }
    }
    ExecutionScreen* NewScreen() {
      screens.push_back(std::make_unique<ExecutionScreen>(controller));
      ExecutionScreen* screen = screens.back().get();
      controller->AddFlowScreen(screen, true);
      return screen;
    }
    void Enter(ExecutionScreen* screen) { controller->GoToScreen(screen); }

    KolvLiteController* controller;
    KolvLiteContext* context = nullptr;
    morva_service::ModuleInterfaceView* module = nullptr;
    std::vector<std::unique_ptr<ExecutionScreen>> screens;
  };

  static int Status(ExecutionScreen* screen, int iteration, int device, int row) {
    ExecutionIterationWidgets* record = screen->iteration(iteration);
    if (record == nullptr || device >= record->diagnostics.size()) return -1;
    DiagnosticWidget* panel = record->diagnostics[device];
    return panel->HasTest(row) ? (*panel)[row].test_status() : -1;
  }

  static bool WaitIdle(ExecutionScreen* screen) {
    return QTest::qWaitFor([screen] { return !screen->is_running(); }, kHangGuardMs);
  }

 private slots:
  void initTestCase() {
    catalogue_.emplace("execution_catalogue.json", kCatalogue);
    QVERIFY(catalogue_->written());
    trace_ = test_support::ScratchPath(QStringLiteral("execution_trace.txt"));
    QFile::remove(trace_);
    qputenv("MORVA_TRACE", trace_.toLocal8Bit());
  }

  void recommendedRunDrivesEveryRowAndWritesOneGroup() {
    Rig rig;
    QVERIFY(rig.module != nullptr);
    DiagnosticSelectionScreen* selection = EnterRecommendedFlow(rig.controller);
    auto* loading = rig.context->devices_loading_screen;
    const int log_lines = ReadLines(LogPath()).size();
    const int trace_lines = ReadLines(trace_).size();

    selection->next_button()->click();
    auto* screen = qobject_cast<ExecutionScreen*>(selection->execution_screen());
    QVERIFY(screen != nullptr);
    QVERIFY(QTest::qWaitFor([&] { return rig.controller->current_screen() == screen; },
                            kHangGuardMs));
    QVERIFY(WaitIdle(screen));

    // dev_a gets the three tests that support it, dev_b all four, each row as scripted.
    QCOMPARE(screen->iteration_count(), 1);
    ExecutionIterationWidgets* page = screen->iteration(0);
    QCOMPARE(page->diagnostics.size(), 2);
    QCOMPARE(page->diagnostics[0]->TestsCount(), 3);
    QCOMPARE(page->diagnostics[1]->TestsCount(), 4);
    const QList<int> device_a = {SUCCESS, FAILED, INVALID};
    const QList<int> device_b = {SUCCESS, INVALID, WARNING, NOT_APPLICABLE};
    for (int row = 0; row < device_a.size(); ++row) QCOMPARE(Status(screen, 0, 0, row), device_a[row]);
    for (int row = 0; row < device_b.size(); ++row) QCOMPARE(Status(screen, 0, 1, row), device_b[row]);
    QCOMPARE((*page->diagnostics[0])[0].progress(), 100);
    QVERIFY((*page->diagnostics[0])[0].messages().size() >= 1);
    QVERIFY(!page->diagnostics[0]->result_code_label()->text().isEmpty());
    QCOMPARE(page->progress->progress_bar()->value(), 100);

    // Both devices ran under the iteration's one start time: one group.
    QCOMPARE(rig.context->iteration_start_times.size(), 1);
    const QList<qint64> groups = LogGroupsAfter(log_lines);
    QCOMPARE(groups.size(), 2);
    QCOMPARE(QSet<qint64>(groups.begin(), groups.end()).size(), 1);
    QCOMPARE(groups.first(), rig.context->iteration_start_times.first());
    int executes = 0;
    const QStringList trace = ReadLines(trace_);
    for (int i = trace_lines; i < trace.size(); ++i) {
      if (trace[i].startsWith(QLatin1String("Execute "))) ++executes;
    }
    QCOMPARE(executes, 2);

    // After the run: the results header, VIEW_LOG instead of STOP_TESTS, one page, no arrows.
    QVERIFY(!screen->next_button_widget()->isHidden());
    QVERIFY(screen->abort_button_widget()->isHidden());
    QCOMPARE(screen->RunningTestsLabel()->text(), QStringLiteral("TESTS_RESULT"));
    QVERIFY(screen->findChild<QLabel*>("iteration_label")->isHidden());
    QVERIFY(screen->findChild<QPushButton*>("previous_iteration_pushButton")->isHidden());

    // VIEW_LOG leads on to the run's log.
    screen->next_button_widget()->click();
    QCOMPARE(rig.controller->current_screen(), selection->execution_log_screen());
    QString reason;
    QVERIFY(QTest::qWaitFor([&] { return !selection->execution_log_screen()->isBusy(reason); },
                            kHangGuardMs));

    delete selection;
    delete loading;
  }

  void runsGivePagesWithStrictlyIncreasingStartTimes() {
    Rig rig;
    rig.Select(0, 0, {0});
    rig.context->runs = 3;
    ExecutionScreen* screen = rig.NewScreen();
    const int log_lines = ReadLines(LogPath()).size();
    rig.Enter(screen);
    QCOMPARE(screen->findChild<QLabel*>("iteration_label")->text(), QStringLiteral("1 OF 3"));
    QVERIFY(!screen->findChild<QPushButton*>("previous_iteration_pushButton")->isEnabled());
    QVERIFY(WaitIdle(screen));

    QCOMPARE(screen->iteration_count(), 3);
    QCOMPARE(screen->findChild<QStackedWidget*>("iterations_stackedWidget")->count(), 3);
    for (int i = 0; i < 3; ++i) QCOMPARE(Status(screen, i, 0, 0), int(SUCCESS));
    const QVector<qint64> first = rig.context->iteration_start_times;
    QCOMPARE(first.size(), 3);
    QVERIFY(first[0] < first[1] && first[1] < first[2]);
    const QList<qint64> groups = LogGroupsAfter(log_lines);
    QCOMPARE(groups, QList<qint64>(first.begin(), first.end()));

    // The shown page followed the run; browsing moves the shared current iteration.
    QCOMPARE(screen->findChild<QLabel*>("iteration_label")->text(), QStringLiteral("3 OF 3"));
    QVERIFY(!screen->findChild<QPushButton*>("next_iteration_pushButton")->isEnabled());
    // Under the program's style sheet the disabled arrow looks disabled.
    QVERIFY(gui_test::RegisterProgramResources());
    QFile style(QStringLiteral(":/kolv_lite/Resources/Styles/kolv_lite.qss"));
    QVERIFY(style.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
    const QImage enabled =
        screen->findChild<QPushButton*>("previous_iteration_pushButton")->grab().toImage();
    const QImage disabled =
        screen->findChild<QPushButton*>("next_iteration_pushButton")->grab().toImage();
    qApp->setStyleSheet(QString());
    QVERIFY(enabled.pixel(3, 3) != disabled.pixel(3, 3));
    screen->findChild<QPushButton*>("previous_iteration_pushButton")->click();
    QCOMPARE(screen->findChild<QLabel*>("iteration_label")->text(), QStringLiteral("2 OF 3"));
    QCOMPARE(rig.context->current_iteration, 1);
    screen->findChild<QPushButton*>("next_iteration_pushButton")->click();
    QCOMPARE(rig.context->current_iteration, 2);

    // A second run right away: new pages only, and every start time after the first run's.
    screen->Unload();
    screen->OnEnter();
    QVERIFY(WaitIdle(screen));
    QCOMPARE(screen->findChild<QStackedWidget*>("iterations_stackedWidget")->count(), 3);
    const QVector<qint64> second = rig.context->iteration_start_times;
    QCOMPARE(second.size(), 3);
    QVERIFY(second[0] > first[2]);
    QVERIFY(second[0] < second[1] && second[1] < second[2]);
    for (int i = 0; i < 3; ++i) QCOMPARE(Status(screen, i, 0, 0), int(SUCCESS));
    const QList<qint64> all = LogGroupsAfter(log_lines);
    QCOMPARE(QSet<qint64>(all.begin(), all.end()).size(), 6);

    // Another screen (a new module choice) continues after them as well.
    ExecutionScreen* other = rig.NewScreen();
    rig.context->runs = 1;
    rig.Enter(other);
    QVERIFY(WaitIdle(other));
    QVERIFY(rig.context->iteration_start_times.first() > second[2]);
  }

  void interactionAnsweredOkThenCancel() {
    Rig rig;
    rig.Select(0, 1, {0});
    rig.context->runs = 2;
    ExecutionScreen* screen = rig.NewScreen();
    const int trace_lines = ReadLines(trace_).size();
    // An Enter typed as a question opens (one meant for Run) answers nothing.
    bool kept_open = true;
    DialogAnswerer answerer({QStringLiteral("ok_pushButton"), QStringLiteral("cancel_pushButton")},
                            [&kept_open](int) {
                              QWidget* dialog = QApplication::activeModalWidget();
                              QTest::keyClick(dialog->findChild<QPushButton*>("ok_pushButton"),
                                              Qt::Key_Return);
                              kept_open = kept_open && dialog->isVisible();
                            });
    rig.Enter(screen);
    QVERIFY(WaitIdle(screen));
    QVERIFY(kept_open);
    QCOMPARE(answerer.answered, 2);
    QCOMPARE(answerer.titles, QStringList({"ASK_TITLE", "ASK_TITLE"}));
    QCOMPARE(Status(screen, 0, 0, 0), int(SUCCESS));
    QCOMPARE(Status(screen, 1, 0, 0), int(FAILED));
    QStringList answers;
    const QStringList trace = ReadLines(trace_);
    const QRegularExpression interact(QStringLiteral("^Interact title=ASK_TITLE answer=(\\d)"));
    for (int i = trace_lines; i < trace.size(); ++i) {
      const QRegularExpressionMatch match = interact.match(trace[i]);
      if (match.hasMatch()) answers << match.captured(1);
    }
    QCOMPARE(answers, QStringList({"1", "2"}));
  }

  void browsedPageStaysUntilAnInteractionCallsItBack() {
    Rig rig;
    rig.Select(0, 1, {0});
    rig.context->runs = 3;
    ExecutionScreen* screen = rig.NewScreen();
    QStackedWidget* pages = screen->findChild<QStackedWidget*>("iterations_stackedWidget");
    QList<QPair<int, int>> changes;
    // While the second iteration asks, the user goes back to the first page.
    DialogAnswerer answerer(QStringList(3, QStringLiteral("ok_pushButton")), [&](int dialog) {
      if (dialog == 1) screen->findChild<QPushButton*>("previous_iteration_pushButton")->click();
    });
    rig.Enter(screen);
    QCOMPARE(pages->currentIndex(), 0);
    // For each page change from now on: the page, and the state of its row at that moment.
    connect(pages, &QStackedWidget::currentChanged, this,
            [&](int index) { changes << qMakePair(index, Status(screen, index, 0, 0)); });
    QVERIFY(WaitIdle(screen));
    QCOMPARE(answerer.answered, 3);
    QCOMPARE(changes.size(), 3);
    QCOMPARE(changes[0].first, 1);  // followed the run into iteration 2
    QCOMPARE(changes[1].first, 0);  // the user's choice
    // Iteration 3 started without taking the page away; its request called it back.
    QCOMPARE(changes[2], qMakePair(2, int(RUNNING)));
    QCOMPARE(rig.context->current_iteration, 2);
    QCOMPARE(screen->findChild<QLabel*>("iteration_label")->text(), QStringLiteral("3 OF 3"));
  }

  void abortInFirstIterationReachesEveryLaterOne() {
    Rig rig;
    rig.Select(0, 1, {1, 2});
    rig.Select(1, 1, {1, 2});
    rig.context->runs = 3;
    ExecutionScreen* screen = rig.NewScreen();
    QSignalSpy shown(rig.controller, &KolvLiteController::GlobalButtonsShown);
    const int trace_lines = ReadLines(trace_).size();
    rig.Enter(screen);
    QVERIFY(QTest::qWaitFor([&] { return Status(screen, 0, 0, 0) == RUNNING; }, kHangGuardMs));
    QElapsedTimer clock;
    clock.start();
    screen->abort_button_widget()->click();
    QVERIFY(!screen->abort_button_widget()->isEnabled());
    QVERIFY(WaitIdle(screen));
    QVERIFY(clock.elapsed() < kHangGuardMs);

    for (int iteration = 0; iteration < 3; ++iteration) {
      for (int device = 0; device < 2; ++device) {
        for (int row = 0; row < 2; ++row) {
          QCOMPARE(Status(screen, iteration, device, row), int(ABORTED));
        }
      }
    }
    // No iteration of the stopped run reads finished: each shows how far it got and that it
    // was aborted.
    for (int iteration = 0; iteration < 3; ++iteration) {
      ProgressWidget* progress = screen->iteration(iteration)->progress;
      QVERIFY(progress->progress_bar()->value() < 100);
      QCOMPARE(progress->status_label()->text(), QStringLiteral("ABORTED"));
    }
    QCOMPARE(rig.context->iteration_start_times.size(), 3);
    QVERIFY(shown.count() >= 1);
    QVERIFY(!screen->next_button_widget()->isHidden());

    // Every Execute after the first one is followed by a fresh abort.
    const QStringList trace = ReadLines(trace_);
    QList<int> aborts_per_execute;
    for (int i = trace_lines; i < trace.size(); ++i) {
      if (trace[i].startsWith(QLatin1String("Execute "))) aborts_per_execute << 0;
      if (trace[i].startsWith(QLatin1String("Abort ")) && !aborts_per_execute.isEmpty()) {
        ++aborts_per_execute.last();
      }
    }
    QCOMPARE(aborts_per_execute.size(), 6);
    for (int count : aborts_per_execute) QVERIFY(count >= 1);
  }

  // At the window's size every row shows its status, whatever the length of a device's name.
  void longDeviceNameLeavesEveryStatusInView() {
    const QString long_name = QStringLiteral("Fixed disk with a long model string ").repeated(9).left(300);
    const QByteArray catalogue = QString::fromUtf8(kNamedDeviceCatalogue).arg(long_name).toUtf8();
    const gui_test::CatalogueSwap swap("execution_catalogue_other.json", catalogue);
    QVERIFY(swap.written());
    Rig rig;
    QVERIFY(rig.module != nullptr);
    rig.Select(0, 0, {0, 1});
    rig.Select(1, 0, {0, 1});
    ExecutionScreen* screen = rig.NewScreen();
    QWidget* window = screen->window();
    window->resize(752, 500);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    rig.Enter(screen);
    QVERIFY(WaitIdle(screen));
    QCoreApplication::processEvents();
    QVERIFY(screen->iteration(0)->page->width() <= screen->width());
    QVERIFY(EveryStatusInView(screen));
    DiagnosticWidget* panel = screen->iteration(0)->diagnostics[0];
    QCOMPARE(panel->device_name_label()->toolTip(), long_name);
    window->resize(500, 500);
    QCoreApplication::processEvents();
    QVERIFY(EveryStatusInView(screen));
  }

  // A run builds an iteration's page as the iteration starts, not every page at its start; the
  // arrows still reach every iteration, and a page the user opened early is the one its
  // iteration then runs on.
  void pagesAreBuiltAsTheirIterationsStart() {
    Rig rig;
    rig.Select(0, 0, {0});
    rig.Select(1, 0, {0});
    rig.context->runs = 4;
    ExecutionScreen* screen = rig.NewScreen();
    QStackedWidget* pages = screen->findChild<QStackedWidget*>("iterations_stackedWidget");
    rig.Enter(screen);
    // Made after the screen's own, so it sees each end once the screen has handled it.
    QList<int> pages_at_each_end;
    connect(rig.context->executor, &MorvaServiceExecutor::ExecuteFinished, this,
            [&] { pages_at_each_end << pages->count(); });
    QCOMPARE(screen->iteration_count(), 1);
    QCOMPARE(pages->count(), 1);
    QCOMPARE(screen->findChild<QLabel*>("iteration_label")->text(), QStringLiteral("1 OF 4"));
    QVERIFY(screen->findChild<QPushButton*>("next_iteration_pushButton")->isEnabled());

    // The user looks ahead: the second page is there with its rows waiting.
    screen->findChild<QPushButton*>("next_iteration_pushButton")->click();
    QCOMPARE(pages->count(), 2);
    QCOMPARE(pages->currentIndex(), 1);
    QCOMPARE(screen->findChild<QLabel*>("iteration_label")->text(), QStringLiteral("2 OF 4"));
    QCOMPARE(Status(screen, 1, 1, 0), int(WAITING));
    QVERIFY(WaitIdle(screen));

    QCOMPARE(pages_at_each_end, QList<int>({2, 3, 4, 4}));
    QCOMPARE(screen->iteration_count(), 4);
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(Status(screen, i, 0, 0), int(SUCCESS));
      QCOMPARE(Status(screen, i, 1, 0), int(SUCCESS));
    }
    QCOMPARE(pages->currentIndex(), 1);  // the user's page stayed
    QCOMPARE(screen->findChild<QLabel*>("iteration_label")->text(), QStringLiteral("2 OF 4"));
  }

  void statusesMapOntoRows() {
    QCOMPARE(ExecutionScreen::RowStatusOf(morva_service::kTestPassed), SUCCESS);
    QCOMPARE(ExecutionScreen::RowStatusOf(morva_service::kTestFailed), FAILED);
    QCOMPARE(ExecutionScreen::RowStatusOf(morva_service::kTestNotApplicable), NOT_APPLICABLE);
    QCOMPARE(ExecutionScreen::RowStatusOf(morva_service::kTestCancelled), ABORTED);
    QCOMPARE(ExecutionScreen::RowStatusOf(morva_service::kTestWarning), WARNING);
    QCOMPARE(ExecutionScreen::RowStatusOf(morva_service::kTestUnrecognized), INVALID);
    QCOMPARE(ExecutionScreen::RowStatusOf(morva_service::kTestInvalid), INVALID);
    QCOMPARE(ExecutionScreen::RowStatusOf(static_cast<morva_service::TestStatus>(42)), INVALID);
  }

  void unexpectedEventsAndEmptyPagesAreHarmless() {
    Rig rig;
    rig.Select(0, 0, {0});
    // A device record without any test: its panel has no rows.
    auto* empty = new DeviceTestSelection;
    empty->device = rig.Device(1);
    empty->diagnostics = new std::vector<DiagnosticTestSelection>;
    rig.context->selected_tests.append(empty);
    ExecutionScreen* screen = rig.NewScreen();
    screen->BuildDiagnosticWidgets();
    morva_service::TestStatus failed = morva_service::kTestFailed;
    std::string code = "7";
    screen->OnSystemComponentInit();
    screen->OnTestInit();
    screen->OnTestFinish(&failed);
    for (int i = 0; i < 3; ++i) {
      screen->OnTestInit();
      screen->OnTestFinish(&failed);
      screen->UpdateProgress(40, QStringLiteral("EXTRA"));
    }
    QCOMPARE(Status(screen, 0, 0, 0), int(FAILED));
    for (int i = 0; i < 4; ++i) {
      screen->OnSystemComponentFinish(&code);
      screen->OnSystemComponentInit();
      screen->OnTestInit();
      screen->UpdateProgress(10, QString());
    }
    screen->OnTestFinish(nullptr);
    screen->OnSystemComponentFinish(nullptr);
    QVERIFY(!screen->HasCurrentTestWidget());
    bool threw = false;
    try {
      screen->CurrentTestWidget();
    } catch (const std::out_of_range&) {
      threw = true;
    }
    QVERIFY(threw);

    // An iteration without any row takes progress without dividing by zero.
    rig.context->ClearSelection();
    auto* none = new DeviceTestSelection;
    none->device = rig.Device(0);
    none->diagnostics = new std::vector<DiagnosticTestSelection>;
    rig.context->selected_tests.append(none);
    screen->Unload();
    screen->BuildDiagnosticWidgets();
    screen->OnSystemComponentInit();
    screen->UpdateProgress(50, QStringLiteral("NOTHING"));
    QCOMPARE(screen->iteration(0)->progress->progress_bar()->value(), 0);
  }

  // An engine that throws in the middle of a test ends the run: no row it left unfinished
  // reads running or waiting on the finished screen.
  void runWhoseEngineThrowsEndsWithItsRowsInvalid() {
    Rig rig;
    rig.Select(0, 0, {0, 1});
    rig.Select(1, 0, {0});
    ExecutionScreen* screen = rig.NewScreen();
    gui_test::engine_throws_at = "TestStarted returned";
    rig.Enter(screen);
    const bool idle = WaitIdle(screen);
    gui_test::engine_throws_at = nullptr;
    QVERIFY(idle);
    for (const auto& [device, row] : {std::pair{0, 0}, {0, 1}, {1, 0}}) {
      QCOMPARE(Status(screen, 0, device, row), int(INVALID));
    }
    QVERIFY(!screen->next_button_widget()->isHidden());
  }

  void stopAnswersAtOnceWhenIdleAndAfterTheRunOtherwise() {
    Rig rig;
    rig.Select(0, 1, {1});
    rig.context->runs = 2;
    ExecutionScreen* idle = rig.NewScreen();
    QSignalSpy idle_stopped(idle, &KolvLiteScreen::Stopped);
    idle->Stop();
    QCOMPARE(idle_stopped.count(), 1);

    ExecutionScreen* screen = rig.NewScreen();
    QSignalSpy stopped(screen, &KolvLiteScreen::Stopped);
    rig.Enter(screen);
    QVERIFY(QTest::qWaitFor([&] { return Status(screen, 0, 0, 0) == RUNNING; }, kHangGuardMs));
    screen->Stop();
    QCOMPARE(stopped.count(), 0);
    QVERIFY(stopped.wait(kHangGuardMs));
    QVERIFY(!screen->is_running());
    QCOMPARE(screen->iteration_index(), 1);
    QCOMPARE(Status(screen, 1, 0, 0), int(ABORTED));
    QCOMPARE(stopped.count(), 1);
  }

  void leavingDuringARunNeitherHangsNorCrashes() {
    Rig rig;
    rig.Select(0, 1, {1, 2});
    rig.Select(1, 1, {1, 2});
    rig.context->runs = 2;

    // Deleted while the engine runs a long test (the home screen drops the flow's screens).
    ExecutionScreen* screen = rig.NewScreen();
    rig.Enter(screen);
    QVERIFY(QTest::qWaitFor([&] { return Status(screen, 0, 0, 0) == RUNNING; }, kHangGuardMs));
    QElapsedTimer clock;
    clock.start();
    rig.screens.clear();
    QVERIFY(clock.elapsed() < kHangGuardMs);
    QTest::qWait(50);  // events the worker posted on its way out find no screen

    // Taken out of the flow while running: the run ends, and a new entry runs afresh.
    ExecutionScreen* again = rig.NewScreen();
    rig.Enter(again);
    QVERIFY(QTest::qWaitFor([&] { return Status(again, 0, 0, 0) == RUNNING; }, kHangGuardMs));
    rig.controller->RemoveFlowScreen(again);
    QVERIFY(!again->is_running());
    QCOMPARE(again->iteration_count(), 0);
    rig.context->ClearSelection();
    rig.Select(0, 1, {2});
    rig.controller->AddFlowScreen(again, true);
    rig.Enter(again);
    QCOMPARE(again->iteration_index(), 0);
    QVERIFY(WaitIdle(again));
    QCOMPARE(Status(again, 0, 0, 0), int(SUCCESS));
    QCOMPARE(Status(again, 1, 0, 0), int(SUCCESS));
  }

 private:
  std::optional<gui_test::CatalogueSwap> catalogue_;
  QString trace_;
};

QTEST_MAIN(TestExecutionScreen)
#include "qtest_execution_screen.moc"
