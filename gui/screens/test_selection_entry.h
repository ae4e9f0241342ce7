// One test's row on the tests screen: its check box and the button that shows its description.
#pragma once

#include <QWidget>
#include <memory>

class GroupableCheckBox;
class QPushButton;

namespace Ui {
class TestSelectionEntry;
}  // namespace Ui

// Without Q_OBJECT on purpose: to style sheets, which match on class names, the row stays a
// plain QWidget.
class TestSelectionEntry : public QWidget {
 public:
  TestSelectionEntry();
  ~TestSelectionEntry() override;

  GroupableCheckBox* check_box() const;
  QPushButton* info_button() const;

 private:
  std::unique_ptr<Ui::TestSelectionEntry> form_;
};
