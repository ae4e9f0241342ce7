// The home screen over a scripted engine: which modules become tiles, which tiles are enabled,
// the one error dialog, the validation signals, stopping, re-entering and choosing a module, and
// the loading of tool plug-ins, faulty ones among them; the empty page while hidden.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QResource>
#include <QSignalSpy>
#include <QTranslator>
#include <QTextDocument>
#include <QtTest>
#include <dlfcn.h>

#include <optional>

#include "gui/screens/diagnostic_selection_screen.h"
#include "gui/screens/gui_tool_plugins.h"
#include "gui/screens/module_button.h"
#include "gui/screens/module_operation_screen.h"
#include "gui/screens/modules_screen.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/morva_service_executor.h"
#include "morva_service/diagnostics.h"
#include "morva_service/views.h"
#include "tests/gui/shell/support/catalogue_builder.h"
#include "tests/gui/support/engine_rig.h"
#include "tests/gui/support/fake_module.h"
#include "support/dialog_watch.h"
#include "support/program_texts.h"
#include "support/stub_screen.h"

namespace {

// A module's resource file as the installer ships it: its catalogue under its own prefix.
bool PackModule(const QString& module, const QString& title, const QString& rcc_path) {
  const QString qm = test_support::ScratchPath(module) + "/" + module + "_en_US.qm";
  return CatalogueBuilder::WriteCatalogue(qm, module, {{module, title}}) &&
         CatalogueBuilder::PackResourceFile(
             rcc_path, "/" + module, {{"resources/translations/" + module + "_en_US.qm", qm}});
}

// Alpha and charlie are installed; bravo and delta have no resource file. Charlie's check says
// its components are missing. Checks take long enough to be caught while running.
const char kCatalogue[] = R"({
  "product_version": "5.1.0.2210",
  "modules": [
    {"name": "mstalpha", "version": "1.2.3.4", "check": {"result": true, "duration": 20}},
    {"name": "mstbravo", "check": {"result": true, "duration": 5}},
    {"name": "mstcharlie", "check": {"result": false, "duration": 30}},
    {"name": "mstdelta", "version": "2.0.0.0"}
  ]
})";

const char kNoModules[] = R"({"faults": {"no_modules": true}, "modules": []})";

// Only what the tool plug-in loader asks of a module and its tools: their names.
class NamedTool : public morva_service::ToolView {
 public:
  explicit NamedTool(std::string name) : name_(std::move(name)) {}
  void SetParameter(const std::string&, const std::vector<std::string>&) override {}
  std::vector<std::string> GetParameter(const std::string&) const override { return {}; }
  std::string name() const override { return name_; }
  std::string description() const override { return {}; }
  std::string hint() const override { return {}; }

 private:
  std::string name_;
};

// The plug-in calls noted by the toy plug-ins since the last look.
QStringList TakeToyCalls() {
  const QStringList calls = qEnvironmentVariable("KOLV_TOY_CALLS").split(';', Qt::SkipEmptyParts);
  qunsetenv("KOLV_TOY_CALLS");
  return calls;
}

bool ToyLoaded(const QString& file) {
  void* handle = dlopen((QStringLiteral(KOLV_TOY_PLUGINS "/") + file).toUtf8().constData(),
                        RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

}  // namespace

class ModulesScreenTest : public QObject {
  Q_OBJECT

 private:
  QStringList installed_;
  QTranslator main_translator_;
  KolvLiteController* controller_ = nullptr;
  ModulesScreen* screen_ = nullptr;
  // A default screen whose work runs until the test ends it.
  StubScreen* other_ = nullptr;
  // Every dialog is closed and the texts it showed kept. Lives through every test: an error
  // dialog may open after a test's own checks are done.
  QList<QStringList> shown_dialogs_;
  // How each dialog label that held markup was shown: rich or plain text.
  QList<Qt::TextFormat> markup_formats_;
  // Its tool tip, and whether its text fits its width once wrapped.
  QStringList markup_tool_tips_;
  QList<bool> markup_fits_;
  DialogWatch dialogs_{[this](KolvLiteDialog* dialog) {
    shown_dialogs_ << DialogLabels(dialog);
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      if (!label->text().contains(QLatin1String("<span"))) continue;
      markup_formats_ << label->textFormat();
      markup_tool_tips_ << label->toolTip();
      QTextDocument laid_out;
      laid_out.setDefaultFont(label->font());
      laid_out.setDocumentMargin(0);
      QTextOption as_the_label_wraps;
      as_the_label_wraps.setWrapMode(QTextOption::WordWrap);
      laid_out.setDefaultTextOption(as_the_label_wraps);
      laid_out.setHtml(label->text());
      laid_out.setTextWidth(label->contentsRect().width());
      markup_fits_ << (laid_out.idealWidth() <= label->contentsRect().width());
    }
    dialog->OnClose();
  }};

  morva_service::ModuleInterfaceView* Module(const std::string& name) {
    auto* modules = controller_->execution_context()->executor->loaded_modules();
    if (modules == nullptr) return nullptr;
    for (auto* module : *modules) {
      if (module->name() == name) return module;
    }
    return nullptr;
  }

  void Enter() {
    if (controller_->current_screen() == screen_) controller_->GoToScreen(other_);
    controller_->GoToScreen(screen_);
  }

 private slots:
  void initTestCase() {
    if (!CatalogueBuilder::ToolsAvailable()) QSKIP("lrelease or rcc missing");
    LoadProgramTexts(&main_translator_);
    if (QTest::currentTestFailed()) return;
    // The program folder is where the home screen looks for module resource files.
    for (const QString& module : {QString("mstalpha"), QString("mstcharlie")}) {
      const QString rcc = QCoreApplication::applicationDirPath() + "/" + module + ".rcc";
      QVERIFY(PackModule(module, module == "mstalpha" ? "Alpha module" : "Charlie module", rcc));
      installed_ << rcc << rcc + ".qrc";
    }
  }

  void cleanupTestCase() {
    for (const QString& rcc : installed_) QFile::remove(rcc);
    KolvLiteTranslator::ClearTranslators();
  }

  void init() {
    shown_dialogs_.clear();
    markup_formats_.clear();
    markup_tool_tips_.clear();
    markup_fits_.clear();
    controller_ = new KolvLiteController();
    screen_ = new ModulesScreen(controller_);
    other_ = new StubScreen(controller_);
    controller_->AddDefaultScreen(screen_);
    controller_->AddDefaultScreen(other_);
  }

  void cleanup() {
    // Checks still running must not answer into a deleted screen.
    QTRY_VERIFY_WITH_TIMEOUT(!controller_->execution_context()->scan_controller->IsBusy(), 10000);
    QCoreApplication::processEvents();
    controller_->ClearDefaultScreens();
    delete screen_;
    delete other_;
    delete controller_;
    screen_ = nullptr;
  }

  void ValidTilesCheckedInvalidModulesNamedOnce() {
    QSignalSpy started(screen_, &ModulesScreen::ModulesValidationStarted);
    QSignalSpy finished(screen_, &ModulesScreen::ModulesValidationFinished);
    Enter();

    QCOMPARE(started.count(), 1);
    QCOMPARE(screen_->current_page(), int(ModulesScreen::kModulesPage));
    QCOMPARE(screen_->module_names(), (QMap<int, QString>{{0, "mstalpha"}, {1, "mstcharlie"}}));
    const QList<ModuleButton*> tiles = screen_->buttons();
    QCOMPARE(tiles.size(), 2);
    QVERIFY(!tiles[0]->isEnabled() && !tiles[1]->isEnabled());
    QCOMPARE(tiles[0]->module(), Module("mstalpha"));
    QString message;
    QVERIFY(screen_->isBusy(message));
    QVERIFY(message.isEmpty());

    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QVERIFY(!screen_->isBusy(message));
    QVERIFY(tiles[0]->isEnabled());
    QVERIFY(!tiles[1]->isEnabled());
    QCOMPARE(tiles[1]->focusPolicy(), Qt::NoFocus);
    QCOMPARE(tiles[1]->StatusText(), QString("Not available"));
    QCOMPARE(controller_->execution_context()->available_modules,
             QVector<morva_service::ModuleInterfaceView*>{Module("mstalpha")});
    // Each tile speaks from its module's own catalogue; a module without version shows none.
    QCOMPARE(tiles[0]->title(), QString("Alpha module"));
    QCOMPARE(tiles[0]->version_text(), QString("v1.2.3.4"));
    QCOMPARE(tiles[1]->version_text(), QString());

    QTRY_COMPARE_WITH_TIMEOUT(shown_dialogs_.size(), 1, 5000);
    const QStringList texts = shown_dialogs_.first();
    QVERIFY2(texts.contains("<span style=\"color: #666;\">MSTBRAVO, MSTDELTA</span>"),
             qPrintable(texts.join(" | ")));
    QVERIFY(texts.contains(KolvLiteTranslate("MODULES_WITH_ERRORS")));
    QVERIFY(texts.contains(KolvLiteTranslate("PLEASE_REINSTALL_MESSAGE")));
    // The grey list is the program's own markup: drawn, not shown as tags.
    QCOMPARE(markup_formats_, QList<Qt::TextFormat>{Qt::RichText});
    QTest::qWait(200);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(shown_dialogs_.size(), 1);
  }

  // A name far wider than the dialog is elided, the others stay whole; the tool tip has them all.
  void LongModuleNameIsElidedInTheErrorDialog() {
    const QString long_name = QStringLiteral("mstverylongname").repeated(20);
    screen_->DisplayModulesErrorsMessage({long_name, QStringLiteral("mstshort")});
    QCOMPARE(shown_dialogs_.size(), 1);
    QCOMPARE(markup_fits_, QList<bool>{true});
    QString list;
    for (const QString& text : shown_dialogs_.first()) {
      if (text.contains(QLatin1String("<span"))) list = text;
    }
    QVERIFY2(list.contains(QChar(0x2026)), qPrintable(list));
    QVERIFY(!list.contains(long_name.toUpper()));
    QVERIFY(list.contains(QLatin1String("MSTSHORT")));
    QCOMPARE(markup_tool_tips_.size(), 1);
    QVERIFY(markup_tool_tips_.first().contains(long_name.toUpper()));
    QVERIFY(markup_tool_tips_.first().contains(QLatin1String("MSTSHORT")));
  }

  void StopWaitsForTheLastCheckAndReceiversMayAskBack() {
    QStringList order;
    QString message;
    // Receivers that ask the screen back at once must not hang on its lock.
    connect(screen_, &ModulesScreen::ModulesValidationFinished, this, [&] {
      order << (screen_->isBusy(message) ? "finished-busy" : "finished");
    });
    connect(screen_, &KolvLiteScreen::Stopped, this, [&] {
      order << (screen_->isBusy(message) ? "stopped-busy" : "stopped");
    });
    Enter();
    screen_->Stop();
    QVERIFY(order.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(order, (QStringList{"finished", "stopped"}), 10000);
    // Idle, a stop is answered at once.
    screen_->Stop();
    QCOMPARE(order, (QStringList{"finished", "stopped", "stopped"}));
  }

  void ReenteringReplacesTilesWithoutStackingResources() {
    QSignalSpy finished(screen_, &ModulesScreen::ModulesValidationFinished);
    Enter();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QPointer<ModuleButton> old_tile = screen_->buttons().first();
    Enter();
    QVERIFY(old_tile.isNull());
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
    QCOMPARE(KolvLiteTranslator::translation_contexts().count("mstalpha"), 1);
    QCOMPARE(KolvLiteTranslator::translation_contexts().count("mstcharlie"), 1);
    QCOMPARE(screen_->buttons().first()->title(), QString("Alpha module"));
    QTRY_COMPARE_WITH_TIMEOUT(shown_dialogs_.size(), 2, 5000);
  }

  void EnteringWhileAnotherScreenWorksKeepsTheTiles() {
    QSignalSpy started(screen_, &ModulesScreen::ModulesValidationStarted);
    QSignalSpy finished(screen_, &ModulesScreen::ModulesValidationFinished);
    Enter();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QPointer<ModuleButton> tile = screen_->buttons().first();
    other_->busy = true;
    Enter();
    other_->busy = false;
    QCOMPARE(started.count(), 1);
    QVERIFY(!tile.isNull());
    QVERIFY(tile->isEnabled());
    QTest::qWait(100);
    QCOMPARE(finished.count(), 1);
  }

  void ClickOnAnEnabledTileChoosesItsModule() {
    QSignalSpy finished(screen_, &ModulesScreen::ModulesValidationFinished);
    Enter();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    KolvLiteContext* context = controller_->execution_context();
    const QList<ModuleButton*> tiles = screen_->buttons();
    QTest::mouseClick(tiles[1], Qt::LeftButton);
    QVERIFY(context->current_module == nullptr);
    QTest::mouseClick(tiles[0], Qt::LeftButton);
    QCOMPARE(context->current_module, Module("mstalpha"));
    QCOMPARE(context->module_name, QString("mstalpha"));
    QVERIFY(context->tool_screens.isEmpty());
    // Without tool plug-ins the module's flow starts at the choice of diagnostics.
    QPointer<KolvLiteScreen> flow = screen_->module_flow_screen();
    QVERIFY(qobject_cast<DiagnosticSelectionScreen*>(flow.data()) != nullptr);
    QCOMPARE(controller_->current_screen(), flow.data());
    QCOMPARE(controller_->flow_screens().first(), flow.data());
    // Home again forgets the choice and its screens.
    controller_->GoToScreen(screen_);
    QVERIFY(flow.isNull());
    QVERIFY(context->current_module == nullptr);
  }

  // Home while another screen still works keeps the tiles, and with them whatever an earlier
  // run left in the context; the next module choice must start clean all the same.
  void ChoiceAfterHomeWhileBusyStartsClean() {
    QSignalSpy finished(screen_, &ModulesScreen::ModulesValidationFinished);
    Enter();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    KolvLiteContext* context = controller_->execution_context();
    ModuleButton* alpha = screen_->buttons().first();
    QTest::mouseClick(alpha, Qt::LeftButton);
    QVERIFY(screen_->module_flow_screen() != nullptr);
    // What a custom run of three iterations leaves behind, and the tool screen of a module with
    // a tool.
    context->runs = 3;
    context->iteration_start_times = {100, 101, 102};
    auto* record = new DeviceTestSelection;
    record->diagnostics = new std::vector<DiagnosticTestSelection>;
    context->selected_tests.append(record);
    StubScreen tool_screen(controller_);
    context->tool_screens.insert(nullptr, &tool_screen);

    other_->busy = true;
    Enter();
    other_->busy = false;
    QTest::mouseClick(alpha, Qt::LeftButton);
    QCOMPARE(context->current_module, Module("mstalpha"));
    QCOMPARE(context->runs, 1);
    QVERIFY(context->iteration_start_times.isEmpty());
    QVERIFY(context->selected_tests.isEmpty());
    QVERIFY(context->tool_screens.isEmpty());
    // A module without tools of its own starts at the choice of diagnostics.
    QVERIFY(qobject_cast<DiagnosticSelectionScreen*>(screen_->module_flow_screen()) != nullptr);
    QCOMPARE(controller_->current_screen(), screen_->module_flow_screen());
  }

  // A plug-in's flow screen that deletes the flow screen after it when asked whether it works:
  // entering home and choosing a module never ask the deleted screen, and still ask the rest.
  void MisbehavingPluginScreenInTheFlow() {
    QSignalSpy finished(screen_, &ModulesScreen::ModulesValidationFinished);
    Enter();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    void* library = dlopen(KOLV_TOY_ROGUE, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library != nullptr, dlerror());
    auto get_screen = reinterpret_cast<GetToolScreenFunction>(dlsym(library, "get_screen"));
    auto release = reinterpret_cast<ReleaseToolScreenFunction>(dlsym(library, "ReleaseToolScreen"));
    KolvLiteScreen* rogue = get_screen(controller_);
    StubScreen busy(controller_);
    busy.busy = true;
    controller_->AddFlowScreen(rogue, false);
    // One for each question: two on entering home, one on the click.
    for (int i = 0; i < 3; ++i) controller_->AddFlowScreen(new StubScreen(controller_), false);
    controller_->AddFlowScreen(&busy, false);
    Enter();
    QTest::mouseClick(screen_->buttons().first(), Qt::LeftButton);
    // Both questions found the busy screen: the click chose nothing.
    QVERIFY(screen_->module_flow_screen() == nullptr);
    QCOMPARE(controller_->flow_screens(), (QList<KolvLiteScreen*>{rogue, &busy}));
    controller_->ClearFlowScreens();
    release(rogue);
    dlclose(library);
  }

  // Tool screens die with the plug-ins that made them: a module's operations offered afterwards
  // name none of them.
  void ToolScreensGoneWithTheHomeScreenLeaveTheContext() {
    KolvLiteContext* context = controller_->execution_context();
    NamedTool tool("Toy_gone");
    gui_test::FakeModule module("msttools", nullptr, {&tool});
    StubScreen tool_screen(controller_);
    context->tool_screens.insert(&tool, &tool_screen);
    controller_->ClearDefaultScreens();
    delete screen_;
    screen_ = nullptr;
    QVERIFY(context->tool_screens.isEmpty());
    context->current_module = &module;
    {
      ModuleOperationScreen operation(controller_);
      controller_->AddFlowScreen(&operation, true);
      controller_->GoToScreen(&operation);
      QCOMPARE(operation.flow_count(), 1);
      QCOMPARE(operation.radio_group()->buttons().size(), 1);
      QVERIFY(operation.tool_of_flow(1) == nullptr);
      controller_->RemoveFlowScreen(&operation);
    }
    context->current_module = nullptr;
  }

  // Plug-ins that lack an entry point, give no screen or have no resources give the tool no
  // screen and are never asked for one they could not take back; of two files that match one
  // tool the first that gives a screen serves, and unloading gives that screen back to it.
  void FaultyToolPluginsGiveNoScreen() {
    NamedTool no_entry("Toy_noentry"), no_release("Toy_norelease"), null_screen("Toy_null"),
        no_rcc("Toy_norcc"), twin("Toy_twin");
    gui_test::FakeModule module("msttools", nullptr,
                                {&no_entry, &no_release, &null_screen, &no_rcc, &twin});
    QStringList asked;
    TakeToyCalls();
    GuiToolPlugins plugins;
    // Toy_norcc has no resource file.
    const auto screens =
        plugins.Load(&module, controller_, KOLV_TOY_PLUGINS, [&asked](const QString& name) {
          asked << name;
          return name != QStringLiteral("Toy_norcc_GUI");
        });
    QCOMPARE(screens.keys(), QList<morva_service::ToolView*>{&twin});
    QCOMPARE(plugins.tool_screens(), screens);
    QCOMPARE(plugins.tool_libraries().size(), 1);
    QVERIFY(!asked.contains(QStringLiteral("Toy_noentry_GUI")));
    QVERIFY(!asked.contains(QStringLiteral("Toy_norelease_GUI")));
    QCOMPARE(TakeToyCalls(), (QStringList{"toy_null:get_screen", "more_toy_twin:get_screen"}));
    // Only the library that serves stays loaded.
    QVERIFY(ToyLoaded("more_toy_twin_gui.so"));
    for (const char* file : {"toy_noentry_gui.so", "toy_norelease_gui.so", "toy_null_gui.so",
                             "toy_norcc_gui.so", "toy_twin_gui.so"})
      QVERIFY2(!ToyLoaded(file), file);

    QPointer<KolvLiteScreen> screen = screens.value(&twin);
    controller_->AddFlowScreen(screen, false);
    plugins.Unload(controller_);
    QVERIFY(screen.isNull());
    QVERIFY(controller_->flow_screens().isEmpty());
    QCOMPARE(TakeToyCalls(), QStringList{"more_toy_twin:release"});
    QVERIFY(!ToyLoaded("more_toy_twin_gui.so"));
    QVERIFY(plugins.tool_libraries().isEmpty());
    QVERIFY(plugins.tool_screens().isEmpty());
  }

  // A plug-in screen that deletes another plug-in's screen as it unloads: the deleted screen is
  // not given back to its plug-in a second time, and both libraries are unloaded.
  void PluginUnloadDeletingAnotherPluginsScreen() {
    NamedTool unruly("Toy_unruly"), wayward("Toy_wayward");
    gui_test::FakeModule module("msttools", nullptr, {&unruly, &wayward});
    GuiToolPlugins plugins;
    const auto screens =
        plugins.Load(&module, controller_, KOLV_TOY_PLUGINS, [](const QString&) { return true; });
    QCOMPARE(screens.size(), 2);
    for (KolvLiteScreen* screen : screens) controller_->AddFlowScreen(screen, false);
    TakeToyCalls();
    plugins.Unload(controller_);
    QCOMPARE(TakeToyCalls().filter(":release").size(), 1);
    QVERIFY(controller_->flow_screens().isEmpty());
    QVERIFY(!ToyLoaded("toy_unruly_gui.so") && !ToyLoaded("toy_wayward_gui.so"));
  }

  void HiddenEmptyPageKeepsTheWidthOfItsMessage() {
    // The tiles' page is current from the start; the hidden page still sets how narrow the
    // screen may become, and it must measure its message, not an empty label.
    auto* page = screen_->findChild<QWidget*>("no_modules_page");
    auto* label = screen_->findChild<QLabel*>("label");
    QVERIFY(page != nullptr && label != nullptr);
    QVERIFY(page->isHidden());
    QVERIFY(!label->text().isEmpty());
    const int message_width = label->minimumSizeHint().width();
    QVERIFY2(page->minimumSizeHint().width() >= message_width,
             qPrintable(QString::number(page->minimumSizeHint().width())));
    QVERIFY(screen_->minimumSizeHint().width() >= message_width);
  }

  void NoModulesShowsTheEmptyPageAndEndsValidation() {
    cleanup();
    std::optional<gui_test::CatalogueSwap> none(std::in_place, "no_modules.json", kNoModules);
    QVERIFY(none->written());
    init();
    QSignalSpy finished(screen_, &ModulesScreen::ModulesValidationFinished);
    Enter();
    QCOMPARE(screen_->current_page(), int(ModulesScreen::kNoModulesPage));
    QVERIFY(screen_->buttons().isEmpty());
    // Nothing is left to check: the system information may be shown at once.
    QCOMPARE(finished.count(), 1);
    QString message;
    QVERIFY(!screen_->isBusy(message));
    QTest::qWait(100);
    QVERIFY(shown_dialogs_.isEmpty());
    cleanup();
    none.reset();
    MorvaResetForTests();
    init();
  }
};

int main(int argc, char** argv) {
  const gui_test::CatalogueSwap catalogue("catalogue.json", kCatalogue);
  if (!catalogue.written()) return 1;
  QApplication app(argc, argv);
  KolvLiteTranslator::InitTranslator();
  ModulesScreenTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_modules_screen.moc"
