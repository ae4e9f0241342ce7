#include "gui/screens/devices_loading_screen.h"

#include <QFile>
#include <QLabel>
#include <QMetaObject>
#include <QMovie>
#include <QPushButton>

#include "gui/shell/action_button.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "morva_service/input_request.h"
#include "morva_service/views.h"
#include "ui_devices_loading_screen.h"

namespace {

constexpr char kContext[] = "DevicesLoadingScreen";
constexpr char kLoading[] = "LOADING";
constexpr char kAnimation[] = ":/kolv_lite/Resources/Images/General/imgAnimatedLoading.gif";
// Shipped with the widgets; used while the large animation is not in the resource file.
constexpr char kSmallAnimation[] = ":/kolv_lite/Resources/Images/General/smallLoading.gif";

}  // namespace

DevicesLoadingScreen::DevicesLoadingScreen(KolvLiteController* controller)
    : KolvLiteScreen(controller),
      stop_requested_(false),
      waiting_(false),
      cancel_button_(MakeActionButtonWithText(KolvLiteTranslate(TranslationKeys::CANCEL),
                                              QString(), ActionButtonSize::kNatural)),
      movie_(nullptr),
      form_(new Ui::DevicesLoadingScreen) {
  RegisterKolvLiteMetaTypes();
  cancel_button_->setEnabled(false);
  connect(cancel_button_, &QPushButton::clicked, this, &DevicesLoadingScreen::OnScanCanceled);
  BuildForm();
  const QString animation = QFile::exists(QLatin1String(kAnimation))
                                ? QString::fromLatin1(kAnimation)
                                : QString::fromLatin1(kSmallAnimation);
  movie_ = new QMovie(animation, QByteArray(), form_->movie_label);
  form_->movie_label->setMovie(movie_);
}

DevicesLoadingScreen::~DevicesLoadingScreen() {
  DeleteActionButtons(controller, {cancel_button_});
  delete form_;
}

void DevicesLoadingScreen::BuildForm() {
  form_->setupUi(this);
  form_->loading_label->setText(KolvLiteTranslate(kContext, kLoading));
}

morva_service::ModuleInterfaceView* DevicesLoadingScreen::current_module() const {
  return controller->execution_context()->current_module;
}

void DevicesLoadingScreen::OnEnter() {
  controller->ShowBreadcrumb();
  controller->AddActionWidget(cancel_button_);
  controller->HideHomeButton();
  controller->HideGlobalButtons();
  cancel_button_->setEnabled(true);
  cancel_button_->hide();
  movie_->start();

  DevicesScanController* scans = controller->execution_context()->scan_controller;
  connect(scans, &DevicesScanController::ScanFinished, this, &DevicesLoadingScreen::OnScanFinish,
          Qt::UniqueConnection);
  waiting_ = true;
  morva_service::ModuleInterfaceView* module = current_module();
  if (module == nullptr) {
    // Nothing to scan: end as a scan without devices does, once the screen is up.
    QMetaObject::invokeMethod(this, "OnScanFinish", Qt::QueuedConnection,
                              Q_ARG(morva_service::ModuleInterfaceView*, nullptr));
    return;
  }
  if (!scans->IsScanning(module)) scans->Scan(module);
}

void DevicesLoadingScreen::OnScanFinish(morva_service::ModuleInterfaceView* mi) {
  // The scan control serves other screens too; only the end of our own wait counts.
  if (!waiting_ || mi != current_module()) return;
  if (stop_requested_) {
    waiting_ = false;
    DisconnectScanControl();
    emit Stopped(this);
    return;
  }
  // Heard once: a later scan end must not reach this use while the dialog below is open.
  waiting_ = false;
  DisconnectScanControl();
  controller->GoToBackgroundFlowScreen();
  if (mi == nullptr || mi->system_component_count() == 0) {
    InputRequest request(TranslationKeys::ERROR, TranslationKeys::DEVICES_LOADING_FAILED,
                         InputRequest::kError, InputRequest::kOk);
    {
      KolvLiteDialog dialog(&request, this);
      dialog.exec();
    }
    emit ScanFailed();
  } else {
    emit ScanSucceeded();
  }
  DisconnectCallers();
}

void DevicesLoadingScreen::OnScanCanceled() {
  controller->GoToBackgroundFlowScreen();
  waiting_ = false;
  DisconnectScanControl();
  emit ScanCanceled();
  DisconnectCallers();
}

void DevicesLoadingScreen::DisconnectScanControl() {
  disconnect(controller->execution_context()->scan_controller, nullptr, this, nullptr);
}

void DevicesLoadingScreen::DisconnectCallers() {
  disconnect(this, &DevicesLoadingScreen::ScanSucceeded, nullptr, nullptr);
  disconnect(this, &DevicesLoadingScreen::ScanFailed, nullptr, nullptr);
}

void DevicesLoadingScreen::OnExit() {
  controller->HideBreadcrumb();
  controller->ShowHomeButton();
  controller->ShowGlobalButtons();
  controller->RemoveAndHideActionWidget(cancel_button_);
  cancel_button_->setEnabled(false);
  movie_->stop();
}

void DevicesLoadingScreen::OnKeyPress(QKeyEvent*) {}

bool DevicesLoadingScreen::isBusy(QString&) { return waiting_; }

void DevicesLoadingScreen::Stop() {
  stop_requested_ = true;
  // Only a scan this screen waits for can hold the program; scans asked for by other screens
  // are theirs to wait for.
  if (!waiting_) emit Stopped(this);
}

void DevicesLoadingScreen::Unload() {}
