// Lets the user tick the devices of the chosen module that a custom run covers. The devices stand
// in a tree whose group rows follow the backslash path of each device's "parent" attribute; each
// device row has an information button. GUI tool plug-ins derive their device screens from it and
// replace the five hooks, so the hooks keep their order and the protected data its layout.
#pragma once

#include <QMap>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QVector>

#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_screen.h"

class DescriptionPopup;
class GroupableCheckBox;
class QAbstractButton;
class QButtonGroup;
class QFrame;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QStackedWidget;
class QStandardItem;
class QStandardItemModel;
class QTreeView;
class QVBoxLayout;

namespace morva_service {
class SystemComponentView;
}

namespace Ui {
class DevicesScreen;
}  // namespace Ui

class DevicesScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  typedef QPair<QAbstractButton*, morva_service::SystemComponentView*> DeviceEntry;

  // button_size: the size of the NEXT and BACK buttons this screen puts on the action bar.
  explicit DevicesScreen(KolvLiteController* controller,
                         ActionButtonSize button_size = ActionButtonSize::kNatural);
  ~DevicesScreen() override;

  DevicesScreen(const DevicesScreen&) = delete;
  DevicesScreen& operator=(const DevicesScreen&) = delete;

  // Style of the bar above the list, shared with the tests screen. It is scoped to the bar by
  // its object name: unscoped, the gradient and the bottom shadow fall onto every child too,
  // which squeezes the refresh button and paints the check box indicator over.
  static QString BarStyleSheet(const QString& bar_name);

  QPushButton* next_button() const { return next_button_; }
  QPushButton* back_button() const { return back_button_; }
  QPushButton* refresh_button() const;
  GroupableCheckBox* select_all() const;
  DescriptionPopup* info_popup() const { return info_popup_; }
  QStandardItemModel* model() const { return model_; }
  QStackedWidget* pages() const;
  // Each device row's check box with its device, in row order.
  const QVector<DeviceEntry>& device_entries() const { return device_entries_; }
  // The information button of a device row, or null when the device has no row.
  QAbstractButton* InfoButtonOf(morva_service::SystemComponentView* device) const;

 public slots:
  void OnEnter() override;
  void OnExit() override;
  void OnKeyPress(QKeyEvent* event) override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void Unload() override;

 protected:
  // Hooks, called in this order by FillDevicesList: PostDeviceLoading once, then per device
  // FilterDevice and, for an accepted device, its row followed by PostDeviceInsertion.
  // ClearDevicesList forgets every row; SetSelectedDevicesToContext hands the choice on.
  virtual void ClearDevicesList();
  virtual void PostDeviceInsertion(QStandardItem* row, morva_service::SystemComponentView* device);
  virtual bool FilterDevice(morva_service::SystemComponentView* device);
  virtual void PostDeviceLoading();
  virtual void SetSelectedDevicesToContext();

 protected slots:
  void SelectAllChange(int state);
  void OnScanSucceeded();
  void OnScanFailed();
  void OnDeviceSelectionChanged();
  void DisplayDeviceInfo(QAbstractButton* btn);
  void HideDeviceInfo();
  void RefreshDevicesList();
  void SetSelectedDevices();
  void FillDevicesList();
  void AddDeviceEntry(morva_service::SystemComponentView* entry);
  void OnBackClicked();

 protected:
  void GoToLoadingScreen();
  // The "parent" attribute of the device; empty when it has none.
  QString GetSysComponentParent(morva_service::SystemComponentView* device);
  void AddDeviceCheckBox(QStandardItem* parent, morva_service::SystemComponentView* device);
  QTreeView* tree_view() const;
  QLabel* message_label() const;
  // The page of the device list and its layout, for what a derived screen adds above the list.
  QWidget* devices_page() const;
  QVBoxLayout* devices_page_layout() const;

  QButtonGroup* info_buttons_;
  QWidget* top_row_widget_;
  QPushButton* next_button_;
  QPushButton* back_button_;
  QVector<DeviceEntry> device_entries_;
  // Check box of every group row and of every device row.
  QMap<QStandardItem*, GroupableCheckBox*> group_boxes_;
  QMap<QAbstractButton*, QStandardItem*> info_rows_;
  QMap<QAbstractButton*, morva_service::SystemComponentView*> info_devices_;
  // Button whose device the pop-up shows; null when the pop-up holds nothing current.
  QAbstractButton* shown_info_button_;
  DescriptionPopup* info_popup_;
  QStandardItemModel* model_;
  Ui::DevicesScreen* form_;

 private:
  void BuildForm();
  // The check box that a row's children join: select_all for the model's root.
  GroupableCheckBox* CheckBoxOf(QStandardItem* item) const;
  QString ModuleName() const;
  // The pop-up lives on the controller's overlay while shown; the overlay may go first.
  QPointer<DescriptionPopup> popup_guard_;
  // The controller may go before this screen at program end.
  QPointer<KolvLiteController> controller_guard_;
};
