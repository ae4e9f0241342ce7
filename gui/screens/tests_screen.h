// Lets the user pick, per ticked device, the tests to run and how many times to run them. The
// tree shows device, diagnostic and test rows; only tests that support the device appear, and
// diagnostics and devices left without any test are dropped.
#pragma once

#include <QMap>
#include <QPointer>
#include <QString>
#include <QVector>
#include <string>
#include <vector>

#include "gui/shell/kolv_lite_screen.h"

class DescriptionPopup;
class GroupableCheckBox;
class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace morva_service {
class DiagnosticView;
class SystemComponentView;
class TestView;
}  // namespace morva_service

namespace Ui {
class TestsScreen;
}  // namespace Ui

class TestsScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  explicit TestsScreen(KolvLiteController* controller);
  ~TestsScreen() override;

  TestsScreen(const TestsScreen&) = delete;
  TestsScreen& operator=(const TestsScreen&) = delete;

  QPushButton* run_button() const { return run_button_; }
  QPushButton* back_button() const { return back_button_; }
  GroupableCheckBox* select_all() const;
  QComboBox* iterations_combo() const;
  QTreeWidget* tree_widget() const;
  DescriptionPopup* info_popup() const { return info_popup_; }
  const QMap<QTreeWidgetItem*, morva_service::SystemComponentView*>& device_items() const {
    return device_items_;
  }
  const QMap<QTreeWidgetItem*, morva_service::DiagnosticView*>& diagnostic_items() const {
    return diagnostic_items_;
  }
  const QMap<QTreeWidgetItem*, morva_service::TestView*>& test_items() const {
    return test_items_;
  }
  const QMap<GroupableCheckBox*, QTreeWidgetItem*>& test_boxes() const { return test_boxes_; }
  const QMap<QAbstractButton*, QTreeWidgetItem*>& info_rows() const { return info_rows_; }

 public slots:
  void OnEnter() override;
  void OnExit() override;
  void OnKeyPress(QKeyEvent* event) override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void Unload() override;

 private slots:
  void SetSelectedTests();
  void UpdateRunTestsButton(bool checked);
  void DisplayTestInfo(QAbstractButton* ref);
  void HideTestInfo();

 private:
  void CheckDevicesChanged();
  void ClearTestsTree();
  void FillTestsTree();
  void AddDeviceRow(morva_service::SystemComponentView* device,
                    const std::vector<morva_service::DiagnosticView*>& diagnostics);
  // Returns whether the diagnostic kept a row: whether any of its tests applies to the device.
  bool AddDiagnosticRow(QTreeWidgetItem* device_row, GroupableCheckBox* device_box,
                        morva_service::SystemComponentView* device,
                        morva_service::DiagnosticView* diagnostic, bool ticked);
  void AddTestRow(QTreeWidgetItem* diagnostic_row, GroupableCheckBox* diagnostic_box,
                  morva_service::TestView* test, bool ticked);
  void BuildForm();
  // True when any test check box is ticked.
  bool AnyTestChecked() const;
  // Tells why the tree is empty when no test applies to any chosen device.
  void ShowWhetherAnythingApplies();
  QString Translate(const std::string& key) const;

  QMap<GroupableCheckBox*, QTreeWidgetItem*> device_boxes_;
  QMap<GroupableCheckBox*, QTreeWidgetItem*> test_boxes_;
  QMap<QAbstractButton*, QTreeWidgetItem*> info_rows_;
  QButtonGroup* info_buttons_;
  QMap<QTreeWidgetItem*, morva_service::SystemComponentView*> device_items_;
  QMap<QTreeWidgetItem*, morva_service::DiagnosticView*> diagnostic_items_;
  QMap<QTreeWidgetItem*, morva_service::TestView*> test_items_;
  QPushButton* run_button_;
  QPushButton* back_button_;
  DescriptionPopup* info_popup_;
  Ui::TestsScreen* form_;
  // The selected devices the tree was built for, in order; devices without any applicable test
  // have no row but still count as shown.
  QVector<morva_service::SystemComponentView*> shown_devices_;
  // The pop-up lives on the controller's overlay while shown; either may go before this screen.
  QPointer<DescriptionPopup> popup_guard_;
  QPointer<KolvLiteController> controller_guard_;
};
