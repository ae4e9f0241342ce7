// The choice between the recommended tests and custom tests of the chosen module. Either way
// the module's devices are scanned first; the recommended flow then runs, per device, the
// tests of the module's first diagnostic that support it, the custom flow lets the user pick
// devices and tests.
#pragma once

#include <QButtonGroup>

#include "gui/screens/fork_screen.h"

class QPushButton;

namespace Ui {
class DiagnosticSelectionScreen;
}

class DiagnosticSelectionScreen : public ForkScreen {
  Q_OBJECT

 public:
  enum FlowId { kRecommendedFlow = 0, kCustomFlow = 1 };

  explicit DiagnosticSelectionScreen(KolvLiteController* controller);
  ~DiagnosticSelectionScreen() override;

  void SetBackButtonVisible(bool visible);

  QPushButton* next_button() const { return next_button_; }
  QPushButton* back_button() const { return back_button_; }
  // The flow screens this screen made and owns.
  KolvLiteScreen* devices_screen() const { return devices_screen_; }
  KolvLiteScreen* tests_screen() const { return tests_screen_; }
  KolvLiteScreen* execution_screen() const { return execution_screen_; }
  KolvLiteScreen* execution_log_screen() const { return execution_log_screen_; }

  // The recommended selection into the execution context: per device of the current module,
  // the tests of its first diagnostic that support the device. Empty without devices or
  // diagnostics.
  static void FillRecommendedSelection(KolvLiteController* controller);

 public slots:
  void OnEnter() override;
  void OnExit() override;
  bool isBusy(QString& message) override;
  void Stop() override;

 private slots:
  void OnNextClicked();
  void SetRecommendedTestsState();
  void UpdateNextButton(int index);
  // Scan done: runs the recommended tests, or stays here when none applies to the devices.
  void RunRecommendedTests();
  void SetFlowPossible(bool possible);

 private:
  void BuildForm();
  // Next is enabled for a possible flow with something to run.
  void UpdateNextEnabled();

  Ui::DiagnosticSelectionScreen* form_;
  QPushButton* next_button_;
  QPushButton* back_button_;
  QButtonGroup* radio_group_;
  KolvLiteScreen* devices_screen_;
  KolvLiteScreen* tests_screen_;
  KolvLiteScreen* execution_screen_;
  KolvLiteScreen* execution_log_screen_;
  // The installed flow is possible (the fork said so).
  bool flow_possible_;
};
