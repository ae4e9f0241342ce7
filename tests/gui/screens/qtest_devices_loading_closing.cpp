// Closing the real program while the devices loading screen waits for a scan: the close waits
// for that scan and then ends; a scan that another screen asked for holds nothing up.
#include <QPushButton>
#include <QResource>
#include <QTranslator>
#include <QtTest>

#include "gui/screens/devices_loading_screen.h"
#include "gui/screens/module_button.h"
#include "gui/screens/modules_screen.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/kolv_lite_window.h"
#include "morva_service/views.h"
#include "support/dialog_watch.h"
#include "support/program_texts.h"
#include "support/stub_screen.h"

class DevicesLoadingClosingTest : public QObject {
  Q_OBJECT

 private:
  QTranslator translator_;
  int confirmations_ = 0;
  DialogWatch answers_{[this](KolvLiteDialog* dialog) {
    ++confirmations_;
    ClickFirstAnswer(dialog);
  }};

 private slots:
  void initTestCase() {
    LoadProgramTexts(&translator_);
  }

  void CloseWhileScanningWaitsForTheScan() {
    auto* app = static_cast<KolvLite*>(qApp);
    app->Start();
    KolvLiteWindow* window = app->main_window();
    QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), 15000);
    KolvLiteController* controller = app->controller();
    auto* home = qobject_cast<ModulesScreen*>(controller->current_screen());
    QVERIFY(home != nullptr);
    QString message;
    QTRY_VERIFY_WITH_TIMEOUT(!home->isBusy(message), 15000);

    KolvLiteContext* context = controller->execution_context();
    DevicesLoadingScreen* loading = context->devices_loading_screen;
    QVERIFY(loading != nullptr);
    morva_service::ModuleInterfaceView* storage = home->buttons().first()->module();
    QCOMPARE(storage->name(), std::string("storage"));

    // Another screen's scan of the chosen module: the idle loading screen holds nothing up.
    context->current_module = storage;
    context->scan_controller->Scan(storage);
    QTRY_VERIFY(context->scan_controller->IsScanning(storage));
    QVERIFY(!loading->isBusy(message));
    QVERIFY(!controller->IsAnyScreenBusy());
    QTRY_VERIFY_WITH_TIMEOUT(!context->scan_controller->IsBusy(), 15000);

    StubScreen flow(controller);
    controller->AddFlowScreen(&flow, false);
    controller->GoToScreen(&flow);
    controller->GoToScreen(loading);
    QCOMPARE(controller->current_screen(), static_cast<KolvLiteScreen*>(loading));
    QVERIFY(loading->isBusy(message));

    window->close();
    QCOMPARE(confirmations_, 1);
    QVERIFY(window->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 20000);
    QVERIFY(!loading->isBusy(message));
    controller->RemoveFlowScreen(&flow);
  }
};

int main(int argc, char** argv) {
  // Real durations: the storage scan takes long enough to close during it.
  qputenv("MORVA_TIME_SCALE", "1");
  KolvLite app(argc, argv);
  KolvLiteTranslator::InitTranslator();
  DevicesLoadingClosingTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_devices_loading_closing.moc"
