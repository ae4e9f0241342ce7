// Runs the chosen tests once per iteration and shows them running: one page per iteration with
// the overall progress panel above one device panel per device, a row per test. GUI tool
// plug-ins derive their execution screens from it, so the virtual operations keep their order
// and the protected data its layout.
#pragma once

#include <QAtomicInt>
#include <QPointer>
#include <QString>
#include <QVector>
#include <QtGlobal>
#include <stdexcept>
#include <string>

#include "gui/shell/kolv_lite_meta_types.h"
#include "gui/shell/kolv_lite_screen.h"
#include "gui/widgets/test_widget.h"
#include "morva_service/input_request.h"
#include "morva_service/types.h"

class DiagnosticWidget;
class KolvLiteSuiteListener;
class KolvLiteTestListener;
class ProgressWidget;
class QLabel;
class QPushButton;

// The widgets of one iteration page. The screen owns the record; the widgets belong to the page.
struct ExecutionIterationWidgets {
  ProgressWidget* progress = nullptr;
  // White container of the device panels.
  QWidget* page = nullptr;
  // One per device, in the order of the selection.
  QVector<DiagnosticWidget*> diagnostics;
};

namespace Ui {
class ExecutionScreen;
}

class ExecutionScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  explicit ExecutionScreen(KolvLiteController* controller);
  // Aborts a running iteration and waits for its end before the listeners go.
  ~ExecutionScreen() override;

  ExecutionScreen(const ExecutionScreen&) = delete;
  ExecutionScreen& operator=(const ExecutionScreen&) = delete;

  // Row state shown for an engine test status; unknown values show as INVALID.
  static KolvLiteTestStatus RowStatusOf(morva_service::TestStatus status);

  // Hides the iteration arrows and the iteration label.
  void HideIterationWidgets();
  QLabel* RunningTestsLabel();
  // Puts the record's progress panel and its scrollable page into the next stacked page.
  void BuildIterationPage(ExecutionIterationWidgets* record);
  // Row test_row of the current device of the current iteration; throws std::out_of_range
  // unless HasCurrentTestWidget() is true.
  TestWidget& CurrentTestWidget();
  bool HasCurrentTestWidget() const;
  // Sets the current iteration's progress panel.
  void SetProgressValues(int value);
  // An iteration that an abort ended before it was complete reads aborted, at the progress it
  // reached; one that completed all the same keeps reading finished.
  void ShowIterationAborted(int index);
  void AddActionButtons();
  void RemoveActionButtons();
  // Builds the page of the iteration about to run; the others follow as they are needed.
  void BuildDiagnosticWidgets();
  void ClearDiagnosticWidgets();

  QPushButton* abort_button_widget() const { return abort_button; }
  QPushButton* next_button_widget() const { return next_button; }
  int iteration_count() const { return iterations.size(); }
  ExecutionIterationWidgets* iteration(int index) const;
  bool is_running() const { return running; }
  int iteration_index() const { return current_iteration; }

 public slots:
  void OnEnter() override;
  void OnExit() override;
  void OnKeyPress(QKeyEvent* event) override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void Unload() override;

  void UpdateProgress(int percent, QString message);
  void AbortDiagnostics();
  void OnSuiteInit();
  void OnSuiteFinish();
  void OnSystemComponentInit();
  void OnSystemComponentFinish(std::string* code);
  void OnDiagInit();
  void OnDiagFinish();
  void OnTestInit();
  void OnTestFinish(morva_service::TestStatus* status);
  void OnInteract(InputRequest* request);
  void OnForcedClose();
  void FinishedExecution();
  void UpdateIterationButtons();
  void NextIteration();
  void PreviousIteration();
  virtual void ConnectExecutionEvents();
  virtual void ConnectButtonsEvents();

 protected:
  virtual void AbortDiagnosticsAction();
  virtual void SystemComponentInitAction();
  virtual void SystemComponentFinishAction(std::string* code);
  virtual void DiagInitAction();
  virtual void DiagFinishAction();
  virtual void TestInitAction();
  virtual void TestFinishAction(morva_service::TestStatus* status);
  virtual void InteractAction(InputRequest* request);
  virtual void FinishedExecutionAction();
  virtual void ForcedCloseAction();
  virtual void SuiteInitAction();
  virtual void SuiteFinishAction();
  virtual QString FinishedExecutionLabel();
  virtual void StartExecution();

  // Start time of the next iteration: never earlier than now and always after every start time
  // handed out before in this process, so no two iterations ever share a log group.
  static qint64 NextStartTime();

  bool running;
  int current_iteration;
  int test_row;
  int overall_progress;
  int device_index;
  bool abort_requested;
  bool follow_running_iteration;
  bool stop_requested;
  QPushButton* abort_button;
  QPushButton* next_button;
  QVector<ExecutionIterationWidgets*> iterations;
  KolvLiteSuiteListener* suite_listener;
  KolvLiteTestListener* test_listener;
  Ui::ExecutionScreen* form;

 private:
  void BuildForm();
  // Builds the pages of the iterations up to index, of those BuildDiagnosticWidgets planned;
  // with show_last, the page of index is shown as it is built.
  void BuildPagesUpTo(int index, bool show_last = false);
  void BuildNextPage(bool shown);
  void AddDevicePanels(ExecutionIterationWidgets* record);
  DiagnosticWidget* CurrentDeviceWidget() const;
  TestWidget* CurrentTestWidgetOrNull() const;
  // The current iteration's rows the engine never finished (it failed mid-run) did not execute.
  void EndUnfinishedRows();
  // Blocks until the Execute invoked last has returned, re-issuing the abort meanwhile.
  void WaitForRunEnd();

  // The controller and its context may go before this screen at program end.
  QPointer<KolvLiteController> controller_guard_;
  // Raised on the worker when the Execute invoked last has returned.
  QAtomicInt execute_returned_;
  // Pages of the run's iterations, built or not; 0 when the screen builds none itself.
  int planned_pages_ = 0;
};
