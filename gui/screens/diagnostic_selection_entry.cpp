#include "gui/screens/diagnostic_selection_entry.h"

#include "ui_diagnostic_selection_entry.h"

DiagnosticSelectionEntry::DiagnosticSelectionEntry() : form_(new Ui::DiagnosticSelectionEntry) {
  // Not a designable property.
  setAttribute(Qt::WA_StyledBackground, true);
  form_->setupUi(this);
}

DiagnosticSelectionEntry::~DiagnosticSelectionEntry() = default;

GroupableCheckBox* DiagnosticSelectionEntry::check_box() const {
  return form_->diagnostic_checkBox;
}

QLabel* DiagnosticSelectionEntry::description() const { return form_->diagnostic_description; }
