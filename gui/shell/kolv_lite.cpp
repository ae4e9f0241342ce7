#include "gui/shell/kolv_lite.h"

#include <QDBusConnection>
#include <QFile>
#include <QMessageBox>
#include <QResource>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include "gui/logs/core/legacy_log_migration.h"
#include "gui/logs/logs_screen.h"
#include "gui/logs/system_information_screen.h"
#include "gui/screens/devices_loading_screen.h"
#include "gui/screens/modules_screen.h"
#include "gui/shell/about_screen.h"
#include "gui/shell/engine_call.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_screen.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/kolv_lite_window.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/shell/power_event_filter.h"
#include "gui/shell/sleep_signal_watch.h"
#include "gui/shell/splash_screen.h"
#include "gui/shell/translation_keys.h"
#include "morva_service/input_request.h"
#include "morva_service/morva_service.h"
#include "zerka/zerka.h"

namespace {

// Lock results that mean another instance holds the lock.
constexpr int kLockHeldElsewhere = 63;
constexpr int kLockHeldElsewhereToo = 73;

StartupResult Failure(StartupResult::Check check, const QString& title, const QString& text) {
  StartupResult result;
  result.failed = check;
  result.title = title;
  result.text = text;
  return result;
}

}  // namespace

KolvLite::KolvLite(int& argc, char** argv)
    : QApplication(argc, argv),
      window_(nullptr),
      controller_(nullptr),
      logs_screen_(nullptr),
      modules_screen_(nullptr),
      system_information_screen_(nullptr),
      about_screen_(nullptr),
      devices_loading_screen_(nullptr),
      power_filter_(new PowerEventFilter(this)),
      closing_(false) {
  installNativeEventFilter(power_filter_);
}

KolvLite::~KolvLite() {
  removeNativeEventFilter(power_filter_);
  delete power_filter_;
  if (controller_ != nullptr) {
    controller_->ClearFlowScreens();
    controller_->ClearDefaultScreens();
  }
  delete logs_screen_;
  delete modules_screen_;
  delete system_information_screen_;
  delete devices_loading_screen_;
  delete about_screen_;
  delete splash_.data();
  // The controller and its execution context go with the window.
  delete window_;
  KolvLiteTranslator::ClearTranslators();
  KolvLiteTranslator::ReleaseInstance();
}

QString KolvLite::ResourceFilePath() {
  return QString::fromStdString(get_filesystem()->ApplicationDirectory()) +
         QStringLiteral("/kolv_lite.rcc");
}

StartupResult KolvLite::RunStartupChecks(QTranslator* main_translator,
                                         const QString& resource_file) {
  // Until the resource file and the language file are in, only the compiled-in texts exist.
  if (!QResource::registerResource(resource_file)) {
    KolvLiteTranslator::InstallKolvLiteInternalTranslator(main_translator);
    return Failure(StartupResult::kResourceFile,
                   KolvLiteTranslateInternal(InternalTranslationKeys::ERROR),
                   KolvLiteTranslateInternal(InternalTranslationKeys::RESOURCE_FILE_NOT_FOUND_TEXT));
  }
  if (!KolvLiteTranslator::InstallKolvLiteTranslator(main_translator)) {
    KolvLiteTranslator::InstallKolvLiteInternalTranslator(main_translator);
    return Failure(StartupResult::kLanguageFile,
                   KolvLiteTranslateInternal(InternalTranslationKeys::ERROR),
                   KolvLiteTranslateInternal(InternalTranslationKeys::NO_LANGUAGE_FILE_LOADED));
  }

  ZerkaUserAccount* account = CreatUserAccountInstance();
  const bool administrator = account != nullptr && account->IsAdministrator();
  if (account != nullptr) ReleaseUserAccountInstance(account);
  if (!administrator) {
    return Failure(StartupResult::kAdministrator, KolvLiteTranslate(TranslationKeys::ERROR),
                   KolvLiteTranslate(TranslationKeys::NOT_ENOUGH_PRIVILEGES_TEXT));
  }

  // Only a lock really taken lets the program run; it is held until the process ends.
  ZerkaAppMutex* lock = get_app_mutex();
  const int acquired = lock != nullptr ? lock->Acquire() : -1;
  if (acquired != 0) {
    if (lock != nullptr) release_app_mutex(lock);
    const bool elsewhere = acquired == kLockHeldElsewhere || acquired == kLockHeldElsewhereToo;
    return Failure(StartupResult::kSingleInstance, KolvLiteTranslate(TranslationKeys::ERROR),
                   KolvLiteTranslate(elsewhere ? TranslationKeys::NOT_FIRST_APPLICATION_INSTANCE
                                               : TranslationKeys::INSTANCE_LOCK_FAILED_TEXT));
  }

  // Without the engine nothing could run; better said now than failing on the worker later.
  morva_service::MorvaService* service = nullptr;
  EngineCallReturned([&service] { service = GetMorvaServiceInstance(); });
  if (service == nullptr) {
    lock->Release();
    release_app_mutex(lock);
    return Failure(StartupResult::kService, KolvLiteTranslate(TranslationKeys::ERROR),
                   KolvLiteTranslate(TranslationKeys::SERVICE_NOT_AVAILABLE_TEXT));
  }

  StartupResult result;
  result.ok = true;
  result.lock = lock;
  result.service = service;
  return result;
}

QMessageBox* KolvLite::CreateFailureBox(const StartupResult& result) {
  auto* box = new QMessageBox();
  box->setText(result.text);
  box->setWindowTitle(result.title);
  box->setIcon(QMessageBox::Critical);
  box->setStandardButtons(QMessageBox::Ok);
  return box;
}

QMessageBox* KolvLite::Launch(const StartupResult& startup) {
  if (!startup.ok) {
    QMessageBox* box = CreateFailureBox(startup);
    box->show();
    return box;
  }
  // The logs of an earlier installation join the current log before any screen reads it; a
  // start that failed (another instance running) leaves them to the instance that runs.
  MigrateLegacyLogs();
  if (Start()) return nullptr;
  QMessageBox* box = CreateFailureBox(Failure(StartupResult::kService,
                                              KolvLiteTranslate(TranslationKeys::ERROR),
                                              KolvLiteTranslate(TranslationKeys::SERVICE_NOT_AVAILABLE_TEXT)));
  box->show();
  return box;
}

bool KolvLite::Start() {
  QFile style(QStringLiteral(":/kolv_lite/Resources/Styles/kolv_lite.qss"));
  if (style.open(QIODevice::ReadOnly)) setStyleSheet(QString::fromUtf8(style.readAll()));

  window_ = new KolvLiteWindow(QStringLiteral("Kolv Lite"), nullptr);
  controller_ = new KolvLiteController(window_);
  // Every engine call runs on the worker: without it, or without the engine, the service cannot
  // be used at all.
  const KolvLiteContext* context = controller_->execution_context();
  if (!context->worker->isRunning() || context->executor->morva_service() == nullptr) {
    delete window_;
    window_ = nullptr;
    controller_ = nullptr;
    return false;
  }
  window_->AddScreenWidget(controller_);
  window_->IgnoreClose();
  window_->DisableGlobalButton(KolvLiteWindow::kSystemInfoButton);

  // A machine without a BIOS record shows the label without a serial number.
  const Bios* bios = get_bios();
  window_->SetBiosSerial(bios != nullptr ? QString::fromStdString(bios->serial_number())
                                         : QString());

  // The default screens join here, each built with the controller, as they land:
  logs_screen_ = new LogsScreen(controller_);
  auto* modules_screen = new ModulesScreen(controller_);
  modules_screen_ = modules_screen;
  system_information_screen_ = new SystemInformationScreen(controller_);
  auto* devices_loading_screen = new DevicesLoadingScreen(controller_);
  devices_loading_screen_ = devices_loading_screen;
  about_screen_ = new AboutScreen(window_);
  about_screen_->hide();

  controller_->AddDefaultScreen(modules_screen_);
  controller_->AddDefaultScreen(logs_screen_);
  controller_->AddDefaultScreen(system_information_screen_);
  controller_->AddDefaultScreen(devices_loading_screen_);
  controller_->execution_context()->devices_loading_screen = devices_loading_screen;
  connect(modules_screen, &ModulesScreen::ModulesValidationStarted, this,
          &KolvLite::DisableSystemInformationButton);
  connect(modules_screen, &ModulesScreen::ModulesValidationFinished, this,
          &KolvLite::EnableSystemInformationButton);

  connect(window_, &KolvLiteWindow::CloseClicked, this, &KolvLite::ConfirmClose);
  connect(window_, &KolvLiteWindow::LogClicked, this, &KolvLite::GoToLogsScreen);
  connect(window_, &KolvLiteWindow::SystemInfoClicked, this,
          &KolvLite::GoToSystemInformationScreen);
  connect(window_, &KolvLiteWindow::AboutClicked, this, &KolvLite::DisplayAboutScreen);
  connect(controller_, &KolvLiteController::HomeClicked, this, &KolvLite::GoToHomeScreen);
  connect(controller_, &KolvLiteController::GlobalButtonsHidden, window_,
          qOverload<>(&KolvLiteWindow::HideGlobalButtons));
  connect(controller_, &KolvLiteController::GlobalButtonsShown, window_,
          qOverload<>(&KolvLiteWindow::ShowGlobalButtons));
  connect(window_, &KolvLiteWindow::KeyPressed, controller_, &KolvLiteController::HandleKeyPress);
  connect(this, &KolvLite::ExecutionAborted, controller_, &KolvLiteController::StopAll);
  // Where the window system sends no power broadcast, logind tells of sleep and wake.
  auto* sleep_watch = new SleepSignalWatch(QDBusConnection::systemBus(), this);
  connect(sleep_watch, &SleepSignalWatch::PowerEvent, this,
          [this](unsigned long event) { HandlePowerBroadcast(kPowerBroadcast, event); });

  splash_ = new SplashScreen(nullptr);
  splash_->setAttribute(Qt::WA_DeleteOnClose);
  splash_->repaint();
  splash_->show();

  // One timer keeps the order: home screen entered, then the splash closes, then the window.
  QTimer::singleShot(kSplashMilliseconds, Qt::PreciseTimer, this, &KolvLite::FinishSplash);
  return true;
}

void KolvLite::FinishSplash() {
  GoToHomeScreen();
  if (splash_ != nullptr) splash_->close();
  if (window_ != nullptr) window_->show();
}

void KolvLite::Close() {
  window_->AcceptClose();
  window_->close();
  QCoreApplication::quit();
}

void KolvLite::ConfirmClose() {
  if (closing_) return;
  if (!controller_->IsAnyScreenBusy()) {
    Close();
    return;
  }
  InputRequest request(TranslationKeys::WARNING, TranslationKeys::CLOSE_CONFIRMATION_MESSAGE,
                       InputRequest::kWarning, InputRequest::kOkCancel);
  {
    KolvLiteDialog dialog(&request, window_);
    dialog.exec();
  }
  if (request.answer != InputRequest::kFirstButton) return;
  closing_ = true;

  // Open interaction dialogs of running work are answered "no answer" first.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget == window_) continue;
    if (auto* dialog = qobject_cast<KolvLiteDialog*>(widget)) dialog->OnClose();
  }
  // The page goes dead, but dialogs that running work opens meanwhile stay answerable.
  if (window_->centralWidget() != nullptr) window_->centralWidget()->setEnabled(false);
  if (controller_->IsAnyScreenBusy()) {
    connect(controller_, &KolvLiteController::AllStopped, this, &KolvLite::Close,
            Qt::UniqueConnection);
    // A screen that never reports Stopped must not keep the program open for good.
    QTimer::singleShot(kCloseWaitMilliseconds, this, &KolvLite::Close);
    emit ExecutionAborted();
  } else {
    Close();
  }
}

void KolvLite::GoToLogsScreen() { controller_->GoToScreen(logs_screen_); }

void KolvLite::GoToHomeScreen() {
  // The module's flow screens are deleted on the way home; a run in them must end first.
  if (controller_->IsAnyFlowScreenBusy()) return;
  controller_->GoToScreen(modules_screen_);
  controller_->ClearBackgroundFlowScreen();
  controller_->ClearFlowScreens();
}

void KolvLite::GoToSystemInformationScreen() {
  controller_->GoToScreen(system_information_screen_);
}

void KolvLite::EnableSystemInformationButton() {
  window_->EnableGlobalButton(KolvLiteWindow::kSystemInfoButton);
}

void KolvLite::DisableSystemInformationButton() {
  window_->DisableGlobalButton(KolvLiteWindow::kSystemInfoButton);
}

void KolvLite::DisplayAboutScreen() {
  if (window_ != nullptr) {
    const QRect w = window_->geometry();
    const QRect a = about_screen_->geometry();
    const int dx = (w.left() + w.right()) / 2 - (a.left() + a.right()) / 2;
    const int dy = (w.top() + w.bottom()) / 2 - (a.top() + a.bottom()) / 2;
    about_screen_->move(a.topLeft() + QPoint(dx, dy));
  }
  about_screen_->ScrollTextToTop();
  about_screen_->show();
}

bool KolvLite::HandlePowerBroadcast(unsigned message, unsigned long event) {
  if (message != kPowerBroadcast) return false;
  if (event == kPowerSuspend) return true;
  if (event == kPowerResumeSuspend) {
    if (window_ != nullptr) window_->update();
    return true;
  }
  return false;
}
