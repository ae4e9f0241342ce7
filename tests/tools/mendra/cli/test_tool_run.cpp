// kolv_cli -Mstorage -Trecover on the demo catalogue, as a user runs it.
#include <gtest/gtest.h>

#include "run_program.h"
#include "texts.h"

#include <cstdlib>

using clitest::Contains;
using clitest::Count;
using clitest::RunCli;

namespace {

// The demo catalogue that ctest names, with Windows on drive C:.
std::map<std::string, std::string> DemoMachine() {
  const char* catalogue = std::getenv("MORVA_CATALOGUE");
  return {{"KOLV_WINDOWS_DIR", "C:\\Windows"}, {"MORVA_CATALOGUE", catalogue ? catalogue : ""}};
}

clitest::Outcome Tool(std::vector<std::string> words, const std::string& input = "") {
  words.insert(words.begin(), {"-Mstorage", "-Trecover"});
  return RunCli(words, DemoMachine(), input);
}

TEST(MendraToolRun, ScanReportsEachChosenDeviceWithItsBadSectors) {
  clitest::Outcome run = Tool({"-s", "0", "2"});
  // Errors found on one disk: a failed run, whatever the other disk found.
  EXPECT_EQ(run.status, 21);
  EXPECT_TRUE(Contains(run.out, " Press ESC To Abort Operations\n"));
  EXPECT_TRUE(Contains(run.out, "Started Operation: Scan\n"));
  EXPECT_TRUE(Contains(run.out, "=> SATA_HDD_1TB \n"));
  EXPECT_TRUE(Contains(run.out, "=> SATA_HDD_2TB \n"));
  EXPECT_FALSE(Contains(run.out, "NVME_SSD_512GB"));
  EXPECT_TRUE(Contains(run.out, "Operation status: Errors were found - READ_ERRORS_FOUND\n"));
  EXPECT_TRUE(Contains(run.out, "   104857612, 104857613, 104857614, 104857615, 209715230\n"));
  EXPECT_TRUE(Contains(run.out, "   1677721620, 3355443240\n"));
  EXPECT_EQ(Count(run.out, "Operation status: No errors were found"), 1u);
  EXPECT_FALSE(Contains(run.out, "corrected"));
}

TEST(MendraToolRun, RepairAsksFirstAndRefusalRunsNothing) {
  clitest::Outcome refused = Tool({"-r", "2"}, "n\n");
  EXPECT_EQ(refused.status, 0);
  EXPECT_TRUE(Contains(refused.out, "> The execution of the scan and repair can cause data loss. "
                                    "It is recommended to make a backup before execute this "
                                    "operation.\n"));
  EXPECT_TRUE(Contains(refused.out, "> Are you sure you want to proceed? (y/n) n\n"));
  EXPECT_FALSE(Contains(refused.out, "Started Operation"));

  // A closed input cannot confirm.
  clitest::Outcome closed = Tool({"-r", "2"}, "");
  EXPECT_FALSE(Contains(closed.out, "Started Operation"));

  // -s beside -r runs the repair; with no targets the system disk and the SSD stay out.
  clitest::Outcome accepted = Tool({"-s", "-r"}, "y\n");
  // Some sectors left uncorrected: a warning, not a success.
  EXPECT_EQ(accepted.status, 22);
  EXPECT_TRUE(Contains(accepted.out, "[Warning] Ignoring the 's' option"));
  EXPECT_TRUE(Contains(accepted.out, "Started Operation: Repair\n"));
  EXPECT_FALSE(Contains(accepted.out, "SATA_HDD_1TB"));
  EXPECT_FALSE(Contains(accepted.out, "NVME_SSD_512GB"));
  EXPECT_TRUE(Contains(accepted.out, "Number of bad sectors corrected: 9\n"));
  EXPECT_TRUE(Contains(accepted.out, "Number of bad sectors left uncorrected: 3\n"));
  EXPECT_TRUE(Contains(accepted.out, "Unable to fix errors - SOME_SECTORS_COULD_NOT_BE_REMAPPED"));
  EXPECT_TRUE(Contains(accepted.out, "=> USB_FLASH_DISK_32GB \n"));
}

TEST(MendraToolRun, RepairTypedOnATerminalWithBackspace) {
  clitest::Session session({"-Mstorage", "-Trecover", "-r", "3"}, DemoMachine(),
                           clitest::Session::Console::kTerminal);
  ASSERT_TRUE(session.started());
  ASSERT_TRUE(session.WaitFor("(y/n) "));
  session.Type("n\x7fy\r");
  clitest::Outcome run = session.Finish();
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(Contains(session.output(), "Started Operation: Repair"));
  EXPECT_TRUE(Contains(session.output(), "The errors were corrected"));
}

TEST(MendraToolRun, ListingShowsDevicesAndApplicablePartitions) {
  clitest::Outcome all = Tool({"-l"});
  EXPECT_EQ(all.status, 0);
  EXPECT_TRUE(Contains(all.out, "> List of devices and their applicable partitions\n"));
  EXPECT_EQ(Count(all.out, std::string(58, '-')), 4u);
  EXPECT_TRUE(Contains(all.out, "  Device Id\t\t1\n  Display Name\t\tNVME_SSD_512GB\n"
                                "  * This device is a non rotating media (SSD)\n"));
  EXPECT_TRUE(Contains(all.out, "  C:\\\t250 GB\t\tNTFS\n"));
  EXPECT_FALSE(Contains(all.out, "UNABLE_TO_OBTAIN"));
  EXPECT_FALSE(Contains(all.out, "Started Operation"));

  clitest::Outcome chosen = Tool({"-l", "2"});
  EXPECT_TRUE(Contains(chosen.out, ">>Listing devices and their applicable partitions\n"));
  EXPECT_EQ(Count(chosen.out, std::string(58, '-')), 1u);
  EXPECT_TRUE(Contains(chosen.out, "  F:\\\t1800 GB\t\tNTFS\n"));
}

TEST(MendraToolRun, HelpPrintsUsageAndStartsNothing) {
  clitest::Outcome help = Tool({"-h"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(Contains(help.out, "> General options\n"));
  EXPECT_TRUE(Contains(help.out, "\t   kolv_cli  -Mstorage -Trecover -s 0 1\n"));
  EXPECT_FALSE(Contains(help.out, "Started Operation"));

  clitest::Outcome bare = Tool({});
  EXPECT_TRUE(Contains(bare.out, "> Scan only or Scan and Repair Bad Sectors\n"));
  EXPECT_FALSE(Contains(bare.out, "[Warning]"));
}

TEST(MendraToolRun, BadTargetsAndOptionsAreErrorsWithTheHint) {
  clitest::Outcome bad = Tool({"-s", "C:", "9"});
  EXPECT_EQ(bad.status, 5);  // a refused command line, as the host reports its own
  EXPECT_TRUE(Contains(bad.out, "[Warning] Following are not available or not applicable devices: C:, 9\n"));
  EXPECT_TRUE(Contains(bad.out, ">> Errors:\n\t- All devices and partitions specified are invalid to that operation\n"));
  EXPECT_TRUE(Contains(bad.out, ">> To see instructions use: kolv_cli -Mstorage -Trecover -h\n"));
  EXPECT_FALSE(Contains(bad.out, "Started Operation"));

  clitest::Outcome system = Tool({"-r", "0"}, "y\n");
  EXPECT_TRUE(Contains(system.out, "[Warning] The device '0' is the operating system device"));
  EXPECT_FALSE(Contains(system.out, "Started Operation"));

  clitest::Outcome unknown = Tool({"-s", "--frobnicate"});
  EXPECT_TRUE(Contains(unknown.out, "\t- Unrecognized option found\n"));
}

}  // namespace
