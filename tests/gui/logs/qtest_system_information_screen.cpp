// The system information screen over a scripted engine and a scripted machine record: the
// machine entry and every module's devices, a module without devices, the pages and their
// export, a machine without a record, and leaving, stopping or deleting the screen while the
// modules are read.
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include "gui/logs/system_information_screen.h"
#include "gui/logs/system_information_screen_form.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/widgets/accordion_widget.h"
#include "gui/widgets/clickable_label.h"
#include "gui/widgets/elided_label.h"
#include "morva_service/morva_service.h"
#include "tests/gui/logs/support/report_test_support.h"
#include "tests/gui/support/engine_rig.h"

using namespace morva_service;

namespace {

// Alpha has two devices, bravo none, charlie one behind a slow scan.
const char kCatalogue[] = R"({
  "product_version": "5.1.0.2210",
  "modules": [
    {"name": "sialpha", "scan": {"duration": 5}, "devices": [
      {"id": "0", "udi": "A0", "display_name": "FIRST_DISK",
       "rows": {"MODEL": "<b>M1</b>", "SERIAL_NUMBER": "S1"}},
      {"id": "1", "udi": "A1", "display_name": "SECOND_DISK", "rows": {"MODEL": "M2"}}]},
    {"name": "sibravo", "scan": {"duration": 2}, "devices": []},
    {"name": "sicharlie", "scan": {"duration": 40}, "devices": [
      {"id": "0", "udi": "C0", "display_name": "ONLY_DEVICE", "rows": {"SIZE": "1 GB"}}]}
  ]
})";

// The engine's catalogue and the machine record, before anything asks for either.
void PrepareMachine() {
  const QString root = test_support::ScratchDir(QStringLiteral("system_information"));
  test_support::WriteFile(root + "/catalogue.json", kCatalogue);
  qputenv("MORVA_CATALOGUE", (root + "/catalogue.json").toUtf8());
  const QString bios = root + "/bios";
  QDir().mkpath(bios);
  test_support::WriteFile(bios + "/product_name", "Model <script>x</script>\n");
  test_support::WriteFile(bios + "/product_serial", "SER-42\n");
  test_support::WriteFile(bios + "/sys_vendor", "Vendor & Co\n");
  test_support::WriteFile(bios + "/bios_version", "1.0.7\n");
  test_support::WriteFile(bios + "/cpuinfo", "vendor_id\t: CpuMaker\nmodel name\t: Fast CPU\n");
  qputenv("ZERKA_BIOS_DIR", bios.toUtf8());
}

}  // namespace

class TestSystemInformationScreen : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    gui_test::RegisterProgramResources();
    gui_test::EngineRig rig;
    controller_ = rig.controller;
    context_ = rig.context;
    service_ = rig.service();
    QVERIFY(service_);
    QCOMPARE(rig.modules.size(), size_t(3));
    for (ModuleInterfaceView* module : rig.modules) context_->available_modules.append(module);
  }

  void cleanupTestCase() {
    WaitForScans();
    context_->available_modules.clear();
    service_->UnloadModules();
    delete controller_;
  }

  void cleanup() { WaitForScans(); }

  void listsTheMachineAndEveryModulesDevices() {
    SystemInformationScreen screen(controller_);
    screen.OnEnter();
    QString message;
    QVERIFY(screen.isBusy(message));
    AccordionWidget* list = screen.list();
    QCOMPARE(list->section_count(), 4);
    QVERIFY(list->section(1)->loading());
    // The machine entry is selected from the start.
    QCOMPARE(screen.widgets()->module_header_->text(), QStringLiteral("SYSTEM_BUTTON"));
    QCOMPARE(screen.widgets()->device_label_->text(), QStringLiteral("GENERAL_BUTTON"));
    const QString machine = screen.widgets()->html_area_->toPlainText();
    QVERIFY(machine.contains(QStringLiteral("Model <script>x</script>")));
    QVERIFY(machine.contains(QStringLiteral("SER-42")));
    QVERIFY(machine.contains(QStringLiteral("Fast CPU")));
    QVERIFY(screen.widgets()->html_area_->toHtml().contains(QStringLiteral("&lt;script&gt;")));

    QTRY_VERIFY_WITH_TIMEOUT(!screen.isBusy(message), 20000);
    QCOMPARE(list->section(0)->title(), QStringLiteral("SYSTEM_BUTTON"));
    QCOMPARE(list->section(1)->title(), QStringLiteral("sialpha"));
    QCOMPARE(Titles(screen, 0), QStringList({"FIRST_DISK", "SECOND_DISK"}));
    QCOMPARE(Titles(screen, 2), QStringList({"ONLY_DEVICE"}));
    QCOMPARE(screen.modules()[1]->HowManyComponents(), size_t(0));
    for (int section = 1; section < 4; ++section) QVERIFY(!list->section(section)->loading());
    // A module without devices has no section to show.
    QVERIFY(list->section(2)->isHidden());
    QVERIFY(!list->section(1)->isHidden());
    QVERIFY(screen.modules()[0]->Component(2) == nullptr);
    QVERIFY(screen.modules()[0]->Component(-1) == nullptr);

    // A device's page.
    ClickableLabel* second = screen.modules()[0]->DevicesRead()->label(1);
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(screen.widgets()->module_header_->text(), QStringLiteral("sialpha"));
    QCOMPARE(screen.widgets()->device_label_->text(), QStringLiteral("SECOND_DISK"));
    QVERIFY(screen.widgets()->html_area_->toPlainText().contains(QStringLiteral("M2")));
    QVERIFY(!screen.widgets()->html_area_->toPlainText().contains(QStringLiteral("SER-42")));

    ClickableLabel* first = screen.modules()[0]->DevicesRead()->label(0);
    QTest::mouseClick(first, Qt::LeftButton);
    QVERIFY(screen.widgets()->html_area_->toPlainText().contains(QStringLiteral("<b>M1</b>")));

    const QString dir = test_support::ScratchDir(QStringLiteral("system_information_export"));
    Export(screen, dir + "/device.html");
    const QString device = report_test::ReadText(dir + "/device.html");
    QVERIFY(device.contains(QStringLiteral("FIRST_DISK")));
    QVERIFY(device.contains(QStringLiteral("S1")));
    QVERIFY(!device.contains(QStringLiteral("<b>M1")));

    // Back to the machine entry; its export carries its title bar.
    ClickableLabel* general = screen.selection()->label(0);
    QTest::mouseClick(general, Qt::LeftButton);
    QCOMPARE(screen.widgets()->device_label_->text(), QStringLiteral("GENERAL_BUTTON"));
    Export(screen, dir + "/machine.html");
    const QString saved = report_test::ReadText(dir + "/machine.html");
    QVERIFY(saved.contains(QStringLiteral("GENERAL_BUTTON")));
    QVERIFY(saved.contains(QStringLiteral("Vendor &amp; Co")));
    QVERIFY(!saved.contains(QStringLiteral("<script>")));

    // A second scan of a module after its list was filled adds nothing.
    context_->scan_controller->Scan(context_->available_modules[0]);
    WaitForScans();
    QCOMPARE(Titles(screen, 0).size(), 2);
    QCOMPARE(list->section(1)->content_count(), 2);
    screen.OnExit();
  }

  void openingASectionShowsWhatItMarks() {
    SystemInformationScreen screen(controller_);
    screen.OnEnter();
    QString message;
    QTRY_VERIFY_WITH_TIMEOUT(!screen.isBusy(message), 20000);
    AccordionWidget* list = screen.list();
    ClickableLabel* first = screen.modules()[0]->DevicesRead()->label(0);
    ClickableLabel* second = screen.modules()[0]->DevicesRead()->label(1);
    ClickableLabel* general = screen.selection()->label(0);

    list->OpenSection(1);
    QVERIFY(first->is_checked());
    QVERIFY(!general->is_checked());
    QCOMPARE(screen.widgets()->module_header_->text(), QStringLiteral("sialpha"));
    QCOMPARE(screen.widgets()->device_label_->text(), QStringLiteral("FIRST_DISK"));
    QVERIFY(screen.widgets()->html_area_->toPlainText().contains(QStringLiteral("<b>M1</b>")));

    // Opened again, the section keeps the device chosen in it.
    QTest::mouseClick(second, Qt::LeftButton);
    list->OpenSection(1);
    QVERIFY(second->is_checked());
    QVERIFY(!first->is_checked());
    QCOMPARE(screen.widgets()->device_label_->text(), QStringLiteral("SECOND_DISK"));

    list->OpenSection(3);
    QVERIFY(!second->is_checked());
    QCOMPARE(screen.widgets()->module_header_->text(), QStringLiteral("sicharlie"));
    QCOMPARE(screen.widgets()->device_label_->text(), QStringLiteral("ONLY_DEVICE"));
    QVERIFY(screen.widgets()->html_area_->toPlainText().contains(QStringLiteral("1 GB")));

    list->OpenSection(0);
    QVERIFY(general->is_checked());
    QCOMPARE(screen.widgets()->device_label_->text(), QStringLiteral("GENERAL_BUTTON"));
    QVERIFY(screen.widgets()->html_area_->toPlainText().contains(QStringLiteral("SER-42")));
    screen.OnExit();
  }

  void machineWithoutRecord() {
    qputenv("ZERKA_NO_BIOS", "1");
    SystemInformationScreen screen(controller_);
    qunsetenv("ZERKA_NO_BIOS");
    screen.OnEnter();
    QCOMPARE(screen.widgets()->device_label_->text(), QStringLiteral("GENERAL_BUTTON"));
    QVERIFY(screen.widgets()->html_area_->toPlainText().trimmed().isEmpty());
    QVERIFY(screen.ExportedHtml().isEmpty());
    const QString dir = test_support::ScratchDir(QStringLiteral("system_information_empty"));
    Export(screen, dir + "/empty.html");
    const QString saved = report_test::ReadText(dir + "/empty.html");
    QVERIFY(saved.contains(QStringLiteral("<body></body>")));
    QString message;
    QTRY_VERIFY_WITH_TIMEOUT(!screen.isBusy(message), 20000);
    screen.OnExit();
  }

  void leavingDuringTheReadKeepsTheList() {
    SystemInformationScreen screen(controller_);
    screen.OnEnter();
    const std::vector<ModuleInformation*> first = screen.modules();
    screen.OnExit();
    QString message;
    QVERIFY(screen.isBusy(message));
    // Back while the read goes on: the same half-built list.
    screen.OnEnter();
    QVERIFY(screen.modules() == first);
    QTRY_VERIFY_WITH_TIMEOUT(!screen.isBusy(message), 20000);
    QCOMPARE(Titles(screen, 0).size(), 2);
    // Once the reads are over, leaving forgets the list and the next entry builds it anew.
    screen.OnExit();
    QVERIFY(screen.modules().empty());
    screen.OnEnter();
    QCOMPARE(screen.modules().size(), size_t(3));
    QTRY_VERIFY_WITH_TIMEOUT(!screen.isBusy(message), 20000);
    screen.OnExit();
  }

  void stopWaitsForTheLastModule() {
    SystemInformationScreen screen(controller_);
    screen.OnEnter();
    int stopped = 0;
    bool busy_when_stopped = true;
    // A listener that asks the screen again at once must find it unlocked.
    connect(&screen, &KolvLiteScreen::Stopped, &screen, [&](KolvLiteScreen* which) {
      QString message;
      busy_when_stopped = which->isBusy(message);
      ++stopped;
    });
    screen.Stop();
    QCOMPARE(stopped, 0);
    QString message;
    QTRY_VERIFY_WITH_TIMEOUT(!screen.isBusy(message), 20000);
    QCOMPARE(stopped, 1);
    QVERIFY(!busy_when_stopped);
    // Idle: at once.
    screen.Stop();
    QCOMPARE(stopped, 2);
    screen.OnExit();
  }

  void deletingDuringTheRead() {
    for (int delay : {0, 10, 100}) {
      auto* screen = new SystemInformationScreen(controller_);
      screen->OnEnter();
      QString message;
      if (delay == 0) QVERIFY(screen->isBusy(message));
      QList<QPointer<ModuleInformation>> readers;
      for (ModuleInformation* reader : screen->modules()) readers << reader;
      QCOMPARE(readers.size(), 3);
      QTest::qWait(delay);
      screen->OnExit();
      delete screen;
      // The module readers go with the screen, whether their scan has ended or not.
      for (const QPointer<ModuleInformation>& reader : readers) QVERIFY(reader.isNull());
    }
    // The scans still running end with nobody listening, and the next screen reads them all.
    WaitForScans();
    SystemInformationScreen screen(controller_);
    screen.OnEnter();
    QString message;
    QTRY_VERIFY_WITH_TIMEOUT(!screen.isBusy(message), 20000);
    QCOMPARE(Titles(screen, 0).size(), 2);
    QCOMPARE(Titles(screen, 1).size(), 0);
    QCOMPARE(Titles(screen, 2).size(), 1);
    screen.OnExit();
  }

  void noModulesOnlyTheMachine() {
    const QVector<ModuleInterfaceView*> kept = context_->available_modules;
    context_->available_modules.clear();
    SystemInformationScreen screen(controller_);
    screen.OnEnter();
    QString message;
    QVERIFY(!screen.isBusy(message));
    QCOMPARE(screen.list()->section_count(), 1);
    QVERIFY(!screen.widgets()->html_area_->toPlainText().isEmpty());
    screen.OnExit();
    context_->available_modules = kept;
  }

 private:
  void WaitForScans() {
    QTRY_VERIFY_WITH_TIMEOUT(!context_->scan_controller->IsBusy(), 20000);
    QTest::qWait(20);
  }

  static QStringList Titles(SystemInformationScreen& screen, size_t module) {
    QStringList titles;
    ClickableLabelGroup* labels = screen.modules()[module]->DevicesRead();
    for (int i = 0; i < labels->count(); ++i) titles << labels->label(i)->text();
    return titles;
  }

  static void Export(SystemInformationScreen& screen, const QString& path) {
    report_test::DialogHand hand(path);
    screen.ExportComponentInformation();
    QVERIFY(hand.file_dialog_seen);
    QCOMPARE(hand.title, QStringLiteral("EXPORT_NOTICE_CAPTION"));
    QCOMPARE(hand.message, QStringLiteral("EXPORT_SUCCESS_INFO"));
  }

  KolvLiteController* controller_ = nullptr;
  KolvLiteContext* context_ = nullptr;
  MorvaService* service_ = nullptr;
};

int main(int argc, char** argv) {
  report_test::FixTimeAndLocale();
  PrepareMachine();
  QApplication application(argc, argv);
  TestSystemInformationScreen test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_system_information_screen.moc"
