// Device scans and component checks are slow, synchronous engine calls. The scan controller takes
// requests on the GUI thread and has the scanner serve them one at a time on the worker.
#pragma once

#include <QList>
#include <QMutex>
#include <QObject>
#include <QPair>
#include <atomic>

#include "gui/shell/kolv_lite_meta_types.h"

class QThread;

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

// Serves one request at a time, oldest first. A module may wait with one scan and one check at
// the same time: the two kinds never stand in for each other, so each request gets its own
// finished signal. A request of the kind that is running for that module is answered by the
// running task.
class SerialDevicesScanController : public DevicesScanController {
  Q_OBJECT

 public:
  explicit SerialDevicesScanController(QThread* worker, QObject* parent = nullptr);
  ~SerialDevicesScanController() override;

  void Scan(morva_service::ModuleInterfaceView* module) override;
  bool IsBusy() override;
  bool IsScanning(morva_service::ModuleInterfaceView* module) override;
  bool IsChecking(morva_service::ModuleInterfaceView* module) override;
  void CheckForComponents(morva_service::ModuleInterfaceView* module) override;

  DevicesScanner* scanner() const { return scanner_; }

 protected slots:
  void OnTaskFinish(morva_service::ModuleInterfaceView* module);

 private:
  enum Kind { kScan, kCheck };
  typedef QPair<morva_service::ModuleInterfaceView*, Kind> Request;

  void Enqueue(morva_service::ModuleInterfaceView* module, Kind kind);
  // With the mutex held.
  void StartLocked(const Request& request);

  bool scanning_;
  bool checking_;
  QMutex mutex_;
  QThread* worker_;
  DevicesScanner* scanner_;
  QList<Request> pending_;
  // The module of the running task, null when idle.
  morva_service::ModuleInterfaceView* running_module_;
};
