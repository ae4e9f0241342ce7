#include "tools/mendra/gui/mdr_device_selection_screen.h"

#include <QLabel>
#include <QPushButton>
#include <QStandardItem>
#include <QTreeView>
#include <QVBoxLayout>

#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/widgets/groupable_check_box.h"
#include "gui/widgets/literal_button_text.h"
#include "tools/mendra/gui/mdr_plugin.h"
#include "ui_mdr_system_disk_note.h"

MdrDeviceSelectionScreen::MdrDeviceSelectionScreen(KolvLiteController* controller)
    : DevicesScreen(controller, ActionButtonSize::kAtLeastStandard),
      system_disk_note_(new QLabel(devices_page())) {
  disconnect(back_button_, nullptr, controller, nullptr);
  connect(back_button_, &QPushButton::clicked, this, &MdrDeviceSelectionScreen::GoBack);
  next_button_->setText(KolvLiteTranslate("RUN_TASKS"));
  set_step(KolvLiteTranslate("DEVICE_STEP"));
  message_label()->setText(KolvLiteTranslate("CANNOT_EXECUTE_ON_OPERATING_SYSTEM_DISK"));
  Ui::MdrSystemDiskNote note;
  note.setupUi(system_disk_note_);
  system_disk_note_->setText(KolvLiteTranslate("SYSTEM_DISK_NEVER_OFFERED"));
  system_disk_note_->hide();
  devices_page_layout()->insertWidget(0, system_disk_note_);
}

QString MdrDeviceSelectionScreen::message_text() const { return message_label()->text(); }

MdrDeviceSelectionScreen::~MdrDeviceSelectionScreen() {
  partition_boxes_.clear();
  partition_records_.clear();
}

void MdrDeviceSelectionScreen::SetPartitionMode(bool on) {
  partition_mode_ = on ? 1 : 0;
  set_step(KolvLiteTranslate(on ? "PARTITION_STEP" : "DEVICE_STEP"));
}

void MdrDeviceSelectionScreen::GoBack() {
  // The repairing flows pass over their warning screen on the way back.
  if (MdrPlugin::operation() != kMdrScan) controller->GoToPreviousScreen();
  controller->GoToPreviousScreen();
}

const MdrDevice* MdrDeviceSelectionScreen::Applicable(const std::string& id) const {
  MdrUtils* model = MdrPlugin::current_model();
  if (model == nullptr || model->applicable_devices() == nullptr) return nullptr;
  for (const MdrDevice& device : *model->applicable_devices()) {
    if (device.id == id) return &device;
  }
  return nullptr;
}

void MdrDeviceSelectionScreen::PostDeviceLoading() {
  MdrUtils* model = MdrPlugin::current_model();
  const int operation = MdrPlugin::operation();
  const bool repair = operation == kMdrScanAndRepair;
  if (model != nullptr) model->FilterDevices(false, operation != kMdrFilesystemRepair, repair);
  system_disk_note_->setVisible(repair);
  // Without a known system drive a repair offers nothing: the page says why.
  const bool drive_unknown = repair && model != nullptr && !model->system_drive_known();
  message_label()->setText(KolvLiteTranslate(drive_unknown ? "SYSTEM_DRIVE_NOT_KNOWN"
                                                           : "CANNOT_EXECUTE_ON_OPERATING_SYSTEM_DISK"));
}

bool MdrDeviceSelectionScreen::FilterDevice(morva_service::SystemComponentView* device) {
  if (device == nullptr) return false;
  const MdrDevice* known = Applicable(device->id());
  if (known == nullptr) return false;
  return partition_mode_ == 0 || !known->partitions.empty();
}

void MdrDeviceSelectionScreen::PostDeviceInsertion(QStandardItem* row,
                                                   morva_service::SystemComponentView* device) {
  if (partition_mode_ == 0 || row == nullptr || device == nullptr) return;
  const MdrDevice* known = Applicable(device->id());
  GroupableCheckBox* device_box = group_boxes_.value(row, nullptr);
  if (known == nullptr || device_box == nullptr) return;
  tree_view()->expand(row->index());
  for (const MdrPartition& partition : known->partitions) {
    auto* item = new QStandardItem();
    item->setFlags(Qt::ItemIsEnabled);
    row->appendRow(item);
    auto* box = new GroupableCheckBox(
        LiteralButtonText(QString::fromStdString(MdrUtils::PartitionKey(known->id, partition))));
    device_box->AddChild(box);
    group_boxes_.insert(item, box);
    partition_boxes_.append(qMakePair(box, device));
    partition_records_.insert(box, partition);
    tree_view()->setIndexWidget(item->index(), box);
  }
  tree_view()->expand(row->index());
}

void MdrDeviceSelectionScreen::ClearDevicesList() {
  partition_boxes_.clear();
  partition_records_.clear();
  DevicesScreen::ClearDevicesList();
}

void MdrDeviceSelectionScreen::SetSelectedDevicesToContext() {
  selection_.clear();
  for (const DeviceEntry& entry : device_entries()) {
    if (entry.first == nullptr || entry.second == nullptr) continue;
    // A device whose partitions are only partly ticked still counts as chosen.
    auto* device_box = qobject_cast<GroupableCheckBox*>(entry.first);
    const bool ticked = device_box != nullptr ? device_box->checkState() != Qt::Unchecked
                                              : entry.first->isChecked();
    if (!ticked) continue;
    std::vector<std::string>& keys = selection_[entry.second->id()];
    if (partition_mode_ == 0) continue;
    for (const auto& pair : partition_boxes_) {
      if (pair.second != entry.second || !pair.first->isChecked()) continue;
      keys.push_back(MdrUtils::PartitionKey(entry.second->id(), partition_records_.value(pair.first)));
    }
  }
  const int operation = MdrPlugin::operation();
  if (MdrUtils* model = MdrPlugin::current_model()) {
    model->SetSelectedPartitions(&selection_, operation == kMdrFilesystemRepair,
                                 operation == kMdrScanAndRepair, false);
  }
}
