// Runs the chosen operation on the chosen devices and shows it running: the operation stands
// for the suite, a device for the component, a partition (or the device's one row) for the test.
#pragma once

#include <vector>

#include "gui/screens/execution_screen.h"

class MdrDiagnosticWidget;
class MdrExecutionThread;
class MdrListener;
class MdrTestWidget;

class MdrExecutionScreen : public ExecutionScreen {
  Q_OBJECT

 public:
  explicit MdrExecutionScreen(KolvLiteController* controller);
  // Ends a running tool and waits for its thread before anything it uses goes.
  ~MdrExecutionScreen() override;

  const std::vector<MdrDiagnosticWidget*>& device_widgets() const { return device_widgets_; }
  MdrExecutionThread* thread() const { return thread_; }
  bool errors_found() const { return errors_found_; }
  // True from the start of a run until the screen has shown its end.
  bool run_active() const { return run_active_; }
  // Null when the current position is past the rows.
  MdrTestWidget* CurrentRow() const;

 public slots:
  void OnEnter() override;
  void OnExit() override;
  void OnKeyPress(QKeyEvent* event) override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void Unload() override;
  void ConnectExecutionEvents() override;
  void OnTestFinish(int code);
  void OnSystemComponentFinish(int code);
  void OnSuiteFinish();
  void UpdateProgress(int value);
  void OnDeviceErrorsFound(bool found);

 protected:
  void AbortDiagnosticsAction() override;
  void ForcedCloseAction() override;
  void SystemComponentInitAction() override;
  void TestInitAction() override;
  void InteractAction(InputRequest* request) override;
  void FinishedExecutionAction() override;
  void SuiteFinishAction() override;
  QString FinishedExecutionLabel() override;
  void StartExecution() override;

 private slots:
  // The thread ended: a tool that never said it finished still ends the run.
  void OnThreadFinished();

 private:
  void BuildToolWidgets();
  void AbortProcedure();
  // The run's thread could not start, or the run failed: every row the tool said nothing of ends
  // unable to execute and the screen is free.
  void EndUnableToExecute();
  // Every row the tool said nothing of ends with code.
  void SetUnreportedRows(int code);
  void DisconnectListener();
  void UpdateOverallProgress(int row_percent);

  std::vector<MdrDiagnosticWidget*> device_widgets_;
  MdrListener* listener_;
  MdrExecutionThread* thread_;
  bool errors_found_ = false;
  bool run_active_ = false;
  int finished_rows_ = 0;
};
