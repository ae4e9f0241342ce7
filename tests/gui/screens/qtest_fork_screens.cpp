// Fork screens over a real controller: installing, switching and nesting flows, the diagnostic
// selection screen's two flows and its recommended selection, and the module operation screen
// with a tool flow. The engine is the stand-in with a catalogue written by the test.
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <optional>
#include <vector>

#include "gui/screens/devices_loading_screen.h"
#include "gui/screens/diagnostic_selection_screen.h"
#include "gui/screens/fork_screen.h"
#include "gui/screens/module_operation_screen.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/morva_service_executor.h"
#include "morva_service/morva_service.h"
#include "tests/gui/support/engine_rig.h"
#include "support/recommended_flow.h"

namespace {

const char kCatalogue[] = R"({
  "modules": [
    {"name": "Pick",
     "devices": [
       {"id": "dev_1", "udi": "UDI-1", "display_name": "DEVICE_ONE"},
       {"id": "dev_2", "udi": "UDI-2", "display_name": "DEVICE_TWO"}
     ],
     "diagnostics": [
       {"id": "4.1.0", "name": "First", "tests": [
         {"id": "4.1.1", "name": "AlphaTest", "devices": ["dev_2"]},
         {"id": "4.1.2", "name": "BetaTest", "devices": ["dev_2"]}
       ]},
       {"id": "4.2.0", "name": "Second", "tests": [
         {"id": "4.2.1", "name": "DeltaTest"}
       ]}
     ],
     "tools": [{"name": "Fixer", "hint": "fixer", "description": "FIXER_DESCRIPTION"}]
    },
    {"name": "Bare",
     "devices": [{"id": "lone", "udi": "UDI-L", "display_name": "LONE"}],
     "diagnostics": []
    },
    {"name": "Unfit",
     "devices": [{"id": "odd", "udi": "UDI-O", "display_name": "ODD"}],
     "diagnostics": [
       {"id": "5.1.0", "name": "Narrow", "tests": [
         {"id": "5.1.1", "name": "NowhereTest", "devices": []}
       ]}
     ]
    },
    {"name": "Marked",
     "diagnostics": [],
     "tools": [{"name": "<b>R&D", "hint": "rd", "description": "<i>R&D</i>"}]
    },
    {"name": "Later",
     "devices": [
       {"id": "early", "udi": "UDI-E", "display_name": "EARLY"},
       {"id": "late", "udi": "UDI-LT", "display_name": "LATE"}
     ],
     "scan": {"sequence": [{"devices": ["early"]}, {"devices": ["early", "late"]}]},
     "diagnostics": [
       {"id": "6.1.0", "name": "Fit", "tests": [
         {"id": "6.1.1", "name": "LateTest", "devices": ["late"], "outcome": {"duration": 0}}
       ]}
     ]
    }
  ]
})";

class PlainScreen : public KolvLiteScreen {
 public:
  PlainScreen(KolvLiteController* controller, const QString& step) : KolvLiteScreen(controller) {
    set_step(step);
  }
  void OnEnter() override { loaded = true; }
  bool isBusy(QString&) override { return false; }
  void Stop() override { emit Stopped(this); }
  void Unload() override {
    ++unloads;
    loaded = false;
  }
  int unloads = 0;
};

// Opens the protected operations for the test.
class OpenFork : public ForkScreen {
 public:
  explicit OpenFork(KolvLiteController* controller) : ForkScreen(controller) {}
  ~OpenFork() override { DeleteFlowScreens(); }
  bool isBusy(QString&) override { return false; }
  void Stop() override { emit Stopped(this); }

  using ForkScreen::AddNewFlow;
  using ForkScreen::AddNewScreenToFlow;
  using ForkScreen::CreateNewFlow;
  using ForkScreen::InstallFlow;
  using ForkScreen::owned_screens_;
};

}  // namespace

class TestForkScreens : public QObject {
  Q_OBJECT

  struct Rig {
    explicit Rig(int module_index = 0, bool scan = true) {
      gui_test::EngineRig engine;
      controller = engine.controller;
      context = engine.context;
      module = engine.Module(static_cast<size_t>(module_index));
      engine.Choose(module, scan);
    }
    ~Rig() { delete controller; }
    KolvLiteController* controller;
    KolvLiteContext* context = nullptr;
    morva_service::ModuleInterfaceView* module = nullptr;
  };

  // The module operation screen entered, with a screen for the module's first tool.
  struct ToolChoice {
    explicit ToolChoice(int module_index)
        : rig(module_index),
          tool_screen(rig.controller, QStringLiteral("TOOL")),
          operation(rig.controller) {
      if (rig.module == nullptr || rig.module->tools().empty()) return;
      rig.context->tool_screens.insert(rig.module->tools().front(), &tool_screen);
      rig.controller->AddFlowScreen(&operation, true);
      rig.controller->GoToScreen(&operation);
    }
    ~ToolChoice() { rig.controller->RemoveFlowScreen(&operation); }
    Rig rig;
    PlainScreen tool_screen;
    ModuleOperationScreen operation;
  };

 private:
  std::optional<gui_test::CatalogueSwap> catalogue_;

 private slots:
  void initTestCase() {
    catalogue_.emplace("fork_catalogue.json", kCatalogue);
    QVERIFY(catalogue_->written());
  }

  void flowsInstallSwitchAndNest() {
    Rig rig;
    auto* owner = new OpenFork(rig.controller);
    OpenFork& fork = *owner;
    fork.set_step(QStringLiteral("FORK"));
    auto* a = new PlainScreen(rig.controller, QStringLiteral("A"));
    auto* b = new PlainScreen(rig.controller, QStringLiteral("B"));
    auto* c = new PlainScreen(rig.controller, QStringLiteral("C"));
    auto* nested = new OpenFork(rig.controller);
    auto* e = new PlainScreen(rig.controller, QStringLiteral("E"));
    PlainScreen borrowed(rig.controller, QStringLiteral("BORROWED"));
    fork.owned_screens_ << a << b << c << nested << e;
    QCOMPARE(fork.CreateNewFlow(QStringLiteral("first")), 0);
    fork.AddNewScreenToFlow(0, a);
    fork.AddNewScreenToFlow(0, b);
    fork.AddNewFlow({QStringLiteral("second"), {c, &borrowed}});
    QCOMPARE(fork.CreateNewFlow(QStringLiteral("third")), 2);
    fork.AddNewScreenToFlow(2, nested);
    fork.AddNewScreenToFlow(2, c);
    QVERIFY(!fork.AddNewScreenToFlow(3, a));
    QVERIFY(!fork.AddNewScreenToFlow(-1, a));
    nested->AddNewFlow({QStringLiteral("inner"), {e}});
    rig.controller->AddFlowScreen(&fork, true);

    QSignalSpy possible(&fork, &ForkScreen::IsPossibleFlow);
    QSignalSpy updated(&fork, &ForkScreen::UpdatedCurrentFlow);
    QVERIFY(!fork.InstallFlow(5));
    QCOMPARE(possible.takeFirst().at(0).toBool(), false);
    QCOMPARE(fork.current_flow(), -1);
    QCOMPARE(rig.controller->flow_screens().size(), 1);

    fork.InstallDefaultFlow();
    QCOMPARE(rig.controller->flow_screens(), (QList<KolvLiteScreen*>{&fork, a, b}));
    QCOMPARE(fork.current_flow(), 0);
    QCOMPARE(fork.step_selected_option(), QStringLiteral("first"));
    QCOMPARE(updated.count(), 1);
    QVERIFY(possible.last().at(0).toBool());

    // The installed flow again: only the answer, nothing reinstalled.
    possible.clear();
    QVERIFY(fork.InstallFlow(0));
    QCOMPARE(updated.count(), 1);
    QCOMPARE(possible.count(), 1);
    QCOMPARE(a->unloads, 0);

    QVERIFY(fork.InstallFlow(1));
    QCOMPARE(rig.controller->flow_screens(), (QList<KolvLiteScreen*>{&fork, c, &borrowed}));
    QCOMPARE(a->unloads, 1);
    QCOMPARE(b->unloads, 1);
    QCOMPARE(updated.last().at(0).toInt(), 1);
    QCOMPARE(fork.step_selected_option(), QStringLiteral("second"));

    // An invalid choice leaves the installed flow as it is.
    QVERIFY(!fork.InstallFlow(-1));
    QCOMPARE(fork.current_flow(), 1);
    QCOMPARE(rig.controller->flow_screens().size(), 3);

    // A nested fork's default flow follows it directly.
    QVERIFY(fork.InstallFlow(2));
    QCOMPARE(rig.controller->flow_screens(), (QList<KolvLiteScreen*>{&fork, nested, e, c}));
    QCOMPARE(nested->current_flow(), 0);

    // Unloading the fork takes its flow out, nested flows included.
    fork.Unload();
    QCOMPARE(rig.controller->flow_screens(), (QList<KolvLiteScreen*>{&fork}));
    QCOMPARE(fork.current_flow(), -1);
    QCOMPARE(nested->current_flow(), -1);
    QVERIFY(!fork.IsLoaded());

    // A flow screen deleted meanwhile (a plug-in's may be) is never installed or deleted again.
    delete b;
    QVERIFY(fork.InstallFlow(0));
    QCOMPARE(rig.controller->flow_screens(), (QList<KolvLiteScreen*>{&fork, a}));
    fork.Unload();

    // Owned screens go with the fork; a screen only lent to a flow stays.
    QPointer<KolvLiteScreen> watch_a(a), watch_e(e);
    QPointer<KolvLiteScreen> watch_borrowed(&borrowed);
    delete owner;
    QVERIFY(watch_a.isNull());
    QVERIFY(watch_e.isNull());
    QVERIFY(!watch_borrowed.isNull());
    QCOMPARE(rig.controller->flow_screens().size(), 0);
  }

  void diagnosticSelectionSwitchesBetweenItsFlows() {
    Rig rig;
    auto* selection = new DiagnosticSelectionScreen(rig.controller);
    rig.controller->AddFlowScreen(selection, true);
    selection->InstallDefaultFlow();
    QVERIFY(selection->execution_screen() != nullptr);
    QList<KolvLiteScreen*> recommended{selection, selection->execution_screen(),
                                       selection->execution_log_screen()};
    QCOMPARE(rig.controller->flow_screens(), recommended);
    QCOMPARE(selection->next_button()->text(), QStringLiteral("RUN_TESTS"));
    QVERIFY(FlowChoice(selection, "radial_button_recommended")->isChecked());

    // First in the flow: no back button.
    rig.controller->GoToScreen(selection);
    QVERIFY(selection->back_button()->parentWidget() == nullptr);
    QVERIFY(selection->next_button()->parentWidget() != nullptr);

    QSignalSpy updated(selection, &ForkScreen::UpdatedCurrentFlow);
    FlowChoice(selection, "radial_button_custom")->click();
    QList<KolvLiteScreen*> custom{selection, selection->devices_screen(),
                                  selection->tests_screen(), selection->execution_screen(),
                                  selection->execution_log_screen()};
    QCOMPARE(rig.controller->flow_screens(), custom);
    QCOMPARE(selection->next_button()->text(), QStringLiteral("NEXT"));
    QCOMPARE(selection->step_selected_option(), QStringLiteral("CUSTOM_TESTS"));
    FlowChoice(selection, "radial_button_custom")->click();
    QCOMPARE(updated.count(), 1);

    FlowChoice(selection, "radial_button_recommended")->click();
    QCOMPARE(rig.controller->flow_screens(), recommended);
    QCOMPARE(selection->step_selected_option(), QStringLiteral("RECOMMENDED_TESTS"));
    QCOMPARE(selection->next_button()->text(), QStringLiteral("RUN_TESTS"));
    QVERIFY(selection->next_button()->isEnabled());
    delete selection;
    QCOMPARE(rig.controller->flow_screens().size(), 0);
  }

  void backButtonShowsBehindAnotherScreen() {
    Rig rig;
    PlainScreen first(rig.controller, QStringLiteral("FIRST"));
    rig.controller->AddFlowScreen(&first, true);
    DiagnosticSelectionScreen selection(rig.controller);
    rig.controller->AddFlowScreen(&selection, true);
    rig.controller->GoToScreen(&first);
    rig.controller->GoToNextScreen();
    QVERIFY(selection.back_button()->parentWidget() != nullptr);
    QVERIFY(!selection.back_button()->isHidden());
    selection.back_button()->click();
    QCOMPARE(rig.controller->current_screen(), &first);
    QVERIFY(selection.back_button()->parentWidget() == nullptr);
  }

  void recommendedSelectionTakesTheFirstDiagnosticsSupportedTests() {
    Rig rig;
    QVERIFY(rig.module != nullptr);
    // Whatever was chosen before goes.
    auto* stale = new DeviceTestSelection;
    stale->diagnostics = new std::vector<DiagnosticTestSelection>;
    rig.context->selected_tests.append(stale);
    rig.context->runs = 4;
    DiagnosticSelectionScreen::FillRecommendedSelection(rig.controller);

    QCOMPARE(rig.context->selected_tests.size(), 1);
    DeviceTestSelection* record = rig.context->selected_tests.first();
    QCOMPARE(QString::fromStdString(record->device->id()), QStringLiteral("dev_2"));
    QCOMPARE(record->diagnostics->size(), size_t(1));
    const DiagnosticTestSelection& chosen = record->diagnostics->front();
    QCOMPARE(chosen.diagnostic, rig.module->diagnostics().front());
    QCOMPARE(chosen.tests.size(), size_t(2));
    QCOMPARE(QString::fromStdString(chosen.tests[0]->name()), QStringLiteral("AlphaTest"));
    QCOMPARE(QString::fromStdString(chosen.tests[1]->name()), QStringLiteral("BetaTest"));
    QCOMPARE(rig.context->runs, 4);
  }

  void moduleWithoutDiagnosticsHasNoRecommendedTests() {
    Rig rig(1);
    QVERIFY(rig.module != nullptr);
    QVERIFY(rig.module->diagnostics().empty());
    DiagnosticSelectionScreen::FillRecommendedSelection(rig.controller);
    QVERIFY(rig.context->selected_tests.isEmpty());
    rig.context->current_module = nullptr;
    DiagnosticSelectionScreen::FillRecommendedSelection(rig.controller);
    QVERIFY(rig.context->selected_tests.isEmpty());
  }

  // Recommended tests that fit none of the devices found leave nothing to run: the flow stays
  // here, with a word of why, instead of running an empty suite. Run stays open, since every Run
  // scans again.
  void recommendedWithNothingApplicableSaysWhy() {
    Rig rig(2, false);
    QVERIFY(rig.module != nullptr);
    DiagnosticSelectionScreen* selection = EnterRecommendedFlow(rig.controller);
    auto* loading = rig.context->devices_loading_screen;
    // Before the scan the devices are unknown: Next stays open and the scan decides.
    QVERIFY(selection->next_button()->isEnabled());
    QLabel* tell = selection->findChild<QLabel*>("label_nothing_applicable");
    QVERIFY(tell != nullptr);
    QVERIFY(tell->isHidden());
    const QString why = tell->text();
    selection->next_button()->click();
    QString reason;
    QVERIFY(QTest::qWaitFor([&] { return !loading->isBusy(reason); }, 20000));
    QCOMPARE(rig.controller->current_screen(), static_cast<KolvLiteScreen*>(selection));
    QVERIFY(selection->next_button()->isEnabled());
    QVERIFY(rig.context->selected_tests.isEmpty());
    // The user is told why nothing ran.
    QVERIFY(!why.isEmpty());
    QCOMPARE(why, KolvLiteTranslate("DiagnosticSelectionScreen", "NO_APPLICABLE_RECOMMENDED_TESTS"));
    QVERIFY(!tell->isHidden());
    QCOMPARE(tell->text(), why);
    // The custom flow stays open to the user; back on recommended, nothing has changed.
    FlowChoice(selection, "radial_button_custom")->click();
    QVERIFY(selection->next_button()->isEnabled());
    QVERIFY(tell->isHidden());
    FlowChoice(selection, "radial_button_recommended")->click();
    QVERIFY(selection->next_button()->isEnabled());
    QVERIFY(!tell->isHidden());
    delete selection;
    rig.controller->RemoveDefaultScreen(loading);
    delete loading;

    // A module without diagnostics has nothing to recommend, scanned or not.
    Rig bare(1, false);
    DiagnosticSelectionScreen empty(bare.controller);
    bare.controller->AddFlowScreen(&empty, true);
    empty.InstallDefaultFlow();
    bare.controller->GoToScreen(&empty);
    QVERIFY(!empty.next_button()->isEnabled());
    QVERIFY(!empty.findChild<QLabel*>("label_nothing_applicable")->isHidden());
  }

  // The first scan finds no device for the recommended tests, the next one does: the second Run
  // goes on to the execution with the new device.
  void recommendedRunIsNotBlockedByThePreviousScan() {
    Rig rig(4, false);
    QVERIFY(rig.module != nullptr);
    DiagnosticSelectionScreen* selection = EnterRecommendedFlow(rig.controller);
    auto* loading = rig.context->devices_loading_screen;
    QLabel* tell = selection->findChild<QLabel*>("label_nothing_applicable");
    QString reason;
    selection->next_button()->click();
    QVERIFY(QTest::qWaitFor([&] { return !loading->isBusy(reason); }, 20000));
    QCOMPARE(rig.controller->current_screen(), static_cast<KolvLiteScreen*>(selection));
    QVERIFY(!tell->isHidden());
    QVERIFY(rig.context->selected_tests.isEmpty());
    QVERIFY(selection->next_button()->isEnabled());

    selection->next_button()->click();
    QVERIFY(QTest::qWaitFor([&] { return !loading->isBusy(reason); }, 20000));
    QCOMPARE(rig.controller->current_screen(), selection->execution_screen());
    QCOMPARE(rig.context->selected_tests.size(), 1);
    QCOMPARE(QString::fromStdString(rig.context->selected_tests.first()->device->id()),
             QStringLiteral("late"));
    QVERIFY(QTest::qWaitFor([&] { return !selection->execution_screen()->isBusy(reason); }, 20000));
    delete selection;
    rig.controller->RemoveDefaultScreen(loading);
    delete loading;
  }

  void moduleOperationOffersTheToolFlow() {
    Rig rig;
    QVERIFY(rig.module != nullptr);
    QCOMPARE(rig.module->tools().size(), size_t(1));
    morva_service::ToolView* tool = rig.module->tools().front();
    PlainScreen tool_screen(rig.controller, QStringLiteral("TOOL"));
    rig.context->tool_screens.insert(tool, &tool_screen);
    auto* operation = new ModuleOperationScreen(rig.controller);
    rig.controller->AddFlowScreen(operation, true);
    operation->InstallDefaultFlow();
    QCOMPARE(operation->flow_count(), 0);

    rig.controller->GoToScreen(operation);
    QCOMPARE(operation->flow_count(), 2);
    QCOMPARE(operation->radio_group()->buttons().size(), 2);
    QCOMPARE(operation->tool_of_flow(1), tool);
    DiagnosticSelectionScreen* selection = operation->diagnostic_selection_screen();
    QVERIFY(selection != nullptr);
    QCOMPARE(rig.controller->flow_screens().value(1), selection);

    QAbstractButton* tool_radio = operation->radio_group()->button(1);
    QVERIFY(tool_radio != nullptr);
    tool_radio->click();
    QCOMPARE(rig.controller->flow_screens(),
             (QList<KolvLiteScreen*>{operation, &tool_screen}));
    operation->next_button()->click();
    QCOMPARE(rig.context->selected_tool, tool);
    QCOMPARE(rig.controller->current_screen(), &tool_screen);

    // Back on the main flow the tool stays chosen; the diagnostics follow the operation screen.
    rig.controller->GoToPreviousScreen();
    operation->main_radio()->click();
    operation->next_button()->click();
    QCOMPARE(rig.controller->current_screen(), selection);
    QCOMPARE(rig.context->selected_tool, tool);

    // Out of the flow and back: the same two flows, the choice installed again.
    rig.controller->RemoveFlowScreen(operation);
    QCOMPARE(rig.controller->flow_screens().size(), 0);
    rig.controller->AddFlowScreen(operation, true);
    rig.controller->GoToScreen(operation);
    QCOMPARE(operation->flow_count(), 2);
    QCOMPARE(rig.controller->flow_screens().value(1), selection);
    rig.controller->RemoveFlowScreen(operation);
    delete operation;
  }

  // A tool's name and description come from the engine: shown as written, without a keyboard
  // shortcut taken from an "&".
  void moduleOperationShowsToolTextsAsWritten() {
    ToolChoice choice(3);
    QVERIFY(choice.rig.module != nullptr);
    ModuleOperationScreen& operation = choice.operation;
    QAbstractButton* radio = operation.radio_group()->button(1);
    QVERIFY(radio != nullptr);
    QCOMPARE(radio->text(), QStringLiteral("<b>R&&D"));
    QVERIFY(QKeySequence::mnemonic(radio->text()).isEmpty());
    QLabel* description = nullptr;
    for (QLabel* label : operation.findChildren<QLabel*>()) {
      if (label->text() == QStringLiteral("<i>R&D</i>")) description = label;
    }
    QVERIFY(description != nullptr);
    QCOMPARE(description->textFormat(), Qt::PlainText);
    radio->click();
    QCOMPARE(operation.step_selected_option(), QStringLiteral("<b>R&D"));
  }

  // A tool's option reads as the main one: its radio and its description look the same.
  void moduleOperationToolOptionsLookLikeTheMainOne() {
    ToolChoice choice(0);
    QVERIFY(choice.rig.module != nullptr);
    ModuleOperationScreen& operation = choice.operation;
    QRadioButton* main_radio = operation.main_radio();
    auto* tool_radio = qobject_cast<QRadioButton*>(operation.radio_group()->button(1));
    QVERIFY(tool_radio != nullptr);
    QLabel* main_description = nullptr;
    QLabel* tool_description = nullptr;
    for (QLabel* label : operation.findChildren<QLabel*>()) {
      if (label->text() == QStringLiteral("DESCRIPTION_MAIN_MODULE_OPERATION")) {
        main_description = label;
      }
      if (label->text() == QStringLiteral("FIXER_DESCRIPTION")) tool_description = label;
    }
    QVERIFY(main_description != nullptr);
    QVERIFY(tool_description != nullptr);
    for (QWidget* widget : {static_cast<QWidget*>(main_radio), static_cast<QWidget*>(tool_radio),
                            static_cast<QWidget*>(main_description),
                            static_cast<QWidget*>(tool_description)}) {
      widget->ensurePolished();
    }
    QCOMPARE(tool_radio->accessibleName(), main_radio->accessibleName());
    QCOMPARE(tool_radio->font(), main_radio->font());
    QCOMPARE(tool_description->accessibleName(), main_description->accessibleName());
    QCOMPARE(tool_description->font(), main_description->font());
    QCOMPARE(tool_description->indent(), main_description->indent());
    QCOMPARE(tool_description->wordWrap(), main_description->wordWrap());
    QCOMPARE(tool_description->textFormat(), main_description->textFormat());
  }

  void moduleOperationWithoutToolsHasOnlyTheMainFlow() {
    Rig rig;
    ModuleOperationScreen operation(rig.controller);
    rig.controller->AddFlowScreen(&operation, true);
    rig.controller->GoToScreen(&operation);
    QCOMPARE(operation.flow_count(), 1);
    QCOMPARE(operation.radio_group()->buttons().size(), 1);
    QCOMPARE(operation.current_flow(), 0);
    QVERIFY(operation.next_button()->isEnabled());
  }
};

QTEST_MAIN(TestForkScreens)
#include "qtest_fork_screens.moc"
