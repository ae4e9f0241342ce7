#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "support/fake_storage.h"
#include "tools/mendra/common/mdr_utils.h"

using namespace mdrtest;

namespace {

class MdrUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("KOLV_WINDOWS_DIR", "C:\\Windows", 1); }

  // 0: system disk (C:\ and D:\), 1: SSD, 2: only unusable partitions, 3: not qualifying.
  void StandardMachine() {
    module.Add("0", "DISK_0").Partition("C:\\", "NTFS").Partition("D:\\", "NTFS", "PRIMARY", "1");
    module.Add("1", "SSD_1", true).Partition("E:\\", "NTFS");
    module.Add("2", "DISK_2")
        .Partition("F:\\", "NTFS", "EXTENDED")
        .Partition("UNABLE_TO_OBTAIN", "NTFS");
    module.Add("3", "OPTICAL").Partition("G:\\", "UDF");
    tool.filter_answer = {"T", "T", "T", "F"};
  }

  std::vector<std::string> Ids(MdrUtils& model) {
    std::vector<std::string> ids;
    for (const MdrDevice& d : *model.applicable_devices()) ids.push_back(d.id);
    return ids;
  }

  FakeModule module;
  FakeTool tool;
  FakeService service;
};

TEST_F(MdrUtilsTest, ScanKeepsTheSystemDiskFlaggedAndDropsNonQualifyingDevices) {
  StandardMachine();
  MdrUtils model(&module, &tool, &service);
  model.FilterDevices(true, false, false);
  EXPECT_EQ(module.scans, 1);
  EXPECT_EQ(service.devices_given, 4u);
  EXPECT_EQ(tool.parameters["Operation"], std::vector<std::string>{"filterDevices"});
  EXPECT_EQ(Ids(model), (std::vector<std::string>{"0", "1", "2"}));

  MdrDevice* system = model.FindDevice("0");
  ASSERT_NE(system, nullptr);
  EXPECT_TRUE(system->holds_operating_system);
  ASSERT_EQ(system->partitions.size(), 2u);
  EXPECT_TRUE(system->partitions[0].operating_system);
  EXPECT_FALSE(system->partitions[1].operating_system);
  EXPECT_EQ(system->partitions[1].ordinal, 1);
  EXPECT_EQ(system->partitions[1].index, 1);
  EXPECT_EQ(system->partitions[1].label, "LD:\\");
  EXPECT_TRUE(model.FindDevice("1")->non_rotating);
  EXPECT_EQ(model.FindDevice("3"), nullptr);
  EXPECT_EQ(tool.parameters["DevicesFilter"], (std::vector<std::string>{"T", "T", "T", "F"}));
}

TEST_F(MdrUtilsTest, RepairLeavesOutTheSystemDiskAndMarksItInTheToolAnswer) {
  StandardMachine();
  MdrUtils model(&module, &tool, &service);
  model.FilterDevices(false, true, true);
  EXPECT_EQ(module.scans, 0);
  EXPECT_EQ(tool.parameters["Operation"], (std::vector<std::string>{"filterDevices", "physical"}));
  EXPECT_EQ(Ids(model), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(tool.parameters["DevicesFilter"], (std::vector<std::string>{"F", "T", "T", "F"}));
  EXPECT_EQ(model.FindPartition("C:\\"), nullptr);
}

TEST_F(MdrUtilsTest, UnusablePartitionsAreDroppedWithoutTakingAnOrdinal) {
  module.Add("0", "DISK")
      .Partition("", "NTFS")          // no mount point
      .Partition("H:\\", "")          // no file system
      .Partition("I:\\", "EXT4", "PRIMARY", "7");
  module.Add("2", "DISK_2").Partition("F:\\", "NTFS", "EXTENDED").Partition("UNABLE_TO_OBTAIN", "NTFS");
  tool.filter_answer = {"T", "T"};
  MdrUtils model(&module, &tool, &service);
  model.FilterDevices(false, false, false);
  ASSERT_EQ(model.FindDevice("0")->partitions.size(), 1u);
  const MdrPartition& kept = model.FindDevice("0")->partitions[0];
  EXPECT_EQ(kept.ordinal, 0);
  EXPECT_EQ(kept.index, 7);
  EXPECT_EQ(kept.file_system, "EXT4");
  // Every property lands in its own field.
  EXPECT_EQ(kept.mount_point, "I:\\");
  EXPECT_EQ(kept.partition_type, "PRIMARY");
  EXPECT_EQ(kept.label, "LI:\\");
  EXPECT_EQ(kept.size, "10 GB");
  EXPECT_EQ(kept.used, "1 GB");
  EXPECT_EQ(kept.free, "9 GB");
  ASSERT_NE(model.FindDevice("2"), nullptr);
  EXPECT_TRUE(model.FindDevice("2")->partitions.empty());

  // A device with nothing usable is applicable, but partition mode does not select it.
  PartitionSelection selection;
  model.SelectEveryDevice(&selection, true, false, false);
  ASSERT_EQ(model.selected_devices()->size(), 1u);
  EXPECT_EQ((*model.selected_devices())[0], module.devices[0]);
  EXPECT_EQ(selection.count("2"), 0u);
  EXPECT_EQ(tool.parameters["partition_table0"],
            (std::vector<std::string>{"I:\\", "EXT4", "I:\\", "F"}));
}

// Whatever the tool would accept, a repair never gets the system disk: the drive letter is
// matched in any case and in any partition, and a drive that cannot be told offers nothing.
TEST_F(MdrUtilsTest, RepairNeverSelectsTheSystemDisk) {
  struct Case {
    const char* windows_dir;
    const char* mount;
    const char* type;
    bool drive_known;
  };
  const Case cases[] = {
      {"C:\\Windows", "c:\\", "PRIMARY", true},
      {"c:\\windows", "C:\\", "PRIMARY", true},
      {"C:\\Windows", "C:\\", "EXTENDED", true},
      {"", "C:\\", "PRIMARY", false},
      // Only a letter, a colon and a backslash name a drive.
      {"\\Windows", "C:\\", "PRIMARY", false},
      {"Windows", "C:\\", "PRIMARY", false},
      {"/c/Windows", "C:\\", "PRIMARY", false},
      {" C:\\Windows", "C:\\", "PRIMARY", false},
      {"C:Windows", "C:\\", "PRIMARY", false},
      {"1:\\Windows", "C:\\", "PRIMARY", false},
      {"\\:\\Windows", "\\:\\", "PRIMARY", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.windows_dir) + " " + c.mount + " " + c.type);
    FakeModule machine;
    machine.Add("0", "SYSTEM").Partition(c.mount, "NTFS", c.type).Partition("D:\\", "NTFS");
    machine.Add("1", "DATA").Partition("E:\\", "NTFS");
    tool.filter_answer = {"T", "T"};
    setenv("KOLV_WINDOWS_DIR", c.windows_dir, 1);
    MdrUtils model(&machine, &tool, &service);

    model.FilterDevices(false, true, false);
    EXPECT_EQ(model.system_drive_known(), c.drive_known);
    ASSERT_NE(model.FindDevice("0"), nullptr);
    EXPECT_EQ(model.FindDevice("0")->holds_operating_system, c.drive_known);
    PartitionSelection scan;
    model.SelectEveryDevice(&scan, false, false, true);
    EXPECT_EQ(model.selected_devices()->size(), 2u);  // a scan writes nothing
    PartitionSelection named{{"0", {}}, {"1", {}}};
    model.SetSelectedPartitions(&named, false, true, true);
    EXPECT_EQ(model.selected_devices()->size(), c.drive_known ? 1u : 0u);
    for (auto* device : *model.selected_devices()) EXPECT_NE(device, machine.devices[0]);
    PartitionSelection all;
    model.SelectEveryDevice(&all, false, true, true);
    EXPECT_EQ(model.selected_devices()->size(), c.drive_known ? 1u : 0u);
    EXPECT_EQ(all.count("0"), 0u);

    model.FilterDevices(false, true, true);
    EXPECT_EQ(Ids(model), c.drive_known ? std::vector<std::string>{"1"} : std::vector<std::string>{});
  }
}

TEST_F(MdrUtilsTest, ShortOrMissingToolAnswerLeavesDevicesOut) {
  StandardMachine();
  tool.filter_answer = {"T"};
  MdrUtils model(&module, &tool, &service);
  model.FilterDevices(false, false, false);
  EXPECT_EQ(Ids(model), std::vector<std::string>{"0"});
  tool.filter_answer.clear();
  model.FilterDevices(false, false, false);
  EXPECT_TRUE(model.applicable_devices()->empty());
  EXPECT_EQ(model.FindDevice("0"), nullptr);
}

// An engine that throws as it filters (out of memory, for one) offers no device: a failed scan.
TEST_F(MdrUtilsTest, AnEngineThatThrowsOffersNoDevice) {
  StandardMachine();
  struct : FakeService {
    void ExecuteTool(morva_service::ToolView*, morva_service::ToolListenerView*,
                     std::vector<morva_service::SystemComponentView*>) override {
      throw std::bad_alloc();
    }
  } throwing;
  MdrUtils model(&module, &tool, &throwing);
  EXPECT_NE(model.FilterDevices(true, false, false), 0);
  EXPECT_TRUE(model.applicable_devices()->empty());
}

TEST_F(MdrUtilsTest, EveryDeviceMeansEveryApplicableOneThatPassesTheExclusions) {
  StandardMachine();
  MdrUtils model(&module, &tool, &service);
  model.FilterDevices(false, false, false);

  // A choice left empty (an empty target, nothing ticked) never widens to every device.
  for (const bool partition_mode : {false, true}) {
    PartitionSelection nothing;
    model.SetSelectedPartitions(&nothing, partition_mode, false, false);
    EXPECT_TRUE(model.selected_devices()->empty()) << partition_mode;
    EXPECT_TRUE(nothing.empty());
  }

  PartitionSelection all;
  model.SelectEveryDevice(&all, false, false, false);
  EXPECT_EQ(model.selected_devices()->size(), 3u);
  EXPECT_EQ(all.size(), 3u);
  EXPECT_TRUE(all["0"].empty());
  EXPECT_EQ(model.selection(), &all);

  PartitionSelection repair;
  model.SelectEveryDevice(&repair, false, true, true);
  ASSERT_EQ(model.selected_devices()->size(), 1u);
  EXPECT_EQ((*model.selected_devices())[0], module.devices[2]);
  EXPECT_EQ(repair.count("0"), 0u);
  EXPECT_EQ(repair.count("1"), 0u);
}

TEST_F(MdrUtilsTest, ChosenDevicesAndPartitionsBecomeTheToolsInput) {
  StandardMachine();
  MdrUtils model(&module, &tool, &service);
  model.FilterDevices(false, false, false);

  // Unknown and non-applicable ids are ignored; list order wins over selection order.
  PartitionSelection chosen{{"2", {}}, {"0", {}}, {"3", {}}, {"9", {}}};
  model.SetSelectedPartitions(&chosen, false, false, false);
  ASSERT_EQ(model.selected_devices()->size(), 2u);
  EXPECT_EQ((*model.selected_devices())[0], module.devices[0]);
  EXPECT_EQ((*model.selected_devices())[1], module.devices[2]);

  PartitionSelection partitions{{"0", {"D:\\", "C:\\", "Z:\\"}}};
  model.SetSelectedPartitions(&partitions, true, false, false);
  ASSERT_EQ(model.selected_devices()->size(), 1u);
  EXPECT_EQ(tool.parameters["partition_table0"],
            (std::vector<std::string>{"D:\\", "NTFS", "D:\\", "F", "C:\\", "NTFS", "C:\\", "T"}));
}

TEST_F(MdrUtilsTest, PartitionResourceIndexFindsTheMountPointsResource) {
  module.Add("0", "DISK").Partition("C:\\", "NTFS");
  module.devices[0]->Resource({"CONTROLLER", {{"NAME", "x"}}});
  module.devices[0]->Partition("D:\\", "NTFS");
  tool.filter_answer = {"T"};
  MdrUtils model(&module, &tool, &service);
  EXPECT_EQ(model.PartitionResourceIndex(0, "D:\\"), 2);
  EXPECT_EQ(model.PartitionResourceIndex(0, "Q:\\"), 0);
  EXPECT_EQ(model.PartitionResourceIndex(5, "D:\\"), 0);
  // Resources already read tell a partition not found from one found first.
  std::vector<morva_service::SystemComponentResource> resources;
  module.devices[0]->resources(resources);
  EXPECT_EQ(MdrUtils::MountedResource(resources, "C:\\"), 0);
  EXPECT_EQ(MdrUtils::MountedResource(resources, "Q:\\"), -1);
}

TEST_F(MdrUtilsTest, EveryNewModelStartsAnEmptyApplicableList) {
  StandardMachine();
  MdrUtils first(&module, &tool, &service);
  first.FilterDevices(false, false, false);
  EXPECT_FALSE(first.applicable_devices()->empty());
  MdrUtils second(&module, &tool, &service);
  EXPECT_TRUE(second.applicable_devices()->empty());
}

}  // namespace
