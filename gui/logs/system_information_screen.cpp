#include "gui/logs/system_information_screen.h"

#include <QLabel>
#include <QMutexLocker>
#include <QPushButton>
#include <QSizePolicy>
#include <QTextEdit>
#include <QToolButton>
#include <string>

#include "gui/logs/html_generator.h"
#include "gui/logs/system_information_screen_form.h"
#include "gui/screens/modules_grid_layout.h"
#include "gui/shell/action_button.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "gui/widgets/accordion_widget.h"
#include "gui/widgets/clickable_label.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/link_label.h"
#include "morva_service/views.h"

namespace {

constexpr char kDefaultFileName[] = "kolv_lite_system_info.html";
// Tag of the machine entry in the selection.
constexpr int kMachineTag = -1;

}  // namespace

SystemInformationScreen::SystemInformationScreen(KolvLiteController* screen_controller)
    : KolvLiteScreen(screen_controller),
      stop_requested(false),
      back_button(MakeActionButton(TranslationKeys::BACK, TranslationKeys::BACK_TOOLTIP,
                                   ActionButtonSize::kAtLeastStandard)),
      selection_group(nullptr),
      accordion(nullptr),
      form(new SystemInformationScreenForm),
      general_group_(nullptr) {
  RegisterKolvLiteMetaTypes();
  connect(back_button, &QPushButton::clicked, controller,
          &KolvLiteController::GoToBackgroundFlowScreen);

  accordion = new AccordionWidget(nullptr, AccordionWidget::kSingleClosable);
  BuildForm();
  connect(form->export_button, &QToolButton::clicked, this,
          &SystemInformationScreen::ExportComponentInformation);
  accordion->SetHeaderButtonsHidden(true);
  accordion->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  accordion->set_item_height(18);
  // An opened section gets its first entry selected, so the page shows what the list marks.
  connect(accordion, &AccordionWidget::ChangedCurrentTab, this,
          &SystemInformationScreen::SelectSectionEntry);
  ReadBiosTable();
}

SystemInformationScreen::~SystemInformationScreen() {
  DeleteActionButtons(controller, {back_button});
  // Module readers still waiting for a scan stop listening with their end.
  ForgetList();
  delete form;
}

void SystemInformationScreen::BuildForm() {
  setObjectName(QStringLiteral("SystemInformationsScreen"));
  form->setupUi(this);
  // The form file has no place for a layout of our own.
  auto* list_layout = new ModulesGridLayout(form->scrollAreaWidgetContents);
  list_layout->setContentsMargins(0, 0, 0, 0);
  list_layout->addWidget(accordion);
  form->html_area_->setContentsMargins(0, 0, 0, 0);
}

void SystemInformationScreen::ReadBiosTable() {
  std::vector<std::string> keys = {
      TranslationKeys::MODEL,          TranslationKeys::SYSTEM_SERIAL_NUMBER,
      TranslationKeys::SYSTEM_VENDOR,  TranslationKeys::SYSTEM_MANUFACTURER,
      TranslationKeys::BIOS_VERSION,   TranslationKeys::PROCESSOR_LABEL,
      TranslationKeys::PROCESSOR_MANUFACTURER};
  HtmlGenerator generator;
  QString html;
  // A machine without a BIOS record keeps an empty machine page.
  bios_html = generator.ReadBiosInformation(html, keys, true) ? html : QString();
}

void SystemInformationScreen::ForgetList() {
  delete selection_group;
  selection_group = nullptr;
  delete general_group_;
  general_group_ = nullptr;
  for (ModuleInformation* information : module_informations) delete information;
  module_informations.clear();
}

void SystemInformationScreen::OnEnter() {
  controller->AddActionWidget(back_button);
  back_button->setVisible(controller->HasBackgroundFlowScreen());
  controller->ShowHomeButton();
  controller->ShowActionBar();
  controller->HideBreadcrumb();
  controller->HideModuleName();
  loaded = true;

  {
    QMutexLocker lock(&pending_mutex);
    // A read of the last list is still under way: that list stays as it is.
    if (!pending_modules.isEmpty()) return;
  }
  ForgetList();
  selection_group = new ClickableLabelGroup(ClickableLabelGroup::kSingleSticky);
  BuildModuleSections();
  connect(selection_group, &ClickableLabelGroup::GroupStatusChanged, this,
          &SystemInformationScreen::ShowMainContent);
  selection_group->SelectLabel(0);
}

void SystemInformationScreen::BuildModuleSections() {
  std::vector<ModuleInformation*> to_read;
  {
    QMutexLocker lock(&pending_mutex);
    accordion->Clear();
    const int machine = accordion->AddSection(KolvLiteTranslate(TranslationKeys::SYSTEM_BUTTON),
                                              false);
    auto* general = new LinkLabel(nullptr);
    general->SetElidedText(KolvLiteTranslate(TranslationKeys::GENERAL_BUTTON));
    general->set_checkable(true);
    general_group_ = new ClickableLabelGroup(ClickableLabelGroup::kSingleSticky);
    general_group_->AddLabel(general);
    accordion->AddWidgetToSection(general, machine);
    selection_group->AddGroup(general_group_, kMachineTag);
    accordion->OpenSection(machine);

    KolvLiteContext* context = controller->execution_context();
    const QVector<morva_service::ModuleInterfaceView*> modules =
        context != nullptr ? context->available_modules
                           : QVector<morva_service::ModuleInterfaceView*>();
    DevicesScanController* scans = context != nullptr ? context->scan_controller : nullptr;
    for (int i = 0; i < modules.size(); ++i) {
      auto* information = new ModuleInformation(modules[i], scans, i);
      const int section = accordion->AddSection(information->TranslatedModuleName(), false);
      accordion->SetSectionHidden(section, false);
      accordion->SetSectionLoading(section, true);
      module_informations.push_back(information);
      pending_modules.append(modules[i]);
      connect(information, qOverload<int>(&ModuleInformation::AllDevicesRead), this,
              &SystemInformationScreen::AddComponentsToInterface);
      to_read.push_back(information);
    }
  }
  // Outside the lock: a scan control that answers at once comes back into this screen.
  for (ModuleInformation* information : to_read) information->ReadDevices();
}

void SystemInformationScreen::AddComponentsToInterface(int module_index) {
  bool stopped = false;
  {
    QMutexLocker lock(&interface_mutex);
    if (module_index < 0 || static_cast<size_t>(module_index) >= module_informations.size()) {
      return;
    }
    ModuleInformation* information = module_informations[static_cast<size_t>(module_index)];
    ClickableLabelGroup* labels = information->DevicesRead();
    const int section = module_index + 1;
    for (int i = 0; i < labels->count(); ++i) {
      accordion->AddWidgetToSection(labels->label(i), section);
    }
    if (labels->count() == 0) accordion->SetSectionHidden(section, true);
    if (selection_group != nullptr) selection_group->AddGroup(labels, section);
    accordion->SetSectionLoading(section, false);
    stopped = FinishPending(information->module());
  }
  // Announced with no lock held: whoever hears it may come straight back into the screen.
  if (stopped) emit Stopped(this);
}

bool SystemInformationScreen::FinishPending(morva_service::ModuleInterfaceView* module) {
  QMutexLocker lock(&pending_mutex);
  const bool was_pending = pending_modules.removeAll(module) > 0;
  return was_pending && stop_requested && pending_modules.isEmpty();
}

void SystemInformationScreen::OnModuleReadFinish(morva_service::ModuleInterfaceView* module) {
  if (FinishPending(module)) emit Stopped(this);
}

void SystemInformationScreen::SelectSectionEntry(int section) {
  if (selection_group == nullptr) return;
  const int tag = section == 0 ? kMachineTag : section;
  // A section opened again keeps the entry chosen in it before.
  if (selection_group->checked_index() >= 0 && selection_group->checked_group() == tag) return;
  ClickableLabel* first = nullptr;
  if (section == 0) {
    first = general_group_ != nullptr ? general_group_->label(0) : nullptr;
  } else if (static_cast<size_t>(section - 1) < module_informations.size()) {
    first = module_informations[static_cast<size_t>(section - 1)]->DevicesRead()->label(0);
  }
  if (first == nullptr) return;
  for (int i = 0; i < selection_group->count(); ++i) {
    if (selection_group->label(i) == first) {
      selection_group->SelectLabel(i);
      return;
    }
  }
}

void SystemInformationScreen::ShowMainContent() {
  if (selection_group == nullptr || selection_group->checked_index() < 0) return;
  const int tag = selection_group->checked_group();
  if (tag < 1) {
    form->module_header_->set_text(KolvLiteTranslate(TranslationKeys::SYSTEM_BUTTON));
    form->device_label_->set_text(KolvLiteTranslate(TranslationKeys::GENERAL_BUTTON));
  } else if (static_cast<size_t>(tag - 1) < module_informations.size()) {
    ModuleInformation* information = module_informations[static_cast<size_t>(tag - 1)];
    form->module_header_->set_text(information->TranslatedModuleName());
    form->device_label_->set_text(information->SelectedComponentName());
  } else {
    return;
  }
  form->html_area_->setHtml(SelectionHtml(false));
}

QString SystemInformationScreen::SelectionHtml(bool with_header) {
  if (selection_group == nullptr || selection_group->checked_index() < 0) return QString();
  const int tag = selection_group->checked_group();
  if (tag >= 1) {
    if (static_cast<size_t>(tag - 1) >= module_informations.size()) return QString();
    return module_informations[static_cast<size_t>(tag - 1)]->SelectedComponentHtml(with_header);
  }
  // Without machine data the machine page stays empty, title bar included.
  if (bios_html.isEmpty()) return QString();
  if (!with_header) return bios_html;
  HtmlGenerator generator;
  return generator.GenerateDeviceHeader(KolvLiteTranslate(TranslationKeys::GENERAL_BUTTON)) +
         bios_html;
}

void SystemInformationScreen::ExportComponentInformation() {
  HtmlGenerator generator;
  generator.ExportHtml(SelectionHtml(true), QLatin1String(kDefaultFileName),
                       QLatin1String(TranslationKeys::EXPORT_NOTICE_CAPTION),
                       QLatin1String(TranslationKeys::EXPORT_SUCCESS_INFO),
                       QLatin1String(TranslationKeys::EXPORT_NOTICE_CAPTION),
                       QLatin1String(TranslationKeys::EXPORT_FAILED_INFO),
                       QLatin1String(TranslationKeys::SYSTEM_INFORMATION_HEADER));
}

bool SystemInformationScreen::isBusy(QString&) {
  QMutexLocker lock(&pending_mutex);
  return !pending_modules.isEmpty();
}

void SystemInformationScreen::Stop() {
  bool idle = false;
  {
    QMutexLocker lock(&pending_mutex);
    stop_requested = true;
    idle = pending_modules.isEmpty();
  }
  // Otherwise the last module's labels bring Stopped.
  if (idle) emit Stopped(this);
}

void SystemInformationScreen::OnExit() {
  controller->RemoveAndHideActionWidget(back_button);
  {
    QMutexLocker lock(&pending_mutex);
    if (!pending_modules.isEmpty()) return;
  }
  ForgetList();
}

void SystemInformationScreen::Unload() { loaded = false; }
