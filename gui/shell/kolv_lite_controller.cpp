#include "gui/shell/kolv_lite_controller.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QStyle>

#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_screen.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/widgets/breadcrumb_widget.h"
#include "gui/widgets/overlay_form.h"
#include "ui_kolv_lite_controller.h"

KolvLiteController::KolvLiteController(QWidget* parent)
    : QWidget(parent),
      breadcrumb_(new BreadcrumbWidget(nullptr)),
      overlay_(new OverlayForm(this)),
      stopping_round_(false),
      context_(new KolvLiteContext()),
      ui_(std::make_unique<Ui::KolvLiteController>()) {
  BuildForm();
  overlay_->setAttribute(Qt::WA_OpaquePaintEvent);
  connect(overlay_, &OverlayForm::Clicked, this, &KolvLiteController::OverlayClicked);
  connect(ui_->home_pushButton, &QPushButton::clicked, this, &KolvLiteController::HomeClicked);
  overlay_->hide();
}

KolvLiteController::~KolvLiteController() {
  // Screens belong to whoever made them: take them out before Qt deletes our children.
  for (KolvLiteScreen* screen : screens_.flow + screens_.defaults) {
    disconnect(screen, nullptr, this, nullptr);
    ui_->screens_stack->removeWidget(screen);
    screen->setParent(nullptr);
  }
  screens_.flow.clear();
  screens_.defaults.clear();
  if (screens_.background != nullptr) {
    disconnect(screens_.background, nullptr, this, nullptr);
    ui_->screens_stack->removeWidget(screens_.background);
    screens_.background->setParent(nullptr);
    screens_.background = nullptr;
  }
  screens_.current = nullptr;
  // Widgets that screens added to the action bar stay theirs as well.
  for (int i = ui_->action_bar_layout->count() - 1; i >= 0; --i) {
    QLayoutItem* item = ui_->action_bar_layout->itemAt(i);
    if (item->widget() == ui_->home_pushButton || item->spacerItem() == ui_->action_spacer) continue;
    ui_->action_bar_layout->takeAt(i);
    if (QWidget* widget = item->widget()) widget->setParent(nullptr);
    delete item;
  }
  delete context_;
}

void KolvLiteController::BuildForm() {
  ui_->setupUi(this);
  ui_->stack_layout->setContentsMargins(20, style()->pixelMetric(QStyle::PM_LayoutTopMargin), 20,
                                        10);
  ui_->breadcrumb_layout->addWidget(breadcrumb_);
}

QList<QPointer<KolvLiteScreen>> KolvLiteController::Guarded(const QList<KolvLiteScreen*>& screens) {
  QList<QPointer<KolvLiteScreen>> guarded;
  guarded.reserve(screens.size());
  for (KolvLiteScreen* screen : screens) guarded.append(screen);
  return guarded;
}

// --- screen lists ---------------------------------------------------------------------------

void KolvLiteController::Screens::OrphanStep(KolvLiteScreen* screen) {
  for (KolvLiteScreen*& owner : step_owners) {
    if (owner == screen) owner = nullptr;
  }
}

bool KolvLiteController::Screens::Forget(KolvLiteScreen* screen) {
  flow.removeAll(screen);
  defaults.removeAll(screen);
  if (current == screen) current = nullptr;
  if (background == screen) background = nullptr;
  return stopping.removeAll(screen) > 0;
}

void KolvLiteController::AddDefaultScreen(KolvLiteScreen* screen) {
  if (screen == nullptr || screens_.defaults.contains(screen)) return;
  screens_.defaults.append(screen);
  ui_->screens_stack->addWidget(screen);
  connect(screen, &QObject::destroyed, this, &KolvLiteController::OnScreenDestroyed,
          Qt::UniqueConnection);
}

void KolvLiteController::RemoveDefaultScreen(KolvLiteScreen* screen) {
  if (screens_.defaults.removeOne(screen)) ui_->screens_stack->removeWidget(screen);
}

void KolvLiteController::ClearDefaultScreens() {
  while (!screens_.defaults.isEmpty()) {
    KolvLiteScreen* screen = screens_.defaults.takeFirst();
    if (UnloadSurvives(screen)) DetachScreen(screen);
  }
}

void KolvLiteController::AddFlowScreen(KolvLiteScreen* screen, bool step) {
  if (screen == nullptr || screens_.flow.contains(screen)) return;
  screens_.flow.append(screen);
  ui_->screens_stack->addWidget(screen);
  connect(screen, &QObject::destroyed, this, &KolvLiteController::OnScreenDestroyed,
          Qt::UniqueConnection);
  if (step && screen->HasStep()) {
    breadcrumb_->AddStep(screen->step());
    screens_.step_owners.append(screen);
    if (breadcrumb_->step_count() == 1) breadcrumb_->Reset();
  }
}

void KolvLiteController::AddFlowScreens(QList<KolvLiteScreen*>& screens, bool step) {
  for (KolvLiteScreen* screen : screens) AddFlowScreen(screen, step);
}

void KolvLiteController::RemoveFlowScreen(KolvLiteScreen* screen) {
  if (!screens_.flow.contains(screen) || !UnloadSurvives(screen)) return;
  RemoveStepOf(screen);
  screens_.flow.removeOne(screen);
  DetachScreen(screen);
}

void KolvLiteController::ClearFlowScreens() {
  while (!screens_.flow.isEmpty()) {
    KolvLiteScreen* screen = screens_.flow.takeFirst();
    if (!UnloadSurvives(screen)) continue;
    // The steps stay until the breadcrumb is cleared; they just have no screen any more.
    screens_.OrphanStep(screen);
    DetachScreen(screen);
  }
}

void KolvLiteController::ClearBackgroundFlowScreen() {
  if (screens_.background == nullptr) return;
  KolvLiteScreen* screen = screens_.background;
  screens_.OrphanStep(screen);
  Forget(screen);
  // The screen leaves the flow: it must load afresh when it is added again, and it is not ours
  // to delete with the stacked widget.
  if (UnloadSurvives(screen)) DetachScreen(screen);
}

// A plug-in's screen may delete itself as it unloads; its destruction has then told us already.
bool KolvLiteController::UnloadSurvives(KolvLiteScreen* screen) {
  QPointer<KolvLiteScreen> alive(screen);
  screen->Unload();
  return !alive.isNull();
}

void KolvLiteController::DetachScreen(KolvLiteScreen* screen) {
  ui_->screens_stack->removeWidget(screen);
  screen->setParent(nullptr);
  Forget(screen);
  disconnect(screen, &QObject::destroyed, this, &KolvLiteController::OnScreenDestroyed);
}

void KolvLiteController::OnScreenDestroyed(QObject* object) {
  // The screen part of the object is already gone: only its address is compared, and a screen
  // starts with its QObject, so the two addresses are equal.
  auto* screen = reinterpret_cast<KolvLiteScreen*>(object);
  RemoveStepOf(screen);
  Forget(screen);
}

void KolvLiteController::Forget(KolvLiteScreen* screen) {
  // A screen that leaves is waited for no more: the last one a round waited for ends it.
  if (screens_.Forget(screen)) AnnounceIfAllStopped();
}

void KolvLiteController::RemoveStepOf(KolvLiteScreen* screen) {
  const int index = screens_.step_owners.indexOf(screen);
  if (index < 0) return;
  screens_.step_owners.removeAt(index);
  breadcrumb_->RemoveStep(index);
}

bool KolvLiteController::HasBreadcrumbStep(KolvLiteScreen* screen) const {
  return screen != nullptr && screens_.step_owners.contains(screen);
}

bool KolvLiteController::HasBackgroundFlowScreen() const { return screens_.background != nullptr; }

bool KolvLiteController::HasPreviousFlowScreen(KolvLiteScreen* screen) const {
  return screens_.flow.isEmpty() || screens_.flow.first() != screen;
}

bool KolvLiteController::IsAnyScreenBusy() { return AnyBusy(screens_.flow + screens_.defaults); }

bool KolvLiteController::IsAnyFlowScreenBusy() { return AnyBusy(screens_.flow); }

bool KolvLiteController::AnyBusy(const QList<KolvLiteScreen*>& screens) {
  QString message;
  for (const QPointer<KolvLiteScreen>& screen : Guarded(screens)) {
    if (!screen.isNull() && screen->isBusy(message)) return true;
  }
  return false;
}

KolvLiteContext* KolvLiteController::execution_context() const { return context_; }
KolvLiteScreen* KolvLiteController::current_screen() const { return screens_.current; }
KolvLiteScreen* KolvLiteController::background_flow_screen() const { return screens_.background; }
QList<KolvLiteScreen*> KolvLiteController::default_screens() const { return screens_.defaults; }
QList<KolvLiteScreen*> KolvLiteController::flow_screens() const { return screens_.flow; }
BreadcrumbWidget* KolvLiteController::breadcrumb() const { return breadcrumb_; }

void KolvLiteController::ClearBreadcrumb() {
  breadcrumb_->Clear();
  screens_.step_owners.clear();
}

void KolvLiteController::ClearExecutionContext() { context_->Clear(); }

void KolvLiteController::ShowCurrentBreadcrumbStepSubtext() {
  breadcrumb_->ShowCurrentStepSubtext();
}

void KolvLiteController::HideCurrentBreadcrumbStepSubtext() {
  breadcrumb_->HideCurrentStepSubtext();
}

void KolvLiteController::ShowGlobalButtons() { emit GlobalButtonsShown(); }

void KolvLiteController::HideGlobalButtons() { emit GlobalButtonsHidden(); }

// --- frame around the page ------------------------------------------------------------------

void KolvLiteController::HandleKeyPress(QKeyEvent* event) {
  // Before the first screen is entered there is no one to tell.
  if (screens_.current != nullptr) screens_.current->OnKeyPress(event);
}

void KolvLiteController::SetModuleName(QString name) {
  ui_->module_name_label->setText(KolvLiteTranslate(name.toStdString()));
}

void KolvLiteController::ShowModuleName() { ui_->module_name_frame->show(); }
void KolvLiteController::HideModuleName() { ui_->module_name_frame->hide(); }
void KolvLiteController::ShowActionBar() { ui_->action_bar->show(); }
void KolvLiteController::HideActionBar() { ui_->action_bar->hide(); }
void KolvLiteController::ShowBreadcrumb() { ui_->breadcrumb_frame->show(); }
void KolvLiteController::HideBreadcrumb() { ui_->breadcrumb_frame->hide(); }
void KolvLiteController::ShowHomeButton() { ui_->home_pushButton->show(); }
void KolvLiteController::HideHomeButton() { ui_->home_pushButton->hide(); }

void KolvLiteController::AddActionWidget(QWidget* widget) {
  if (widget == nullptr) return;
  ui_->action_bar_layout->addWidget(widget);
  // The layout would show it on its own; the screen decides when it appears.
  widget->hide();
}

void KolvLiteController::AddAndShowActionWidget(QWidget* widget) {
  if (widget == nullptr) return;
  ui_->action_bar_layout->addWidget(widget);
  widget->show();
}

void KolvLiteController::RemoveAndHideActionWidget(QWidget* widget) {
  if (widget == nullptr || ui_->action_bar_layout->indexOf(widget) < 0) return;
  widget->hide();
  ui_->action_bar_layout->removeWidget(widget);
  widget->setParent(nullptr);
}

void KolvLiteController::ShowOverlay() {
  overlay_->raise();
  overlay_->show();
}

void KolvLiteController::HideOverlay() { overlay_->hide(); }

void KolvLiteController::SetOverlayCentralWidget(QWidget* widget) {
  overlay_->SetCentralWidget(widget);
}

void KolvLiteController::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  overlay_->resize(event->size());
}

// --- moving between screens -----------------------------------------------------------------

void KolvLiteController::Enter(KolvLiteScreen* screen) {
  screens_.current = screen;
  screen->OnEnter();
  // OnEnter may have removed the screen again; only a page can be shown.
  if (screens_.current == screen && ui_->screens_stack->indexOf(screen) >= 0) {
    ui_->screens_stack->setCurrentWidget(screen);
  }
}

void KolvLiteController::GoToScreen(KolvLiteScreen* screen) {
  if (screen == nullptr || screen == screens_.current || ui_->screens_stack->indexOf(screen) < 0)
    return;
  if (screens_.current == nullptr) {
    Enter(screen);
    return;
  }
  KolvLiteScreen* leaving = screens_.current;
  const QPointer<KolvLiteScreen> target(screen);
  leaving->OnExit();
  // OnExit may have deleted the screen it was leaving for.
  if (target.isNull()) return;
  if (screens_.defaults.contains(screen) && screens_.flow.contains(leaving)) {
    screens_.background = leaving;
  }
  Enter(screen);
}

void KolvLiteController::GoToBackgroundFlowScreen() {
  if (screens_.current == nullptr || screens_.background == nullptr) return;
  screens_.current->OnExit();
  KolvLiteScreen* screen = screens_.background;
  screens_.background = nullptr;
  // OnExit may have deleted it, and with it the controller's note of it.
  if (screen != nullptr) Enter(screen);
}

void KolvLiteController::GoToNextScreen() {
  const int index = screens_.flow.indexOf(screens_.current);
  if (index < 0 || index == screens_.flow.size() - 1) return;
  KolvLiteScreen* leaving = screens_.current;
  leaving->OnExit();
  if (HasBreadcrumbStep(leaving)) {
    breadcrumb_->SetCurrentStepSubtext(leaving->step_selected_option());
  }
  // OnExit may have changed the flow: look the follower up again.
  const int now = screens_.flow.indexOf(leaving);
  KolvLiteScreen* next = screens_.flow.value(now < 0 ? index : now + 1, nullptr);
  if (next == nullptr) return;
  Enter(next);
  if (HasBreadcrumbStep(next)) breadcrumb_->NextStep();
}

void KolvLiteController::GoToPreviousScreen() {
  const int index = screens_.flow.indexOf(screens_.current);
  if (index <= 0) return;
  KolvLiteScreen* leaving = screens_.current;
  leaving->OnExit();
  if (HasBreadcrumbStep(leaving)) breadcrumb_->PreviousStep();
  const int now = screens_.flow.indexOf(leaving);
  KolvLiteScreen* previous = screens_.flow.value(now < 0 ? index - 1 : now - 1, nullptr);
  if (previous == nullptr) return;
  Enter(previous);
}

// --- stopping -------------------------------------------------------------------------------

void KolvLiteController::StopAll() {
  screens_.stopping.clear();
  stopping_round_ = true;
  for (KolvLiteScreen* screen : screens_.flow + screens_.defaults) {
    connect(screen, &KolvLiteScreen::Stopped, this, &KolvLiteController::ScreenStop,
            Qt::UniqueConnection);
    if (!screens_.stopping.contains(screen)) screens_.stopping.append(screen);
  }
  if (screens_.stopping.isEmpty()) {
    stopping_round_ = false;
    emit AllStopped();
    return;
  }
  for (const QPointer<KolvLiteScreen>& screen : Guarded(screens_.stopping)) {
    if (!screen.isNull()) screen->Stop();
  }
}

void KolvLiteController::ScreenStop(KolvLiteScreen* screen) {
  // A screen's Stopped speaks for that screen alone, whichever screen it names.
  if (auto* from = qobject_cast<KolvLiteScreen*>(sender())) screen = from;
  screens_.stopping.removeAll(screen);
  AnnounceIfAllStopped();
}

void KolvLiteController::AnnounceIfAllStopped() {
  // Announced once per StopAll: a screen that reports Stopped again later closes nothing twice.
  if (screens_.stopping.isEmpty() && stopping_round_) {
    stopping_round_ = false;
    emit AllStopped();
  }
}
