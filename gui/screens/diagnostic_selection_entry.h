// One diagnostic's row on the tests screen: its check box over its description.
#pragma once

#include <QWidget>
#include <memory>

class GroupableCheckBox;
class QLabel;

namespace Ui {
class DiagnosticSelectionEntry;
}  // namespace Ui

// Without Q_OBJECT on purpose: to style sheets, which match on class names, the row stays a
// plain QWidget.
class DiagnosticSelectionEntry : public QWidget {
 public:
  DiagnosticSelectionEntry();
  ~DiagnosticSelectionEntry() override;

  GroupableCheckBox* check_box() const;
  QLabel* description() const;

 private:
  std::unique_ptr<Ui::DiagnosticSelectionEntry> form_;
};
