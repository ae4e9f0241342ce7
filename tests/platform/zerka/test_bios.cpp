#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "tests/support/scratch.h"
#include "zerka/zerka.h"

using test_support::ScratchDir;
using test_support::WriteFile;

namespace {

TEST(Bios, ReadsTheMachineRecordFromAFolder) {
  std::string dir = ScratchDir("bios");
  WriteFile(dir + "/product_name", "Workstation 7\n");
  WriteFile(dir + "/sys_vendor", "Example Systems \n");
  ASSERT_EQ(mkdir((dir + "/bios_version").c_str(), 0755), 0);  // present but no value
  // product_serial missing, as it is for an ordinary user
  WriteFile(dir + "/cpuinfo",
            "processor\t: 0\nvendor_id\t: ExampleChips\nmodel name\t: Fast CPU 3000\n\n"
            "processor\t: 1\nvendor_id\t: Other\nmodel name\t: Other CPU\n");
  setenv("ZERKA_BIOS_DIR", dir.c_str(), 1);
  unsetenv("ZERKA_NO_BIOS");

  Bios* bios = get_bios();
  ASSERT_NE(bios, nullptr);
  EXPECT_EQ(bios->model(), "Workstation 7");
  EXPECT_EQ(bios->system_vendor(), "Example Systems");
  EXPECT_EQ(bios->system_manufacturer(), "Example Systems");
  EXPECT_EQ(bios->serial_number(), "");
  EXPECT_EQ(bios->bios_version(), "");
  EXPECT_EQ(bios->processor_label(), "Fast CPU 3000");
  EXPECT_EQ(bios->processor_manufacturer(), "ExampleChips");
  EXPECT_EQ(get_bios(), bios) << "the record is process-wide";
}

TEST(Bios, NullWhenNothingCanBeRead) {
  std::string dir = ScratchDir("bios-empty");
  setenv("ZERKA_BIOS_DIR", dir.c_str(), 1);
  EXPECT_EQ(get_bios(), nullptr);

  std::string only_cpu = ScratchDir("bios-cpu");
  WriteFile(only_cpu + "/cpuinfo", "model name : Lone CPU\n");
  setenv("ZERKA_BIOS_DIR", only_cpu.c_str(), 1);
  ASSERT_NE(get_bios(), nullptr);
  EXPECT_EQ(get_bios()->processor_label(), "Lone CPU");
  EXPECT_EQ(get_bios()->model(), "");

  setenv("ZERKA_NO_BIOS", "1", 1);
  EXPECT_EQ(get_bios(), nullptr);
  unsetenv("ZERKA_NO_BIOS");
  unsetenv("ZERKA_BIOS_DIR");
}

}  // namespace
