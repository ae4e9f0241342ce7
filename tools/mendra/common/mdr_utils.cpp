#include "tools/mendra/common/mdr_utils.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "kolv_os/os.h"

using morva_service::SystemComponentResource;
using morva_service::SystemComponentView;

namespace {

// One list per plug-in: the screens read it through whichever model is current.
std::unique_ptr<std::vector<MdrDevice>>& ApplicableList() {
  static std::unique_ptr<std::vector<MdrDevice>> list(new std::vector<MdrDevice>());
  return list;
}

// Drive letters name the same drive in either case.
bool SameMountPoint(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Looks at every mount point of the partition, even one the model will not keep: the system
// disk must be known whatever the order of the properties.
bool MountedAt(const SystemComponentResource& resource, const std::string& drive) {
  for (const auto& property : resource.properties)
    if (property.first == "MOUNT_POINT" && SameMountPoint(property.second, drive)) return true;
  return false;
}

// A text property of a partition, and the value of it that leaves the partition out.
struct TextProperty {
  const char* name;
  std::string MdrPartition::*field;
  const char* dropping;  // null: no value does
};

const TextProperty kTextProperties[] = {
    {"PARTITION_TYPE", &MdrPartition::partition_type, "EXTENDED"},
    {"MOUNT_POINT", &MdrPartition::mount_point, "UNABLE_TO_OBTAIN"},
    {"FILESYSTEM", &MdrPartition::file_system, nullptr},
    {"LABEL", &MdrPartition::label, nullptr},
    {"SIZE", &MdrPartition::size, nullptr},
    {"USED", &MdrPartition::used, nullptr},
    {"FREE", &MdrPartition::free, nullptr},
};

// Reads the resource's properties, in their order, into partition; false as soon as one leaves
// the partition out. An "INDEX" that reads stays the device's until the next one.
bool ReadProperties(const SystemComponentResource& resource, MdrPartition& partition,
                    int& index_value) {
  for (const auto& property : resource.properties) {
    if (property.first == "INDEX") {
      index_value = MdrParseInt(property.second, index_value);
      continue;
    }
    for (const TextProperty& text : kTextProperties) {
      if (property.first != text.name) continue;
      if (text.dropping != nullptr && property.second == text.dropping) return false;
      partition.*text.field = property.second;
    }
  }
  return true;
}

// Keeps the partitions the tool can work on and marks the one mounted at os_drive (empty:
// unknown).
void ReadPartitions(const std::vector<SystemComponentResource>& resources,
                    const std::string& os_drive, MdrDevice& device) {
  int ordinal = 0;
  int index_value = 0;
  for (const SystemComponentResource& resource : resources) {
    if (resource.name != "PARTITION") continue;
    MdrPartition partition;
    if (!os_drive.empty() && MountedAt(resource, os_drive)) {
      partition.operating_system = true;
      device.holds_operating_system = true;
    }
    if (!ReadProperties(resource, partition, index_value)) continue;
    if (partition.file_system.empty() || partition.mount_point.empty()) continue;
    partition.ordinal = ordinal++;
    partition.index = index_value;
    device.partitions.push_back(partition);
  }
}

}  // namespace

void MdrClearAbortRequests(morva_service::ToolView* tool) { tool->SetParameter("ForcedAbort", {}); }

int MdrParseInt(const std::string& text, int fallback) {
  if (text.empty()) return fallback;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || value < -2147483647L ||
      value > 2147483647L) {
    return fallback;
  }
  return static_cast<int>(value);
}

MdrUtils::MdrUtils(morva_service::ModuleInterfaceView* module, morva_service::ToolView* tool,
                   morva_service::MorvaService* service)
    : selected_devices_(new std::vector<SystemComponentView*>()),
      module_(module),
      tool_(tool),
      service_(service) {
  ApplicableList().reset(new std::vector<MdrDevice>());
}

MdrUtils::~MdrUtils() { delete selected_devices_; }

std::vector<MdrDevice>* MdrUtils::applicable_devices() const { return ApplicableList().get(); }

std::string MdrUtils::OperatingSystemDrive() {
  const std::string folder = kolv_os::WindowsDirectory();
  // Only "X:\..." names a drive; taking anything else for one would leave the system disk
  // unmarked and open to repair.
  const bool letter = folder.size() >= 3 && ((folder[0] >= 'A' && folder[0] <= 'Z') ||
                                             (folder[0] >= 'a' && folder[0] <= 'z'));
  if (!letter || folder[1] != ':' || folder[2] != '\\') return std::string();
  return folder.substr(0, 3);
}

int MdrUtils::FilterDevices(bool reset, bool physical, bool repair) {
  // An engine that throws (out of memory, for one) found nothing: as a failed scan.
  try {
    return Filter(reset, physical, repair);
  } catch (...) {
    ApplicableList()->clear();
    RebuildIndexes();
    return 1;
  }
}

int MdrUtils::Filter(bool reset, bool physical, bool repair) {
  const std::string os_drive = OperatingSystemDrive();
  system_drive_known_ = !os_drive.empty();
  std::vector<MdrDevice>& list = *ApplicableList();
  list.clear();
  device_index_.clear();
  partition_index_.clear();
  // Nothing is known of devices whose scan failed: none is offered.
  const int scanned = reset ? module_->Scan() : 0;
  if (scanned != 0) return scanned;
  if (may_start_ && !may_start_()) return 0;

  std::vector<std::string> operation{"filterDevices"};
  if (physical) operation.push_back("physical");
  tool_->SetParameter("Operation", operation);
  service_->ExecuteTool(tool_, nullptr, module_->system_components());

  const size_t count = module_->system_component_count();
  std::vector<SystemComponentResource> resources;
  std::vector<std::string> filter = tool_->GetParameter("DevicesFilter");
  bool filter_changed = false;
  for (size_t i = 0; i < count; ++i) {
    SystemComponentView* component = module_->system_component(i);
    if (component == nullptr) continue;
    // A short or missing answer leaves the device out rather than guessing.
    if (i >= filter.size() || filter[i] != "T") continue;

    morva_service::SystemComponentInformation info = component->information();
    MdrDevice device;
    device.index = static_cast<int>(i);
    device.id = component->id();
    device.name = info.display_name;
    auto ssd = info.attributes.find("NonRotatingMedia");
    device.non_rotating = ssd != info.attributes.end() && ssd->second == "T";
    // Without a known system drive no device may be repaired, whatever its partitions.
    if (!repair || system_drive_known_) {
      component->resources(resources);
      ReadPartitions(resources, os_drive, device);
    }
    if (repair && !MayRepair(device)) {
      filter[i] = "F";
      filter_changed = true;
      continue;
    }
    list.push_back(device);
  }
  if (filter_changed) tool_->SetParameter("DevicesFilter", filter);
  RebuildIndexes();
  return 0;
}

void MdrUtils::RebuildIndexes() {
  device_index_.clear();
  partition_index_.clear();
  for (MdrDevice& device : *ApplicableList()) {
    device_index_[device.id] = &device;
    for (MdrPartition& partition : device.partitions)
      partition_index_[PartitionKey(device.id, partition)] = &partition;
  }
}

void MdrUtils::SetSelectedPartitions(PartitionSelection* selection, bool partition_mode,
                                     bool exclude_system_disk, bool exclude_non_rotating) {
  selected_devices_->clear();
  selection_ = selection;
  if (selection == nullptr) return;
  std::vector<MdrDevice>& list = *ApplicableList();
  for (const MdrDevice& device : list) {
    auto chosen = selection->find(device.id);
    if (chosen == selection->end()) continue;
    if (!partition_mode) {
      if (!Excluded(device, exclude_system_disk, exclude_non_rotating))
        selected_devices_->push_back(module_->system_component(device.index));
      continue;
    }
    if (device.partitions.empty()) continue;
    std::vector<std::string> table;
    for (const std::string& key : chosen->second) {
      const MdrPartition* p = FindPartition(key);
      // A key that names no applicable partition cannot be handed to the tool.
      if (p == nullptr) continue;
      table.push_back(key);
      table.push_back(p->file_system);
      table.push_back(p->mount_point);
      table.push_back(p->operating_system ? "T" : "F");
    }
    selected_devices_->push_back(module_->system_component(device.index));
    tool_->SetParameter("partition_table" + device.id, table);
  }
}

void MdrUtils::SelectEveryDevice(PartitionSelection* selection, bool partition_mode,
                                 bool exclude_system_disk, bool exclude_non_rotating) {
  if (selection == nullptr) return;
  selection->clear();
  for (const MdrDevice& device : *ApplicableList()) {
    if (partition_mode ? device.partitions.empty()
                       : Excluded(device, exclude_system_disk, exclude_non_rotating))
      continue;
    std::vector<std::string>& keys = (*selection)[device.id];
    if (!partition_mode) continue;
    for (const MdrPartition& p : device.partitions) keys.push_back(PartitionKey(device.id, p));
  }
  SetSelectedPartitions(selection, partition_mode, exclude_system_disk, exclude_non_rotating);
}

bool MdrUtils::Excluded(const MdrDevice& device, bool exclude_system_disk,
                        bool exclude_non_rotating) const {
  // Whatever the tool accepted or the user named, a whole-device repair never gets a device
  // that may hold the running system.
  return (exclude_system_disk && !MayRepair(device)) || (exclude_non_rotating && device.non_rotating);
}

MdrDevice* MdrUtils::FindDevice(const std::string& id) {
  auto it = device_index_.find(id);
  return it == device_index_.end() ? nullptr : it->second;
}

MdrPartition* MdrUtils::FindPartition(const std::string& key) {
  auto it = partition_index_.find(key);
  return it == partition_index_.end() ? nullptr : it->second;
}

std::string MdrUtils::PartitionKey(const std::string& /*device_id*/, const MdrPartition& partition) {
  return partition.mount_point;
}

int MdrUtils::PartitionResourceIndex(int device_index, const std::string& mount_point) const {
  std::vector<SystemComponentView*> components = module_->system_components();
  if (device_index < 0 || static_cast<size_t>(device_index) >= components.size() ||
      components[device_index] == nullptr)
    return 0;
  std::vector<SystemComponentResource> resources;
  components[device_index]->resources(resources);
  const int found = MountedResource(resources, mount_point);
  return found < 0 ? 0 : found;
}

int MdrUtils::MountedResource(const std::vector<SystemComponentResource>& resources,
                              const std::string& mount_point) {
  for (size_t r = 0; r < resources.size(); ++r)
    for (const auto& property : resources[r].properties)
      if (property.first == "MOUNT_POINT" && property.second == mount_point)
        return static_cast<int>(r);
  return -1;
}
