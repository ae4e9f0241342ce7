// Shows the loading animation while the worker scans the devices of the chosen module, then
// goes back to the flow screen that asked for the scan and tells it how the scan ended.
#pragma once

#include "gui/shell/kolv_lite_meta_types.h"
#include "gui/shell/kolv_lite_screen.h"

class QMovie;
class QPushButton;

namespace morva_service {
class ModuleInterfaceView;
}

namespace Ui {
class DevicesLoadingScreen;
}  // namespace Ui

class DevicesLoadingScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  explicit DevicesLoadingScreen(KolvLiteController* controller);
  ~DevicesLoadingScreen() override;

  QPushButton* cancel_button() const { return cancel_button_; }
  QMovie* movie() const { return movie_; }
  // True from entering until the end of the scan this screen waits for.
  bool waiting() const { return waiting_; }

 signals:
  void ScanSucceeded();
  void ScanFailed();
  void ScanCanceled();

 public slots:
  void OnEnter() override;
  void OnExit() override;
  void OnKeyPress(QKeyEvent* event) override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void Unload() override;

 protected slots:
  void OnScanFinish(morva_service::ModuleInterfaceView* mi);
  void OnScanCanceled();

 private:
  void BuildForm();
  morva_service::ModuleInterfaceView* current_module() const;
  // Stops listening to the scan control and frees the callers' connections.
  void DisconnectScanControl();
  void DisconnectCallers();

  bool stop_requested_;
  bool waiting_;
  QPushButton* cancel_button_;
  QMovie* movie_;
  Ui::DevicesLoadingScreen* form_;
};
