// Device scans and component checks are slow, synchronous engine calls. The scan controller takes
// requests on the GUI thread and has them served on the worker.
#pragma once

#include <QObject>

#include "gui/shell/kolv_lite_meta_types.h"

class DevicesScanController : public QObject {
  Q_OBJECT

 public:
  explicit DevicesScanController(QObject* parent = nullptr) : QObject(parent) {}
  ~DevicesScanController() override = default;

 public slots:
  virtual void Scan(morva_service::ModuleInterfaceView* module) = 0;
  // A scan or a check runs or requests wait.
  virtual bool IsBusy() = 0;
  // A scan of that module has been started and has not finished.
  virtual bool IsScanning(morva_service::ModuleInterfaceView* module) = 0;
  virtual bool IsChecking(morva_service::ModuleInterfaceView* module) = 0;
  virtual void CheckForComponents(morva_service::ModuleInterfaceView* module) = 0;

 signals:
  void ScanStarted(morva_service::ModuleInterfaceView* module);
  void ScanFinished(morva_service::ModuleInterfaceView* module);
  void CheckStarted(morva_service::ModuleInterfaceView* module);
  // present: the module's components are there, so the module is usable.
  void CheckFinished(morva_service::ModuleInterfaceView* module, bool present);
};
