// The test selection screen of the custom flow over a scripted engine: which tests each device
// is offered and which start ticked, the run button, what reaches the execution context, keeping
// and rebuilding the tree, and a custom run through the execution screen.
#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QSet>
#include <QTextBrowser>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

#include <optional>

#include "gui/screens/devices_loading_screen.h"
#include "gui/screens/devices_screen.h"
#include "gui/screens/execution_screen.h"
#include "gui/screens/tests_screen.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/widgets/description_popup.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/groupable_check_box.h"
#include "morva_service/diagnostics.h"
#include "morva_service/views.h"
#include "tests/gui/support/engine_rig.h"
#include "tests/gui/support/table_translator.h"
#include "support/program_texts.h"
#include "support/stub_screen.h"

namespace {

// d0: both diagnostics; d1: both; d2: only the second diagnostic; d3: no test at all.
const char kCatalogue[] = R"({
  "product_version": "5.1.0.2210",
  "modules": [
    {"name": "mstcustom",
     "scan": {"duration": 0.3},
     "devices": [
       {"id": "d0", "udi": "UDI_D0", "display_name": "DISK_ZERO", "rows": {"MODEL": "Zero"}},
       {"id": "d1", "udi": "UDI_D1", "display_name": "DISK_ONE", "rows": {"MODEL": "One"}},
       {"id": "d2", "udi": "UDI_D2", "display_name": "DISK_TWO", "rows": {"MODEL": "Two"}},
       {"id": "d3", "udi": "UDI_D3", "display_name": "DISK_THREE", "rows": {"MODEL": "Three"}}
     ],
     "diagnostics": [
       {"id": "1.1.0", "name": "DIAG_ONE", "description": "DIAG_ONE_DESCRIPTION",
        "tests": [
          {"id": "1.1.1", "name": "TEST_ONE", "description": "TEST_ONE_DESCRIPTION",
           "devices": ["d0"], "outcome": {"status": "passed", "duration": 2}},
          {"id": "1.1.2", "name": "TEST_TWO", "description": "",
           "devices": ["d0", "d1"], "outcome": {"status": "passed", "duration": 2}}]},
       {"id": "1.2.0", "name": "DIAG_TWO", "description": "",
        "tests": [
          {"id": "1.2.1", "name": "TEST_THREE", "description": "",
           "devices": ["d0", "d1", "d2"], "outcome": {"status": "passed", "duration": 2}},
          {"id": "1.2.2", "name": "TEST_FOUR", "description": "",
           "devices": ["d2"], "outcome": {"status": "failed", "duration": 2}}]}
     ]}
  ]
})";

// Names and a description as the engine may write them: an "&" and markup are text.
const char kLiteralCatalogue[] = R"({
  "product_version": "5.1.0.2210",
  "modules": [
    {"name": "mstliteral",
     "devices": [{"id": "d0", "udi": "UDI_D0", "display_name": "R&D disk", "rows": {"MODEL": "A"}}],
     "diagnostics": [
       {"id": "1.1.0", "name": "Read&Write", "description": "",
        "tests": [
          {"id": "1.1.1", "name": "Seek&Verify",
           "description": "<h1>Seek</h1> <a href='https://example.invalid'>help</a> &amp; more",
           "devices": ["d0"], "outcome": {"status": "passed", "duration": 1}}]}
     ]}
  ]
})";

GroupableCheckBox* BoxOfRow(QTreeWidget* tree, QTreeWidgetItem* item) {
  QWidget* widget = tree->itemWidget(item, 0);
  if (widget == nullptr) return nullptr;
  if (auto* box = qobject_cast<GroupableCheckBox*>(widget)) return box;
  return widget->findChild<GroupableCheckBox*>();
}

QString Mark(Qt::CheckState state) {
  return state == Qt::Checked ? "+" : state == Qt::Unchecked ? "-" : "~";
}

}  // namespace

class TestsScreenTest : public QObject {
  Q_OBJECT

 private:
  std::optional<gui_test::CatalogueSwap> catalogue_;
  KolvLiteController* controller_ = nullptr;
  StubScreen* first_ = nullptr;
  DevicesLoadingScreen* loading_ = nullptr;
  DevicesScreen* devices_ = nullptr;
  TestsScreen* tests_ = nullptr;
  ExecutionScreen* execution_ = nullptr;
  morva_service::ModuleInterfaceView* module_ = nullptr;
  QString trace_;

  KolvLiteContext* context() const { return controller_->execution_context(); }
  QTreeWidget* tree() const { return tests_->tree_widget(); }

  // The flow [plain, devices, tests] and, when asked, the execution screen behind them; the
  // module is scanned and the devices screen is current.
  void Start(bool with_execution = false) {
    gui_test::EngineRig rig;
    controller_ = rig.controller;
    first_ = new StubScreen(controller_);
    loading_ = new DevicesLoadingScreen(controller_);
    devices_ = new DevicesScreen(controller_);
    tests_ = new TestsScreen(controller_);
    controller_->AddDefaultScreen(loading_);
    context()->devices_loading_screen = loading_;
    controller_->AddFlowScreen(first_, true);
    controller_->AddFlowScreen(devices_, true);
    controller_->AddFlowScreen(tests_, true);
    if (with_execution) {
      execution_ = new ExecutionScreen(controller_);
      controller_->AddFlowScreen(execution_, true);
    }
    QVERIFY(rig.service() != nullptr);
    module_ = rig.Module(0);
    QVERIFY(rig.Choose(module_));
    controller_->GoToScreen(first_);
    controller_->GoToNextScreen();
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(devices_));
  }

  // The tree over the catalogue of names and a description as the engine may write them.
  void StartLiteral() {
    const gui_test::CatalogueSwap literal("tests_screen_literal_catalogue.json", kLiteralCatalogue);
    QVERIFY(literal.written());
    Start();
    ChooseDevices({"d0"});
  }

  // Leaves the devices screen with the given devices ticked.
  void ChooseDevices(const QStringList& ids) {
    for (const auto& entry : devices_->device_entries()) {
      entry.first->setChecked(ids.contains(QString::fromStdString(entry.second->id())));
    }
    devices_->next_button()->click();
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(tests_));
  }

  // The tree as text: device[diagnostic[test...]...], each with + ticked, - not, ~ partly.
  QString Describe() const {
    QStringList devices;
    for (int i = 1; i < tree()->topLevelItemCount(); ++i) {
      QTreeWidgetItem* device = tree()->topLevelItem(i);
      QStringList diagnostics;
      for (int d = 0; d < device->childCount(); ++d) {
        QTreeWidgetItem* diagnostic = device->child(d);
        QStringList tests;
        for (int t = 0; t < diagnostic->childCount(); ++t) {
          GroupableCheckBox* box = BoxOfRow(tree(), diagnostic->child(t));
          tests << Mark(box->checkState()) + box->text();
        }
        GroupableCheckBox* box = BoxOfRow(tree(), diagnostic);
        diagnostics << Mark(box->checkState()) + box->text() + "[" + tests.join(",") + "]";
      }
      GroupableCheckBox* box = BoxOfRow(tree(), device);
      devices << Mark(box->checkState()) + box->text() + "[" + diagnostics.join(",") + "]";
    }
    return devices.join(" ");
  }

  GroupableCheckBox* TestBox(const QString& device_name, const QString& test_name) const {
    for (int i = 1; i < tree()->topLevelItemCount(); ++i) {
      QTreeWidgetItem* device = tree()->topLevelItem(i);
      if (BoxOfRow(tree(), device)->text() != device_name) continue;
      for (int d = 0; d < device->childCount(); ++d) {
        for (int t = 0; t < device->child(d)->childCount(); ++t) {
          GroupableCheckBox* box = BoxOfRow(tree(), device->child(d)->child(t));
          if (box->text() == test_name) return box;
        }
      }
    }
    return nullptr;
  }

  // The context's tests as text: device{diagnostic:test,test;...}.
  QString SelectedTests() const {
    QStringList records;
    for (const DeviceTestSelection* record : context()->selected_tests) {
      QStringList diagnostics;
      for (const DiagnosticTestSelection& entry : *record->diagnostics) {
        QStringList tests;
        for (const auto* test : entry.tests) tests << QString::fromStdString(test->name());
        diagnostics << QString::fromStdString(entry.diagnostic->name()) + ":" + tests.join(",");
      }
      records << QString::fromStdString(record->device->id()) + "{" + diagnostics.join(";") + "}";
    }
    return records.join(" ");
  }

 private slots:
  void initTestCase() {
    trace_ = test_support::ScratchPath("tests_screen_trace.txt");
    qputenv("MORVA_TRACE", trace_.toUtf8());
    catalogue_.emplace("tests_screen_catalogue.json", kCatalogue);
    QVERIFY(catalogue_->written());
  }

  void cleanup() {
    if (controller_ != nullptr) {
      QTRY_VERIFY_WITH_TIMEOUT(!context()->scan_controller->IsBusy(), 10000);
      if (execution_ != nullptr) QTRY_VERIFY_WITH_TIMEOUT(!execution_->is_running(), 20000);
      QCoreApplication::processEvents();
      controller_->ClearFlowScreens();
      controller_->ClearDefaultScreens();
      delete execution_;
      delete tests_;
      delete devices_;
      delete first_;
      delete loading_;
      delete controller_;
    }
    controller_ = nullptr;
    execution_ = nullptr;
    MorvaResetForTests();
  }

  void OnlySupportingTestsShowAndTheFirstKeptDiagnosticIsTicked() {
    Start();
    ChooseDevices({"d0", "d1", "d2", "d3"});
    // d2 is offered the second diagnostic only, and gets it ticked; d3 has nothing and no row.
    QCOMPARE(Describe(),
             QString("~DISK_ZERO[+DIAG_ONE[+TEST_ONE,+TEST_TWO],-DIAG_TWO[-TEST_THREE]] "
                     "~DISK_ONE[+DIAG_ONE[+TEST_TWO],-DIAG_TWO[-TEST_THREE]] "
                     "+DISK_TWO[+DIAG_TWO[+TEST_THREE,+TEST_FOUR]]"));
    QCOMPARE(tests_->device_items().size(), 3);
    QVERIFY(tests_->run_button()->isEnabled());
    // Several devices: the tree starts closed.
    QVERIFY(!tree()->topLevelItem(1)->isExpanded());
  }

  void OneDeviceOpensTheTreeAndTestsExplainThemselves() {
    Start();
    ChooseDevices({"d0"});
    QVERIFY(tree()->topLevelItem(1)->isExpanded());
    QVERIFY(tree()->topLevelItem(1)->child(0)->isExpanded());
    // Only a test with a description offers its information.
    QCOMPARE(tests_->info_rows().size(), 1);
    QAbstractButton* info = tests_->info_rows().firstKey();
    info->click();
    DescriptionPopup* popup = tests_->info_popup();
    QVERIFY(popup->isVisibleTo(controller_));
    QCOMPARE(popup->title_label()->text(), QString("TEST_ONE"));
    QCOMPARE(popup->body()->toPlainText(), QString("TEST_ONE_DESCRIPTION"));
    emit controller_->OverlayClicked();
    QCOMPARE(popup->parentWidget(), static_cast<QWidget*>(tests_));
    QVERIFY(!popup->isVisible());
  }

  // The information buttons of the device rows and of the test rows say the same, in the
  // device rows' translation context.
  void InformationButtonsShareTheDeviceRowsToolTip() {
    // The program's catalogue of the device rows, as far as the information buttons need it.
    gui_test::TableTranslator translator(
        {{"DeviceSelectionEntry", {{"DEVICE_INFORMATION_TOOLTIP", "Show the details"}}}});
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const auto remove = qScopeGuard([&] { QCoreApplication::removeTranslator(&translator); });
    Start();
    QCOMPARE(devices_->device_entries().size(), 4);
    for (const auto& entry : devices_->device_entries()) {
      QAbstractButton* info = devices_->InfoButtonOf(entry.second);
      QVERIFY(info != nullptr);
      QCOMPARE(info->toolTip(), QString("Show the details"));
    }
    ChooseDevices({"d0"});
    QCOMPARE(tests_->info_rows().size(), 1);
    QCOMPARE(tests_->info_rows().firstKey()->toolTip(), QString("Show the details"));
  }

  // An "&" in a device, diagnostic or test name is shown, not taken as a keyboard mnemonic.
  void EngineNamesAreShownAsWritten() {
    StartLiteral();
    QTreeWidgetItem* device = tree()->topLevelItem(1);
    QVERIFY(device != nullptr);
    const QList<GroupableCheckBox*> boxes = {BoxOfRow(tree(), device),
                                             BoxOfRow(tree(), device->child(0)),
                                             BoxOfRow(tree(), device->child(0)->child(0))};
    const QStringList names = {"R&D disk", "Read&Write", "Seek&Verify"};
    for (int i = 0; i < boxes.size(); ++i) {
      QVERIFY(boxes[i] != nullptr);
      QCOMPARE(Shown(boxes[i]), names[i]);
      QVERIFY(QKeySequence::mnemonic(boxes[i]->text()).isEmpty());
    }
  }

  // A test's description is text: its markup is neither rendered nor made into live links.
  void TestDescriptionIsShownAsWritten() {
    StartLiteral();
    QCOMPARE(tests_->info_rows().size(), 1);
    tests_->info_rows().firstKey()->click();
    const QTextBrowser* body = tests_->info_popup()->body();
    QCOMPARE(body->toPlainText(),
             QString("<h1>Seek</h1> <a href='https://example.invalid'>help</a> &amp; more"));
    QVERIFY(!body->toHtml().contains("<a href"));
  }

  // Drawn, a diagnostic's expand arrow stands beside its check box's line rather than between
  // that line and the description below it, and the scroll bar's thumb stands out.
  void ExpandArrowsBesideTheirLineAndAThumbThatShows() {
    Start();
    ChooseDevices({"d0"});
    controller_->resize(800, 600);
    controller_->show();
    QVERIFY(QTest::qWaitForWindowExposed(controller_));
    QTreeWidget* view = tree();
    QTreeWidgetItem* diagnostic = view->topLevelItem(1)->child(0);
    GroupableCheckBox* box = BoxOfRow(view, diagnostic);
    const QRect row = view->visualItemRect(diagnostic);
    const int line_top = box->mapTo(view->viewport(), QPoint(0, 0)).y();
    const int line_bottom = line_top + box->height() - 1;
    QVERIFY(row.bottom() > line_bottom + 5);
    const QImage shot = view->viewport()->grab().toImage();
    int arrow_top = -1, arrow_bottom = -1;
    for (int y = row.top(); y <= row.bottom(); ++y) {
      for (int x = qMax(0, row.left() - view->indentation()); x < row.left(); ++x) {
        if (qGray(shot.pixel(x, y)) > 160) continue;
        if (arrow_top < 0) arrow_top = y;
        arrow_bottom = y;
      }
    }
    QVERIFY(arrow_top >= 0);
    QVERIFY2(arrow_top >= line_top && arrow_bottom <= line_bottom,
             qPrintable(QString("arrow %1-%2, line %3-%4")
                            .arg(arrow_top).arg(arrow_bottom).arg(line_top).arg(line_bottom)));

    view->setFixedHeight(90);
    QScrollBar* bar = view->verticalScrollBar();
    QTRY_VERIFY(bar->isVisible());
    bar->setValue(bar->minimum());
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    const QRect thumb =
        bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    const QRect groove =
        bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar);
    QVERIFY(groove.bottom() > thumb.bottom() + 2);
    const QImage drawn = bar->grab().toImage();
    const int thumb_gray = qGray(drawn.pixel(thumb.center()));
    const int groove_gray = qGray(drawn.pixel(groove.center().x(), (thumb.bottom() + groove.bottom()) / 2));
    QVERIFY2(qAbs(thumb_gray - groove_gray) >= 30,
             qPrintable(QString("thumb %1, groove %2").arg(thumb_gray).arg(groove_gray)));
  }

  void PartlyCheckedDiagnosticPassesOnlyItsTickedTestsWithTheRuns() {
    Start();
    ChooseDevices({"d0", "d2"});
    TestBox("DISK_ZERO", "TEST_TWO")->click();
    TestBox("DISK_ZERO", "TEST_THREE")->click();
    TestBox("DISK_TWO", "TEST_THREE")->click();
    QCOMPARE(Describe(),
             QString("~DISK_ZERO[~DIAG_ONE[+TEST_ONE,-TEST_TWO],+DIAG_TWO[+TEST_THREE]] "
                     "~DISK_TWO[~DIAG_TWO[-TEST_THREE,+TEST_FOUR]]"));
    QCOMPARE(tests_->iterations_combo()->count(), 8);
    tests_->iterations_combo()->setCurrentText("15");
    tests_->run_button()->click();
    QCOMPARE(SelectedTests(), QString("d0{DIAG_ONE:TEST_ONE;DIAG_TWO:TEST_THREE} d2{DIAG_TWO:TEST_FOUR}"));
    QCOMPARE(context()->runs, 15);
  }

  void UntouchedRunsChoiceGivesOneRunAndEmptyDevicesAreLeftOut() {
    Start();
    ChooseDevices({"d0", "d1"});
    context()->runs = 7;
    TestBox("DISK_ONE", "TEST_TWO")->click();
    tests_->run_button()->click();
    QCOMPARE(SelectedTests(), QString("d0{DIAG_ONE:TEST_ONE,TEST_TWO}"));
    QCOMPARE(context()->runs, 1);
  }

  void RunNeedsSomethingTicked() {
    Start();
    // Nothing applies to d3: the tree stays empty and there is nothing to run, nor to select,
    // and the screen says why.
    ChooseDevices({"d3"});
    QCOMPARE(tree()->topLevelItemCount(), 1);
    QVERIFY(!tests_->run_button()->isEnabled());
    QCOMPARE(tests_->select_all()->checkState(), Qt::Unchecked);
    tests_->select_all()->click();
    QCOMPARE(tests_->select_all()->checkState(), Qt::Unchecked);
    QVERIFY(!tests_->run_button()->isEnabled());
    auto* why = tests_->findChild<QLabel*>("label_nothing_applicable");
    QVERIFY(why != nullptr);
    QVERIFY(why->isVisibleTo(tests_));
    QCOMPARE(why->text(), KolvLiteTranslate("TestsScreen", "NO_APPLICABLE_TESTS"));

    tests_->back_button()->click();
    ChooseDevices({"d1"});
    QVERIFY(!why->isVisibleTo(tests_));
    QCOMPARE(tests_->select_all()->checkState(), Qt::PartiallyChecked);
    QVERIFY(tests_->run_button()->isEnabled());
    // Select all goes from partly ticked to all ticked, then to none.
    tests_->select_all()->click();
    QCOMPARE(Describe(), QString("+DISK_ONE[+DIAG_ONE[+TEST_TWO],+DIAG_TWO[+TEST_THREE]]"));
    QVERIFY(tests_->run_button()->isEnabled());
    tests_->select_all()->click();
    QCOMPARE(Describe(), QString("-DISK_ONE[-DIAG_ONE[-TEST_TWO],-DIAG_TWO[-TEST_THREE]]"));
    QVERIFY(!tests_->run_button()->isEnabled());
    TestBox("DISK_ONE", "TEST_THREE")->click();
    QVERIFY(tests_->run_button()->isEnabled());
  }

  void SameDevicesKeepTicksOtherDevicesOrARefreshRebuild() {
    Start();
    ChooseDevices({"d0", "d1"});
    TestBox("DISK_ZERO", "TEST_ONE")->click();
    tests_->back_button()->click();
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(devices_));
    ChooseDevices({"d0", "d1"});
    QCOMPARE(TestBox("DISK_ZERO", "TEST_ONE")->checkState(), Qt::Unchecked);

    // Another set of devices: the tree is built anew with its default ticks.
    tests_->back_button()->click();
    ChooseDevices({"d0"});
    QCOMPARE(Describe(), QString("~DISK_ZERO[+DIAG_ONE[+TEST_ONE,+TEST_TWO],-DIAG_TWO[-TEST_THREE]]"));
    TestBox("DISK_ZERO", "TEST_ONE")->click();

    // A rescan finds the same devices, and still the tree starts over.
    tests_->back_button()->click();
    devices_->refresh_button()->click();
    QTRY_COMPARE_WITH_TIMEOUT(devices_->device_entries().size(), 4, 10000);
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(devices_));
    ChooseDevices({"d0"});
    QCOMPARE(TestBox("DISK_ZERO", "TEST_ONE")->checkState(), Qt::Checked);
  }

  void CustomRunGoesThroughTheExecutionScreen() {
    QFile::remove(trace_);
    Start(true);
    ChooseDevices({"d0", "d2"});
    TestBox("DISK_ZERO", "TEST_TWO")->click();
    tests_->iterations_combo()->setCurrentText("2");
    tests_->run_button()->click();
    QCOMPARE(controller_->current_screen(), static_cast<KolvLiteScreen*>(execution_));
    QTRY_VERIFY_WITH_TIMEOUT(execution_->iteration_count() == 2 && !execution_->is_running(),
                             30000);

    QFile file(trace_);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList runs;
    QSet<QString> groups;
    const QRegularExpression execute(
        "^Execute module=mstcustom device=(\\S+) selection=(\\S+) group=(\\d+)");
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
      const QRegularExpressionMatch match = execute.match(line);
      if (!match.hasMatch()) continue;
      runs << match.captured(1) + " " + match.captured(2);
      groups.insert(match.captured(3));
    }
    // Per iteration one call per device, with the tests ticked for that device; each iteration
    // has its own group.
    QCOMPARE(runs, (QStringList{"d0 1.1.0:1.1.1", "d2 1.2.0:1.2.1,1.2.2", "d0 1.1.0:1.1.1",
                                "d2 1.2.0:1.2.1,1.2.2"}));
    QCOMPARE(groups.size(), 2);
    QCOMPARE(context()->iteration_start_times.size(), 2);
  }
};

QTEST_MAIN(TestsScreenTest)
#include "qtest_tests_screen.moc"
