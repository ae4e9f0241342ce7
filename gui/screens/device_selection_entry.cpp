#include "gui/screens/device_selection_entry.h"

#include "gui/shell/kolv_lite_translator.h"
#include "ui_device_selection_entry.h"

DeviceSelectionEntry::DeviceSelectionEntry() : form_(new Ui::DeviceSelectionEntry) {
  // Not a designable property.
  setAttribute(Qt::WA_StyledBackground, true);
  form_->setupUi(this);
  form_->info_pushButton->setToolTip(InfoToolTip());
}

DeviceSelectionEntry::~DeviceSelectionEntry() = default;

QString DeviceSelectionEntry::InfoToolTip() {
  return KolvLiteTranslate("DeviceSelectionEntry", "DEVICE_INFORMATION_TOOLTIP");
}

GroupableCheckBox* DeviceSelectionEntry::check_box() const { return form_->device_checkBox; }

QPushButton* DeviceSelectionEntry::info_button() const { return form_->info_pushButton; }
