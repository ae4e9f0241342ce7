// The device screen of the tool's flows: only the devices the tool accepts, with their
// partitions as child boxes in partition mode; the choice goes to the tool's model.
#pragma once

#include <QMap>
#include <QPair>
#include <QVector>

#include "gui/screens/devices_screen.h"
#include "tools/mendra/common/mdr_utils.h"

class GroupableCheckBox;

class MdrDeviceSelectionScreen : public DevicesScreen {
  Q_OBJECT

 public:
  explicit MdrDeviceSelectionScreen(KolvLiteController* controller);
  ~MdrDeviceSelectionScreen() override;

  void SetPartitionMode(bool on);
  bool partition_mode() const { return partition_mode_ != 0; }
  const QVector<QPair<GroupableCheckBox*, morva_service::SystemComponentView*>>& partition_boxes()
      const {
    return partition_boxes_;
  }
  // The choice last handed to the model; owned here so the model never holds a stale one.
  const PartitionSelection& selection() const { return selection_; }
  // Above the list of a repair: the system disk is never offered.
  QLabel* system_disk_note() const { return system_disk_note_; }
  // The page shown when no device can be offered.
  QString message_text() const;

 public slots:
  void GoBack();

 protected:
  void ClearDevicesList() override;
  void PostDeviceInsertion(QStandardItem* row, morva_service::SystemComponentView* device) override;
  bool FilterDevice(morva_service::SystemComponentView* device) override;
  void PostDeviceLoading() override;
  void SetSelectedDevicesToContext() override;

 private:
  const MdrDevice* Applicable(const std::string& id) const;

  QLabel* system_disk_note_;
  int partition_mode_ = 0;
  QVector<QPair<GroupableCheckBox*, morva_service::SystemComponentView*>> partition_boxes_;
  QMap<GroupableCheckBox*, MdrPartition> partition_records_;
  PartitionSelection selection_;
};
