// The screen-flow controller: default and flow screens, the background flow screen, the
// breadcrumb steps that follow the flow, stopping every screen, and the action bar.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QResource>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>
#include <dlfcn.h>
#include <memory>

#include "gui/screens/gui_tool_plugins.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/widgets/breadcrumb_widget.h"
#include "tests/gui/shell/support/recording_screen.h"
#include "tests/gui/support/program_resources.h"

class ControllerTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<KolvLiteController> controller;
  std::vector<std::unique_ptr<RecordingScreen>> screens;

  RecordingScreen* Make(const QString& name, const QString& step = {}) {
    screens.push_back(std::make_unique<RecordingScreen>(controller.get(), name, step));
    return screens.back().get();
  }
  QStackedWidget* stack() { return controller->findChild<QStackedWidget*>("screens_stack"); }
  QStringList StepTexts() {
    QStringList texts;
    for (int i = 0; i < controller->breadcrumb()->step_count(); ++i) {
      texts << controller->breadcrumb()->step(i)->text();
    }
    return texts;
  }

 private slots:
  void initTestCase() {
    gui_test::RegisterProgramResources();
  }
  void init() {
    RecordingScreen::calls.clear();
    controller = std::make_unique<KolvLiteController>();
    controller->resize(640, 480);
  }
  void cleanup() {
    // Screens outlive the controller, as their creators own them.
    controller.reset();
    screens.clear();
  }

  void FirstScreenIsEnteredWithoutExit() {
    auto* home = Make("home");
    controller->AddDefaultScreen(home);
    controller->AddDefaultScreen(home);
    QCOMPARE(controller->default_screens().size(), 1);
    QVERIFY(controller->current_screen() == nullptr);
    controller->GoToScreen(home);
    QCOMPARE(RecordingScreen::calls, QStringList{"enter:home"});
    QCOMPARE(stack()->currentWidget(), home);
    // Entering it again, or a screen that is not a page, changes nothing.
    controller->GoToScreen(home);
    controller->GoToScreen(Make("stranger"));
    QCOMPARE(RecordingScreen::calls, QStringList{"enter:home"});
  }

  void NextAndPreviousStopAtTheEnds() {
    auto* a = Make("a", "Step A");
    auto* b = Make("b", "Step B");
    controller->AddFlowScreen(a, true);
    controller->AddFlowScreen(b, true);
    QCOMPARE(controller->breadcrumb()->current(), 0);
    controller->GoToScreen(a);
    controller->GoToPreviousScreen();
    QCOMPARE(controller->current_screen(), a);
    a->set_selected_option("chosen");
    controller->GoToNextScreen();
    QCOMPARE(controller->current_screen(), b);
    QCOMPARE(controller->breadcrumb()->current(), 1);
    QCOMPARE(controller->breadcrumb()->step(0)->subtext(), QString("chosen"));
    RecordingScreen::calls.clear();
    controller->GoToNextScreen();
    QVERIFY(RecordingScreen::calls.isEmpty());
    controller->GoToPreviousScreen();
    QCOMPARE(RecordingScreen::calls, (QStringList{"exit:b", "enter:a"}));
    QCOMPARE(controller->breadcrumb()->current(), 0);
    QCOMPARE(stack()->currentWidget(), a);
    QVERIFY(!controller->HasPreviousFlowScreen(a));
    QVERIFY(controller->HasPreviousFlowScreen(b));
    QVERIFY(controller->HasPreviousFlowScreen(Make("absent")));
  }

  void NextFromADefaultScreenDoesNothing() {
    auto* home = Make("home");
    auto* a = Make("a");
    controller->AddDefaultScreen(home);
    controller->AddFlowScreen(a, true);
    controller->GoToScreen(home);
    controller->GoToNextScreen();
    controller->GoToPreviousScreen();
    QCOMPARE(controller->current_screen(), home);
  }

  void DefaultScreensKeepTheFlowScreenInTheBackground() {
    auto* logs = Make("logs");
    auto* info = Make("info");
    auto* a = Make("a");
    auto* b = Make("b");
    controller->AddDefaultScreen(logs);
    controller->AddDefaultScreen(info);
    controller->AddFlowScreen(a, true);
    controller->AddFlowScreen(b, true);
    controller->GoToScreen(a);
    controller->GoToScreen(b);
    QVERIFY(!controller->HasBackgroundFlowScreen());
    controller->GoToScreen(logs);
    controller->GoToScreen(info);
    QCOMPARE(controller->background_flow_screen(), b);
    RecordingScreen::calls.clear();
    controller->GoToBackgroundFlowScreen();
    QCOMPARE(RecordingScreen::calls, (QStringList{"exit:info", "enter:b"}));
    QCOMPARE(controller->current_screen(), b);
    QVERIFY(!controller->HasBackgroundFlowScreen());
    controller->GoToBackgroundFlowScreen();
    QCOMPARE(controller->current_screen(), b);
  }

  void StepsOnlyForSteppedScreensAddedWithTheFlag() {
    auto* plain = Make("plain");
    auto* flagless = Make("flagless", "Not shown");
    auto* stepped = Make("stepped", "Shown");
    controller->AddFlowScreen(plain, true);
    controller->AddFlowScreen(flagless, false);
    controller->AddFlowScreen(stepped, true);
    controller->AddFlowScreen(stepped, true);
    QCOMPARE(StepTexts(), QStringList{"Shown"});
    QCOMPARE(controller->flow_screens().size(), 3);
    QCOMPARE(controller->breadcrumb()->current(), 0);
  }

  void RemovingAFlowScreenRemovesItsOwnStep() {
    auto* plain = Make("plain");
    auto* one = Make("one", "One");
    auto* two = Make("two", "Two");
    controller->AddFlowScreen(plain, true);
    controller->AddFlowScreen(one, true);
    controller->AddFlowScreen(two, true);
    // "two" sits third in the flow but second in the breadcrumb.
    controller->RemoveFlowScreen(two);
    QCOMPARE(StepTexts(), QStringList{"One"});
    QCOMPARE(two->unloads, 1);
    QVERIFY(two->parent() == nullptr);
    controller->RemoveFlowScreen(two);
    QCOMPARE(two->unloads, 1);
  }

  void RemovingTheCurrentOrBackgroundScreenForgetsIt() {
    auto* logs = Make("logs");
    auto* a = Make("a");
    controller->AddDefaultScreen(logs);
    controller->AddFlowScreen(a, true);
    controller->GoToScreen(a);
    controller->RemoveFlowScreen(a);
    QVERIFY(controller->current_screen() == nullptr);

    auto* b = Make("b");
    controller->AddFlowScreen(b, true);
    controller->GoToScreen(b);
    controller->GoToScreen(logs);
    QCOMPARE(controller->background_flow_screen(), b);
    controller->RemoveFlowScreen(b);
    QVERIFY(!controller->HasBackgroundFlowScreen());
    controller->GoToBackgroundFlowScreen();
    QCOMPARE(controller->current_screen(), logs);
  }

  void DeletedScreensAreForgotten() {
    auto* logs = Make("logs");
    controller->AddDefaultScreen(logs);
    auto doomed = std::make_unique<RecordingScreen>(controller.get(), "doomed", "Doomed");
    controller->AddFlowScreen(doomed.get(), true);
    controller->GoToScreen(doomed.get());
    controller->GoToScreen(logs);
    doomed.reset();
    QVERIFY(!controller->HasBackgroundFlowScreen());
    QVERIFY(controller->flow_screens().isEmpty());
    QCOMPARE(controller->breadcrumb()->step_count(), 0);
    controller->GoToBackgroundFlowScreen();
    QVERIFY(!controller->IsAnyScreenBusy());
  }

  // A screen that the left screen's OnExit deletes is not entered, whichever way leads there.
  void ScreensDeletedAsTheCurrentOneExitsAreNotEntered() {
    auto* logs = Make("logs");
    auto info = std::make_unique<RecordingScreen>(controller.get(), "info");
    auto flow = std::make_unique<RecordingScreen>(controller.get(), "flow");
    controller->AddDefaultScreen(logs);
    controller->AddDefaultScreen(info.get());
    controller->AddFlowScreen(flow.get(), true);
    controller->GoToScreen(flow.get());
    controller->GoToScreen(logs);
    logs->on_exit = [&info] { info.reset(); };
    controller->GoToScreen(info.get());
    logs->on_exit = [&flow] { flow.reset(); };
    controller->GoToBackgroundFlowScreen();
    logs->on_exit = nullptr;
    QVERIFY(!controller->HasBackgroundFlowScreen());
    QCOMPARE(RecordingScreen::calls.filter("enter:").last(), QStringLiteral("enter:logs"));
  }

  // A plug-in's screen that deletes itself as it unloads, on each way a screen leaves.
  void ScreensDeletingThemselvesOnUnloadAreForgotten() {
    auto self_deleting = [this](const QString& name) {
      auto* screen = new RecordingScreen(controller.get(), name, name);
      screen->delete_on_unload = true;
      return QPointer<RecordingScreen>(screen);
    };
    auto* home = Make("home");
    controller->AddDefaultScreen(home);
    const auto removed = self_deleting("removed");
    const auto background = self_deleting("background");
    const auto cleared = self_deleting("cleared");
    const auto default_screen = self_deleting("default");
    for (RecordingScreen* screen : {removed.data(), background.data(), cleared.data()})
      controller->AddFlowScreen(screen, true);
    controller->AddDefaultScreen(default_screen);
    controller->RemoveFlowScreen(removed);
    controller->GoToScreen(background);
    controller->GoToScreen(home);
    controller->ClearBackgroundFlowScreen();
    controller->ClearFlowScreens();
    controller->ClearDefaultScreens();
    QVERIFY(removed.isNull() && background.isNull() && cleared.isNull() && default_screen.isNull());
    QVERIFY(controller->flow_screens().isEmpty());
    QVERIFY(!controller->HasBackgroundFlowScreen());
    QCOMPARE(stack()->count(), 0);
  }

  void HomeClearsBackgroundAndFlow() {
    auto* home = Make("home");
    auto* a = Make("a", "A");
    auto* b = Make("b", "B");
    controller->AddDefaultScreen(home);
    controller->AddFlowScreen(a, true);
    controller->AddFlowScreen(b, true);
    controller->GoToScreen(a);
    controller->GoToScreen(home);
    controller->ClearBackgroundFlowScreen();
    controller->ClearFlowScreens();
    QVERIFY(controller->flow_screens().isEmpty());
    QVERIFY(!controller->HasBackgroundFlowScreen());
    QCOMPARE(stack()->count(), 1);
    QVERIFY(a->parent() == nullptr && b->parent() == nullptr);
    QCOMPARE(a->unloads, 1);
    QCOMPARE(b->unloads, 1);
    // The steps stay until the breadcrumb is cleared; a new flow then starts afresh.
    QCOMPARE(controller->breadcrumb()->step_count(), 2);
    controller->ClearBreadcrumb();
    auto* c = Make("c", "C");
    controller->AddFlowScreen(c, true);
    controller->RemoveFlowScreen(c);
    QCOMPARE(controller->breadcrumb()->step_count(), 0);
  }

  void StopAllWithIdleScreensAnnouncesOnce() {
    auto* home = Make("home");
    auto* a = Make("a");
    controller->AddDefaultScreen(home);
    controller->AddFlowScreen(a, true);
    QSignalSpy stopped(controller.get(), &KolvLiteController::AllStopped);
    controller->StopAll();
    QCOMPARE(stopped.count(), 1);
    controller->StopAll();
    QCOMPARE(stopped.count(), 2);
    // Each screen is asked once per round and its Stopped reaches the controller once.
    QCOMPARE(a->stop_requests, 2);
    emit a->Stopped(a);
    QCOMPARE(stopped.count(), 2);
  }

  void StopAllWaitsForTheBusyScreen() {
    auto* home = Make("home");
    auto* runner = Make("runner");
    controller->AddDefaultScreen(home);
    controller->AddFlowScreen(runner, true);
    runner->busy = true;
    QVERIFY(controller->IsAnyScreenBusy());
    QSignalSpy stopped(controller.get(), &KolvLiteController::AllStopped);
    controller->StopAll();
    QCOMPARE(stopped.count(), 0);
    runner->FinishWork();
    QCOMPARE(stopped.count(), 1);
    runner->FinishWork();
    QCOMPARE(stopped.count(), 1);
    // The last screen a round waits for leaves the flow unannounced: the round ends anyway.
    runner->busy = true;
    controller->StopAll();
    controller->RemoveFlowScreen(runner);
    QCOMPARE(stopped.count(), 2);
  }

  // A plug-in's screen that, asked whether it works or to stop, deletes the flow screen after
  // it, and when stopping reports Stopped for a busy default screen before it reports for itself.
  void BusyQuestionAndStopAllSurviveAMisbehavingPluginScreen() {
    void* library = dlopen(KOLV_TOY_ROGUE, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library != nullptr, dlerror());
    auto get_screen = reinterpret_cast<GetToolScreenFunction>(dlsym(library, "get_screen"));
    auto release = reinterpret_cast<ReleaseToolScreenFunction>(dlsym(library, "ReleaseToolScreen"));
    QVERIFY(get_screen != nullptr && release != nullptr);
    KolvLiteScreen* rogue = get_screen(controller.get());
    QVERIFY(rogue != nullptr);
    QPointer<RecordingScreen> asked = new RecordingScreen(controller.get(), "asked");
    QPointer<RecordingScreen> stopped_next = new RecordingScreen(controller.get(), "stopped");
    auto* after = Make("after");
    auto* runner = Make("runner");
    for (KolvLiteScreen* screen : {rogue, static_cast<KolvLiteScreen*>(asked),
                                   static_cast<KolvLiteScreen*>(stopped_next),
                                   static_cast<KolvLiteScreen*>(after)})
      controller->AddFlowScreen(screen, true);
    controller->AddDefaultScreen(runner);
    runner->busy = true;

    QVERIFY(controller->IsAnyScreenBusy());
    QVERIFY(asked.isNull());
    QCOMPARE(runner->busy_questions, 1);
    // Going home asks the flow screens alone, as carefully.
    QPointer<RecordingScreen> asked_home = new RecordingScreen(controller.get(), "asked home");
    for (KolvLiteScreen* screen :
         {static_cast<KolvLiteScreen*>(stopped_next), static_cast<KolvLiteScreen*>(after)})
      controller->RemoveFlowScreen(screen);
    for (KolvLiteScreen* screen : {static_cast<KolvLiteScreen*>(asked_home),
                                   static_cast<KolvLiteScreen*>(stopped_next),
                                   static_cast<KolvLiteScreen*>(after)})
      controller->AddFlowScreen(screen, true);
    after->busy = true;
    QVERIFY(controller->IsAnyFlowScreenBusy());
    QVERIFY(asked_home.isNull());
    QCOMPARE(runner->busy_questions, 1);
    after->busy = false;

    QSignalSpy stopped(controller.get(), &KolvLiteController::AllStopped);
    controller->StopAll();
    QVERIFY(stopped_next.isNull());
    QCOMPARE(controller->flow_screens(), (QList<KolvLiteScreen*>{rogue, after}));
    // The screens after the deleted one are still asked.
    QCOMPARE(after->stop_requests, 1);
    QCOMPARE(runner->stop_requests, 1);
    // The rogue's word does not stand for the runner, which is still working.
    QCOMPARE(stopped.count(), 0);
    runner->FinishWork();
    QCOMPARE(stopped.count(), 1);

    controller->RemoveFlowScreen(rogue);
    release(rogue);
    dlclose(library);
  }

  void StopAllWithNoScreensStillAnnounces() {
    QSignalSpy stopped(controller.get(), &KolvLiteController::AllStopped);
    controller->StopAll();
    QCOMPARE(stopped.count(), 1);
  }

  void BusyQuestionAsksFlowScreensFirstAndStopsAtTheFirst() {
    auto* home = Make("home");
    auto* a = Make("a");
    controller->AddDefaultScreen(home);
    controller->AddFlowScreen(a, true);
    a->busy = true;
    QVERIFY(controller->IsAnyScreenBusy());
    QCOMPARE(a->busy_questions, 1);
    QCOMPARE(home->busy_questions, 0);
    a->busy = false;
    QVERIFY(!controller->IsAnyScreenBusy());
    QCOMPARE(home->busy_questions, 1);
  }

  void KeysGoToTheCurrentScreenOnly() {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    controller->HandleKeyPress(&key);
    auto* home = Make("home");
    controller->AddDefaultScreen(home);
    controller->GoToScreen(home);
    controller->HandleKeyPress(&key);
    QCOMPARE(home->key_presses, 1);
  }

  void ActionBarWidgetsStayTheScreens() {
    auto button = std::make_unique<QPushButton>("Next");
    controller->show();
    controller->AddAndShowActionWidget(button.get());
    QVERIFY(button->isVisible());
    controller->RemoveAndHideActionWidget(button.get());
    QVERIFY(!button->isVisible());
    QVERIFY(button->parent() == nullptr);
    controller->AddActionWidget(button.get());
    QVERIFY(button->parent() != nullptr);
    QVERIFY(!button->isVisible());
    // The controller's end hands it back instead of deleting it.
    controller.reset();
    QVERIFY(button->parent() == nullptr);
  }

  void HomeButtonAndOverlayAreForwarded() {
    QSignalSpy home(controller.get(), &KolvLiteController::HomeClicked);
    controller->findChild<QPushButton*>("home_pushButton")->click();
    QCOMPARE(home.count(), 1);
    controller->show();
    controller->ShowOverlay();
    QWidget* overlay = controller->findChild<QWidget*>("OverlayForm");
    QVERIFY(overlay != nullptr);
    QVERIFY(overlay->isVisible());
    controller->resize(700, 500);
    QCOMPARE(overlay->size(), QSize(700, 500));
    controller->HideOverlay();
    QVERIFY(!overlay->isVisible());
  }

  // The module name comes from the engine or a module's catalogue: shown as written, as on its
  // tile.
  void ModuleNameIsPlainText() {
    controller->SetModuleName("<b>R&D");
    auto* label = controller->findChild<QLabel*>("module_name_label");
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), QString("<b>R&D"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
  }

  void ContextResetsThroughTheController() {
    KolvLiteContext* context = controller->execution_context();
    QVERIFY(context != nullptr);
    context->runs = 5;
    context->current_iteration = 3;
    controller->ClearExecutionContext();
    QCOMPARE(context->runs, 1);
    QCOMPARE(context->current_iteration, 0);
  }
};

QTEST_MAIN(ControllerTest)
#include "qtest_kolv_lite_controller.moc"
