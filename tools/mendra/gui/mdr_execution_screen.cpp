#include "tools/mendra/gui/mdr_execution_screen.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/widgets/progress_widget.h"
#include "morva_service/morva_service.h"
#include "tools/mendra/common/mdr_result_codes.h"
#include "tools/mendra/common/mdr_utils.h"
#include "tools/mendra/gui/mdr_diagnostic_widget.h"
#include "tools/mendra/gui/mdr_execution_thread.h"
#include "tools/mendra/gui/mdr_listener.h"
#include "tools/mendra/gui/mdr_plugin.h"
#include "tools/mendra/gui/mdr_q_listener.h"
#include "tools/mendra/gui/mdr_test_widget.h"
#include "tools/mendra/gui/tool_log_builder.h"
#include "ui_mdr_iteration_page.h"

namespace {
void ShowButton(QPushButton* button, bool visible) {
  if (button == nullptr) return;
  if (!visible) {
    button->hide();
  } else if (button->parentWidget() != nullptr) {
    button->show();
  }
}

// A filesystem repair has a row for each chosen partition; the other operations one for the
// whole device.
QStringList RowTexts(MdrUtils& model, const std::string& device_id) {
  const int operation = MdrPlugin::operation();
  if (operation != kMdrFilesystemRepair) {
    return {KolvLiteTranslate(operation == kMdrScan ? "SCAN_BAD_SECTORS_LABEL"
                                             : "SCAN_AND_REPAIR_BAD_SECTORS_LABEL")};
  }
  QStringList texts;
  const PartitionSelection* selection = model.selection();
  if (selection == nullptr) return texts;
  const auto chosen = selection->find(device_id);
  if (chosen == selection->end()) return texts;
  for (const std::string& key : chosen->second) {
    const MdrPartition* partition = model.FindPartition(key);
    const std::string mount = partition != nullptr ? partition->mount_point : key;
    texts << KolvLiteTranslate("FILESYSTEM_REPAIR_LABEL") + QStringLiteral(" : ") +
                 QString::fromStdString(mount);
  }
  return texts;
}

// Headed by the name the tool's model knows the device by.
MdrDiagnosticWidget* DevicePanel(MdrUtils& model, morva_service::SystemComponentView& device,
                                 QWidget* page) {
  const std::string id = device.id();
  const MdrDevice* known = model.FindDevice(id);
  const std::string name = known != nullptr ? known->name : device.information().display_name;
  auto* panel = new MdrDiagnosticWidget(KolvLiteTranslate(name), page);
  int row = 0;
  for (const QString& text : RowTexts(model, id)) panel->AddTest(row++, text);
  panel->AdjustSizeToContents();
  return panel;
}

}  // namespace

MdrExecutionScreen::MdrExecutionScreen(KolvLiteController* controller)
    : ExecutionScreen(controller), listener_(new MdrListener()), thread_(nullptr) {
  set_step(KolvLiteTranslate("EXECUTION_STEP"));
  if (controller->execution_context() != nullptr) controller->execution_context()->runs = 1;
  thread_ = new MdrExecutionThread(listener_);
  connect(thread_, &QThread::finished, this, &MdrExecutionScreen::OnThreadFinished);
}

MdrExecutionScreen::~MdrExecutionScreen() {
  // Without receivers the tool's thread no longer waits for this screen, so it can be joined.
  DisconnectListener();
  if (thread_->isRunning()) {
    thread_->RequestAbort();
    // A call it already waits on is never served now: dropping it frees the thread (a question
    // stays unanswered).
    while (!thread_->wait(QDeadlineTimer(10)))
      QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
  }
  delete thread_;
  thread_ = nullptr;
  delete listener_;
  listener_ = nullptr;
  device_widgets_.clear();
}

MdrTestWidget* MdrExecutionScreen::CurrentRow() const {
  if (device_index < 0 || static_cast<size_t>(device_index) >= device_widgets_.size()) {
    return nullptr;
  }
  return device_widgets_[device_index]->row(test_row);
}

void MdrExecutionScreen::OnEnter() {
  controller->ShowActionBar();
  controller->ShowBreadcrumb();
  controller->ShowModuleName();
  controller->AddActionWidget(abort_button);
  controller->AddActionWidget(next_button);
  if (loaded) {
    ShowButton(abort_button, run_active_);
    ShowButton(next_button, !run_active_);
    return;
  }
  ConnectButtonsEvents();
  ConnectExecutionEvents();
  stop_requested = false;
  HideIterationWidgets();
  ShowButton(next_button, false);
  BuildToolWidgets();
  loaded = true;
  controller->HideGlobalButtons();
  controller->HideHomeButton();
  ShowButton(abort_button, true);
  abort_button->setEnabled(true);
  StartExecution();
}

void MdrExecutionScreen::OnExit() {
  controller->RemoveAndHideActionWidget(next_button);
  controller->RemoveAndHideActionWidget(abort_button);
  // A run still going keeps its receivers: its end must still reach this screen.
  if (!run_active_) DisconnectListener();
}

void MdrExecutionScreen::DisconnectListener() {
  if (MdrQListener* signals_source = MdrPlugin::listener()) {
    disconnect(signals_source, nullptr, this, nullptr);
  }
}

void MdrExecutionScreen::OnKeyPress(QKeyEvent* event) {
  if (event != nullptr && event->key() == Qt::Key_Escape) AbortProcedure();
}

// The thread outlives the run's end on the screen until the tool returns.
bool MdrExecutionScreen::isBusy(QString&) { return run_active_ || thread_->isRunning(); }

void MdrExecutionScreen::Stop() {
  stop_requested = true;
  if (!run_active_) {
    // Nothing runs: nothing will end later to answer for it.
    emit Stopped(this);
    return;
  }
  AbortProcedure();
}

void MdrExecutionScreen::Unload() {
  device_index = 0;
  test_row = 0;
  abort_requested = false;
  loaded = false;
}

void MdrExecutionScreen::ConnectExecutionEvents() {
  MdrQListener* source = MdrPlugin::listener();
  const auto blocking = static_cast<Qt::ConnectionType>(Qt::BlockingQueuedConnection |
                                                        Qt::UniqueConnection);
  connect(source, &MdrQListener::OperationInit, this, &ExecutionScreen::OnSuiteInit, blocking);
  connect(source, &MdrQListener::DeviceInit, this, &ExecutionScreen::OnSystemComponentInit,
          blocking);
  connect(source, &MdrQListener::PartitionInit, this, &ExecutionScreen::OnTestInit, blocking);
  connect(source, &MdrQListener::PartitionFinish, this, &MdrExecutionScreen::OnTestFinish,
          blocking);
  connect(source, &MdrQListener::DeviceFinish, this,
          &MdrExecutionScreen::OnSystemComponentFinish, blocking);
  connect(source, &MdrQListener::ErrorsFoundInTheDevice, this,
          &MdrExecutionScreen::OnDeviceErrorsFound, blocking);
  connect(source, &MdrQListener::RecoverFinish, this, &MdrExecutionScreen::OnSuiteFinish,
          blocking);
  connect(source, &MdrQListener::Progress, this, &MdrExecutionScreen::UpdateProgress,
          Qt::UniqueConnection);
  connect(source, &MdrQListener::ToolInteract, this, &ExecutionScreen::OnInteract, blocking);
}

void MdrExecutionScreen::BuildToolWidgets() {
  ClearDiagnosticWidgets();
  device_widgets_.clear();
  finished_rows_ = 0;
  auto* record = new ExecutionIterationWidgets();
  record->page = new QWidget();
  Ui::MdrIterationPage frame;
  frame.setupUi(record->page);
  // uic names a form's top widget; the page stays unnamed, as the diagnostics' pages are.
  record->page->setObjectName(QString());
  record->progress = new ProgressWidget();
  MdrUtils* model = MdrPlugin::current_model();
  if (model != nullptr && model->selected_devices() != nullptr) {
    for (morva_service::SystemComponentView* device : *model->selected_devices()) {
      if (device == nullptr) continue;
      MdrDiagnosticWidget* panel = DevicePanel(*model, *device, record->page);
      frame.device_panels->addWidget(panel);
      record->diagnostics.append(panel);
      device_widgets_.push_back(panel);
    }
  }
  iterations.append(record);
  BuildIterationPage(record);
}

void MdrExecutionScreen::StartExecution() {
  errors_found_ = false;
  device_index = 0;
  test_row = 0;
  current_iteration = 0;
  KolvLiteContext* context = controller->execution_context();
  context->iteration_start_times.append(QDateTime::currentSecsSinceEpoch());
  thread_->set_tool(context->selected_tool);
  thread_->PrepareRun();
  // The report of an earlier run must not stand for this one, however this one ends.
  MdrPlugin::tool_log()->Reset();
  run_active_ = true;
  thread_->start(QThread::InheritPriority);
  // A thread that could not start will never end either: the run ends here.
  if (!thread_->isRunning() && !thread_->isFinished()) EndUnableToExecute();
}

void MdrExecutionScreen::EndUnableToExecute() {
  SetUnreportedRows(kMdrOperationFailed);
  // What the tool reported before it failed stays in the report.
  MdrPlugin::tool_log()->Finish();
  ShowIterationAborted(current_iteration);
  FinishedExecutionAction();
}

void MdrExecutionScreen::SystemComponentInitAction() {
  if (MdrPlugin::operation() == kMdrFilesystemRepair) return;
  if (MdrTestWidget* row = CurrentRow()) row->ShowRunning();
}

void MdrExecutionScreen::TestInitAction() {
  if (MdrTestWidget* row = CurrentRow()) row->ShowRunning();
}

void MdrExecutionScreen::InteractAction(InputRequest* request) {
  if (request == nullptr) return;
  KolvLiteDialog dialog(request, this);
  // The tool asks whether to change the disk.
  dialog.RefuseKeysTypedAhead();
  dialog.exec();
}

void MdrExecutionScreen::OnTestFinish(int code) {
  // A device the user's abort cut short did not complete: the figure stays where it got.
  const bool completed = !(abort_requested && code == kMdrAborted);
  if (MdrTestWidget* row = CurrentRow()) {
    row->SetResult(code);
    if (completed) {
      row->set_progress(100);
      ++finished_rows_;
    }
  }
  if (completed) UpdateOverallProgress(0);
  ++test_row;
}

void MdrExecutionScreen::OnSystemComponentFinish(int code) {
  if (MdrPlugin::operation() != kMdrFilesystemRepair) {
    if (MdrTestWidget* row = CurrentRow()) row->AdjustSizeToContents();
    OnTestFinish(code);
  }
  if (device_index >= 0 && static_cast<size_t>(device_index) < device_widgets_.size()) {
    device_widgets_[device_index]->AdjustSizeToContents();
  }
  ++device_index;
  test_row = 0;
}

void MdrExecutionScreen::UpdateProgress(int value) {
  if (MdrTestWidget* row = CurrentRow()) row->set_progress(value);
  UpdateOverallProgress(value);
}

void MdrExecutionScreen::UpdateOverallProgress(int row_percent) {
  int total = 0;
  for (MdrDiagnosticWidget* panel : device_widgets_) total += panel->row_count();
  if (total <= 0) return;
  const int done = finished_rows_ * 100 + (finished_rows_ < total ? row_percent : 0);
  SetProgressValues(qMin(100, done / total));
}

void MdrExecutionScreen::OnDeviceErrorsFound(bool found) { errors_found_ = errors_found_ || found; }

void MdrExecutionScreen::OnSuiteFinish() { SuiteFinishAction(); }

void MdrExecutionScreen::OnThreadFinished() {
  if (!run_active_) return;
  if (thread_->Failed())
    EndUnableToExecute();
  else
    SuiteFinishAction();
}

void MdrExecutionScreen::FinishedExecutionAction() {
  run_active_ = false;
  // The tool says nothing of devices it never started after an abort: they must not stay
  // waiting as if they might still run.
  if (abort_requested) {
    SetUnreportedRows(kMdrAborted);
    ShowIterationAborted(current_iteration);
  }
  controller->ShowGlobalButtons();
  controller->ShowHomeButton();
  ShowButton(abort_button, false);
  ShowButton(next_button, true);
  RunningTestsLabel()->setText(KolvLiteTranslate("TESTS_RESULT"));
  if (stop_requested) emit Stopped(this);
}

void MdrExecutionScreen::SetUnreportedRows(int code) {
  for (MdrDiagnosticWidget* panel : device_widgets_) {
    for (int id = 0; id < panel->row_count(); ++id) {
      MdrTestWidget* row = panel->row(id);
      if (row != nullptr && row->result_code() == kMdrUnknownCode) row->SetResult(code);
    }
  }
}

void MdrExecutionScreen::SuiteFinishAction() {
  if (!run_active_) return;
  FinishedExecutionAction();
  if (errors_found_ && MdrPlugin::operation() == kMdrScan && !stop_requested) {
    InputRequest request("WARNING", "RECOMMEND_OTHER_PROCEDURE", 2, 0);
    KolvLiteDialog dialog(&request, this);
    dialog.exec();
  }
}

QString MdrExecutionScreen::FinishedExecutionLabel() { return KolvLiteTranslate("TOOL_FINISHED"); }

void MdrExecutionScreen::AbortDiagnosticsAction() { AbortProcedure(); }

void MdrExecutionScreen::ForcedCloseAction() { AbortProcedure(); }

void MdrExecutionScreen::AbortProcedure() {
  // The screen's own run state: the thread may not have reached the engine yet.
  if (thread_ == nullptr || !run_active_) return;
  abort_button->setEnabled(false);
  abort_requested = true;
  if (MdrPlugin::operation() == kMdrFilesystemRepair) {
    InputRequest request("WARNING", "CANT_ABORT_OPERATION_BUT_IT_WILL_BE", 2, 0);
    KolvLiteDialog dialog(&request, this);
    dialog.setFocusPolicy(Qt::StrongFocus);
    dialog.exec();
  }
  thread_->RequestAbort();
}
