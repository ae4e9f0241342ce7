#include <getopt.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "../common/support/fake_storage.h"
#include "cli/run_outcome.h"
#include "tools/mendra/cli/cli_event_queue.h"
#include "tools/mendra/cli/cli_option_parser.h"
#include "tools/mendra/cli/console_display.h"
#include "tools/mendra/cli/mdr_cli_events.h"
#include "tools/mendra/cli/mdr_cli_listener.h"
#include "tools/mendra/cli/mdr_exit_status.h"
#include "tools/mendra/common/mdr_result_codes.h"

using namespace mdrtest;

namespace {

struct Parsed {
  int result = -1;
  int flags = 0;
  std::vector<std::string> errors, warnings;
  PartitionSelection selection;
};

class OptionGrammarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KOLV_WINDOWS_DIR", "C:\\Windows", 1);
    module.Add("0", "DISK_0").Partition("C:\\", "NTFS");  // the system disk
    module.Add("1", "SSD_1", true).Partition("E:\\", "NTFS");
    module.Add("2", "DISK_2").Partition("F:\\", "NTFS");
    tool.filter_answer = {"T", "T", "T"};
  }

  // Parses as the host leaves it: getopt has just read -Mstorage and -Trecover.
  Parsed Parse(std::vector<std::string> words) {
    words.insert(words.begin(), {"kolv_cli", "-Mstorage", "-Trecover"});
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(&w[0]);
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());
    optind = 0;
    opterr = 0;
    static const struct option none[] = {{nullptr, 0, nullptr, 0}};
    getopt_long(argc, argv.data(), "M:T:", none, nullptr);
    getopt_long(argc, argv.data(), "M:T:", none, nullptr);

    MdrUtils model(&module, &tool, &service);
    CliOptionParser parser(&model);
    Parsed p;
    p.result = parser.ParseOptions(argc, argv.data(), p.flags, p.errors, p.warnings);
    // As the tool goes on: the targets are read against the devices the scan found.
    if (p.result == 0 && CliOptionParser::NeedsDevices(p.flags) &&
        model.FilterDevices(true, false, false) == 0)
      p.result = parser.ValidateTargets(argc, argv.data(), p.flags, p.errors, p.warnings,
                                        p.selection);
    return p;
  }

  FakeModule module;
  FakeTool tool;
  FakeService service;
};

TEST_F(OptionGrammarTest, ScanAndRepairTogetherRunRepairWithOneWarningInEitherOrder) {
  for (auto words : {std::vector<std::string>{"-s", "-r", "2"}, std::vector<std::string>{"-r", "-s", "2"}}) {
    Parsed p = Parse(words);
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.flags, kFlagPhysical | kFlagRepair);
    ASSERT_EQ(p.warnings.size(), 1u);
    EXPECT_EQ(FormatDisplayKey(p.warnings[0]),
              "Ignoring the 's' option because the 'r' option was specified");
    EXPECT_EQ(p.selection.size(), 1u);
    EXPECT_EQ(p.selection.count("2"), 1u);
  }
}

TEST_F(OptionGrammarTest, RefusedOptionsStopParsingWithAnError) {
  Parsed unknown = Parse({"-x", "-b"});
  EXPECT_EQ(unknown.result, 1);
  EXPECT_EQ(unknown.errors, std::vector<std::string>{"|UNRECOGNIZED_OPTION_FOUND"});
  EXPECT_EQ(service.tool_runs, 0);

  Parsed background = Parse({"--background"});
  EXPECT_EQ(background.result, 1);
  EXPECT_EQ(background.errors,
            std::vector<std::string>{"IT_IS_NOT_POSSIBLE_TO_A_TOOL_IN_BACKGROUND_MODE"});
  Parsed output = Parse({"-s", "-ofile"});
  EXPECT_EQ(output.result, 1);
}

TEST_F(OptionGrammarTest, HelpAloneOrNothingShowsUsage) {
  Parsed help = Parse({"-h", "--help"});
  EXPECT_EQ(help.result, 0);
  EXPECT_EQ(help.flags, kFlagUsage | kFlagInformation);
  EXPECT_TRUE(help.warnings.empty());

  Parsed bare = Parse({});
  EXPECT_EQ(bare.flags, kFlagUsage | kFlagInformation);
  EXPECT_TRUE(bare.warnings.empty());
  EXPECT_EQ(service.tool_runs, 0);

  Parsed words = Parse({"Zeta_Word", "0"});
  EXPECT_EQ(words.flags, kFlagUsage | kFlagInformation);
  ASSERT_EQ(words.warnings.size(), 2u);
  EXPECT_EQ(FormatDisplayKey(words.warnings[0]), "Ignoring: Zeta_Word, 0");
  EXPECT_EQ(FormatDisplayKey(words.warnings[1]), "No valid option specified");
  EXPECT_EQ(FormatDisplayKey(Parse({"", "0"}).warnings[0]), "Ignoring: \"\", 0");
}

TEST_F(OptionGrammarTest, TargetsAreCheckedAgainstTheApplicableDevices) {
  Parsed p = Parse({"-s", "2,C,7", "_", "7"});
  EXPECT_EQ(p.result, 0);
  EXPECT_EQ(p.selection.size(), 1u);
  EXPECT_EQ(p.selection.count("2"), 1u);
  ASSERT_EQ(p.warnings.size(), 2u);
  EXPECT_EQ(FormatDisplayKey(p.warnings[0]), "Ignoring: _");
  EXPECT_EQ(FormatDisplayKey(p.warnings[1]),
            "Following are not available or not applicable devices: C, 7");
  EXPECT_EQ(tool.parameters["Operation"], std::vector<std::string>{"filterDevices"});
  EXPECT_EQ(module.scans, 1);

  // An empty item between two commas names no device: an invalid target.
  Parsed doubled = Parse({"-s", "0,,2"});
  EXPECT_EQ(doubled.selection.size(), 2u);
  ASSERT_EQ(doubled.warnings.size(), 1u);
  EXPECT_EQ(FormatDisplayKey(doubled.warnings[0]), "Following are not available or not applicable devices: \"\"");
  Parsed unknown = Parse({"-s", "2,,9"});
  ASSERT_EQ(unknown.warnings.size(), 1u);
  EXPECT_EQ(FormatDisplayKey(unknown.warnings[0]),
            "Following are not available or not applicable devices: \"\", 9");

  // An empty word (an unset variable in a script) is a target that names nothing, never a way
  // to choose every device.
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"-r", ""}, std::vector<std::string>{"-s", ","}}) {
    Parsed empty = Parse(words);
    EXPECT_EQ(empty.result, 1);
    EXPECT_TRUE(empty.selection.empty());
    ASSERT_EQ(empty.errors.size(), 1u);
    EXPECT_EQ(empty.errors[0], "|ALL_DEVICES_AND_PARTITIONS_SPECIFIED_ARE_INVALID_TO_THAT_OPERATION");
  }
}

// Whatever the user typed is shown as typed, the display key's own marks included.
TEST_F(OptionGrammarTest, TypedWordsAreShownAsTypedInWarnings) {
  Parsed marks = Parse({"-s", "X$Y_Z", "3", "^a$B", "$", "^", "2"});
  EXPECT_EQ(marks.result, 0);
  ASSERT_EQ(marks.warnings.size(), 1u);
  EXPECT_EQ(FormatDisplayKey(marks.warnings[0]),
            "Following are not available or not applicable devices: X$Y_Z, 3, ^a$B, $, ^");

  Parsed ignored = Parse({"Q$r_S", "^T"});
  ASSERT_EQ(ignored.warnings.size(), 2u);
  EXPECT_EQ(FormatDisplayKey(ignored.warnings[0]), "Ignoring: Q$r_S, ^T");
}

TEST_F(OptionGrammarTest, SsdAndSystemDiskAreRefusedAndAllRefusedIsAnError) {
  Parsed scan = Parse({"-s", "0,1"});
  EXPECT_EQ(scan.result, 0);
  EXPECT_EQ(scan.selection.count("0"), 1u);  // a scan may read the system disk
  ASSERT_EQ(scan.warnings.size(), 1u);
  EXPECT_NE(FormatDisplayKey(scan.warnings[0]).find("SSDs are not supported"), std::string::npos);

  Parsed repair = Parse({"-r", "0", "1"});
  EXPECT_EQ(repair.result, 1);
  EXPECT_TRUE(repair.selection.empty());
  EXPECT_EQ(repair.warnings.size(), 2u);
  EXPECT_NE(FormatDisplayKey(repair.warnings[0]).find("operating system device"), std::string::npos);
  EXPECT_EQ(repair.errors,
            std::vector<std::string>{"|ALL_DEVICES_AND_PARTITIONS_SPECIFIED_ARE_INVALID_TO_THAT_OPERATION"});

  Parsed none = Parse({"-r"});
  EXPECT_EQ(none.result, 0);
  EXPECT_TRUE(none.selection.empty());
}

// The exit status of each result code, and the host's weighing, in which no device's success
// hides another device's outcome.
TEST(ToolExitStatusTest, EveryCodeAndEveryPairTellsTheWorseOutcome) {
  const unsigned expected[] = {0, 23, 25, 0, 21, 23, 25, 23, 25, 0, 22, 22, 21};
  for (int code = 0; code <= 12; ++code) EXPECT_EQ(MdrExitStatus(code), expected[code]) << code;
  EXPECT_EQ(MdrExitStatus(13), 24u);
  EXPECT_EQ(MdrExitStatus(kMdrUnknownCode), 24u);

  const int ranked[] = {12, 10, 8, 13, 7, 0};  // 21, 22, 25, 24, 23, 0: heaviest first
  for (size_t i = 0; i < 6; ++i) {
    for (size_t j = i; j < 6; ++j) {
      for (bool heavier_first : {true, false}) {
        RunOutcome outcome;
        ReportToolResult(outcome, heavier_first ? ranked[i] : ranked[j]);
        ReportToolResult(outcome, heavier_first ? ranked[j] : ranked[i]);
        EXPECT_EQ(outcome.Status(), MdrExitStatus(ranked[i])) << i << " " << j;
        EXPECT_EQ(RunOutcome::ResultsSoFar(), outcome.Status());
      }
    }
  }
}

TEST(ConsoleTextTest, DisplayKeysElapsedTimesAndBadSectorLines) {
  EXPECT_EQ(FormatDisplayKey("[|WARNING]"), "[Warning]");
  EXPECT_EQ(FormatDisplayKey("|NO_ERRORS_WERE_FOUND"), "No errors were found");
  EXPECT_EQ(FormatDisplayKey("|IGNORING: ^C:\\Ab_C$"), "Ignoring: C:\\Ab_C");
  EXPECT_EQ(FormatDisplayKey("^unclosed_Rest"), "unclosed_Rest");

  EXPECT_EQ(ElapsedText(3725), "1 hour 2 minute \bs 5 seconds");
  EXPECT_EQ(ElapsedText(60), "1 minute ");
  EXPECT_EQ(ElapsedText(0), "0 second");
  EXPECT_EQ(ElapsedText(7201), "2 hour \bs 1 second");

  std::vector<std::string> twelve;
  for (int i = 1; i <= 12; ++i) twelve.push_back(std::to_string(i));
  EXPECT_EQ(JoinBadSectors(twelve), "1, 2, 3, 4, 5\n6, 7, 8, 9, 10\n11, 12");
  EXPECT_EQ(JoinBadSectors({}), "");
}

TEST(ConsoleTextTest, ReportsShowStatusMessageAndSectorCounts) {
  std::ostringstream out;
  ConsoleDisplay display(false, out);
  display.set_pending_message("DISK_BUSY");
  display.DeviceReport(1, 61, {"100", "2", "1", "1"}, "", "repair");
  const std::string text = out.str();
  EXPECT_NE(text.find("Number of bad sectors corrected: 1"), std::string::npos);
  // Code 1 has no device text: the label stands alone, followed by the message.
  EXPECT_NE(text.find("Operation status:  - DISK_BUSY\n"), std::string::npos);
  EXPECT_NE(text.find("Elapsed time: 1 minute 1 second\n"), std::string::npos);

  out.str("");
  display.DeviceReport(12, 0, {"100", "3", "0", "0"}, "7, 8, 9", "scan");
  EXPECT_EQ(out.str().find("corrected"), std::string::npos);
  EXPECT_NE(out.str().find("Operation status: Errors were found\n"), std::string::npos);
  EXPECT_NE(out.str().find("[Info] It is recommended"), std::string::npos);
  EXPECT_EQ(out.str().find(" - DISK_BUSY"), std::string::npos);  // the message was used once

  // The engine's words and the typed ones are shown, not obeyed.
  out.str("");
  display.OperationStart("scan\xe2\x80\xae");
  display.Warnings({"|IGNORING: ^7\x1b[2J$"});
  EXPECT_EQ(out.str(), "Started Operation: Scan\\u202e\n[Warning] Ignoring: 7\\x1b[2J\n");
}

class FakeEvent : public morva_service::ToolEventView {
 public:
  std::vector<std::string> GetValues(const std::string& key) const override {
    auto it = values.find(key);
    return it == values.end() ? std::vector<std::string>() : it->second;
  }
  std::map<std::string, std::vector<std::string>> values;
};

TEST(CliListenerTest, ScanFinishZeroesRepairCountsAndEventsKeepTheirOrder) {
  FakeModule module;
  FakeTool tool;
  FakeService service;
  MdrUtils model(&module, &tool, &service);
  CliEventQueue queue;
  MdrCliListener listener(&queue, &model);

  FakeEvent progress;
  progress.values["Progress"] = {"42"};
  FakeEvent finish;
  finish.values = {{"Operation", {"scan"}},
                   {"DeviceFinish", {"9", "12"}},
                   {"SectorsInfo", {"10", "4", "3", "1"}},
                   {"BadSectorsList", {"1", "2", "3", "4", "5", "6"}}};
  FakeEvent filesystem;
  filesystem.values = {{"Operation", {"filesystem"}}, {"DeviceInit", {"0"}}};
  listener.Dispatch("OnProgress", &progress);
  listener.Dispatch("OnDeviceInit", &filesystem);  // partition runs show no device line
  listener.Dispatch("OnDeviceFinish", &finish);

  std::unique_ptr<MdrCliEvent> first = queue.Take();
  ASSERT_TRUE(dynamic_cast<EventProgress*>(first.get()));
  std::unique_ptr<MdrCliEvent> second = queue.Take();
  auto* device = dynamic_cast<EventDeviceFinish*>(second.get());
  ASSERT_TRUE(device);
  EXPECT_EQ(device->code(), 12);
  EXPECT_EQ(device->sectors(), (std::vector<std::string>{"10", "4", "0", "0"}));
  EXPECT_EQ(device->bad_sectors(), "1, 2, 3, 4, 5\n6");
  EXPECT_TRUE(queue.Empty());

  // A missing or garbled code is unknown, never "no errors".
  for (const std::vector<std::string>& reported :
       {std::vector<std::string>{"9", "x"}, std::vector<std::string>{"9", "0x"},
        std::vector<std::string>{"9"}}) {
    finish.values["DeviceFinish"] = reported;
    listener.Dispatch("OnDeviceFinish", &finish);
    std::unique_ptr<MdrCliEvent> garbled = queue.Take();
    ASSERT_TRUE(dynamic_cast<EventDeviceFinish*>(garbled.get()));
    EXPECT_EQ(static_cast<EventDeviceFinish*>(garbled.get())->code(), kMdrUnknownCode);
  }

  InputRequest request("T", "M", 0, 0);
  request.answer = 1;
  listener.Interact(&request);
  EXPECT_EQ(request.answer, 0);
}

}  // namespace
