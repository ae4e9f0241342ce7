// The bad-sector tool's model of the devices and partitions it may work on, shared by the
// windowed and the console plug-in. The tool itself decides which devices qualify (a filter
// run); the model reads their partitions, marks the operating system's, and turns a user's
// choice into the device list and "partition_table" parameters of a tool run.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "morva_service/morva_service.h"
#include "tools/mendra/common/mdr_device.h"

// Reads a code or a percentage; text that is no whole number gives fallback, so a garbled
// code never reads as success.
int MdrParseInt(const std::string& text, int fallback);

// Withdraws any abort the engine still holds, so that an abort that came after an earlier run
// had ended cannot end the next one at once.
void MdrClearAbortRequests(morva_service::ToolView* tool);

// Chosen device id -> chosen partition keys (empty: the whole device).
typedef std::map<std::string, std::vector<std::string>> PartitionSelection;

class MdrUtils {
 public:
  MdrUtils(morva_service::ModuleInterfaceView* module, morva_service::ToolView* tool,
           morva_service::MorvaService* service);
  virtual ~MdrUtils();

  MdrUtils(const MdrUtils&) = delete;
  MdrUtils& operator=(const MdrUtils&) = delete;

  // Asks the tool which devices qualify and rebuilds the applicable list and its indexes.
  // reset: rescan the module first. physical: ask for physical disks only. repair: leave out
  // the device that holds the operating system. The scan's own result (0 when no rescan was
  // asked), which may be any number, or 1 when the engine threw; when it is not 0, or the start
  // guard said no, the list stays empty.
  int FilterDevices(bool reset, bool physical, bool repair);
  // Asked just before every tool run this model starts; false keeps the run from starting.
  void SetStartGuard(std::function<bool()> may_start) { may_start_ = std::move(may_start); }

  // Fills selected_devices() from the selection (stored, not copied) and, in partition mode,
  // sets "partition_table<id>" on the tool. An empty selection chooses nothing.
  void SetSelectedPartitions(PartitionSelection* selection, bool partition_mode,
                             bool exclude_system_disk, bool exclude_non_rotating);
  // As SetSelectedPartitions, with the selection filled anew with every applicable device (and
  // in partition mode each one's partitions).
  void SelectEveryDevice(PartitionSelection* selection, bool partition_mode,
                         bool exclude_system_disk, bool exclude_non_rotating);

  // Null when unknown. Valid until the next FilterDevices.
  MdrDevice* FindDevice(const std::string& id);
  MdrPartition* FindPartition(const std::string& key);

  static std::string PartitionKey(const std::string& device_id, const MdrPartition& partition);

  // Position in the device's resources of the first resource mounted at mount_point; 0 if none.
  int PartitionResourceIndex(int device_index, const std::string& mount_point) const;
  // The same search over resources already read; -1 if none.
  static int MountedResource(const std::vector<morva_service::SystemComponentResource>& resources,
                             const std::string& mount_point);

  // The operating system's drive ("C:\"), empty when it cannot be told.
  static std::string OperatingSystemDrive();
  // As found by the last FilterDevices.
  bool system_drive_known() const { return system_drive_known_; }
  // A repair never takes a device that may hold the running system: the one that holds it, or
  // any device while the system drive cannot be told.
  bool MayRepair(const MdrDevice& device) const {
    return system_drive_known_ && !device.holds_operating_system;
  }

  std::vector<morva_service::SystemComponentView*>* selected_devices() { return selected_devices_; }
  // The plug-in-wide applicable list; every new MdrUtils starts it anew.
  std::vector<MdrDevice>* applicable_devices() const;
  PartitionSelection* selection() const { return selection_; }

 private:
  int Filter(bool reset, bool physical, bool repair);
  void RebuildIndexes();
  bool Excluded(const MdrDevice& device, bool exclude_system_disk, bool exclude_non_rotating) const;

  std::map<std::string, MdrDevice*> device_index_;
  std::map<std::string, MdrPartition*> partition_index_;
  PartitionSelection* selection_ = nullptr;
  bool system_drive_known_ = false;
  std::function<bool()> may_start_;
  std::vector<morva_service::SystemComponentView*>* selected_devices_;
  morva_service::ModuleInterfaceView* module_;
  morva_service::ToolView* tool_;
  morva_service::MorvaService* service_;
};
