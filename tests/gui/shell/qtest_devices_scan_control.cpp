// The scan controller on a real worker thread, over modules whose scans and checks wait until the
// test lets them finish.
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <memory>

#include "gui/shell/devices_scanner.h"
#include "gui/shell/serial_devices_scan_controller.h"
#include "morva_service/views.h"
#include "tests/gui/support/fake_module.h"

namespace {

// The order in which the worker ran the module operations, over every module of a test.
class CallLog {
 public:
  void Add(const QString& entry) {
    QMutexLocker lock(&mutex_);
    entries_ << entry;
  }
  void Clear() {
    QMutexLocker lock(&mutex_);
    entries_.clear();
  }
  QStringList entries() {
    QMutexLocker lock(&mutex_);
    return entries_;
  }

 private:
  QMutex mutex_;
  QStringList entries_;
};

class GatedModule : public gui_test::FakeModule {
 public:
  GatedModule(const std::string& name, CallLog* log) : FakeModule(name), log_(log) {}

  // Lets one waiting (or the next) scan or check return.
  void Release() { gate_.release(); }
  // true once the worker is inside Scan or CheckForComponents.
  bool WaitUntilEntered() { return entered_.tryAcquire(1, 10000); }

  bool CheckForComponents() override {
    Pass("check");
    return name() != "absent";
  }
  int Scan() override {
    Pass("scan");
    return 0;
  }

 private:
  void Pass(const char* what) {
    log_->Add(QString::fromStdString(name()) + ":" + what);
    entered_.release();
    gate_.tryAcquire(1, 10000);  // the hang guard lets a broken test end
  }

  CallLog* log_;
  QSemaphore gate_;
  QSemaphore entered_;
};

QString Name(const QVariant& module) {
  auto* m = module.value<morva_service::ModuleInterfaceView*>();
  return m ? QString::fromStdString(m->name()) : QStringLiteral("(null)");
}

}  // namespace

class TestDevicesScanControl : public QObject {
  Q_OBJECT

 private:
  CallLog log_;
  std::unique_ptr<QThread> worker_;
  std::unique_ptr<SerialDevicesScanController> controller_;
  std::unique_ptr<GatedModule> a_, b_, c_, d_;

 private slots:
  void init() {
    worker_ = std::make_unique<QThread>();
    controller_ = std::make_unique<SerialDevicesScanController>(worker_.get());
    log_.Clear();
    a_ = std::make_unique<GatedModule>("a", &log_);
    b_ = std::make_unique<GatedModule>("b", &log_);
    c_ = std::make_unique<GatedModule>("c", &log_);
    d_ = std::make_unique<GatedModule>("absent", &log_);
  }

  void cleanup() {
    for (auto* m : {a_.get(), b_.get(), c_.get(), d_.get()}) m->Release();
    worker_->quit();
    worker_->wait();
    controller_.reset();
    worker_.reset();
  }

  void scanAskedDuringCheckOfSameModuleIsServedAfterIt() {
    QSignalSpy scanned(controller_.get(), &DevicesScanController::ScanFinished);
    QSignalSpy checked(controller_.get(), &DevicesScanController::CheckFinished);
    controller_->CheckForComponents(a_.get());
    QVERIFY(a_->WaitUntilEntered());
    controller_->Scan(a_.get());
    QVERIFY(controller_->IsChecking(a_.get()));
    QVERIFY(!controller_->IsScanning(a_.get()));
    a_->Release();
    QVERIFY(checked.wait(10000));
    QCOMPARE(checked.first().at(1).toBool(), true);
    QVERIFY(a_->WaitUntilEntered());
    QVERIFY(controller_->IsScanning(a_.get()));
    QVERIFY(!controller_->IsChecking(a_.get()));
    a_->Release();
    QVERIFY(scanned.wait(10000));
    QCOMPARE(Name(scanned.first().at(0)), QStringLiteral("a"));
    QCOMPARE(log_.entries(), (QStringList{"a:check", "a:scan"}));
    QVERIFY(!controller_->IsBusy());
  }

  void scanAskedWhileCheckOfSameModuleWaitsIsNotDropped() {
    QSignalSpy scanned(controller_.get(), &DevicesScanController::ScanFinished);
    QSignalSpy checked(controller_.get(), &DevicesScanController::CheckFinished);
    controller_->CheckForComponents(b_.get());
    QVERIFY(b_->WaitUntilEntered());
    controller_->CheckForComponents(a_.get());  // waits
    controller_->Scan(a_.get());                // waits beside it
    controller_->Scan(a_.get());                // already waiting: one scan only
    for (auto* m : {b_.get(), a_.get(), a_.get()}) m->Release();
    QTRY_COMPARE_WITH_TIMEOUT(scanned.size(), 1, 10000);
    QCOMPARE(checked.size(), 2);
    QCOMPARE(log_.entries(), (QStringList{"b:check", "a:check", "a:scan"}));
    QVERIFY(!controller_->IsBusy());
  }

  void requestOfRunningKindIsAnsweredByRunningTask() {
    QSignalSpy scanned(controller_.get(), &DevicesScanController::ScanFinished);
    controller_->Scan(a_.get());
    QVERIFY(a_->WaitUntilEntered());
    controller_->Scan(a_.get());
    a_->Release();
    QVERIFY(scanned.wait(10000));
    QTest::qWait(50);
    QCOMPARE(scanned.size(), 1);
    QCOMPARE(log_.entries(), QStringList{"a:scan"});
    QVERIFY(!controller_->IsBusy());
  }

  void waitingRequestsRunOneAfterAnotherInOrder() {
    QSignalSpy checked(controller_.get(), &DevicesScanController::CheckFinished);
    QStringList started_after;
    connect(controller_.get(), &DevicesScanController::CheckStarted, this,
            [&](morva_service::ModuleInterfaceView* m) {
              started_after << QString::fromStdString(m->name()) + "/" +
                                   QString::number(checked.size());
            });
    controller_->CheckForComponents(a_.get());
    QVERIFY(a_->WaitUntilEntered());
    controller_->CheckForComponents(c_.get());
    controller_->CheckForComponents(d_.get());
    controller_->CheckForComponents(b_.get());
    for (auto* m : {a_.get(), c_.get(), d_.get(), b_.get()}) m->Release();
    QTRY_COMPARE_WITH_TIMEOUT(checked.size(), 4, 10000);
    QCOMPARE(started_after, (QStringList{"a/0", "c/1", "absent/2", "b/3"}));
    QCOMPARE(checked.at(2).at(1).toBool(), false);
  }

  void controllerIsBusyAgainWhenFinishedSignalArrives() {
    bool busy_at_first_finish = false;
    bool first = true;
    connect(controller_.get(), &DevicesScanController::ScanFinished, this,
            [&](morva_service::ModuleInterfaceView*) {
              if (first) busy_at_first_finish = controller_->IsBusy();
              first = false;
            });
    QSignalSpy scanned(controller_.get(), &DevicesScanController::ScanFinished);
    controller_->Scan(a_.get());
    QVERIFY(a_->WaitUntilEntered());
    controller_->Scan(b_.get());
    QVERIFY(controller_->IsBusy());
    a_->Release();
    b_->Release();
    QTRY_COMPARE_WITH_TIMEOUT(scanned.size(), 2, 10000);
    QVERIFY(busy_at_first_finish);
    QVERIFY(!controller_->IsBusy());
  }

  void nullModuleIsIgnored() {
    controller_->Scan(nullptr);
    controller_->CheckForComponents(nullptr);
    QVERIFY(!controller_->IsBusy());
    QVERIFY(!controller_->IsScanning(nullptr));
  }

  void requestsByNameFromGuiThreadReachTheWorker() {
    // Screens may invoke the controller's slots by name; the module type must queue.
    QSignalSpy scanned(controller_.get(), &DevicesScanController::ScanFinished);
    QSignalSpy started(controller_.get(), SIGNAL(ScanStarted(morva_service::ModuleInterfaceView*)));
    QVERIFY(started.isValid());
    QVERIFY(QMetaObject::invokeMethod(controller_.get(), "Scan", Qt::QueuedConnection,
                                      Q_ARG(morva_service::ModuleInterfaceView*, a_.get())));
    QTRY_VERIFY_WITH_TIMEOUT(controller_->IsScanning(a_.get()), 10000);
    QVERIFY(a_->WaitUntilEntered());
    QVERIFY(controller_->scanner()->scanning());
    a_->Release();
    QVERIFY(scanned.wait(10000));
    QCOMPARE(started.size(), 1);
    QVERIFY(!controller_->scanner()->scanning());
  }
};

QTEST_MAIN(TestDevicesScanControl)
#include "qtest_devices_scan_control.moc"
