// The device selection screen over a scripted engine: the group tree built from the devices'
// parent paths, ticking and the next button, the information pop-up, rescans and the hooks that
// tool screens replace.
#include <QAbstractButton>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QTextBrowser>
#include <QTranslator>
#include <QTreeView>
#include <QtTest>

#include <optional>

#include "gui/screens/devices_loading_screen.h"
#include "gui/screens/devices_screen.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/widgets/description_popup.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/groupable_check_box.h"
#include "morva_service/diagnostics.h"
#include "morva_service/views.h"
#include "tests/gui/support/engine_rig.h"
#include "tests/gui/support/table_translator.h"
#include "support/dialog_watch.h"
#include "support/program_texts.h"
#include "support/stub_screen.h"

namespace {

// mstcustom: the second scan finds d3 (no parent) and d0 only. mstfail: the second scan fails.
// mstgroups: two parent words that the module's catalogue shows as the same text.
// mstliteral: names and a parent word with an "&" in them.
const char kCatalogue[] = R"({
  "product_version": "5.1.0.2210",
  "modules": [
    {"name": "mstcustom",
     "scan": {"duration": 0.5, "sequence": [{"devices": ["d0", "d1", "d2", "d3"]},
                                            {"devices": ["d3", "d0"]}]},
     "devices": [
       {"id": "d0", "udi": "UDI_D0", "display_name": "DISK_ZERO",
        "rows": {"MODEL": "<b>Zero</b> & co"},
        "attributes": {"parent": "\\Storage\\\\Disks\\"}},
       {"id": "d1", "udi": "UDI_D1", "display_name": "DISK_ONE", "rows": {"MODEL": "One"},
        "attributes": {"parent": "Storage\\Disks"}},
       {"id": "d2", "udi": "UDI_D2", "display_name": "DISK_TWO", "rows": {"MODEL": "Two"},
        "attributes": {"parent": "Storage"}},
       {"id": "d3", "udi": "UDI_D3", "display_name": "DISK_THREE", "rows": {"MODEL": "Three"}}
     ],
     "diagnostics": [
       {"id": "1.1.0", "name": "DIAG_ONE", "description": "",
        "tests": [{"id": "1.1.1", "name": "TEST_ONE", "description": ""}]}
     ]},
    {"name": "mstfail",
     "scan": {"sequence": [{"devices": ["f0"]}, {"devices": [], "result": 1}]},
     "devices": [{"id": "f0", "udi": "UDI_F0", "display_name": "FAIL_ZERO", "rows": {"MODEL": "F"}}],
     "diagnostics": []},
    {"name": "mstgroups",
     "devices": [
       {"id": "g0", "udi": "UDI_G0", "display_name": "G_ZERO", "rows": {"MODEL": "G0"},
        "attributes": {"parent": "Speicher"}},
       {"id": "g1", "udi": "UDI_G1", "display_name": "G_ONE", "rows": {"MODEL": "G1"},
        "attributes": {"parent": "Storage"}}
     ],
     "diagnostics": []},
    {"name": "mstliteral",
     "devices": [
       {"id": "l0", "udi": "UDI_L0", "display_name": "R&D disk", "rows": {"MODEL": "L0"},
        "attributes": {"parent": "Lab & test"}},
       {"id": "l1", "udi": "UDI_L1", "display_name": "Q&A disk", "rows": {"MODEL": "L1"},
        "attributes": {"parent": "Lab & test"}},
       {"id": "l2", "udi": "UDI_L2", "display_name": "Disk & Co", "rows": {"MODEL": "L2"}},
       {"id": "l3", "udi": "UDI_L3", "display_name": "Disk & Cx", "rows": {"MODEL": "L3"}}
     ],
     "diagnostics": []}
  ]
})";

// Records the hooks in the order the screen calls them and can turn devices away.
class RecordingDevicesScreen : public DevicesScreen {
 public:
  explicit RecordingDevicesScreen(KolvLiteController* c) : DevicesScreen(c) {}
  QStringList calls;
  QStringList refused;
  // The button whose device the pop-up holds, as a subclass sees it.
  QAbstractButton* shown_button() const { return shown_info_button_; }

 protected:
  void PostDeviceLoading() override { calls << "loading"; }
  bool FilterDevice(morva_service::SystemComponentView* device) override {
    const QString id = QString::fromStdString(device->id());
    calls << "filter " + id;
    return !refused.contains(id);
  }
  void PostDeviceInsertion(QStandardItem* row, morva_service::SystemComponentView* device) override {
    // The row is complete when the hook runs: its check box is known.
    calls << QString("insert %1 %2").arg(QString::fromStdString(device->id()),
                                          group_boxes_.contains(row) ? "boxed" : "bare");
  }
};

}  // namespace

class DevicesScreenTest : public QObject {
  Q_OBJECT

 private:
  std::optional<gui_test::CatalogueSwap> catalogue_;
  KolvLiteController* controller_ = nullptr;
  // In front of the devices screen, as the diagnostic selection is in the program.
  StubScreen* first_ = nullptr;
  DevicesLoadingScreen* loading_ = nullptr;
  RecordingDevicesScreen* screen_ = nullptr;
  morva_service::ModuleInterfaceView* module_ = nullptr;
  // Closes every interaction dialog that opens.
  int closed_dialogs_ = 0;
  DialogWatch dialogs_{[this](KolvLiteDialog* dialog) {
    ++closed_dialogs_;
    dialog->OnClose();
  }};

  KolvLiteContext* context() const { return controller_->execution_context(); }
  QTreeView* tree() const { return screen_->findChild<QTreeView*>("device_treeView"); }

  // Builds the controller with the loading screen and the flow [plain, devices], loads the
  // engine's modules and scans the module once, as the flow does before the devices screen.
  void Start(const std::string& module, const QStringList& refused = {}) {
    gui_test::EngineRig rig;
    controller_ = rig.controller;
    first_ = new StubScreen(controller_);
    loading_ = new DevicesLoadingScreen(controller_);
    screen_ = new RecordingDevicesScreen(controller_);
    screen_->refused = refused;
    controller_->AddDefaultScreen(loading_);
    context()->devices_loading_screen = loading_;
    controller_->AddFlowScreen(first_, true);
    controller_->AddFlowScreen(screen_, true);
    QVERIFY(rig.service() != nullptr);
    module_ = rig.Module(module);
    QVERIFY(module_ != nullptr);
    QVERIFY(rig.Choose(module_));
    controller_->GoToScreen(first_);
    controller_->GoToNextScreen();
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(screen_));
  }

  morva_service::SystemComponentView* Device(const std::string& id) const {
    for (auto* device : module_->system_components()) {
      if (device->id() == id) return device;
    }
    return nullptr;
  }

  QStringList EntryIds() const {
    QStringList ids;
    for (const auto& entry : screen_->device_entries()) {
      ids << QString::fromStdString(entry.second->id());
    }
    return ids;
  }

  QAbstractButton* BoxOf(const std::string& id) const {
    for (const auto& entry : screen_->device_entries()) {
      if (entry.second->id() == id) return entry.first;
    }
    return nullptr;
  }

  // The tree as text: group rows with their children in brackets, device rows by name; the
  // blank first and last rows leave no trace.
  QString Describe(const QModelIndex& parent = QModelIndex()) const {
    QStringList parts;
    QStandardItemModel* model = screen_->model();
    for (int row = 0; row < model->rowCount(parent); ++row) {
      const QModelIndex index = model->index(row, 0, parent);
      QWidget* widget = tree()->indexWidget(index);
      auto* box = qobject_cast<GroupableCheckBox*>(widget);
      if (box == nullptr && widget != nullptr) box = widget->findChild<GroupableCheckBox*>();
      if (box == nullptr) continue;
      QString text = box->text();
      if (model->hasChildren(index)) {
        text += "[" + Describe(index) + "]";
        if (!tree()->isExpanded(index)) text += "(closed)";
      }
      parts << text;
    }
    return parts.join(",");
  }

  void ShowInfo(const std::string& id) {
    QAbstractButton* button = screen_->InfoButtonOf(Device(id));
    QVERIFY(button != nullptr);
    button->click();
  }

 private slots:
  void initTestCase() {
    catalogue_.emplace("devices_screen_catalogue.json", kCatalogue);
    QVERIFY(catalogue_->written());
  }

  void cleanup() {
    if (controller_ != nullptr) {
      QTRY_VERIFY_WITH_TIMEOUT(!context()->scan_controller->IsBusy(), 10000);
      QCoreApplication::processEvents();
      controller_->ClearFlowScreens();
      controller_->ClearDefaultScreens();
      delete screen_;
      delete first_;
      delete loading_;
      delete controller_;
    }
    controller_ = nullptr;
    module_ = nullptr;
    // Scan sequences start again with the next test.
    MorvaResetForTests();
  }

  void ParentPathsBecomeGroupsInOrderOfFirstAppearance() {
    Start("mstcustom");
    // Leading, trailing and doubled backslashes around the words make no empty groups.
    QCOMPARE(Describe(), QString("Storage[Disks[DISK_ZERO,DISK_ONE],DISK_TWO],DISK_THREE"));
    QCOMPARE(EntryIds(), (QStringList{"d0", "d1", "d2", "d3"}));
    QCOMPARE(tree()->indentation(), 20);
    // Everything starts ticked and the choice can go on.
    QCOMPARE(screen_->select_all()->checkState(), Qt::Checked);
    for (const auto& entry : screen_->device_entries()) QVERIFY(entry.first->isChecked());
    QVERIFY(screen_->next_button()->isEnabled());
    QVERIFY(screen_->next_button()->isVisible() || !controller_->isVisible());
    QCOMPARE(screen_->pages()->currentIndex(), 0);
    QVERIFY(screen_->refresh_button()->isEnabled());
  }

  void GroupsMatchOnTheirTranslatedText() {
    // The module catalogue's view of the parent words.
    gui_test::TableTranslator translator({{"mstgroups", {{"Speicher", "Storage"}}}});
    QVERIFY(QCoreApplication::installTranslator(&translator));
    Start("mstgroups");
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(Describe(), QString("Storage[G_ZERO,G_ONE]"));
  }

  // An "&" in a device's name or its group is shown, not taken as a keyboard mnemonic, and the
  // devices of one group still share its row.
  void NamesWithAnAmpersandAreShownAsWritten() {
    Start("mstliteral");
    QCOMPARE(Shown(BoxOf("l0")), QString("R&D disk"));
    QCOMPARE(Shown(BoxOf("l1")), QString("Q&A disk"));
    QStringList shown;
    for (GroupableCheckBox* box : tree()->findChildren<GroupableCheckBox*>()) {
      shown << Shown(box);
      QVERIFY2(QKeySequence::mnemonic(box->text()).isEmpty(), qPrintable(box->text()));
    }
    QCOMPARE(shown.count("Lab & test"), 1);

    // Drawn, every name fits its row whole, so names that differ only at their end differ.
    controller_->resize(800, 600);
    controller_->show();
    QVERIFY(QTest::qWaitForWindowExposed(controller_));
    const QList<GroupableCheckBox*> boxes = tree()->findChildren<GroupableCheckBox*>();
    for (int i = 0; i < boxes.size(); ++i) {
      QTRY_COMPARE(boxes[i]->elided_text(), boxes[i]->text());
      QCOMPARE(Shown(boxes[i]), shown[i]);
    }
  }

  void TickingDecidesNextAndTheContextGetsTheTickedDevices() {
    Start("mstcustom");
    for (const char* id : {"d0", "d1", "d2", "d3"}) BoxOf(id)->click();
    QCOMPARE(screen_->select_all()->checkState(), Qt::Unchecked);
    QVERIFY(!screen_->next_button()->isEnabled());
    BoxOf("d2")->click();
    QCOMPARE(screen_->select_all()->checkState(), Qt::PartiallyChecked);
    QVERIFY(screen_->next_button()->isEnabled());
    BoxOf("d0")->click();

    // An earlier choice of tests goes with the new devices.
    auto* stale = new DeviceTestSelection();
    stale->device = Device("d1");
    stale->diagnostics = new std::vector<DiagnosticTestSelection>();
    context()->selected_tests.append(stale);
    context()->selected_devices = {Device("d1")};

    screen_->next_button()->click();
    QCOMPARE(context()->selected_devices,
             (QVector<morva_service::SystemComponentView*>{Device("d0"), Device("d2")}));
    QVERIFY(context()->selected_tests.isEmpty());

    // Select all ticks the whole list, then clears it, then ticks it again.
    for (const bool ticked : {true, false, true}) {
      screen_->select_all()->click();
      for (const auto& entry : screen_->device_entries()) QCOMPARE(entry.first->isChecked(), ticked);
      QCOMPARE(screen_->next_button()->isEnabled(), ticked);
    }
  }

  void InformationPopUpShowsEscapedPropertiesAndRendersOnce() {
    Start("mstcustom");
    DescriptionPopup* popup = screen_->info_popup();
    ShowInfo("d0");
    QVERIFY(popup->isVisibleTo(controller_));
    QVERIFY(popup->parentWidget() != screen_);
    QCOMPARE(popup->title_label()->text(), QString("DISK_ZERO"));
    // Markup in a device's values is shown as text, never taken as markup.
    QVERIFY2(popup->body()->toPlainText().contains("<b>Zero</b> & co"),
             qPrintable(popup->body()->toPlainText()));
    QVERIFY(!popup->body()->toHtml().contains("<b>Zero</b>"));

    // The same button again shows what is there without building it anew.
    popup->SetText("kept");
    ShowInfo("d0");
    QCOMPARE(popup->body()->toPlainText(), QString("kept"));

    popup->close_button()->click();
    QTRY_COMPARE(popup->parentWidget(), static_cast<QWidget*>(screen_));
    QVERIFY(!popup->isVisible());

    ShowInfo("d1");
    QCOMPARE(popup->title_label()->text(), QString("DISK_ONE"));
    QVERIFY(popup->body()->toPlainText().contains("One"));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    screen_->OnKeyPress(&escape);
    QCOMPARE(popup->parentWidget(), static_cast<QWidget*>(screen_));
  }

  void RefreshRescansAndThePopUpFollowsTheNewRows() {
    Start("mstcustom");
    ShowInfo("d0");
    screen_->info_popup()->close_button()->click();
    QTRY_COMPARE(screen_->info_popup()->parentWidget(), static_cast<QWidget*>(screen_));
    context()->selection_changed = false;

    screen_->refresh_button()->click();
    QVERIFY(context()->selection_changed);
    QVERIFY(!screen_->next_button()->isEnabled());
    QVERIFY(!screen_->refresh_button()->isEnabled());
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(loading_));
    QTRY_COMPARE_WITH_TIMEOUT(EntryIds(), (QStringList{"d3", "d0"}), 10000);
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(screen_));
    // Old rows are gone for good once their deferred deletion ran.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(Describe(), QString("DISK_THREE,Storage[Disks[DISK_ZERO]]"));
    // The first device has no parent: the tree gives up its indentation.
    QCOMPARE(tree()->indentation(), 0);
    QVERIFY(screen_->next_button()->isEnabled());
    QVERIFY(screen_->refresh_button()->isEnabled());
    // The pop-up forgot the old rows' button: a new button built at its freed address would
    // otherwise show the old device.
    QCOMPARE(screen_->shown_button(), static_cast<QAbstractButton*>(nullptr));

    // The first row's button now belongs to another device than before the refresh.
    ShowInfo("d3");
    QCOMPARE(screen_->info_popup()->title_label()->text(), QString("DISK_THREE"));
    QVERIFY(screen_->info_popup()->body()->toPlainText().contains("Three"));
    ShowInfo("d0");
    QCOMPARE(screen_->info_popup()->title_label()->text(), QString("DISK_ZERO"));
  }

  void FailedRescanLeavesTheScreenUnloadedAndGoesBack() {
    Start("mstfail");
    QCOMPARE(EntryIds(), QStringList{"f0"});
    const int closed = closed_dialogs_;
    screen_->refresh_button()->click();
    QTRY_COMPARE_WITH_TIMEOUT(controller_->current_screen(), static_cast<KolvLiteScreen*>(first_),
                              10000);
    QCOMPARE(closed_dialogs_, closed + 1);
    QVERIFY(!screen_->IsLoaded());
    QVERIFY(screen_->device_entries().isEmpty());
  }

  void HooksRunInOrderAndRefusedDevicesGetNoRow() {
    Start("mstcustom", {"d1"});
    QCOMPARE(screen_->calls, (QStringList{"loading", "filter d0", "insert d0 boxed", "filter d1",
                                          "filter d2", "insert d2 boxed", "filter d3",
                                          "insert d3 boxed"}));
    QCOMPARE(Describe(), QString("Storage[Disks[DISK_ZERO],DISK_TWO],DISK_THREE"));

    // Back clears the loaded flag: the list is built anew on the next entry.
    screen_->back_button()->click();
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(first_));
    screen_->calls.clear();
    screen_->refused = QStringList{"d0", "d1", "d2", "d3"};
    controller_->GoToNextScreen();
    QCOMPARE(screen_->calls.first(), QString("loading"));
    QVERIFY(screen_->device_entries().isEmpty());
    // Nothing to offer: the message page, and no way on.
    QCOMPARE(screen_->pages()->currentIndex(), 1);
    QVERIFY(screen_->next_button()->isHidden());
    QVERIFY(!screen_->next_button()->isEnabled());
  }
};

QTEST_MAIN(DevicesScreenTest)
#include "qtest_devices_screen.moc"
