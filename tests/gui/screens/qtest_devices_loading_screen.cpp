// The devices loading screen over a scripted engine: back to the asking flow screen with success
// or, without devices, after an error dialog; a running scan is joined, not repeated; stopping
// and cancelling; every use starts without listeners.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

#include "gui/screens/devices_loading_screen.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "morva_service/views.h"
#include "tests/gui/support/engine_rig.h"
#include "support/dialog_watch.h"
#include "support/stub_screen.h"

namespace {

// "empty" finds nothing; "disk" finds its one device. Scans last long enough to act during them.
const char kCatalogue[] = R"({
  "modules": [
    {"name": "empty", "scan": {"duration": 20, "sequence": [{"devices": [], "result": 0}]},
     "devices": [{"id": "0", "udi": "U0", "display_name": "GONE"}]},
    {"name": "disk", "scan": {"duration": 30},
     "devices": [{"id": "0", "udi": "U1", "display_name": "DISK"}]}
  ]
})";

}  // namespace

class DevicesLoadingScreenTest : public QObject {
  Q_OBJECT

 private:
  // Loaded anew for each case; cleanup() deletes its controller.
  std::unique_ptr<gui_test::EngineRig> engine_;
  KolvLiteController* controller_ = nullptr;
  DevicesLoadingScreen* loading_ = nullptr;
  StubScreen* flow_ = nullptr;
  // Screen that was current whenever a dialog showed, and the dialogs' texts.
  QList<KolvLiteScreen*> current_at_dialog_;
  QStringList dialog_texts_;
  DialogWatch dialogs_{[this](KolvLiteDialog* dialog) {
    current_at_dialog_ << controller_->current_screen();
    dialog_texts_ << DialogLabels(dialog);
    dialog->OnClose();
  }};

  int ScansOf(const QString& module) {
    QFile trace(test_support::ScratchPath("trace.txt"));
    if (!trace.open(QIODevice::ReadOnly)) return 0;
    return QString::fromUtf8(trace.readAll()).count("Scan module=" + module + " tid");
  }

  // The flow screen asks for a scan of the module.
  void Visit(const std::string& module) {
    controller_->execution_context()->current_module = engine_->Module(module);
    controller_->GoToScreen(flow_);
    controller_->GoToScreen(loading_);
  }

 private slots:
  void init() {
    engine_ = std::make_unique<gui_test::EngineRig>();
    controller_ = engine_->controller;
    loading_ = new DevicesLoadingScreen(controller_);
    flow_ = new StubScreen(controller_);
    controller_->AddDefaultScreen(loading_);
    controller_->AddFlowScreen(flow_, false);
    current_at_dialog_.clear();
    dialog_texts_.clear();
  }

  void cleanup() {
    QTRY_VERIFY_WITH_TIMEOUT(!controller_->execution_context()->scan_controller->IsBusy(), 10000);
    QCoreApplication::processEvents();
    controller_->ClearFlowScreens();
    controller_->ClearDefaultScreens();
    delete loading_;
    delete flow_;
    delete controller_;
  }

  void NoDeviceShowsTheErrorThenFails() {
    QStringList events;
    connect(loading_, &DevicesLoadingScreen::ScanFailed, this, [&] {
      events << QString("failed after %1 dialog(s)").arg(current_at_dialog_.size());
    });
    connect(loading_, &DevicesLoadingScreen::ScanSucceeded, this, [&] { events << "succeeded"; });
    Visit("empty");
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(loading_));
    QVERIFY(loading_->cancel_button()->isEnabled());
    QVERIFY(loading_->cancel_button()->isHidden());
    QTRY_COMPARE_WITH_TIMEOUT(events, QStringList{"failed after 1 dialog(s)"}, 10000);
    // The dialog is shown over the asking screen, already back in front.
    QCOMPARE(current_at_dialog_, QList<KolvLiteScreen*>{flow_});
    QVERIFY(dialog_texts_.contains(KolvLiteTranslate("DEVICES_LOADING_FAILED")));
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(flow_));
    QVERIFY(!loading_->cancel_button()->isEnabled());
    // The callers' connections went with that use.
    emit loading_->ScanFailed();
    QCOMPARE(events.size(), 1);
  }

  void DevicesFoundGoBackAndSucceed() {
    int succeeded = 0;
    connect(loading_, &DevicesLoadingScreen::ScanSucceeded, this, [&] {
      QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(flow_));
      ++succeeded;
    });
    Visit("disk");
    QTRY_COMPARE_WITH_TIMEOUT(succeeded, 1, 10000);
    QVERIFY(current_at_dialog_.isEmpty());
    QCOMPARE(engine_->Module("disk")->system_component_count(), size_t(1));
    emit loading_->ScanSucceeded();
    QCOMPARE(succeeded, 1);
    QString message;
    QVERIFY(!loading_->isBusy(message));
  }

  void ScanAlreadyRunningIsJoined() {
    const int before = ScansOf("disk");
    QSignalSpy succeeded(loading_, &DevicesLoadingScreen::ScanSucceeded);
    DevicesScanController* scans = controller_->execution_context()->scan_controller;
    scans->Scan(engine_->Module("disk"));
    QTRY_VERIFY_WITH_TIMEOUT(scans->IsScanning(engine_->Module("disk")), 5000);
    Visit("disk");
    QTRY_COMPARE_WITH_TIMEOUT(succeeded.count(), 1, 10000);
    QTest::qWait(100);
    QCOMPARE(ScansOf("disk") - before, 1);
  }

  void StopWhileWaitingAnswersWhenTheScanEnds() {
    QSignalSpy stopped(loading_, &KolvLiteScreen::Stopped);
    QSignalSpy succeeded(loading_, &DevicesLoadingScreen::ScanSucceeded);
    Visit("disk");
    QString message;
    QVERIFY(loading_->isBusy(message));
    loading_->Stop();
    QCOMPARE(stopped.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(stopped.count(), 1, 10000);
    QCOMPARE(succeeded.count(), 0);
    QVERIFY(!loading_->isBusy(message));
  }

  void StopAnswersAtOnceWhenTheScanIsAnotherScreens() {
    DevicesScanController* scans = controller_->execution_context()->scan_controller;
    controller_->execution_context()->current_module = engine_->Module("disk");
    scans->Scan(engine_->Module("disk"));
    QTRY_VERIFY_WITH_TIMEOUT(scans->IsScanning(engine_->Module("disk")), 5000);
    QSignalSpy stopped(loading_, &KolvLiteScreen::Stopped);
    QString message;
    QVERIFY(!loading_->isBusy(message));
    loading_->Stop();
    QCOMPARE(stopped.count(), 1);
    // The other screen's scan ending later adds nothing.
    QTRY_VERIFY_WITH_TIMEOUT(!scans->IsBusy(), 10000);
    QCOMPARE(stopped.count(), 1);
  }

  void CancelGoesBackAndForgetsTheCaller() {
    int succeeded = 0;
    connect(loading_, &DevicesLoadingScreen::ScanSucceeded, this, [&] { ++succeeded; });
    QSignalSpy canceled(loading_, &DevicesLoadingScreen::ScanCanceled);
    Visit("disk");
    QMetaObject::invokeMethod(loading_, "OnScanCanceled");
    QCOMPARE(canceled.count(), 1);
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(flow_));
    QTRY_VERIFY_WITH_TIMEOUT(!controller_->execution_context()->scan_controller->IsBusy(), 10000);
    QTest::qWait(50);
    QCOMPARE(succeeded, 0);
    QString message;
    QVERIFY(!loading_->isBusy(message));
  }

  void NoModuleChosenFailsWithoutScanning() {
    QSignalSpy failed(loading_, &DevicesLoadingScreen::ScanFailed);
    controller_->GoToScreen(flow_);
    controller_->GoToScreen(loading_);
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 5000);
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(flow_));
  }
};

int main(int argc, char** argv) {
  qputenv("MORVA_TRACE", test_support::ScratchPath("trace.txt").toUtf8());
  const gui_test::CatalogueSwap catalogue("catalogue.json", kCatalogue);
  if (!catalogue.written()) return 1;
  QApplication app(argc, argv);
  KolvLiteTranslator::InitTranslator();
  DevicesLoadingScreenTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_devices_loading_screen.moc"
