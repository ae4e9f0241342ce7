// One device's row on the devices screen: the device's check box, the button that shows its
// information, and a filler that keeps both at the left.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

class GroupableCheckBox;
class QPushButton;

namespace Ui {
class DeviceSelectionEntry;
}  // namespace Ui

// Without Q_OBJECT on purpose: to style sheets, which match on class names, the row stays a
// plain QWidget.
class DeviceSelectionEntry : public QWidget {
 public:
  DeviceSelectionEntry();
  ~DeviceSelectionEntry() override;

  // The tool tip of every information button of the selection screens' rows.
  static QString InfoToolTip();

  GroupableCheckBox* check_box() const;
  QPushButton* info_button() const;

 private:
  std::unique_ptr<Ui::DeviceSelectionEntry> form_;
};
