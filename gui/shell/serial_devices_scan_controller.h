// The scan controller the program uses: one engine task at a time on the worker.
#pragma once

#include <QList>
#include <QMutex>
#include <QObject>
#include <QPair>

#include "gui/shell/devices_scan_controller.h"

class DevicesScanner;
class QThread;

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
