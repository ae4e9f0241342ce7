// The tool's first screen: the user picks scan, or scan and repair, and the screen installs the
// matching flow of the tool's other screens, which it owns.
#pragma once

#include <QPointer>

#include "gui/screens/fork_screen.h"
#include "gui/shell/kolv_lite_controller.h"

class MdrDeviceSelectionScreen;
class MdrExecutionLogScreen;
class MdrExecutionScreen;
class MdrWarningScreen;
class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

class MdrOperationsScreen : public ForkScreen {
  Q_OBJECT

 public:
  explicit MdrOperationsScreen(KolvLiteController* controller);
  ~MdrOperationsScreen() override;

  MdrWarningScreen* warning_screen() const { return warning_; }
  MdrDeviceSelectionScreen* device_screen() const { return devices_; }
  MdrExecutionScreen* execution_screen() const { return execution_; }
  MdrExecutionLogScreen* log_screen() const { return log_; }
  QPushButton* next_button() const { return next_; }
  QPushButton* back_button() const { return back_; }
  QRadioButton* radio(int flow) const;

 signals:
  void UpdatedRadioButtons(int flow);

 public slots:
  void OnEnter() override;
  void OnExit() override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void UpdateRadioButtons(int flow);
  void GoToNextScreen();

 private:
  QPushButton* next_;
  QPushButton* back_;
  MdrWarningScreen* warning_;
  MdrDeviceSelectionScreen* devices_;
  MdrExecutionScreen* execution_;
  MdrExecutionLogScreen* log_;
  QButtonGroup* group_;
  QLabel* description_;
  QRadioButton* radios_[3];
  QPointer<KolvLiteController> controller_guard_;
};
