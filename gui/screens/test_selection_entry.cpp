#include "gui/screens/test_selection_entry.h"

#include "gui/screens/device_selection_entry.h"
#include "ui_test_selection_entry.h"

TestSelectionEntry::TestSelectionEntry() : form_(new Ui::TestSelectionEntry) {
  // Not a designable property.
  setAttribute(Qt::WA_StyledBackground, true);
  form_->setupUi(this);
  form_->info_pushButton->setToolTip(DeviceSelectionEntry::InfoToolTip());
}

TestSelectionEntry::~TestSelectionEntry() = default;

GroupableCheckBox* TestSelectionEntry::check_box() const { return form_->test_checkbox; }

QPushButton* TestSelectionEntry::info_button() const { return form_->info_pushButton; }
