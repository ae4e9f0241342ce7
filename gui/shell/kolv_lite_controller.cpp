#include "gui/shell/kolv_lite_controller.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QSpacerItem>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_screen.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "gui/widgets/breadcrumb.h"
#include "gui/widgets/overlay_form.h"

namespace {

constexpr int kModuleNameHeight = 40;
constexpr int kBreadcrumbFrameHeight = 68;
constexpr int kActionBarHeight = 48;

const char kActionBarStyle[] =
    "QFrame#action_bar {"
    " border-top: 2px solid qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 #BDBDBD, stop:0.5 #BDBDBD, stop:0.51 #FFFFFF, stop:1 #FFFFFF);"
    " background: #DDDDDD; }";

const char kHomeButtonStyle[] =
    "QPushButton#home_pushButton {"
    " background-image: url(:/kolv_lite/Resources/Images/Buttons/btnHome.png);"
    " border: none; }"
    "QPushButton#home_pushButton:hover {"
    " background-image: url(:/kolv_lite/Resources/Images/Buttons/btnHomeOver.png); }";

}  // namespace

KolvLiteController::KolvLiteController(QWidget* parent)
    : QWidget(parent),
      breadcrumb_(new BreadcrumbWidget(nullptr)),
      overlay_(new OverlayForm(this)),
      current_(nullptr),
      background_(nullptr),
      stopping_round_(false),
      context_(new KolvLiteContext()) {
  BuildForm();
  overlay_->setAttribute(Qt::WA_OpaquePaintEvent);
  connect(overlay_, &OverlayForm::Clicked, this, &KolvLiteController::OverlayClicked);
  connect(home_button_, &QPushButton::clicked, this, &KolvLiteController::HomeClicked);
  overlay_->hide();
}

KolvLiteController::~KolvLiteController() {
  // Screens belong to whoever made them: take them out before Qt deletes our children.
  for (KolvLiteScreen* screen : flow_screens_ + default_screens_) {
    disconnect(screen, nullptr, this, nullptr);
    screens_stack_->removeWidget(screen);
    screen->setParent(nullptr);
  }
  flow_screens_.clear();
  default_screens_.clear();
  if (background_ != nullptr) {
    disconnect(background_, nullptr, this, nullptr);
    screens_stack_->removeWidget(background_);
    background_->setParent(nullptr);
    background_ = nullptr;
  }
  current_ = nullptr;
  // Widgets that screens added to the action bar stay theirs as well.
  for (int i = action_bar_layout_->count() - 1; i >= 0; --i) {
    QLayoutItem* item = action_bar_layout_->itemAt(i);
    if (item->widget() == home_button_ || item->spacerItem() == action_spacer_) continue;
    action_bar_layout_->takeAt(i);
    if (QWidget* widget = item->widget()) widget->setParent(nullptr);
    delete item;
  }
  delete context_;
}

void KolvLiteController::BuildForm() {
  setObjectName(QStringLiteral("KolvLiteController"));
  resize(308, 209);
  auto* controller_layout = new QVBoxLayout(this);
  controller_layout->setObjectName(QStringLiteral("controller_layout"));
  controller_layout->setSpacing(0);
  controller_layout->setContentsMargins(0, 10, 0, 0);

  module_name_frame_ = new QFrame(this);
  module_name_frame_->setObjectName(QStringLiteral("module_name_frame"));
  module_name_frame_->setFrameShape(QFrame::NoFrame);
  module_name_frame_->setFrameShadow(QFrame::Plain);
  module_name_frame_->setFixedHeight(kModuleNameHeight);
  auto* module_name_layout = new QVBoxLayout(module_name_frame_);
  module_name_layout->setSpacing(0);
  module_name_layout->setContentsMargins(20, 0, 20, 0);
  module_name_label_ = new QLabel(module_name_frame_);
  module_name_label_->setObjectName(QStringLiteral("module_name_label"));
  QFont module_font(QStringLiteral("Segoe UI"), 15);
  module_font.setBold(true);
  module_name_label_->setFont(module_font);
  module_name_label_->setStyleSheet(
      QStringLiteral(".QLabel { font: 15pt \"Segoe UI\"; font-weight: bold;}"));
  module_name_label_->setMargin(0);
  module_name_label_->setIndent(0);
  // The engine names the module, and its tile shows the name as written.
  module_name_label_->setTextFormat(Qt::PlainText);
  module_name_layout->addWidget(module_name_label_);
  controller_layout->addWidget(module_name_frame_);

  breadcrumb_frame_ = new QFrame(this);
  breadcrumb_frame_->setObjectName(QStringLiteral("breadcrumb_frame"));
  breadcrumb_frame_->setFrameShape(QFrame::NoFrame);
  breadcrumb_frame_->setFrameShadow(QFrame::Plain);
  breadcrumb_frame_->setFixedHeight(kBreadcrumbFrameHeight);
  auto* breadcrumb_layout = new QHBoxLayout(breadcrumb_frame_);
  breadcrumb_layout->setObjectName(QStringLiteral("breadcrumb_layout"));
  breadcrumb_layout->setSpacing(0);
  breadcrumb_layout->setContentsMargins(20, 10, 20, 10);
  breadcrumb_layout->addWidget(breadcrumb_);
  controller_layout->addWidget(breadcrumb_frame_);

  auto* stack_layout = new QHBoxLayout();
  stack_layout->setSpacing(0);
  stack_layout->setContentsMargins(20, style()->pixelMetric(QStyle::PM_LayoutTopMargin), 20, 10);
  screens_stack_ = new QStackedWidget(this);
  screens_stack_->setObjectName(QStringLiteral("screens_stack"));
  screens_stack_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  stack_layout->addWidget(screens_stack_);
  controller_layout->addLayout(stack_layout);

  action_bar_ = new QFrame(this);
  action_bar_->setObjectName(QStringLiteral("action_bar"));
  action_bar_->setFixedHeight(kActionBarHeight);
  action_bar_->setStyleSheet(QLatin1String(kActionBarStyle));
  action_bar_layout_ = new QHBoxLayout(action_bar_);
  action_bar_layout_->setSpacing(10);
  action_bar_layout_->setContentsMargins(15, 10, 20, 10);
  home_button_ = new QPushButton(action_bar_);
  home_button_->setObjectName(QStringLiteral("home_pushButton"));
  home_button_->setFixedSize(25, 27);
  home_button_->setCursor(Qt::PointingHandCursor);
  home_button_->setFlat(true);
  home_button_->setIconSize(QSize(25, 27));
  home_button_->setStyleSheet(QLatin1String(kHomeButtonStyle));
  home_button_->setToolTip(KolvLiteTranslate(TranslationKeys::KOLV_LITE_CONTROLLER_CONTEXT,
                                             TranslationKeys::HOME_TOOLTIP));
  action_bar_layout_->addWidget(home_button_);
  action_spacer_ = new QSpacerItem(152, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
  action_bar_layout_->addItem(action_spacer_);
  controller_layout->addWidget(action_bar_);
}

QList<QPointer<KolvLiteScreen>> KolvLiteController::Guarded(const QList<KolvLiteScreen*>& screens) {
  QList<QPointer<KolvLiteScreen>> guarded;
  guarded.reserve(screens.size());
  for (KolvLiteScreen* screen : screens) guarded.append(screen);
  return guarded;
}

// --- screen lists ---------------------------------------------------------------------------

void KolvLiteController::AddDefaultScreen(KolvLiteScreen* screen) {
  if (screen == nullptr || default_screens_.contains(screen)) return;
  default_screens_.append(screen);
  screens_stack_->addWidget(screen);
  connect(screen, &QObject::destroyed, this, &KolvLiteController::OnScreenDestroyed,
          Qt::UniqueConnection);
}

void KolvLiteController::RemoveDefaultScreen(KolvLiteScreen* screen) {
  if (default_screens_.removeOne(screen)) screens_stack_->removeWidget(screen);
}

void KolvLiteController::ClearDefaultScreens() {
  while (!default_screens_.isEmpty()) {
    KolvLiteScreen* screen = default_screens_.takeFirst();
    screen->Unload();
    DetachScreen(screen);
  }
}

void KolvLiteController::AddFlowScreen(KolvLiteScreen* screen, bool step) {
  if (screen == nullptr || flow_screens_.contains(screen)) return;
  flow_screens_.append(screen);
  screens_stack_->addWidget(screen);
  connect(screen, &QObject::destroyed, this, &KolvLiteController::OnScreenDestroyed,
          Qt::UniqueConnection);
  if (step && screen->HasStep()) {
    breadcrumb_->AddStep(screen->step());
    step_owners_.append(screen);
    if (breadcrumb_->step_count() == 1) breadcrumb_->Reset();
  }
}

void KolvLiteController::AddFlowScreens(QList<KolvLiteScreen*>& screens, bool step) {
  for (KolvLiteScreen* screen : screens) AddFlowScreen(screen, step);
}

void KolvLiteController::RemoveFlowScreen(KolvLiteScreen* screen) {
  if (!flow_screens_.contains(screen)) return;
  screen->Unload();
  RemoveStepOf(screen);
  flow_screens_.removeOne(screen);
  DetachScreen(screen);
}

void KolvLiteController::ClearFlowScreens() {
  while (!flow_screens_.isEmpty()) {
    KolvLiteScreen* screen = flow_screens_.takeFirst();
    screen->Unload();
    // The steps stay until the breadcrumb is cleared; they just have no screen any more.
    for (KolvLiteScreen*& owner : step_owners_) {
      if (owner == screen) owner = nullptr;
    }
    DetachScreen(screen);
  }
}

void KolvLiteController::ClearBackgroundFlowScreen() {
  if (background_ == nullptr) return;
  KolvLiteScreen* screen = background_;
  background_ = nullptr;
  flow_screens_.removeOne(screen);
  for (KolvLiteScreen*& owner : step_owners_) {
    if (owner == screen) owner = nullptr;
  }
  // The screen leaves the flow: it must load afresh when it is added again, and it is not ours
  // to delete with the stacked widget.
  screen->Unload();
  DetachScreen(screen);
}

void KolvLiteController::DetachScreen(KolvLiteScreen* screen) {
  screens_stack_->removeWidget(screen);
  screen->setParent(nullptr);
  if (current_ == screen) current_ = nullptr;
  if (background_ == screen) background_ = nullptr;
  stopping_.removeAll(screen);
  if (!flow_screens_.contains(screen) && !default_screens_.contains(screen)) {
    disconnect(screen, &QObject::destroyed, this, &KolvLiteController::OnScreenDestroyed);
  }
}

void KolvLiteController::OnScreenDestroyed(QObject* object) {
  // The screen part of the object is already gone: only its address is compared, and a screen
  // starts with its QObject, so the two addresses are equal.
  auto* screen = reinterpret_cast<KolvLiteScreen*>(object);
  RemoveStepOf(screen);
  flow_screens_.removeAll(screen);
  default_screens_.removeAll(screen);
  if (current_ == screen) current_ = nullptr;
  if (background_ == screen) background_ = nullptr;
  if (stopping_.removeAll(screen) > 0 && stopping_.isEmpty() && stopping_round_) {
    stopping_round_ = false;
    emit AllStopped();
  }
}

void KolvLiteController::RemoveStepOf(KolvLiteScreen* screen) {
  const int index = step_owners_.indexOf(screen);
  if (index < 0) return;
  step_owners_.removeAt(index);
  breadcrumb_->RemoveStep(index);
}

bool KolvLiteController::HasBreadcrumbStep(KolvLiteScreen* screen) const {
  return screen != nullptr && step_owners_.contains(screen);
}

bool KolvLiteController::HasBackgroundFlowScreen() const { return background_ != nullptr; }

bool KolvLiteController::HasPreviousFlowScreen(KolvLiteScreen* screen) const {
  return flow_screens_.isEmpty() || flow_screens_.first() != screen;
}

bool KolvLiteController::IsAnyScreenBusy() {
  QString message;
  for (const QPointer<KolvLiteScreen>& screen : Guarded(flow_screens_ + default_screens_)) {
    if (!screen.isNull() && screen->isBusy(message)) return true;
  }
  return false;
}

KolvLiteContext* KolvLiteController::execution_context() const { return context_; }
KolvLiteScreen* KolvLiteController::current_screen() const { return current_; }
KolvLiteScreen* KolvLiteController::background_flow_screen() const { return background_; }
QList<KolvLiteScreen*> KolvLiteController::default_screens() const { return default_screens_; }
QList<KolvLiteScreen*> KolvLiteController::flow_screens() const { return flow_screens_; }
BreadcrumbWidget* KolvLiteController::breadcrumb() const { return breadcrumb_; }

void KolvLiteController::ClearBreadcrumb() {
  breadcrumb_->Clear();
  step_owners_.clear();
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
  if (current_ != nullptr) current_->OnKeyPress(event);
}

void KolvLiteController::SetModuleName(QString name) {
  module_name_label_->setText(KolvLiteTranslate(name.toStdString()));
}

void KolvLiteController::ShowModuleName() { module_name_frame_->show(); }
void KolvLiteController::HideModuleName() { module_name_frame_->hide(); }
void KolvLiteController::ShowActionBar() { action_bar_->show(); }
void KolvLiteController::HideActionBar() { action_bar_->hide(); }
void KolvLiteController::ShowBreadcrumb() { breadcrumb_frame_->show(); }
void KolvLiteController::HideBreadcrumb() { breadcrumb_frame_->hide(); }
void KolvLiteController::ShowHomeButton() { home_button_->show(); }
void KolvLiteController::HideHomeButton() { home_button_->hide(); }

void KolvLiteController::AddActionWidget(QWidget* widget) {
  if (widget == nullptr) return;
  action_bar_layout_->addWidget(widget);
  // The layout would show it on its own; the screen decides when it appears.
  widget->hide();
}

void KolvLiteController::AddAndShowActionWidget(QWidget* widget) {
  if (widget == nullptr) return;
  action_bar_layout_->addWidget(widget);
  widget->show();
}

void KolvLiteController::RemoveAndHideActionWidget(QWidget* widget) {
  if (widget == nullptr || action_bar_layout_->indexOf(widget) < 0) return;
  widget->hide();
  action_bar_layout_->removeWidget(widget);
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
  current_ = screen;
  screen->OnEnter();
  // OnEnter may have removed the screen again; only a page can be shown.
  if (current_ == screen && screens_stack_->indexOf(screen) >= 0) {
    screens_stack_->setCurrentWidget(screen);
  }
}

void KolvLiteController::GoToScreen(KolvLiteScreen* screen) {
  if (screen == nullptr || screen == current_ || screens_stack_->indexOf(screen) < 0) return;
  if (current_ == nullptr) {
    Enter(screen);
    return;
  }
  KolvLiteScreen* leaving = current_;
  leaving->OnExit();
  if (default_screens_.contains(screen) && flow_screens_.contains(leaving)) {
    background_ = leaving;
  }
  Enter(screen);
}

void KolvLiteController::GoToBackgroundFlowScreen() {
  if (current_ == nullptr || background_ == nullptr) return;
  current_->OnExit();
  KolvLiteScreen* screen = background_;
  background_ = nullptr;
  Enter(screen);
}

void KolvLiteController::GoToNextScreen() {
  const int index = flow_screens_.indexOf(current_);
  if (index < 0 || index == flow_screens_.size() - 1) return;
  KolvLiteScreen* leaving = current_;
  leaving->OnExit();
  if (HasBreadcrumbStep(leaving)) {
    breadcrumb_->SetCurrentStepSubtext(leaving->step_selected_option());
  }
  // OnExit may have changed the flow: look the follower up again.
  const int now = flow_screens_.indexOf(leaving);
  KolvLiteScreen* next = flow_screens_.value(now < 0 ? index : now + 1, nullptr);
  if (next == nullptr) return;
  Enter(next);
  if (HasBreadcrumbStep(next)) breadcrumb_->NextStep();
}

void KolvLiteController::GoToPreviousScreen() {
  const int index = flow_screens_.indexOf(current_);
  if (index <= 0) return;
  KolvLiteScreen* leaving = current_;
  leaving->OnExit();
  if (HasBreadcrumbStep(leaving)) breadcrumb_->PreviousStep();
  const int now = flow_screens_.indexOf(leaving);
  KolvLiteScreen* previous = flow_screens_.value(now < 0 ? index - 1 : now - 1, nullptr);
  if (previous == nullptr) return;
  Enter(previous);
}

// --- stopping -------------------------------------------------------------------------------

void KolvLiteController::StopAll() {
  stopping_.clear();
  stopping_round_ = true;
  for (KolvLiteScreen* screen : flow_screens_ + default_screens_) {
    connect(screen, &KolvLiteScreen::Stopped, this, &KolvLiteController::ScreenStop,
            Qt::UniqueConnection);
    if (!stopping_.contains(screen)) stopping_.append(screen);
  }
  if (stopping_.isEmpty()) {
    stopping_round_ = false;
    emit AllStopped();
    return;
  }
  for (const QPointer<KolvLiteScreen>& screen : Guarded(stopping_)) {
    if (!screen.isNull()) screen->Stop();
  }
}

void KolvLiteController::ScreenStop(KolvLiteScreen* screen) {
  // A screen's Stopped speaks for that screen alone, whichever screen it names.
  if (auto* from = qobject_cast<KolvLiteScreen*>(sender())) screen = from;
  stopping_.removeAll(screen);
  // Announced once per StopAll: a screen that reports Stopped again later closes nothing twice.
  if (stopping_.isEmpty() && stopping_round_) {
    stopping_round_ = false;
    emit AllStopped();
  }
}
