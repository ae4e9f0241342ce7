// Shows one screen at a time and moves between the default screens and the screens of the
// current flow; owns the breadcrumb, the action bar, the overlay and the execution context.
#pragma once

#include <memory>

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class BreadcrumbWidget;
class KolvLiteContext;
class KolvLiteScreen;
class OverlayForm;
class QKeyEvent;
class QResizeEvent;

namespace Ui {
class KolvLiteController;
}

class KolvLiteController : public QWidget {
  Q_OBJECT

 public:
  explicit KolvLiteController(QWidget* parent = nullptr);
  ~KolvLiteController() override;

  void AddDefaultScreen(KolvLiteScreen* screen);
  void RemoveDefaultScreen(KolvLiteScreen* screen);
  void ClearDefaultScreens();
  // step: whether the screen's step joins the breadcrumb.
  void AddFlowScreen(KolvLiteScreen* screen, bool step);
  void AddFlowScreens(QList<KolvLiteScreen*>& screens, bool step);
  void RemoveFlowScreen(KolvLiteScreen* screen);
  void ClearFlowScreens();
  void ClearBackgroundFlowScreen();
  bool HasBackgroundFlowScreen() const;
  // False only when the screen is the first flow screen.
  bool HasPreviousFlowScreen(KolvLiteScreen* screen) const;
  bool IsAnyScreenBusy();
  // Only the module's flow screens, which going home deletes.
  bool IsAnyFlowScreenBusy();

  KolvLiteContext* execution_context() const;
  KolvLiteScreen* current_screen() const;
  KolvLiteScreen* background_flow_screen() const;
  QList<KolvLiteScreen*> default_screens() const;
  QList<KolvLiteScreen*> flow_screens() const;
  BreadcrumbWidget* breadcrumb() const;

  void ClearBreadcrumb();
  void ClearExecutionContext();
  void ShowCurrentBreadcrumbStepSubtext();
  void HideCurrentBreadcrumbStepSubtext();
  void ShowGlobalButtons();
  void HideGlobalButtons();

 signals:
  void HomeClicked();
  void GlobalButtonsHidden();
  void GlobalButtonsShown();
  void AllStopped();
  void OverlayClicked();

 public slots:
  void HandleKeyPress(QKeyEvent* event);
  void SetModuleName(QString name);
  void ShowModuleName();
  void HideModuleName();
  void ShowActionBar();
  void HideActionBar();
  void ShowBreadcrumb();
  void HideBreadcrumb();
  void ShowHomeButton();
  void HideHomeButton();
  void AddActionWidget(QWidget* widget);
  void AddAndShowActionWidget(QWidget* widget);
  void RemoveAndHideActionWidget(QWidget* widget);
  void ShowOverlay();
  void HideOverlay();
  void SetOverlayCentralWidget(QWidget* widget);
  void GoToNextScreen();
  void GoToPreviousScreen();
  void GoToBackgroundFlowScreen();
  void GoToScreen(KolvLiteScreen* screen);
  void StopAll();
  // Connected to every screen's Stopped: it counts for the screen that sent it. Called directly,
  // it counts for the screen given.
  void ScreenStop(KolvLiteScreen* screen);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildForm();
  void Enter(KolvLiteScreen* screen);
  // Unloads the screen; false when it deleted itself doing so (already forgotten then).
  bool UnloadSurvives(KolvLiteScreen* screen);
  // Takes a screen out of the stacked widget and forgets every pointer the controller keeps to it.
  void DetachScreen(KolvLiteScreen* screen);
  // Forgets the screen everywhere but in the steps.
  void Forget(KolvLiteScreen* screen);
  void AnnounceIfAllStopped();
  // Removes the screen's breadcrumb step, when it has one.
  void RemoveStepOf(KolvLiteScreen* screen);
  bool HasBreadcrumbStep(KolvLiteScreen* screen) const;
  // A screen's operations are outside code when a plug-in made the screen: any of them may
  // delete other screens, so a loop that calls them looks at each screen again first.
  static QList<QPointer<KolvLiteScreen>> Guarded(const QList<KolvLiteScreen*>& screens);
  static bool AnyBusy(const QList<KolvLiteScreen*>& screens);

 private slots:
  // A screen deleted by its creator without being removed first is forgotten.
  void OnScreenDestroyed(QObject* object);

 private:
  // Every record the controller keeps of its screens, together: a screen that leaves is
  // forgotten in all of them at once.
  struct Screens {
    QList<KolvLiteScreen*> defaults;
    QList<KolvLiteScreen*> flow;
    // One entry per breadcrumb step: the flow screen it belongs to, or null once that screen
    // has left the flow while its step stayed.
    QList<KolvLiteScreen*> step_owners;
    // The screens StopAll still waits for.
    QList<KolvLiteScreen*> stopping;
    KolvLiteScreen* current = nullptr;
    KolvLiteScreen* background = nullptr;

    // The screen's breadcrumb step stays, without a screen.
    void OrphanStep(KolvLiteScreen* screen);
    // Every record but the steps; true when StopAll was still waiting for the screen.
    bool Forget(KolvLiteScreen* screen);
  };

  BreadcrumbWidget* breadcrumb_;
  OverlayForm* overlay_;
  Screens screens_;
  // True from StopAll until AllStopped has been announced for it.
  bool stopping_round_;
  KolvLiteContext* context_;
  std::unique_ptr<Ui::KolvLiteController> ui_;
};
