// The engine's device scan and component check, run on the worker one at a time.
#pragma once

#include <QObject>
#include <atomic>

#include "gui/shell/kolv_lite_meta_types.h"

// Lives on the worker. The controller hands it a module before invoking a task by name.
class DevicesScanner : public QObject {
  Q_OBJECT

 public:
  DevicesScanner();

  morva_service::ModuleInterfaceView* module() const;
  void set_module(morva_service::ModuleInterfaceView* module);
  // Written on the worker, read from the GUI thread.
  bool scanning() const;
  bool checking() const;

 signals:
  void ScanStarted(morva_service::ModuleInterfaceView* module);
  void ScanFinished(morva_service::ModuleInterfaceView* module);
  void ScanFailed(morva_service::ModuleInterfaceView* module);
  void CheckStarted(morva_service::ModuleInterfaceView* module);
  void CheckFinished(morva_service::ModuleInterfaceView* module, bool present);
  void CheckFailed(morva_service::ModuleInterfaceView* module);

 public slots:
  void Scan();
  void CheckForComponents();

 private:
  std::atomic<morva_service::ModuleInterfaceView*> module_{nullptr};
  std::atomic<bool> scanning_{false};
  std::atomic<bool> checking_{false};
};
