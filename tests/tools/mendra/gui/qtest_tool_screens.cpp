// The tool's screens over the stand-in engine and its demo catalogue: the operation screen and
// its flows, a scan through the tool's execution screen, and the report of that run.
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <mutex>

#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/widgets/breadcrumb_widget.h"
#include "gui/widgets/groupable_check_box.h"
#include "gui/widgets/progress_widget.h"
#include "morva_service/morva_service.h"
#include "tests/gui/support/engine_rig.h"
#include "tests/gui/support/modal_answers.h"
#include "tests/support/fault_injection.h"
#include "tests/tools/mendra/common/support/tool_run_throws.h"
#include "tools/mendra/common/mdr_utils.h"
#include "tools/mendra/gui/mdr_device_selection_screen.h"
#include "tools/mendra/gui/mdr_diagnostic_widget.h"
#include "tools/mendra/gui/mdr_execution_log_screen.h"
#include "tools/mendra/gui/mdr_execution_screen.h"
#include "tools/mendra/gui/mdr_execution_thread.h"
#include "tools/mendra/gui/mdr_operations_screen.h"
#include "tools/mendra/gui/mdr_plugin.h"
#include "tools/mendra/gui/mdr_test_widget.h"
#include "tools/mendra/gui/mdr_warning_screen.h"
#include "tools/mendra/gui/tool_log_builder.h"

namespace {

constexpr int kHangGuardMs = 30000;

// Disk 0 holds the system; a repair of disk 1 asks halfway whether to remap what it found.
const char kAskingCatalogue[] = R"json({"modules": [{"name": "storage", "devices": [
  {"id": "0", "udi": "U0", "display_name": "SYSTEM_DISK", "attributes": {"NonRotatingMedia": "F"},
   "resources": [{"name": "PARTITION", "properties": {"MOUNT_POINT": "C:\\", "FILESYSTEM": "NTFS"}}]},
  {"id": "1", "udi": "U1", "display_name": "ASKING_DISK", "attributes": {"NonRotatingMedia": "F"},
   "resources": [{"name": "PARTITION", "properties": {"MOUNT_POINT": "E:\\", "FILESYSTEM": "NTFS"}}]},
  {"id": "2", "udi": "U2", "display_name": "CLEAN_DISK", "attributes": {"NonRotatingMedia": "F"},
   "resources": [{"name": "PARTITION", "properties": {"MOUNT_POINT": "F:\\", "FILESYSTEM": "NTFS"}}]}],
  "tools": [{"name": "Mendra", "hint": "recover", "devices": {
    "0": {"filter": {"logical": true, "physical": true}, "repair": {"code": 0}},
    "1": {"filter": {"logical": true, "physical": true},
          "repair": {"code": 0, "sectors": [100, 2, 2, 0], "duration": 2,
                     "interaction": {"title": "REMAP_TITLE", "message": "REMAP_QUESTION", "at": 50,
                                     "answers": {"1": {"code": 9},
                                                 "2": {"code": 10, "finish_now": true},
                                                 "0": {"code": 6, "finish_now": true}}}}},
    "2": {"filter": {"logical": true, "physical": true}, "repair": {"code": 0, "duration": 2}}}}]}]})json";

// Names and mount points with an "&" in them, on two disks whose names differ only at the end.
const char kAmpersandCatalogue[] = R"json({"modules": [{"name": "storage", "devices": [
  {"id": "0", "udi": "U0", "display_name": "Disk & Co", "attributes": {"NonRotatingMedia": "F"},
   "resources": [{"name": "PARTITION", "properties": {"MOUNT_POINT": "D:\\R&D\\", "FILESYSTEM": "NTFS"}}]},
  {"id": "1", "udi": "U1", "display_name": "Disk & Cx", "attributes": {"NonRotatingMedia": "F"},
   "resources": [{"name": "PARTITION", "properties": {"MOUNT_POINT": "E:\\Q&A\\", "FILESYSTEM": "NTFS"}}]}],
  "tools": [{"name": "Mendra", "hint": "recover", "devices": {
    "0": {"filter": {"logical": true, "physical": true}},
    "1": {"filter": {"logical": true, "physical": true}}}}]}]})json";

// What a button shows: its text with the mnemonic marks resolved.
QString Shown(QAbstractButton* button) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
  return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// Closes every dialog that opens and counts them.
class DialogCloser {
 public:
  int closed = 0;

 private:
  gui_test::ModalAnswers answers_{[this](QDialog* dialog) {
    ++closed;
    dialog->reject();
  }};
};

// A key where the keyboard focus is, as the window system delivers one.
void TypeKey(Qt::Key key) { QTest::keyClick(static_cast<QWidget*>(nullptr), key); }

// An Enter typed ahead: queued the moment a dialog opens and takes the focus, it reaches the
// dialog right after.
QMetaObject::Connection EnterAsDialogsOpen() {
  return QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow* window) {
    if (window != nullptr && window->objectName() == QLatin1String("KolvLiteDialogWindow"))
      QMetaObject::invokeMethod(qApp, [] { TypeKey(Qt::Key_Return); }, Qt::QueuedConnection);
  });
}

// Holds the tool's run thread before it looks at the abort, through the thread's own seam.
class StartHold {
 public:
  static void Arm() {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = released_ = false;
    MdrExecutionThread::hold_before_start = &StartHold::Hold;
  }
  static void WaitUntilHeld() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [] { return held_; });
  }
  static void Release() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      released_ = true;
    }
    changed_.notify_all();
  }

 private:
  static void Hold() {
    MdrExecutionThread::hold_before_start = nullptr;
    std::unique_lock<std::mutex> lock(mutex_);
    held_ = true;
    changed_.notify_all();
    changed_.wait(lock, [] { return released_; });
  }
  static inline std::mutex mutex_;
  static inline std::condition_variable changed_;
  static inline bool held_ = false;
  static inline bool released_ = false;
};

}  // namespace

class TestToolScreens : public QObject {
  Q_OBJECT

  struct Rig {
    Rig() {
      gui_test::EngineRig engine;
      controller = engine.controller;
      context = engine.context;
      module = engine.Module("storage");
      engine.Choose(module);
      if (module != nullptr && !module->tools().empty()) tool = module->tools().front();
      context->selected_tool = tool;
      screen = static_cast<MdrOperationsScreen*>(get_screen(controller));
      controller->AddFlowScreen(screen, true);
    }
    ~Rig() {
      screen->Unload();
      controller->RemoveFlowScreen(screen);
      ReleaseToolScreen(screen);
      delete controller;
    }
    KolvLiteController* controller;
    KolvLiteContext* context = nullptr;
    morva_service::ModuleInterfaceView* module = nullptr;
    morva_service::ToolView* tool = nullptr;
    MdrOperationsScreen* screen = nullptr;
    PartitionSelection everything;

    // The tool's execution screen in the flow, with every device chosen for a repair.
    MdrExecutionScreen* ExecutionOfEveryDevice() {
      MdrPlugin::UpdateModel(1, module, tool);
      MdrUtils* model = MdrPlugin::current_model();
      model->FilterDevices(false, true, true);
      model->SelectEveryDevice(&everything, false, true, false);
      MdrExecutionScreen* execution = screen->execution_screen();
      controller->AddFlowScreen(execution, true);
      return execution;
    }
  };

 private slots:
  // Giving back no screen is no screen given back: the open one keeps the tool's state.
  void releaseIgnoresNull() {
    Rig rig;
    QVERIFY(rig.tool != nullptr);
    MdrPlugin::UpdateModel(1, rig.module, rig.tool);
    MdrUtils* model = MdrPlugin::current_model();
    QVERIFY(model != nullptr);
    ReleaseToolScreen(nullptr);
    QCOMPARE(MdrPlugin::current_model(), model);
    QCOMPARE(MdrPlugin::operation(), 1);
    QCOMPARE(MdrPlugin::module(), rig.module);
  }

  void operationScreenInstallsFlows() {
    Rig rig;
    QVERIFY(rig.tool != nullptr);
    MdrOperationsScreen* screen = rig.screen;
    QCOMPARE(screen->flow_count(), 3);
    const QList<KolvLiteScreen*> scan = screen->flow(0).second;
    const QList<KolvLiteScreen*> repair = screen->flow(1).second;
    QCOMPARE(scan, (QList<KolvLiteScreen*>{screen->device_screen(), screen->execution_screen(),
                                           screen->log_screen()}));
    QCOMPARE(repair.size(), 4);
    QCOMPARE(repair.front(), static_cast<KolvLiteScreen*>(screen->warning_screen()));
    QVERIFY(screen->radio(2)->isHidden());

    screen->InstallDefaultFlow();
    QCOMPARE(screen->current_flow(), 0);
    QVERIFY(rig.controller->flow_screens().contains(screen->device_screen()));
    QVERIFY(!rig.controller->flow_screens().contains(screen->warning_screen()));

    screen->UpdateRadioButtons(1);
    QCOMPARE(screen->current_flow(), 1);
    QVERIFY(screen->radio(1)->isChecked());
    QVERIFY(rig.controller->flow_screens().contains(screen->warning_screen()));
    QVERIFY(!screen->device_screen()->partition_mode());
    screen->UpdateRadioButtons(2);
    QVERIFY(screen->device_screen()->partition_mode());
    screen->UpdateRadioButtons(0);
    QCOMPARE(screen->current_flow(), 0);
    QVERIFY(!rig.controller->flow_screens().contains(screen->warning_screen()));

    // The repairing flow leaves the operating system's device out; the scan offers it.
    auto offered = [&](int flow) {
      rig.controller->GoToScreen(screen);
      screen->UpdateRadioButtons(flow);
      screen->GoToNextScreen();
      screen->device_screen()->Unload();
      rig.controller->GoToScreen(screen->device_screen());
      QStringList ids;
      for (const DevicesScreen::DeviceEntry& entry : screen->device_screen()->device_entries())
        ids << QString::fromStdString(entry.second->id());
      return ids;
    };
    const QStringList repairable = offered(1);
    QCOMPARE(MdrPlugin::operation(), 1);
    const QStringList scannable = offered(0);
    QCOMPARE(MdrPlugin::operation(), 0);
    QVERIFY(!repairable.isEmpty());
    QVERIFY(!repairable.contains(QStringLiteral("0")));
    QVERIFY(scannable.contains(QStringLiteral("0")));
    for (const QString& id : repairable) QVERIFY(scannable.contains(id));
  }

  // Scan of every device the tool accepts: one panel with one row per device, each row gets
  // its device's code, the run ends, bad sectors bring the advice, and the report renders.
  void scanRunShowsRowsAndEnds() {
    Rig rig;
    QVERIFY(rig.tool != nullptr);
    MdrPlugin::UpdateModel(0, rig.module, rig.tool);
    MdrUtils* model = MdrPlugin::current_model();
    model->FilterDevices(false, true, false);
    PartitionSelection everything;
    model->SelectEveryDevice(&everything, false, false, false);
    QVERIFY(model->selected_devices() != nullptr);
    const int devices = static_cast<int>(model->selected_devices()->size());
    QVERIFY(devices >= 2);

    MdrExecutionScreen* execution = rig.screen->execution_screen();
    rig.controller->AddFlowScreen(execution, true);
    DialogCloser closer;
    QSignalSpy stopped(execution, &KolvLiteScreen::Stopped);
    // Idle: stopping answers at once and Escape aborts nothing.
    execution->Stop();
    QCOMPARE(stopped.count(), 1);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    execution->OnKeyPress(&escape);

    rig.controller->GoToScreen(execution);
    QVERIFY(execution->run_active());
    QCOMPARE(static_cast<int>(execution->device_widgets().size()), devices);
    QVERIFY(QTest::qWaitFor([execution] { return !execution->run_active(); }, kHangGuardMs));
    QVERIFY(QTest::qWaitFor([execution] { return execution->thread()->isFinished(); }, kHangGuardMs));

    bool any_failed = false;
    for (size_t index = 0; index < execution->device_widgets().size(); ++index) {
      MdrDiagnosticWidget* panel = execution->device_widgets()[index];
      QCOMPARE(panel->row_count(), 1);
      MdrTestWidget* row = panel->row(0);
      QVERIFY(row != nullptr);
      const std::string id = (*model->selected_devices())[index]->id();
      QVERIFY2(row->result_code() == 0 || row->result_code() == 12, id.c_str());
      any_failed = any_failed || row->result_code() == 12;
    }
    // The demo catalogue has a disk with bad sectors among those a scan covers.
    QVERIFY(any_failed);
    QVERIFY(execution->errors_found());
    QCOMPARE(closer.closed, 1);
    QVERIFY(execution->next_button_widget()->isVisibleTo(execution->next_button_widget()->parentWidget()));

    ToolExecutionLog_* log = MdrPlugin::tool_log()->log();
    QCOMPARE(static_cast<int>(log->entries.size()), devices);
    QCOMPARE(log->status, 1 /* FAILED */);

    MdrExecutionLogScreen* report = rig.screen->log_screen();
    report->ReadExecutionLog();
    QVERIFY(report->html().contains(QStringLiteral("ERRORS_FOUND")));
    // Reading again shows the last run once, not the report twice.
    const int once = report->html().size();
    report->ReadExecutionLog();
    QCOMPARE(report->html().size(), once);
    rig.controller->RemoveFlowScreen(execution);
  }

  // The device screen offers what the tool accepts: a repair leaves the operating system's
  // disk out, partition mode adds the partitions, and the choice reaches the model.
  void deviceScreenOffersAcceptedDevices() {
    Rig rig;
    MdrDeviceSelectionScreen* devices = rig.screen->device_screen();
    // Its action buttons are sized as those of the tool's other screens.
    for (QPushButton* button : {devices->next_button(), devices->back_button()})
      QCOMPARE(button->styleSheet(), rig.screen->next_button()->styleSheet());
    MdrPlugin::UpdateModel(0, rig.module, rig.tool);
    rig.controller->AddFlowScreen(devices, true);
    rig.controller->GoToScreen(devices);
    const int scan_rows = devices->device_entries().size();
    QVERIFY(scan_rows >= 2);
    QVERIFY(devices->partition_boxes().isEmpty());
    devices->next_button()->click();
    QCOMPARE(static_cast<int>(MdrPlugin::current_model()->selected_devices()->size()), scan_rows);
    QVERIFY(!devices->system_disk_note()->isVisibleTo(devices));

    MdrPlugin::UpdateModel(1, rig.module, rig.tool);
    devices->Unload();
    rig.controller->GoToScreen(rig.screen);
    rig.controller->GoToScreen(devices);
    const int repair_rows = devices->device_entries().size();
    QVERIFY(repair_rows > 0);
    QVERIFY(repair_rows < scan_rows);
    QVERIFY(devices->system_disk_note()->isVisibleTo(devices));

    // Windows on a lower-case drive, or on a drive that cannot be told: the system disk is never
    // offered, and without a known drive no disk is, with the reason shown.
    for (const char* windows :
         {"c:\\windows", "", "\\Windows", "Windows", "/c/Windows", " C:\\Windows"}) {
      qputenv("KOLV_WINDOWS_DIR", windows);
      devices->Unload();
      rig.controller->GoToScreen(rig.screen);
      rig.controller->GoToScreen(devices);
      for (const DevicesScreen::DeviceEntry& entry : devices->device_entries())
        QVERIFY(entry.second->id() != "0");
      if (*windows == 'c') {
        QCOMPARE(devices->device_entries().size(), repair_rows);
      } else {
        QVERIFY(devices->device_entries().isEmpty());
        QCOMPARE(devices->pages()->currentIndex(), 1);
        QCOMPARE(devices->message_text(), KolvLiteTranslate("SYSTEM_DRIVE_NOT_KNOWN"));
      }
    }
    qunsetenv("KOLV_WINDOWS_DIR");

    MdrPlugin::UpdateModel(2, rig.module, rig.tool);
    devices->SetPartitionMode(true);
    devices->Unload();
    rig.controller->GoToScreen(rig.screen);
    rig.controller->GoToScreen(devices);
    QVERIFY(!devices->partition_boxes().isEmpty());
    // Untick every partition but keep one device ticked: its list is there and empty.
    // The device box follows its partitions, so the kept device's go without telling it.
    devices->select_all()->setChecked(true);
    morva_service::SystemComponentView* kept = devices->partition_boxes().front().second;
    for (const auto& pair : devices->partition_boxes()) {
      const QSignalBlocker quiet(pair.second == kept ? pair.first : nullptr);
      pair.first->setChecked(false);
    }
    for (const DevicesScreen::DeviceEntry& entry : devices->device_entries())
      QCOMPARE(entry.first->isChecked(), entry.second == kept);
    rig.tool->SetParameter("partition_table" + kept->id(), {"left from before"});
    devices->next_button()->click();
    const PartitionSelection& chosen = devices->selection();
    QCOMPARE(static_cast<int>(chosen.size()), 1);
    QCOMPARE(chosen.begin()->first, kept->id());
    QVERIFY(chosen.begin()->second.empty());
    QCOMPARE(MdrPlugin::current_model()->selected_devices()->size(), size_t(1));
    QVERIFY(rig.tool->GetParameter("partition_table" + kept->id()).empty());
    devices->SetPartitionMode(false);
    rig.controller->RemoveFlowScreen(devices);
  }

  // Back from the device screen of the repairing flow passes over the warning screen.
  void backSkipsWarning() {
    Rig rig;
    rig.screen->InstallDefaultFlow();
    rig.screen->UpdateRadioButtons(1);
    rig.controller->GoToScreen(rig.screen);
    rig.screen->GoToNextScreen();
    QCOMPARE(rig.controller->current_screen(), static_cast<KolvLiteScreen*>(rig.screen->warning_screen()));
    // The title and the texts stand right beside the icon, not across an empty band.
    MdrWarningScreen* warning = rig.screen->warning_screen();
    rig.controller->resize(1000, 700);
    rig.controller->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.controller));
    const QRect icon = warning->icon_label()->geometry();
    const int beside = icon.left() + warning->icon_label()->sizeHint().width() + 40;
    QVERIFY(warning->title_label()->x() <= beside);
    QVERIFY(warning->warning_label()->x() <= beside);
    QVERIFY(qAbs(warning->title_label()->y() - icon.top()) <= 10);
    // Cancelling the confirmation leaves the user on the warning screen.
    DialogCloser closer;
    rig.screen->warning_screen()->next_button()->click();
    QCOMPARE(closer.closed, 1);
    QCOMPARE(rig.controller->current_screen(), static_cast<KolvLiteScreen*>(rig.screen->warning_screen()));
    rig.controller->GoToNextScreen();
    QCOMPARE(rig.controller->current_screen(), static_cast<KolvLiteScreen*>(rig.screen->device_screen()));
    // The finished step shows the chosen operation; every step has its own name.
    BreadcrumbWidget* steps = rig.controller->breadcrumb();
    QCOMPARE(steps->current(), 1);
    QCOMPARE(steps->step(0)->subtext(), rig.screen->flow(1).first);
    QVERIFY(!steps->step(0)->subtext_hidden());
    QStringList names;
    for (int i = 0; i < steps->step_count(); ++i) names << steps->step(i)->text();
    QCOMPARE(names.removeDuplicates(), 0);
    rig.screen->device_screen()->back_button()->click();
    QCOMPARE(rig.controller->current_screen(), static_cast<KolvLiteScreen*>(rig.screen));
  }

  // An Enter typed ahead of the repair's confirmation confirms nothing; one pressed once the
  // confirmation can have been read does.
  void confirmationRefusesAKeyTypedAhead() {
    Rig rig;
    rig.screen->InstallDefaultFlow();
    rig.screen->UpdateRadioButtons(1);
    rig.controller->GoToScreen(rig.screen);
    rig.screen->GoToNextScreen();
    rig.controller->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.controller));
    bool refused = false;
    QObject scope;
    const QMetaObject::Connection typing = EnterAsDialogsOpen();
    QTimer::singleShot(KolvLiteDialog::kKeyGuardMilliseconds + 200, &scope, [&refused] {
      refused = qobject_cast<KolvLiteDialog*>(QApplication::activeModalWidget()) != nullptr;
      if (refused) TypeKey(Qt::Key_Return);
    });
    QTimer::singleShot(kHangGuardMs, &scope, [] { QApplication::activeModalWidget()->close(); });
    rig.screen->warning_screen()->next_button()->click();
    QObject::disconnect(typing);
    QVERIFY(refused);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  // Stopping during a run, or Escape, aborts the tool; Stopped comes once the run has ended.
  void stopDuringRunAborts_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("stop") << false;
    QTest::newRow("escape") << true;
  }
  void stopDuringRunAborts() {
    QFETCH(bool, escape);
    Rig rig;
    MdrExecutionScreen* execution = rig.ExecutionOfEveryDevice();
    DialogCloser closer;
    QSignalSpy stopped(execution, &KolvLiteScreen::Stopped);
    rig.controller->GoToScreen(execution);
    QVERIFY(QTest::qWaitFor([execution] { return execution->thread()->InTool(); }, kHangGuardMs));
    if (escape) {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      rig.controller->HandleKeyPress(&key);
      QVERIFY(QTest::qWaitFor([execution] { return !execution->run_active(); }, kHangGuardMs));
    } else {
      execution->Stop();
      QVERIFY(QTest::qWaitFor([&stopped] { return stopped.count() == 1; }, kHangGuardMs));
    }
    QVERIFY(!execution->run_active());
    bool aborted = false;
    for (MdrDiagnosticWidget* panel : execution->device_widgets()) {
      QVERIFY(panel->row(0) != nullptr);
      // Rows the abort kept from running show aborted too, none stays waiting.
      QVERIFY(panel->row(0)->result_code() != -1);
      if (panel->row(0)->result_code() == 8) aborted = true;
    }
    QVERIFY(aborted);
    // A stopped run shows how far it got and that it was aborted, never finished.
    ProgressWidget* progress = execution->iteration(0)->progress;
    QVERIFY(progress->progress_bar()->value() < 100);
    QCOMPARE(progress->status_label()->text(),
             QCoreApplication::translate("Translations", "ABORTED"));
    QCOMPARE(closer.closed, 0);
    rig.controller->RemoveFlowScreen(execution);
  }

  // Deleted while its thread waits on a call that nothing serves any more (as when the window
  // closes after its wait), the screen still ends the run and goes.
  void deletedDuringARunGoes() {
    Rig rig;
    MdrExecutionScreen* execution = rig.ExecutionOfEveryDevice();
    rig.controller->GoToScreen(execution);
    QVERIFY(QTest::qWaitFor([execution] { return execution->thread()->InTool(); }, kHangGuardMs));
    QThread::msleep(200);  // no event is served: the thread's next call waits
    rig.controller->RemoveFlowScreen(execution);
  }

  // A run whose thread cannot start, or whose engine throws, ends unable to execute and leaves
  // the window free.
  void runThatCannotGoOnEnds_data() {
    QTest::addColumn<bool>("engine_throws");
    QTest::newRow("thread cannot start") << false;
    QTest::newRow("engine throws") << true;
  }
  void runThatCannotGoOnEnds() {
    QFETCH(bool, engine_throws);
    Rig rig;
    MdrExecutionScreen* execution = rig.ExecutionOfEveryDevice();
    if (engine_throws) {
      mdrtest::g_tool_run_throws = true;
      rig.controller->GoToScreen(execution);
      QVERIFY(QTest::qWaitFor([execution] { return !execution->run_active(); }, kHangGuardMs));
      QVERIFY(execution->thread()->wait(kHangGuardMs));
      mdrtest::g_tool_run_throws = false;
    } else {
      const test_support::FaultScope faults("thread:1");
      rig.controller->GoToScreen(execution);
      QCOMPARE(test_support::FaultsFired(), 1);
    }
    QVERIFY(!execution->run_active());
    QVERIFY(!rig.controller->IsAnyScreenBusy());
    QSignalSpy stopped(execution, &KolvLiteScreen::Stopped);
    execution->Stop();
    QCOMPARE(stopped.count(), 1);
    QVERIFY(!execution->device_widgets().empty());
    for (MdrDiagnosticWidget* panel : execution->device_widgets())
      QCOMPARE(panel->row(0)->result_code(), 6);
    QVERIFY(!execution->next_button_widget()->isHidden());
    QCOMPARE(static_cast<int>(MdrPlugin::tool_log()->log()->entries.size()), 0);
    rig.controller->RemoveFlowScreen(execution);
  }

  // An abort asked while the run's thread has not reached the engine yet (held there through its
  // seam, as a preempted thread would be) is kept: nothing is repaired, every row shows aborted.
  void abortAsTheRunStartsIsKept_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("stop") << false;
    QTest::newRow("escape") << true;
  }
  void abortAsTheRunStartsIsKept() {
    QFETCH(bool, escape);
    Rig rig;
    MdrExecutionScreen* execution = rig.ExecutionOfEveryDevice();
    QVERIFY(!MdrPlugin::current_model()->selected_devices()->empty());
    DialogCloser closer;
    QSignalSpy stopped(execution, &KolvLiteScreen::Stopped);
    StartHold::Arm();
    rig.controller->GoToScreen(execution);
    StartHold::WaitUntilHeld();
    if (escape) {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      rig.controller->HandleKeyPress(&key);
    } else {
      execution->Stop();
    }
    StartHold::Release();
    QVERIFY(QTest::qWaitFor([execution] { return !execution->run_active(); }, kHangGuardMs));
    QVERIFY(QTest::qWaitFor([execution] { return execution->thread()->isFinished(); }, kHangGuardMs));
    QCOMPARE(stopped.count(), escape ? 0 : 1);
    for (MdrDiagnosticWidget* panel : execution->device_widgets()) {
      QVERIFY(panel->row(0) != nullptr);
      QCOMPARE(panel->row(0)->result_code(), 8);
    }
    QCOMPARE(static_cast<int>(MdrPlugin::tool_log()->log()->entries.size()), 0);
    rig.controller->RemoveFlowScreen(execution);
  }

  // A question the tool asks during a repair: answered with either button, closed, aborted while
  // open, or open when the window is closed (which answers it "none" and then stops all work).
  void questionDuringRun_data() {
    QTest::addColumn<QString>("act");
    QTest::addColumn<int>("asking_code");
    QTest::addColumn<int>("next_code");  // the device after the asking one
    QTest::newRow("ok") << "ok" << 9 << 0;
    QTest::newRow("cancel") << "cancel" << 10 << 0;
    QTest::newRow("closed") << "closed" << 6 << 0;
    QTest::newRow("aborted") << "abort" << 8 << 8;
    QTest::newRow("window closed") << "close window" << 8 << 8;
    // Enter as it opens answers nothing; Escape once it can have been read closes it.
    QTest::newRow("typed ahead") << "typed ahead" << 6 << 0;
  }
  void questionDuringRun() {
    QFETCH(QString, act);
    QFETCH(int, asking_code);
    QFETCH(int, next_code);
    const gui_test::CatalogueSwap swap("asking_catalogue.json", kAskingCatalogue);
    QVERIFY(swap.written());
    {
      Rig rig;  // the engine starts anew over that catalogue
      QVERIFY(rig.tool != nullptr);
      MdrPlugin::UpdateModel(1, rig.module, rig.tool);
      MdrUtils* model = MdrPlugin::current_model();
      model->FilterDevices(false, true, true);
      PartitionSelection everything;
      model->SelectEveryDevice(&everything, false, true, false);
      QCOMPARE(static_cast<int>(model->selected_devices()->size()), 2);
      MdrExecutionScreen* execution = rig.screen->execution_screen();
      rig.controller->AddFlowScreen(execution, true);
      QSignalSpy stopped(execution, &KolvLiteScreen::Stopped);
      QSignalSpy all_stopped(rig.controller, &KolvLiteController::AllStopped);
      int questions = 0;
      QString asked;
      bool running_while_asked = false;
      gui_test::ModalAnswers answers([&](QDialog* dialog) {
        ++questions;
        if (auto* message = dialog->findChild<QLabel*>(QStringLiteral("message_label")))
          asked = message->text();
        running_while_asked = execution->thread()->InTool() && execution->run_active();
        auto* question = qobject_cast<KolvLiteDialog*>(dialog);
        if (question == nullptr) return;
        if (act == "typed ahead") {
          QTimer::singleShot(KolvLiteDialog::kKeyGuardMilliseconds + 200, dialog,
                             [] { TypeKey(Qt::Key_Escape); });
          return;
        }
        if (act == "closed" || act == "close window") question->OnClose();
        if (act == "close window") rig.controller->StopAll();
        if (act == "abort") execution->Stop();
        const QString button = KolvLiteTranslate(act == "cancel" ? "CANCEL" : "OK");
        for (QPushButton* each : dialog->findChildren<QPushButton*>()) {
          if (each->text() == button && dialog->isVisible()) each->click();
        }
      });
      QMetaObject::Connection typing;
      if (act == "typed ahead") typing = EnterAsDialogsOpen();
      rig.controller->GoToScreen(execution);
      QVERIFY(QTest::qWaitFor([execution] { return !execution->run_active(); }, kHangGuardMs));
      QVERIFY(QTest::qWaitFor([execution] { return execution->thread()->isFinished(); }, kHangGuardMs));
      QObject::disconnect(typing);
      QCOMPARE(questions, 1);
      QCOMPARE(asked, KolvLiteTranslate("REMAP_QUESTION"));
      QVERIFY(running_while_asked);
      QCOMPARE(static_cast<int>(execution->device_widgets().size()), 2);
      QCOMPARE(execution->device_widgets()[0]->row(0)->result_code(), asking_code);
      QCOMPARE(execution->device_widgets()[1]->row(0)->result_code(), next_code);
      QCOMPARE(stopped.count(), act == "abort" || act == "close window" ? 1 : 0);
      QCOMPARE(all_stopped.count(), act == "close window" ? 1 : 0);
      rig.controller->RemoveFlowScreen(execution);
    }
  }

  // Device names and mount points with an "&" show as written, and whole on their rows.
  void namesWithAnAmpersandShowWhole() {
    const gui_test::CatalogueSwap swap("ampersand_catalogue.json", kAmpersandCatalogue);
    QVERIFY(swap.written());
    Rig rig;
    MdrDeviceSelectionScreen* devices = rig.screen->device_screen();
    MdrPlugin::UpdateModel(2, rig.module, rig.tool);
    devices->SetPartitionMode(true);
    rig.controller->AddFlowScreen(devices, true);
    rig.controller->GoToScreen(devices);
    QCOMPARE(devices->partition_boxes().size(), 2);
    rig.controller->resize(800, 600);
    rig.controller->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.controller));
    QList<GroupableCheckBox*> boxes;
    for (const DevicesScreen::DeviceEntry& entry : devices->device_entries())
      boxes << qobject_cast<GroupableCheckBox*>(entry.first);
    for (const auto& pair : devices->partition_boxes()) boxes << pair.first;
    QStringList shown;
    for (GroupableCheckBox* box : boxes) {
      QVERIFY(box != nullptr);
      shown << Shown(box);
      QVERIFY2(QKeySequence::mnemonic(box->text()).isEmpty(), qPrintable(box->text()));
      QTRY_COMPARE(box->elided_text(), box->text());
    }
    QCOMPARE(shown, (QStringList{"Disk & Co", "Disk & Cx", "D:\\R&D\\", "E:\\Q&A\\"}));
    devices->SetPartitionMode(false);
    rig.controller->RemoveFlowScreen(devices);
  }
};

QTEST_MAIN(TestToolScreens)
#include "qtest_tool_screens.moc"
