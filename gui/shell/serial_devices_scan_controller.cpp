#include "gui/shell/serial_devices_scan_controller.h"

#include <QMetaObject>
#include <QMutexLocker>
#include <QThread>

#include "gui/shell/devices_scanner.h"

SerialDevicesScanController::SerialDevicesScanController(QThread* worker, QObject* parent)
    : DevicesScanController(parent),
      scanning_(false),
      checking_(false),
      worker_(worker),
      scanner_(new DevicesScanner),
      running_module_(nullptr) {
  scanner_->moveToThread(worker_);
  // OnTaskFinish comes first, so a screen told of the end already finds the next task started.
  connect(scanner_, &DevicesScanner::ScanFinished, this, &SerialDevicesScanController::OnTaskFinish);
  connect(scanner_, &DevicesScanner::ScanStarted, this, &DevicesScanController::ScanStarted);
  connect(scanner_, &DevicesScanner::ScanFinished, this, &DevicesScanController::ScanFinished);
  connect(scanner_, &DevicesScanner::CheckFinished, this,
          [this](morva_service::ModuleInterfaceView* module, bool) { OnTaskFinish(module); });
  connect(scanner_, &DevicesScanner::CheckStarted, this, &DevicesScanController::CheckStarted);
  connect(scanner_, &DevicesScanner::CheckFinished, this, &DevicesScanController::CheckFinished);
  // Never expected (the controller hands out no null module), but a failed task must not leave
  // the controller busy for good.
  connect(scanner_, &DevicesScanner::ScanFailed, this, &SerialDevicesScanController::OnTaskFinish);
  connect(scanner_, &DevicesScanner::CheckFailed, this, &SerialDevicesScanController::OnTaskFinish);
}

SerialDevicesScanController::~SerialDevicesScanController() { delete scanner_; }

void SerialDevicesScanController::Scan(morva_service::ModuleInterfaceView* module) {
  Enqueue(module, kScan);
}

void SerialDevicesScanController::CheckForComponents(morva_service::ModuleInterfaceView* module) {
  Enqueue(module, kCheck);
}

void SerialDevicesScanController::Enqueue(morva_service::ModuleInterfaceView* module, Kind kind) {
  if (!module) return;
  QMutexLocker lock(&mutex_);
  const bool running = scanning_ || checking_;
  // The running task answers a request of its own kind for its own module.
  if (running && running_module_ == module && (kind == kScan ? scanning_ : checking_)) return;
  const Request request(module, kind);
  if (pending_.contains(request)) return;
  if (!running && pending_.isEmpty()) {
    StartLocked(request);
  } else {
    pending_.append(request);
  }
}

void SerialDevicesScanController::StartLocked(const Request& request) {
  running_module_ = request.first;
  if (request.second == kScan) {
    scanning_ = true;
  } else {
    checking_ = true;
  }
  scanner_->set_module(request.first);
  worker_->start(QThread::InheritPriority);
  QMetaObject::invokeMethod(scanner_, request.second == kScan ? "Scan" : "CheckForComponents",
                            Qt::AutoConnection);
}

void SerialDevicesScanController::OnTaskFinish(morva_service::ModuleInterfaceView*) {
  QMutexLocker lock(&mutex_);
  scanning_ = false;
  checking_ = false;
  running_module_ = nullptr;
  scanner_->set_module(nullptr);
  if (!pending_.isEmpty()) StartLocked(pending_.takeFirst());
}

bool SerialDevicesScanController::IsBusy() {
  QMutexLocker lock(&mutex_);
  return scanning_ || checking_ || !pending_.isEmpty();
}

bool SerialDevicesScanController::IsScanning(morva_service::ModuleInterfaceView* module) {
  QMutexLocker lock(&mutex_);
  return module && scanning_ && running_module_ == module;
}

bool SerialDevicesScanController::IsChecking(morva_service::ModuleInterfaceView* module) {
  QMutexLocker lock(&mutex_);
  return module && checking_ && running_module_ == module;
}
