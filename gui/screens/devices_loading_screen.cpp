#include "gui/screens/devices_loading_screen.h"

#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QMovie>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

#include "gui/screens/action_button.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "morva_service/input_request.h"
#include "morva_service/views.h"

namespace {

constexpr char kContext[] = "DevicesLoadingScreen";
constexpr char kLoading[] = "LOADING";
constexpr char kAnimation[] = ":/kolv_lite/Resources/Images/General/imgAnimatedLoading.gif";
// Shipped with the widgets; used while the large animation is not in the resource file.
constexpr char kSmallAnimation[] = ":/kolv_lite/Resources/Images/General/smallLoading.gif";

const char kStyleSheet[] =
    "*[accessibleName=\"loading_label\"]{\n\tfont: bold 12pt \"Segoe UI\";\n}\n\n"
    "*[accessibleName=\"loading_box\"]{\n\tbackground-color: rgb(255, 255, 255);\n}";

}  // namespace

DevicesLoadingScreen::DevicesLoadingScreen(KolvLiteController* controller)
    : KolvLiteScreen(controller),
      stop_requested_(false),
      waiting_(false),
      cancel_button_(new QPushButton(nullptr)),
      movie_(nullptr),
      movie_label_(nullptr),
      loading_label_(nullptr) {
  RegisterKolvLiteMetaTypes();
  cancel_button_->setText(KolvLiteTranslate(TranslationKeys::CANCEL));
  cancel_button_->setAccessibleName(QStringLiteral("white_button"));
  cancel_button_->setEnabled(false);
  connect(cancel_button_, &QPushButton::clicked, this, &DevicesLoadingScreen::OnScanCanceled);
  BuildForm();
  const QString animation = QFile::exists(QLatin1String(kAnimation))
                                ? QString::fromLatin1(kAnimation)
                                : QString::fromLatin1(kSmallAnimation);
  movie_ = new QMovie(animation, QByteArray(), movie_label_);
  movie_label_->setMovie(movie_);
}

DevicesLoadingScreen::~DevicesLoadingScreen() {
  DeleteActionButtons(controller, {cancel_button_});
}

void DevicesLoadingScreen::BuildForm() {
  setObjectName(QStringLiteral("DevicesLoadingScreen"));
  resize(671, 438);
  setWindowTitle(QString());
  setStyleSheet(QLatin1String(kStyleSheet));
  auto* horizontal_layout = new QHBoxLayout(this);
  horizontal_layout->setObjectName(QStringLiteral("horizontalLayout"));
  horizontal_layout->setContentsMargins(0, 0, 0, 0);
  auto* grid_layout = new QGridLayout();
  grid_layout->setObjectName(QStringLiteral("gridLayout"));
  horizontal_layout->addLayout(grid_layout);

  auto* frame = new QFrame(this);
  frame->setObjectName(QStringLiteral("verticalFrame"));
  frame->setMinimumSize(250, 250);
  frame->setAccessibleName(QStringLiteral("loading_box"));
  frame->setAutoFillBackground(false);
  frame->setFrameShape(QFrame::NoFrame);
  frame->setFrameShadow(QFrame::Plain);
  frame->setLineWidth(0);
  grid_layout->addWidget(frame, 0, 0);

  auto* vertical_layout = new QVBoxLayout(frame);
  vertical_layout->setObjectName(QStringLiteral("verticalLayout"));
  vertical_layout->setSpacing(0);
  vertical_layout->setContentsMargins(0, 0, 0, 0);
  vertical_layout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
  movie_label_ = new QLabel(frame);
  movie_label_->setObjectName(QStringLiteral("movie_label"));
  movie_label_->setMinimumSize(90, 92);
  movie_label_->setMaximumHeight(92);
  movie_label_->setAlignment(Qt::AlignCenter);
  vertical_layout->addWidget(movie_label_);
  loading_label_ = new QLabel(frame);
  loading_label_->setObjectName(QStringLiteral("loading_label"));
  loading_label_->setAccessibleName(QStringLiteral("loading_label"));
  loading_label_->setStyleSheet(QStringLiteral(".QLabel { font: bold 10pt \"Segoe UI\";}"));
  loading_label_->setAlignment(Qt::AlignCenter);
  loading_label_->setText(KolvLiteTranslate(kContext, kLoading));
  vertical_layout->addWidget(loading_label_);
  vertical_layout->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
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
