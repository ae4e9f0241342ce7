#include "gui/screens/execution_screen.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QThread>
#include <QVBoxLayout>

#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_suite_listener.h"
#include "gui/shell/kolv_lite_test_listener.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/kolv_lite_window.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/shell/translation_keys.h"
#include "gui/widgets/diagnostic_widget.h"
#include "gui/widgets/local_to_utf8.h"
#include "gui/widgets/progress_widget.h"
#include "morva_service/views.h"
#include "ui_execution_iteration_page.h"
#include "ui_execution_screen.h"

namespace {

constexpr char kContext[] = "ExecutionScreen";
constexpr char kRunningTests[] = "RUNNING_TESTS";

// Action-bar buttons have no parent while the screen is not shown; showing one then would
// open it as a window of its own.
void ShowInActionBar(QPushButton* button, bool visible) {
  if (button == nullptr) return;
  if (!visible) {
    button->hide();
  } else if (button->parentWidget() != nullptr) {
    button->show();
  }
}

// The last start time handed out in this process: iterations of every run get later ones.
qint64 last_start_time = 0;

}  // namespace

ExecutionScreen::ExecutionScreen(KolvLiteController* controller)
    : KolvLiteScreen(controller),
      running(false),
      current_iteration(0),
      test_row(0),
      overall_progress(0),
      device_index(0),
      abort_requested(false),
      follow_running_iteration(false),
      stop_requested(false),
      abort_button(MakeActionButton(TranslationKeys::STOP_TESTS, TranslationKeys::STOP_TESTS_TOOLTIP,
                                    ActionButtonSize::kAtLeastStandard)),
      next_button(MakeActionButton(TranslationKeys::VIEW_LOG, TranslationKeys::VIEW_LOG_TOOLTIP,
                                   ActionButtonSize::kAtLeastStandard)),
      suite_listener(new KolvLiteSuiteListener),
      test_listener(new KolvLiteTestListener),
      form(new Ui::ExecutionScreen),
      controller_guard_(controller),
      execute_returned_(1) {
  RegisterKolvLiteMetaTypes();
  set_step(KolvLiteTranslate(TranslationKeys::EXECUTION_STEP));
  BuildForm();
  loaded = false;
  // Seen on the worker itself, so a wait on the GUI thread learns of it without an event loop.
  if (controller != nullptr && controller->execution_context() != nullptr) {
    connect(controller->execution_context()->executor, &MorvaServiceExecutor::ExecuteFinished,
            this, [this] { execute_returned_.storeRelease(1); }, Qt::DirectConnection);
  }
}

ExecutionScreen::~ExecutionScreen() {
  if (controller_guard_ != nullptr && controller_guard_->execution_context() != nullptr) {
    RemoveActionButtons();
    ForcedCloseAction();
    MorvaServiceExecutor* executor = controller_guard_->execution_context()->executor;
    if (executor->suite_listener() == suite_listener) executor->set_suite_listener(nullptr);
    if (executor->test_listener() == test_listener) executor->set_test_listener(nullptr);
    if (running) WaitForRunEnd();
  }
  running = false;
  ClearDiagnosticWidgets();
  delete abort_button;
  delete next_button;
  delete suite_listener;
  delete test_listener;
  delete form;
}

void ExecutionScreen::BuildForm() {
  setObjectName(QStringLiteral("ExecutionScreen"));
  form->setupUi(this);
  setWindowTitle(QString());
  form->running_tests_label->setText(KolvLiteTranslate(kContext, kRunningTests));
}

KolvLiteTestStatus ExecutionScreen::RowStatusOf(morva_service::TestStatus status) {
  switch (static_cast<int>(status)) {
    case morva_service::kTestPassed:
      return SUCCESS;
    case morva_service::kTestFailed:
      return FAILED;
    case morva_service::kTestNotApplicable:
      return NOT_APPLICABLE;
    case morva_service::kTestCancelled:
      return ABORTED;
    case morva_service::kTestWarning:
      return WARNING;
    default:  // unrecognised, invalid and anything the engine may add
      return INVALID;
  }
}

// --- pages ----------------------------------------------------------------------------------

ExecutionIterationWidgets* ExecutionScreen::iteration(int index) const {
  return index >= 0 && index < iterations.size() ? iterations[index] : nullptr;
}

void ExecutionScreen::HideIterationWidgets() {
  form->previous_iteration_pushButton->hide();
  form->next_iteration_pushButton->hide();
  form->iteration_label->hide();
}

QLabel* ExecutionScreen::RunningTestsLabel() { return form->running_tests_label; }

void ExecutionScreen::BuildIterationPage(ExecutionIterationWidgets* record) {
  if (record == nullptr) return;
  auto* container = new QWidget(form->iterations_stackedWidget);
  auto* layout = new QVBoxLayout(container);
  layout->setContentsMargins(0, 0, 0, 0);
  if (record->progress != nullptr) layout->addWidget(record->progress);
  auto* scroll = new QScrollArea(container);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  if (record->page != nullptr) scroll->setWidget(record->page);
  layout->addWidget(scroll);
  form->iterations_stackedWidget->addWidget(container);
}

void ExecutionScreen::BuildDiagnosticWidgets() {
  // Only the page of the iteration about to run: the others come as their iterations start or
  // as the user moves to them, so a run of many iterations starts as fast as a run of one.
  planned_pages_ = qMax(1, controller->execution_context()->runs);
  BuildPagesUpTo(current_iteration);
}

void ExecutionScreen::BuildPagesUpTo(int index, bool show_last) {
  while (iterations.size() <= index && iterations.size() < planned_pages_) {
    BuildNextPage(show_last && iterations.size() == index);
  }
}

void ExecutionScreen::BuildNextPage(bool shown) {
  auto* record = new ExecutionIterationWidgets;
  record->page = new QWidget;
  // White, and as wide as the view and no more, so every row's status stays in view.
  Ui::ExecutionIterationPage frame;
  frame.setupUi(record->page);
  // uic names a form's top widget; the pages stay unnamed, as the tool's are.
  record->page->setObjectName(QString());
  record->progress = new ProgressWidget;
  iterations.append(record);
  // In its place before the panels are made: each is made where it stays, and styled only once.
  BuildIterationPage(record);
  // A page about to be shown is filled where it is seen: a full page shown afterwards costs
  // more to show than it took to fill.
  if (shown) form->iterations_stackedWidget->setCurrentIndex(iterations.size() - 1);
  AddDevicePanels(record);
}

void ExecutionScreen::AddDevicePanels(ExecutionIterationWidgets* record) {
  KolvLiteContext* context = controller->execution_context();
  const std::string module_context =
      context->current_module != nullptr ? context->current_module->name()
                                         : context->module_name.toStdString();
  // The executor skips null records, and so must the panels, or device_index would drift.
  for (DeviceTestSelection* selection : std::as_const(context->selected_tests)) {
    if (selection == nullptr) continue;
    QString name;
    if (selection->device != nullptr) {
      name = KolvLiteTranslate(module_context,
                               LocalToUtf8(selection->device->information().display_name));
    }
    auto* device = new DiagnosticWidget(name, record->page);
    int id = 0;
    if (selection->diagnostics != nullptr) {
      for (const DiagnosticTestSelection& diagnostic : *selection->diagnostics) {
        for (morva_service::TestView* test : diagnostic.tests) {
          device->AddTest(id++, test != nullptr ? KolvLiteTranslate(LocalToUtf8(test->name()))
                                                : QString());
        }
      }
    }
    device->AdjustSizeToContents();
    record->page->layout()->addWidget(device);
    record->diagnostics.append(device);
  }
}

void ExecutionScreen::ClearDiagnosticWidgets() {
  planned_pages_ = 0;
  while (!iterations.isEmpty()) {
    ExecutionIterationWidgets* record = iterations.takeFirst();
    record->diagnostics.clear();
    record->diagnostics.squeeze();
    delete record;
  }
  // The pages go with their records: a later build must not show the previous run's pages.
  QStackedWidget* stack = form->iterations_stackedWidget;
  const QSignalBlocker blocker(stack);
  while (stack->count() > 0) {
    QWidget* page = stack->widget(0);
    stack->removeWidget(page);
    delete page;
  }
}

DiagnosticWidget* ExecutionScreen::CurrentDeviceWidget() const {
  ExecutionIterationWidgets* record = iteration(current_iteration);
  if (record == nullptr || device_index < 0 || device_index >= record->diagnostics.size()) {
    return nullptr;
  }
  return record->diagnostics[device_index];
}

TestWidget* ExecutionScreen::CurrentTestWidgetOrNull() const {
  DiagnosticWidget* device = CurrentDeviceWidget();
  if (device == nullptr || !device->HasTest(test_row)) return nullptr;
  return &(*device)[test_row];
}

bool ExecutionScreen::HasCurrentTestWidget() const { return CurrentTestWidgetOrNull() != nullptr; }

TestWidget& ExecutionScreen::CurrentTestWidget() {
  ExecutionIterationWidgets* record = iteration(current_iteration);
  if (record == nullptr || device_index < 0 || device_index >= record->diagnostics.size()) {
    throw std::out_of_range("no current device panel");
  }
  return (*record->diagnostics[device_index])[test_row];
}

void ExecutionScreen::ShowIterationAborted(int index) {
  ExecutionIterationWidgets* record = iteration(index);
  if (record == nullptr || record->progress == nullptr) return;
  record->progress->ShowAborted();
}

void ExecutionScreen::SetProgressValues(int value) {
  ExecutionIterationWidgets* record = iteration(current_iteration);
  if (record != nullptr && record->progress != nullptr) record->progress->SetProgress(value);
}

void ExecutionScreen::AddActionButtons() {
  controller->AddActionWidget(abort_button);
  controller->AddActionWidget(next_button);
}

void ExecutionScreen::RemoveActionButtons() {
  controller->RemoveAndHideActionWidget(abort_button);
  controller->RemoveAndHideActionWidget(next_button);
}

// --- screen life ----------------------------------------------------------------------------

void ExecutionScreen::OnEnter() {
  AddActionButtons();
  controller->ShowActionBar();
  controller->ShowBreadcrumb();
  controller->ShowModuleName();
  KolvLiteContext* context = controller->execution_context();
  if (loaded) {
    ShowInActionBar(next_button, !running);
    ShowInActionBar(abort_button, running);
    if (context->runs > 1 && context->current_iteration >= 0 &&
        context->current_iteration < form->iterations_stackedWidget->count()) {
      form->iterations_stackedWidget->setCurrentIndex(context->current_iteration);
    }
    return;
  }
  ConnectButtonsEvents();
  ConnectExecutionEvents();
  ShowInActionBar(abort_button, false);
  ShowInActionBar(next_button, false);
  if (context->runs <= 1) {
    HideIterationWidgets();
  } else {
    form->previous_iteration_pushButton->show();
    form->next_iteration_pushButton->show();
    form->iteration_label->show();
  }
  RunningTestsLabel()->setText(KolvLiteTranslate(kContext, kRunningTests));
  BuildDiagnosticWidgets();
  loaded = true;
  StartExecution();
  controller->HideHomeButton();
  abort_button->setEnabled(true);
  ShowInActionBar(abort_button, true);
}

void ExecutionScreen::OnExit() { RemoveActionButtons(); }

void ExecutionScreen::OnKeyPress(QKeyEvent* event) {
  if (event != nullptr && event->key() == Qt::Key_Escape) AbortDiagnosticsAction();
}

bool ExecutionScreen::isBusy(QString&) { return running; }

void ExecutionScreen::Stop() {
  stop_requested = true;
  if (running) {
    AbortDiagnosticsAction();
  } else {
    emit Stopped(this);
  }
}

void ExecutionScreen::Unload() {
  // Leaving the flow ends a run still going, before its pages go away.
  if (running) {
    AbortDiagnosticsAction();
    WaitForRunEnd();
    running = false;
    controller->ShowGlobalButtons();
    controller->ShowHomeButton();
    if (stop_requested) emit Stopped(this);
  }
  test_row = 0;
  overall_progress = 0;
  device_index = 0;
  abort_requested = false;
  // The next entry starts a new run from its first iteration.
  current_iteration = 0;
  follow_running_iteration = false;
  ClearDiagnosticWidgets();
  loaded = false;
}

// --- connections ----------------------------------------------------------------------------

void ExecutionScreen::ConnectExecutionEvents() {
  const auto blocking =
      static_cast<Qt::ConnectionType>(Qt::BlockingQueuedConnection | Qt::UniqueConnection);
  connect(suite_listener, &KolvLiteSuiteListener::SuiteStartedSignal, this,
          &ExecutionScreen::OnSuiteInit, blocking);
  connect(suite_listener, &KolvLiteSuiteListener::SystemComponentStartedSignal, this,
          &ExecutionScreen::OnSystemComponentInit, blocking);
  connect(suite_listener, &KolvLiteSuiteListener::DiagStarted, this, &ExecutionScreen::OnDiagInit,
          blocking);
  connect(suite_listener,
          static_cast<void (KolvLiteSuiteListener::*)()>(&KolvLiteSuiteListener::TestStarted),
          this, &ExecutionScreen::OnTestInit, blocking);
  connect(suite_listener,
          static_cast<void (KolvLiteSuiteListener::*)(morva_service::TestStatus*)>(
              &KolvLiteSuiteListener::TestFinished),
          this, &ExecutionScreen::OnTestFinish, blocking);
  connect(suite_listener, &KolvLiteSuiteListener::DiagFinished, this,
          &ExecutionScreen::OnDiagFinish, blocking);
  connect(suite_listener,
          static_cast<void (KolvLiteSuiteListener::*)(std::string*)>(
              &KolvLiteSuiteListener::SystemComponentFinished),
          this, &ExecutionScreen::OnSystemComponentFinish, blocking);
  connect(suite_listener, &KolvLiteSuiteListener::SuiteFinishedSignal, this,
          &ExecutionScreen::OnSuiteFinish, blocking);
  connect(test_listener,
          static_cast<void (KolvLiteTestListener::*)(int, QString)>(
              &KolvLiteTestListener::ProgressUpdated),
          this, &ExecutionScreen::UpdateProgress, Qt::UniqueConnection);
  connect(test_listener, &KolvLiteTestListener::TestInteracted, this,
          &ExecutionScreen::OnInteract, blocking);
}

void ExecutionScreen::ConnectButtonsEvents() {
  connect(next_button, &QPushButton::clicked, controller, &KolvLiteController::GoToNextScreen,
          Qt::UniqueConnection);
  connect(abort_button, &QPushButton::clicked, this, &ExecutionScreen::AbortDiagnostics,
          Qt::UniqueConnection);
  connect(form->previous_iteration_pushButton, &QPushButton::clicked, this,
          &ExecutionScreen::PreviousIteration, Qt::UniqueConnection);
  connect(form->next_iteration_pushButton, &QPushButton::clicked, this,
          &ExecutionScreen::NextIteration, Qt::UniqueConnection);
  connect(form->iterations_stackedWidget, &QStackedWidget::currentChanged, this,
          &ExecutionScreen::UpdateIterationButtons, Qt::UniqueConnection);
}

// --- slots that forward to the overridable reactions ----------------------------------------

void ExecutionScreen::AbortDiagnostics() { AbortDiagnosticsAction(); }
void ExecutionScreen::OnSuiteInit() { SuiteInitAction(); }
void ExecutionScreen::OnSuiteFinish() { SuiteFinishAction(); }
void ExecutionScreen::OnSystemComponentInit() { SystemComponentInitAction(); }
void ExecutionScreen::OnSystemComponentFinish(std::string* code) {
  SystemComponentFinishAction(code);
}
void ExecutionScreen::OnDiagInit() { DiagInitAction(); }
void ExecutionScreen::OnDiagFinish() { DiagFinishAction(); }
void ExecutionScreen::OnTestInit() { TestInitAction(); }
void ExecutionScreen::OnTestFinish(morva_service::TestStatus* status) { TestFinishAction(status); }
void ExecutionScreen::OnInteract(InputRequest* request) { InteractAction(request); }
void ExecutionScreen::OnForcedClose() { ForcedCloseAction(); }
void ExecutionScreen::FinishedExecution() { FinishedExecutionAction(); }

// --- default reactions ----------------------------------------------------------------------

void ExecutionScreen::AbortDiagnosticsAction() {
  if (!running) return;
  abort_button->setEnabled(false);
  abort_requested = true;
  controller->execution_context()->executor->Abort();
}

void ExecutionScreen::SystemComponentInitAction() { test_row = 0; }

void ExecutionScreen::SystemComponentFinishAction(std::string* code) {
  if (DiagnosticWidget* device = CurrentDeviceWidget()) {
    if (code != nullptr) device->set_unique_code(*code);
    device->AdjustSizeToContents();
  }
  ++device_index;
}

void ExecutionScreen::DiagInitAction() {
  // The engine clears an abort whenever a device's suite starts: ask again.
  if (abort_requested) AbortDiagnosticsAction();
}

void ExecutionScreen::DiagFinishAction() {}

void ExecutionScreen::TestInitAction() {
  if (TestWidget* row = CurrentTestWidgetOrNull()) row->set_status(RUNNING);
}

void ExecutionScreen::TestFinishAction(morva_service::TestStatus* status) {
  TestWidget* row = CurrentTestWidgetOrNull();
  if (row != nullptr && status != nullptr) {
    const KolvLiteTestStatus state = RowStatusOf(*status);
    // A test may end before reporting all of its progress (skipped by the user, not
    // applicable): it has no work left, so it counts as complete in the overall figure, which
    // would otherwise stay short of 100 % and read "in progress" on a finished run. A test the
    // user's abort cut short did not complete: the figure stays where the run got.
    const bool cut_short = abort_requested && state == ABORTED;
    if (row->progress() < 100 && !cut_short) UpdateProgress(100, QString());
    row->set_status(state);
  }
  ++test_row;
}

void ExecutionScreen::InteractAction(InputRequest* request) {
  if (request == nullptr) return;
  QStackedWidget* stack = form->iterations_stackedWidget;
  if (stack->currentIndex() != current_iteration && current_iteration < stack->count()) {
    stack->setCurrentIndex(current_iteration);
    controller->execution_context()->current_iteration = current_iteration;
  }
  QWidget* parent = nullptr;
  if (auto* application = qobject_cast<KolvLite*>(QCoreApplication::instance())) {
    parent = application->main_window();
  }
  if (parent == nullptr) parent = window();
  KolvLiteDialog dialog(request, parent);
  // A test may ask before it writes to a disk, right as it starts: a key meant for Run answers
  // nothing.
  dialog.RefuseKeysTypedAhead();
  dialog.adjustSize();
  const QRect frame = parent->geometry();
  dialog.move(frame.x() + frame.width() / 2 - dialog.width() / 2,
              frame.y() + frame.height() / 2 - dialog.height() / 2);
  dialog.exec();
}

void ExecutionScreen::FinishedExecutionAction() {
  // Another screen's run ends through the same executor signal.
  if (!running) return;
  EndUnfinishedRows();
  if (abort_requested) ShowIterationAborted(current_iteration);
  KolvLiteContext* context = controller->execution_context();
  const int next = current_iteration + 1;
  if (next < context->runs) {
    current_iteration = next;
    test_row = 0;
    overall_progress = 0;
    device_index = 0;
    StartExecution();
    return;
  }
  running = false;
  controller->ShowGlobalButtons();
  controller->ShowHomeButton();
  ShowInActionBar(next_button, true);
  ShowInActionBar(abort_button, false);
  RunningTestsLabel()->setText(KolvLiteTranslate(TranslationKeys::TESTS_RESULT));
  if (stop_requested) emit Stopped(this);
}

void ExecutionScreen::EndUnfinishedRows() {
  ExecutionIterationWidgets* record = iteration(current_iteration);
  if (record == nullptr) return;
  for (DiagnosticWidget* device : std::as_const(record->diagnostics)) {
    for (int id = 0; id < device->TestsCount(); ++id) {
      if (!device->HasTest(id)) continue;
      TestWidget& row = (*device)[id];
      if (row.test_status() == WAITING || row.test_status() == RUNNING) row.set_status(INVALID);
    }
  }
}

void ExecutionScreen::ForcedCloseAction() { AbortDiagnosticsAction(); }

void ExecutionScreen::SuiteInitAction() {}

void ExecutionScreen::SuiteFinishAction() {}

QString ExecutionScreen::FinishedExecutionLabel() {
  return KolvLiteTranslate(TranslationKeys::TESTS_RESULT);
}

qint64 ExecutionScreen::NextStartTime() {
  const qint64 now = QDateTime::currentSecsSinceEpoch();
  last_start_time = qMax(now, last_start_time + 1);
  return last_start_time;
}

void ExecutionScreen::StartExecution() {
  KolvLiteContext* context = controller->execution_context();
  if (current_iteration == 0) {
    follow_running_iteration = true;
    context->current_iteration = 0;
    // A new run: the start times are this run's, one per iteration.
    context->iteration_start_times.clear();
  }
  BuildPagesUpTo(current_iteration, follow_running_iteration);
  if (follow_running_iteration) {
    form->iterations_stackedWidget->setCurrentIndex(current_iteration);
    context->current_iteration = current_iteration;
  }
  UpdateIterationButtons();

  const qint64 start_time = NextStartTime();
  context->iteration_start_times.append(start_time);

  controller->HideGlobalButtons();
  MorvaServiceExecutor* executor = context->executor;
  executor->set_suite_listener(suite_listener);
  executor->set_test_listener(test_listener);

  ExecuteContext request;
  request.module = context->current_module;
  request.selection = context->selected_tests;
  request.start_time = start_time;

  running = true;
  execute_returned_.storeRelease(0);
  connect(executor, &MorvaServiceExecutor::ExecuteFinished, this,
          &ExecutionScreen::FinishedExecution, Qt::UniqueConnection);
  QMetaObject::invokeMethod(executor, "Execute", Q_ARG(ExecuteContext, request));
}

void ExecutionScreen::WaitForRunEnd() {
  KolvLiteContext* context = controller->execution_context();
  // The worker may sit in a blocking call to this screen: dropping the posted calls releases
  // it. Execute clears the abort at every device, so it is asked again until the run is over.
  while (execute_returned_.loadAcquire() == 0 && context->worker->isRunning()) {
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    context->executor->Abort();
    QThread::msleep(2);
  }
  QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
}

// --- progress and pages ---------------------------------------------------------------------

void ExecutionScreen::UpdateProgress(int percent, QString message) {
  ExecutionIterationWidgets* record = iteration(current_iteration);
  if (record == nullptr) return;
  int total = 0;
  for (DiagnosticWidget* device : std::as_const(record->diagnostics)) {
    total += device->TestsCount();
  }
  DiagnosticWidget* device = CurrentDeviceWidget();
  if (device == nullptr) return;
  if (TestWidget* row = CurrentTestWidgetOrNull()) {
    row->set_progress(percent);
    row->AddTestMessage(message, controller->execution_context()->module_name);
    if (!message.isEmpty()) device->AdjustSizeToContents();
  }
  if (total <= 0) return;
  int sum = 0;
  for (DiagnosticWidget* each : std::as_const(record->diagnostics)) {
    for (int id = 0; id < each->TestsCount(); ++id) {
      if (each->HasTest(id)) sum += (*each)[id].progress();
    }
  }
  overall_progress = sum / total;
  SetProgressValues(overall_progress);
}

void ExecutionScreen::UpdateIterationButtons() {
  QStackedWidget* stack = form->iterations_stackedWidget;
  const int shown = stack->currentIndex();
  // Pages not built yet count: the user may move to them.
  const int count = qMax(stack->count(), planned_pages_);
  form->previous_iteration_pushButton->setEnabled(shown > 0);
  form->next_iteration_pushButton->setEnabled(shown < count - 1);
  form->iteration_label->setText(KolvLitePositionOf(shown + 1, count));
}

void ExecutionScreen::NextIteration() {
  QStackedWidget* stack = form->iterations_stackedWidget;
  const int target = stack->currentIndex() + 1;
  BuildPagesUpTo(target, true);
  if (target >= stack->count()) return;
  stack->setCurrentIndex(target);
  if (ExecutionIterationWidgets* record = iteration(target)) {
    if (record->page != nullptr) record->page->adjustSize();
  }
  follow_running_iteration = false;
  controller->execution_context()->current_iteration = target;
}

void ExecutionScreen::PreviousIteration() {
  QStackedWidget* stack = form->iterations_stackedWidget;
  const int target = stack->currentIndex() - 1;
  if (target < 0) return;
  stack->setCurrentIndex(target);
  if (ExecutionIterationWidgets* record = iteration(target)) {
    if (record->page != nullptr) record->page->adjustSize();
  }
  follow_running_iteration = false;
  controller->execution_context()->current_iteration = target;
}
