#include "gui/logs/module_information.h"

#include <QLatin1String>

#include "gui/logs/html_generator.h"
#include "gui/shell/devices_scan_controller.h"
#include "gui/shell/kolv_lite_meta_types.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/widgets/link_label.h"
#include "gui/widgets/local_to_utf8.h"
#include "morva_service/views.h"

namespace {

// A module page asked for without a selected device; the list never lets that happen.
constexpr char kNoSelection[] = "ERROR: Invalid Me";

}  // namespace

ModuleInformation::ModuleInformation(morva_service::ModuleInterfaceView* module,
                                     DevicesScanController* scan_controller, int module_index)
    : QObject(nullptr),
      module_(module),
      device_labels_(new ClickableLabelGroup(ClickableLabelGroup::kSingleSticky)),
      module_index_(module_index),
      scan_controller_(scan_controller) {
  RegisterKolvLiteMetaTypes();
}

ModuleInformation::~ModuleInformation() { delete device_labels_; }

ClickableLabelGroup* ModuleInformation::DevicesRead() { return device_labels_; }

size_t ModuleInformation::HowManyComponents() { return devices_.size(); }

morva_service::SystemComponentView* ModuleInformation::Component(int index) {
  if (index < 0 || static_cast<size_t>(index) >= devices_.size()) return nullptr;
  return devices_[static_cast<size_t>(index)];
}

void ModuleInformation::ReadDevices() {
  if (scan_controller_ == nullptr || module_ == nullptr) {
    // Nothing can be read: end as a module without devices.
    FillDevicesList(module_);
    return;
  }
  connect(scan_controller_, &DevicesScanController::ScanFinished, this,
          &ModuleInformation::FillDevicesList, Qt::UniqueConnection);
  if (!scan_controller_->IsScanning(module_)) scan_controller_->Scan(module_);
}

void ModuleInformation::FillDevicesList(morva_service::ModuleInterfaceView* module) {
  if (module != module_) return;
  // One fill per read: a later scan of the module must not add its labels again.
  if (scan_controller_ != nullptr) {
    disconnect(scan_controller_, &DevicesScanController::ScanFinished, this,
               &ModuleInformation::FillDevicesList);
  }
  devices_.clear();
  device_labels_->Clear();
  if (module_ != nullptr && module_->system_component_count() != 0) {
    const std::vector<morva_service::SystemComponentView*> found = module_->system_components();
    for (morva_service::SystemComponentView* device : found) {
      if (device == nullptr) continue;
      devices_.push_back(device);
      auto* label = new LinkLabel(nullptr);
      label->setStyleSheet(QStringLiteral(".LinkLabel{font: 9pt 'Segoe UI';}"));
      label->set_checkable(true);
      label->SetElidedText(DeviceName(device));
      device_labels_->AddLabel(label);
    }
  }
  emit AllDevicesRead(module_index_);
  emit AllDevicesRead(module_);
}

QString ModuleInformation::DeviceName(morva_service::SystemComponentView* device) const {
  return KolvLiteTranslate(module_->name(), LocalToUtf8(device->information().display_name));
}

QString ModuleInformation::TranslatedModuleName() const {
  return module_ != nullptr ? KolvLiteTranslate(module_->name()) : QString();
}

morva_service::SystemComponentView* ModuleInformation::SelectedComponent() const {
  const int index = device_labels_->checked_index();
  if (index < 0 || static_cast<size_t>(index) >= devices_.size()) return nullptr;
  return devices_[static_cast<size_t>(index)];
}

QString ModuleInformation::SelectedComponentName() const {
  morva_service::SystemComponentView* device = SelectedComponent();
  return device != nullptr ? DeviceName(device) : QString();
}

QString ModuleInformation::SelectedComponentHtml(bool with_header) const {
  morva_service::SystemComponentView* device = SelectedComponent();
  if (device == nullptr) return QLatin1String(kNoSelection);
  HtmlGenerator generator;
  generator.set_translation_context(QString::fromStdString(module_->name()));
  QString html;
  generator.ReadSystemComponentInformation(html, device, with_header);
  return html;
}
