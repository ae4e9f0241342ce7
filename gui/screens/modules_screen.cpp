#include "gui/screens/modules_screen.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMetaObject>
#include <QMutexLocker>
#include <QResource>
#include <QSet>
#include <QStackedWidget>
#include <QThread>

#include "gui/screens/diagnostic_selection_screen.h"
#include "gui/screens/module_button.h"
#include "gui/screens/module_operation_screen.h"
#include "gui/screens/modules_grid_layout.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/shell/translation_keys.h"
#include "morva_service/input_request.h"
#include "morva_service/views.h"
#include "zerka/zerka.h"
#include "ui_modules_screen.h"

namespace {

constexpr char kContext[] = "ModulesScreen";
constexpr char kNoModulesInstalled[] = "NO_MODULES_INSTALLED";
constexpr int kGridSpacing = 20;
// Width of a text field of the interaction dialog: a longer name could not wrap and would be cut.
constexpr int kDialogFieldWidth = 265;

QString ApplicationDirectory() {
  ZerkaFilesystem* filesystem = get_filesystem();
  return filesystem != nullptr ? QString::fromUtf8(filesystem->ApplicationDirectory().c_str())
                               : QString();
}

// Resource files registered by this process. Registering one again would stack a second copy
// of it on every home entry; a file is registered once and stays.
QSet<QString>& RegisteredResourceFiles() {
  static QSet<QString> files;
  return files;
}

}  // namespace

ModulesScreen::ModulesScreen(KolvLiteController* controller)
    : KolvLiteScreen(controller),
      stop_requested_(false),
      buttons_group_(nullptr),
      form_(new Ui::ModulesScreen),
      module_operation_screen_(nullptr),
      diagnostic_selection_screen_(nullptr),
      grid_layout_(nullptr) {
  BuildForm();
  // Only the wheel moves the tiles; the scroll area itself never takes the keyboard focus.
  form_->buttons_scrollArea->setFocusPolicy(
      static_cast<Qt::FocusPolicy>(Qt::WheelFocus & ~Qt::StrongFocus));
  grid_layout_ = new ModulesGridLayout(nullptr);
  grid_layout_->setContentsMargins(0, 3, 0, 6);
  grid_layout_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  grid_layout_->SetItemSpacing(kGridSpacing);
  form_->buttons_scrollContent->setLayout(grid_layout_);
  qRegisterMetaType<QVector<QString>>("QVector<QString>");
  RegisterKolvLiteMetaTypes();
}

ModulesScreen::~ModulesScreen() {
  DeleteOwnedScreens();
  UnloadToolScreens();
  ClearModules();
  delete form_;
}

void ModulesScreen::BuildForm() {
  form_->setupUi(this);
  form_->label->setText(KolvLiteTranslate(kContext, kNoModulesInstalled));
  // The stack laid its first page out while the label was still empty, and a page that is not
  // shown learns of no later change below it: it would keep the empty label's width.
  form_->no_modules_frame->updateGeometry();
  form_->verticalLayout_3->activate();
}

QList<ModuleButton*> ModulesScreen::buttons() const {
  QList<ModuleButton*> tiles;
  for (int id = 0; id < module_names_.size(); ++id) {
    if (auto* tile = qobject_cast<ModuleButton*>(buttons_group_.button(id))) tiles << tile;
  }
  return tiles;
}

QMap<int, QString> ModulesScreen::module_names() const { return module_names_; }

int ModulesScreen::current_page() const {
  return form_->modules_screen_stackedWidget->currentIndex();
}

KolvLiteScreen* ModulesScreen::module_flow_screen() const {
  if (module_operation_screen_ != nullptr) return module_operation_screen_;
  return diagnostic_selection_screen_;
}

QString ModulesScreen::ResourceFilePath(const QString& name) {
  return ApplicationDirectory() + QLatin1Char('/') + name.toLower() + QStringLiteral(".rcc");
}

void ModulesScreen::OnEnter() {
  // A run in the module's flow must not lose its screens under it: they go once it has ended.
  if (!controller->IsAnyFlowScreenBusy()) DeleteOwnedScreens();
  controller->HideActionBar();
  controller->HideBreadcrumb();
  controller->HideModuleName();
  controller->ClearBreadcrumb();

  // Reloading invalidates every module object; requests still queued for the old ones (a scan
  // another screen asked for) must have been served first.
  KolvLiteContext* context = controller->execution_context();
  const bool scans_pending = context->scan_controller != nullptr && context->scan_controller->IsBusy();
  if (!controller->IsAnyScreenBusy() && !scans_pending) {
    form_->modules_screen_stackedWidget->setCurrentIndex(kModulesPage);
    emit ModulesValidationStarted();
    StartClean();
    ClearModules();
    ReloadModules();
  }
  if (!module_names_.isEmpty()) {
    if (QAbstractButton* first = buttons_group_.button(0)) first->setFocus(Qt::OtherFocusReason);
  }
}

void ModulesScreen::DeleteOwnedScreens() {
  if (diagnostic_selection_screen_ != nullptr) {
    controller->RemoveFlowScreen(diagnostic_selection_screen_);
    delete diagnostic_selection_screen_;
    diagnostic_selection_screen_ = nullptr;
  }
  if (module_operation_screen_ != nullptr) {
    controller->RemoveFlowScreen(module_operation_screen_);
    delete module_operation_screen_;
    module_operation_screen_ = nullptr;
  }
}

void ModulesScreen::ClearModules() {
  controller->execution_context()->available_modules.clear();
  for (const QString& name : module_names_) KolvLiteTranslator::UninstallTranslator(name);
  {
    QMutexLocker lock(&mutex_);
    pending_modules_.clear();
  }
  module_names_.clear();
  for (QAbstractButton* button : buttons_group_.buttons()) buttons_group_.removeButton(button);
  while (QLayoutItem* item = grid_layout_->takeAt(0)) {
    if (QWidget* widget = item->widget()) {
      widget->setParent(nullptr);
      delete widget;
    }
    delete item;
  }
}

void ModulesScreen::InvokeExecutor(const char* slot) {
  KolvLiteContext* context = controller->execution_context();
  if (context == nullptr || context->executor == nullptr || context->worker == nullptr) return;
  if (!context->worker->isRunning() || QThread::currentThread() == context->worker) return;
  QMetaObject::invokeMethod(context->executor, slot, Qt::BlockingQueuedConnection);
}

void ModulesScreen::ReloadModules() {
  KolvLiteContext* context = controller->execution_context();
  InvokeExecutor("UnloadModules");
  InvokeExecutor("LoadModules");

  std::vector<morva_service::ModuleInterfaceView*> modules;
  if (std::vector<morva_service::ModuleInterfaceView*>* loaded = context->executor->loaded_modules()) {
    modules = *loaded;
  }
  QVector<QString> invalid;
  int counter = 0;

  if (modules.empty()) {
    form_->modules_screen_stackedWidget->setCurrentIndex(kNoModulesPage);
  } else {
    connect(context->scan_controller, &DevicesScanController::CheckFinished, this,
            &ModulesScreen::ModuleCheckFinish, Qt::UniqueConnection);
    for (morva_service::ModuleInterfaceView* module : modules) {
      if (module == nullptr) continue;
      const QString name = QString::fromStdString(module->name());
      if (!LoadModuleResources(name)) {
        invalid.append(name);
        continue;
      }
      auto* button = new ModuleButton(module, nullptr);
      button->setEnabled(false);
      connect(button, qOverload<morva_service::ModuleInterfaceView*>(&ModuleButton::clicked), this,
              &ModulesScreen::SetSelectedModule);
      grid_layout_->addWidget(button);
      buttons_group_.addButton(button, counter);
      module_names_.insert(counter, name);
      ++counter;
      {
        QMutexLocker lock(&mutex_);
        pending_modules_.insert(module, button);
      }
      context->scan_controller->CheckForComponents(module);
    }
  }

  if (!invalid.isEmpty()) {
    QMetaObject::invokeMethod(this, "DisplayModulesErrorsMessage", Qt::QueuedConnection,
                              Q_ARG(QVector<QString>, invalid));
  }
  loaded = true;

  // With no tile to check, validation is over already; the system information (BIOS) is there
  // even without any module.
  bool finished = false;
  {
    QMutexLocker lock(&mutex_);
    finished = pending_modules_.isEmpty();
  }
  if (finished) emit ModulesValidationFinished();
}

bool ModulesScreen::LoadModuleResources(QString name) {
  const QString path = ResourceFilePath(name);
  // A file removed since it was registered makes the module invalid all the same.
  if (!QFileInfo(path).isFile()) return false;
  QSet<QString>& registered = RegisteredResourceFiles();
  if (!registered.contains(path)) {
    if (!QResource::registerResource(path)) return false;
    registered.insert(path);
  }
  if (!KolvLiteTranslator::LoadTranslator(name)) return false;
  return KolvLiteTranslator::InstallTranslator(name);
}

void ModulesScreen::ModuleCheckFinish(morva_service::ModuleInterfaceView* mi, bool available) {
  ModuleButton* button = nullptr;
  bool finished = false;
  bool stopped = false;
  {
    QMutexLocker lock(&mutex_);
    button = pending_modules_.take(mi);
    finished = pending_modules_.isEmpty();
    stopped = finished && stop_requested_;
  }
  // Receivers may ask isBusy or Stop of this screen: nothing is emitted under the lock.
  if (button != nullptr) {
    button->setEnabled(available);
    button->update();
    if (available) controller->execution_context()->available_modules.append(mi);
  }
  if (finished) emit ModulesValidationFinished();
  if (stopped) emit Stopped(this);
}

void ModulesScreen::DisplayModulesErrorsMessage(QVector<QString> modules) {
  if (modules.isEmpty()) return;
  const QFontMetricsF metrics(QApplication::font());
  // Each name shares its line with the comma behind it.
  const qreal room = kDialogFieldWidth - metrics.horizontalAdvance(QLatin1Char(','));
  QStringList names;
  QStringList whole_names;
  for (const QString& name : modules) {
    const QString upper = name.toUpper();
    names << metrics.elidedText(upper, Qt::ElideRight, room).toHtmlEscaped();
    whole_names << upper;
  }
  const std::string text =
      (QStringLiteral("<span style=\"color: #666;\">") + names.join(QStringLiteral(", ")) +
       QStringLiteral("</span>"))
          .toStdString();

  InputRequest request(TranslationKeys::ERROR, std::string(), InputRequest::kError,
                       InputRequest::kOk);
  InputFieldLabel header;
  header.set_text(TranslationKeys::MODULES_WITH_ERRORS);
  KolvLiteRichTextLabel list;
  list.set_text(text);
  list.set_tooltip(whole_names.join(QStringLiteral(", ")).toStdString());
  InputFieldLabel advice;
  advice.set_text(TranslationKeys::PLEASE_REINSTALL_MESSAGE);
  request.fields = {&header, &list, &advice};
  KolvLiteDialog dialog(&request, parentWidget());
  dialog.exec();
}

void ModulesScreen::SetSelectedModule(morva_service::ModuleInterfaceView* mi) {
  if (mi == nullptr) return;
  // The screens of an earlier choice go first, unless a run of theirs is still going on.
  if (controller->IsAnyFlowScreenBusy()) return;
  DeleteOwnedScreens();
  // Home entered while another screen was busy left the earlier choice's run, selection and
  // tool screens in place: every choice starts clean, with only its own module's tools.
  StartClean();
  KolvLiteContext* context = controller->execution_context();
  const QString name = QString::fromStdString(mi->name());
  context->module_name = name;
  context->current_module = mi;
  LoadToolScreens(mi);

  KolvLiteScreen* screen = nullptr;
  if (context->tool_screens.isEmpty()) {
    auto* selection = new DiagnosticSelectionScreen(controller);
    diagnostic_selection_screen_ = selection;
    // It is the flow's first screen: there is nothing to go back to.
    selection->SetBackButtonVisible(false);
    controller->AddFlowScreen(selection, true);
    selection->InstallDefaultFlow();
    screen = selection;
  } else {
    auto* operation = new ModuleOperationScreen(controller);
    module_operation_screen_ = operation;
    controller->AddFlowScreen(operation, true);
    operation->InstallDefaultFlow();
    screen = operation;
  }
  controller->GoToScreen(screen);
  controller->SetModuleName(name);
  controller->ShowModuleName();
}

void ModulesScreen::LoadToolScreens(morva_service::ModuleInterfaceView* module) {
  const QMap<morva_service::ToolView*, KolvLiteScreen*> screens = tool_plugins_.Load(
      module, controller, get_filesystem() != nullptr ? get_filesystem()->ApplicationDirectory()
                                                      : std::string(),
      [this](const QString& name) { return LoadModuleResources(name); });
  KolvLiteContext* context = controller->execution_context();
  for (auto it = screens.begin(); it != screens.end(); ++it) {
    context->tool_screens.insert(it.key(), it.value());
  }
}

void ModulesScreen::UnloadToolScreens() {
  tool_plugins_.Unload(controller);
  // The plug-ins took their screens with them.
  controller->execution_context()->tool_screens.clear();
}

void ModulesScreen::StartClean() {
  UnloadToolScreens();
  controller->ClearExecutionContext();
}

bool ModulesScreen::isBusy(QString&) {
  QMutexLocker lock(&mutex_);
  return !pending_modules_.isEmpty();
}

void ModulesScreen::Stop() {
  bool idle = false;
  {
    QMutexLocker lock(&mutex_);
    stop_requested_ = true;
    idle = pending_modules_.isEmpty();
  }
  if (idle) emit Stopped(this);
}

void ModulesScreen::Unload() {
  InvokeExecutor("UnloadModules");
  // Every module object is gone with the unload: nothing may reach one through a tile, a
  // pending check or the list of available modules any more.
  ClearModules();
  loaded = false;
}
