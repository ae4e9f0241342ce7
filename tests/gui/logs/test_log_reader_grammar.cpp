// How the reader turns log lines into records: complete, merged, duplicate and broken entries,
// and the lines that must not fit.
#include <gtest/gtest.h>

#include <string>

#include "gui/logs/core/morva_log_reader.h"
#include "support/log_test_support.h"
#include "tests/support/scratch.h"

using test_support::ReadFile;

namespace {

// One resource with one finished test; the caller's lines replace BODY.
std::string Entry(const std::string& body, const std::string& name = "STORAGE_MODULE",
                  const std::string& number = "1000") {
  return "+++ 2024-05-01T10.20.30 " + name + " " + number + "\n" + body + "--- " + name + "\n";
}

const std::string kResourceHead = "UDI: DISK0\nDISPLAY_NAME: Disk 0\n";
const std::string kOneTest =
    "START TESTS\n"
    "2024-05-01T10.20.31 START QUICK_TEST\n"
    "2024-05-01T10.20.33 STOP QUICK_TEST SUCCESS 2 S\n"
    "STOP TESTS 0\n";

const LogGroupEntry& OnlyEntry(const MorvaLogReader& reader) {
  EXPECT_EQ(reader.groups().size(), 1u);
  const LogGroup& group = reader.groups().begin()->second;
  EXPECT_EQ(group.entries.size(), 1u);
  return group.entries[0].second;
}

TEST(LogGrammar, CompleteRunsAreReadFieldByField) {
  const auto reader = ParseLog(ReadFile(FixturePath("two_runs.log")));
  ASSERT_EQ(reader->groups().size(), 2u);

  const LogGroupEntry* first = FindEntry(*reader, 1714558830, "STORAGE_MODULE");
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->broken);
  EXPECT_EQ(first->status_mask, kLogStatusSuccess | kLogStatusWarning);
  ASSERT_EQ(first->resources.size(), 1u);
  const LogResource& ssd = first->resources[0].second;
  EXPECT_EQ(first->resources[0].first, "PCI\\VEN_1234&DEV_5678\\0001");
  EXPECT_EQ(ssd.display_name, "Disk 0 Example SSD");
  const PropertyPairs properties = {{"UDI", "PCI\\VEN_1234&DEV_5678\\0001"},
                                               {"MODEL", "EXAMPLE-SSD-512"},
                                               {"SERIAL_NUMBER", "SN0001"}};
  EXPECT_EQ(Pairs(ssd.properties), properties);
  ASSERT_EQ(ssd.sections.size(), 1u);
  EXPECT_EQ(ssd.sections[0].type, "PARTITION");
  ASSERT_EQ(ssd.sections[0].items.size(), 1u);
  const PropertyPairs item = {{"INDEX", "0"}, {"MOUNT_POINT", "/"}};
  EXPECT_EQ(Pairs(ssd.sections[0].items[0].properties), item);
  EXPECT_EQ(ssd.result_code, "0");
  EXPECT_TRUE(ssd.messages.empty());
  ASSERT_EQ(ssd.tests.size(), 2u);
  EXPECT_EQ(ssd.tests[0].name(), "SMART_STATUS_TEST");
  EXPECT_EQ(ssd.tests[0].start_time, Seconds("2024-05-01T10.20.31"));
  EXPECT_EQ(ssd.tests[0].stop_time, Seconds("2024-05-01T10.20.33"));
  EXPECT_EQ(ssd.tests[0].result(), "SUCCESS");
  EXPECT_DOUBLE_EQ(ssd.tests[0].duration, 2.0);
  ASSERT_EQ(ssd.tests[0].messages.size(), 1u);
  EXPECT_EQ(ssd.tests[0].messages[0].first_word(), "SMART_READ_OK");
  EXPECT_EQ(ssd.tests[0].messages[0].kind(), "MESSAGE");
  EXPECT_EQ(ssd.tests[0].messages[0].code(), "");
  EXPECT_DOUBLE_EQ(ssd.tests[1].duration, 68.5);
  ASSERT_EQ(ssd.tests[1].messages.size(), 1u);
  EXPECT_EQ(ssd.tests[1].messages[0].kind(), "WARNING");
  EXPECT_EQ(ssd.tests[1].messages[0].code(), "17");

  // Two blocks with the same name and number form one entry with both devices.
  const LogGroupEntry* second = FindEntry(*reader, 1714559100, "STORAGE_MODULE");
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(second->broken);
  EXPECT_EQ(second->status_mask, kLogStatusFailed | kLogStatusSuccess);
  ASSERT_EQ(second->resources.size(), 2u);
  const LogResource* usb = FindResource(*second, "USB\\VID_0ABC&PID_0001\\XYZ");
  ASSERT_NE(usb, nullptr);
  EXPECT_EQ(usb->status_mask, kLogStatusFailed);
  EXPECT_EQ(usb->result_code, "5");
  ASSERT_EQ(usb->messages.size(), 1u);
  EXPECT_EQ(usb->messages[0].first_word(), "DEVICE_LOCKED");
  const LogMessage& read_error = usb->tests.at(0).messages.at(0);
  EXPECT_EQ(read_error.first_word(), "READ_FAILED_AT_LBA");
  EXPECT_EQ(read_error.words(), std::vector<std::string_view>{"123456"});
  EXPECT_EQ(read_error.code(), "5");
  EXPECT_EQ(read_error.time, Seconds("2024-05-01T10.26.30"));
  EXPECT_EQ(second->resources[1].second.status_mask, kLogStatusSuccess);
}

TEST(LogGrammar, WindowsLineEndsReadLikeUnixOnes) {
  const std::string text = ReadFile(FixturePath("two_runs.log"));
  const auto unix_reader = ParseLog(text);
  const auto windows_reader = ParseLog(WithCrLf(text));
  EXPECT_EQ(Dump(*windows_reader), Dump(*unix_reader));
  const LogGroupEntry* entry = FindEntry(*windows_reader, 1714559100, "STORAGE_MODULE");
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->broken);
  EXPECT_EQ(entry->resources[0].second.result_code, "5");
}

TEST(LogGrammar, EmptyLinesAndTextOutsideEntriesAreSkipped) {
  const auto reader = ParseLog("junk before\n\n" + Entry(kResourceHead + "\n" + kOneTest) +
                               "\nstray line: after\n");
  EXPECT_FALSE(OnlyEntry(*reader).broken);
  EXPECT_TRUE(ParseLog("no group here\nUDI: X\n")->groups().empty());
  EXPECT_TRUE(ParseLog("")->groups().empty());
}

TEST(LogGrammar, PropertyValuesLoseOuterBlanksOnly) {
  const auto reader = ParseLog(Entry("UDI:   DISK0  \nDISPLAYNAME: Short form\n"
                                     "NOTE:  a  b\t \nURL: http://x:80\n" + kOneTest));
  const LogGroupEntry& entry = OnlyEntry(*reader);
  EXPECT_FALSE(entry.broken);
  const LogResource* resource = FindResource(entry, "DISK0");
  ASSERT_NE(resource, nullptr);
  EXPECT_EQ(resource->display_name, "Short form");
  const PropertyPairs expected = {
      {"UDI", "DISK0"}, {"NOTE", "a  b\t"}, {"URL", "http://x:80"}};
  EXPECT_EQ(Pairs(resource->properties), expected);
}

TEST(LogGrammar, EmptyValueBreaksTheEntry) {
  const auto reader = ParseLog(Entry(kResourceHead + "MODEL:   \n" + kOneTest));
  EXPECT_TRUE(OnlyEntry(*reader).broken);
  EXPECT_EQ(OnlyEntry(*reader).resources[0].second.properties.size(), 1u);
}

TEST(LogGrammar, MessagesGoToTheResourceBetweenTestsAndToTheTestWithinOne) {
  const auto reader = ParseLog(Entry(kResourceHead +
                                     "START TESTS\n"
                                     "2024-05-01T10.20.31 MESSAGE BEFORE_ANY\n"
                                     "2024-05-01T10.20.31 START A_TEST\n"
                                     "2024-05-01T10.20.32 CRITICAL INSIDE ONE TWO\n"
                                     "2024-05-01T10.20.33 STOP A_TEST FAILED 2 S\n"
                                     "2024-05-01T10.20.34 ERROR BETWEEN CODE E1\n"
                                     "2024-05-01T10.20.35 START B_TEST\n"
                                     "2024-05-01T10.20.36 STOP B_TEST NOT_APPLICABLE 0.25 S\n"
                                     "STOP TESTS 1\n"));
  const LogGroupEntry& entry = OnlyEntry(*reader);
  EXPECT_FALSE(entry.broken);
  const LogResource& resource = entry.resources[0].second;
  ASSERT_EQ(resource.messages.size(), 2u);
  EXPECT_EQ(resource.messages[0].first_word(), "BEFORE_ANY");
  EXPECT_EQ(resource.messages[1].first_word(), "BETWEEN");
  EXPECT_EQ(resource.messages[1].code(), "E1");
  ASSERT_EQ(resource.tests.size(), 2u);
  ASSERT_EQ(resource.tests[0].messages.size(), 1u);
  EXPECT_EQ(resource.tests[0].messages[0].kind(), "CRITICAL");
  EXPECT_EQ(resource.tests[0].messages[0].words(), (std::vector<std::string_view>{"ONE", "TWO"}));
  EXPECT_TRUE(resource.tests[1].messages.empty());
  EXPECT_EQ(resource.status_mask, kLogStatusFailed | kLogStatusNotApplicable);
  EXPECT_EQ(entry.status_mask, resource.status_mask);
}

TEST(LogGrammar, UnknownResultIsKeptAsTextWithoutABit) {
  const auto reader = ParseLog(Entry(kResourceHead +
                                     "START TESTS\n"
                                     "2024-05-01T10.20.31 START A_TEST\n"
                                     "2024-05-01T10.20.33 STOP A_TEST PASSED 2 S\n"
                                     "STOP TESTS 0\n"));
  const LogResource& resource = OnlyEntry(*reader).resources[0].second;
  EXPECT_EQ(resource.tests.at(0).result(), "PASSED");
  EXPECT_EQ(resource.status_mask, 0u);
  EXPECT_FALSE(OnlyEntry(*reader).broken);
}

// A device repeated in one entry (two runs of a module started in the same second share their
// group) keeps the tests and messages of every block, in log order: none of its results is lost.
TEST(LogGrammar, DuplicateUdiKeepsFirstDescriptionAndTheTestsOfEveryBlock) {
  const auto reader = ParseLog(Entry(kResourceHead + "MODEL: FIRST\n" + kOneTest +
                                     "UDI: DISK0\nDISPLAY_NAME: Renamed\nMODEL: SECOND\n"
                                     ">>> RESOURCE PARTITION\nINDEX: 1\nSIZE: 10\n<<< RESOURCE\n"
                                     "START TESTS\n"
                                     "2024-05-01T10.21.00 START LONG_TEST\n"
                                     "2024-05-01T10.21.09 STOP LONG_TEST FAILED 9 S\n"
                                     "STOP TESTS 7\n"));
  const LogGroupEntry& entry = OnlyEntry(*reader);
  EXPECT_FALSE(entry.broken);
  ASSERT_EQ(entry.resources.size(), 1u);
  const LogResource& resource = entry.resources[0].second;
  EXPECT_EQ(resource.display_name, "Disk 0");
  const PropertyPairs expected = {{"UDI", "DISK0"}, {"MODEL", "FIRST"}};
  EXPECT_EQ(Pairs(resource.properties), expected);
  EXPECT_TRUE(resource.sections.empty());
  ASSERT_EQ(resource.tests.size(), 2u);
  EXPECT_EQ(resource.tests[0].name(), "QUICK_TEST");
  EXPECT_EQ(resource.tests[0].result(), "SUCCESS");
  EXPECT_EQ(resource.tests[1].name(), "LONG_TEST");
  EXPECT_EQ(resource.tests[1].result(), "FAILED");
  EXPECT_EQ(resource.result_code, "7");
  EXPECT_EQ(resource.status_mask, kLogStatusSuccess | kLogStatusFailed);
}

TEST(LogGrammar, TwoRunsInOneSecondKeepBothRunsOfADevice) {
  const std::string first_run =
      Entry(kResourceHead +
            "START TESTS\n"
            "2024-05-01T10.20.30 MESSAGE FIRST_RUN\n"
            "2024-05-01T10.20.31 START SMART_STATUS_CHECK\n"
            "2024-05-01T10.20.31 ERROR SMART_BAD\n"
            "2024-05-01T10.20.32 STOP SMART_STATUS_CHECK FAILED 1 S\n"
            "STOP TESTS 21\n");
  const std::string second_run =
      Entry(kResourceHead +
            "START TESTS\n"
            "2024-05-01T10.20.30 MESSAGE SECOND_RUN\n"
            "2024-05-01T10.20.31 START SHORT_SELF_TEST\n"
            "2024-05-01T10.20.32 STOP SHORT_SELF_TEST SUCCESS 1 S\n"
            "STOP TESTS 0\n");
  for (const bool keyed_by_number : {true, false}) {
    SCOPED_TRACE(keyed_by_number);
    const auto reader = ParseLog(first_run + second_run, keyed_by_number);
    const LogGroupEntry& entry = OnlyEntry(*reader);
    EXPECT_FALSE(entry.broken);
    ASSERT_EQ(entry.resources.size(), 1u);
    const LogResource& resource = entry.resources[0].second;
    ASSERT_EQ(resource.tests.size(), 2u);
    EXPECT_EQ(resource.tests[0].name(), "SMART_STATUS_CHECK");
    EXPECT_EQ(resource.tests[0].result(), "FAILED");
    ASSERT_EQ(resource.tests[0].messages.size(), 1u);
    EXPECT_EQ(resource.tests[0].messages[0].first_word(), "SMART_BAD");
    EXPECT_EQ(resource.tests[1].name(), "SHORT_SELF_TEST");
    ASSERT_EQ(resource.messages.size(), 2u);
    EXPECT_EQ(resource.messages[0].first_word(), "FIRST_RUN");
    EXPECT_EQ(resource.messages[1].first_word(), "SECOND_RUN");
    // The second run's success code would hide the first run's failure in the header.
    EXPECT_EQ(resource.result_code, "21");
    EXPECT_EQ(entry.status_mask, kLogStatusSuccess | kLogStatusFailed);
  }
}

// Many runs of one device in one group, and one item written again and again: lists that grow
// block by block past the room they start with keep every line, in log order.
TEST(LogGrammar, ADeviceRepeatedInManyRunsKeepsEveryRunInOrder) {
  constexpr int kRuns = 40;
  std::string sections;
  for (int i = 0; i < kRuns; ++i) {
    sections += ">>> RESOURCE PARTITION\nINDEX: 0\nSIZE_" + std::to_string(i) + ": 1\n<<< RESOURCE\n";
  }
  std::string log = Entry(kResourceHead + sections + kOneTest);
  for (int i = 0; i < kRuns; ++i) {
    const std::string run = std::to_string(i);
    const bool failed = i == 17;
    log += Entry(kResourceHead + "START TESTS\n" +
                 "2024-05-01T10.20.31 MESSAGE RUN_" + run + "\n" +
                 "2024-05-01T10.20.31 START TEST_" + run + "\n" +
                 "2024-05-01T10.20.32 ERROR STEP_" + run + " CODE " + run + "\n" +
                 "2024-05-01T10.20.33 STOP TEST_" + run + (failed ? " FAILED" : " SUCCESS") + " 2 S\n" +
                 "STOP TESTS " + (failed ? "9" : "0") + "\n");
  }
  for (const bool keyed_by_number : {true, false}) {
    SCOPED_TRACE(keyed_by_number);
    const auto reader = ParseLog(log, keyed_by_number);
    const LogGroupEntry& entry = OnlyEntry(*reader);
    EXPECT_FALSE(entry.broken);
    ASSERT_EQ(entry.resources.size(), 1u);
    const LogResource& resource = entry.resources[0].second;
    ASSERT_EQ(resource.sections.size(), 1u);
    ASSERT_EQ(resource.sections[0].items.size(), 1u);
    const auto& properties = resource.sections[0].items[0].properties;
    ASSERT_EQ(properties.size(), 2u * kRuns);
    ASSERT_EQ(resource.tests.size(), kRuns + 1u);
    ASSERT_EQ(resource.messages.size(), size_t{kRuns});
    EXPECT_EQ(resource.tests[0].name(), "QUICK_TEST");
    for (int i = 0; i < kRuns; ++i) {
      SCOPED_TRACE(i);
      const std::string run = std::to_string(i);
      EXPECT_EQ(properties[2 * i].key(), "INDEX");
      EXPECT_EQ(properties[2 * i + 1].key(), "SIZE_" + run);
      const LogTest& test = resource.tests[i + 1];
      EXPECT_EQ(test.name(), "TEST_" + run);
      EXPECT_EQ(test.result(), i == 17 ? "FAILED" : "SUCCESS");
      ASSERT_EQ(test.messages.size(), 1u);
      EXPECT_EQ(test.messages[0].first_word(), "STEP_" + run);
      EXPECT_EQ(test.messages[0].code(), run);
      EXPECT_EQ(resource.messages[i].first_word(), "RUN_" + run);
    }
    EXPECT_EQ(resource.result_code, "9");
    EXPECT_EQ(entry.status_mask, kLogStatusSuccess | kLogStatusFailed);
  }
}

// A tests block started again, with or without its device's id before it, keeps every result
// recorded before it: a failure written to the log is never lost behind a later success.
TEST(LogGrammar, RestartedTestsBlockKeepsEveryRecordedResult) {
  const std::string failed_block =
      "START TESTS\n"
      "2024-05-01T10.20.31 MESSAGE EARLIER_MESSAGE\n"
      "2024-05-01T10.20.31 START EARLIER_TEST\n"
      "2024-05-01T10.20.32 STOP EARLIER_TEST FAILED 1 S\n"
      "STOP TESTS 5\n";
  // Without a property between them, the second block's start breaks the entry.
  for (const std::string between : {"UDI: DISK0\n", "K: after\n", ""}) {
    SCOPED_TRACE(between);
    const auto reader = ParseLog(Entry(kResourceHead + failed_block + between + kOneTest));
    const LogGroupEntry& entry = OnlyEntry(*reader);
    EXPECT_EQ(entry.broken, between.empty());
    ASSERT_EQ(entry.resources.size(), 1u);
    const LogResource& resource = entry.resources[0].second;
    ASSERT_EQ(resource.tests.size(), 2u);
    EXPECT_EQ(resource.tests[0].name(), "EARLIER_TEST");
    EXPECT_EQ(resource.tests[0].result(), "FAILED");
    EXPECT_EQ(resource.tests[1].name(), "QUICK_TEST");
    ASSERT_EQ(resource.messages.size(), 1u);
    EXPECT_EQ(resource.messages[0].first_word(), "EARLIER_MESSAGE");
    EXPECT_EQ(resource.result_code, "5");
    EXPECT_EQ(resource.status_mask, kLogStatusFailed | kLogStatusSuccess);
    EXPECT_EQ(entry.status_mask, resource.status_mask);
  }
}

TEST(LogGrammar, SectionsCollectItemsByIndexAndTypesByName) {
  const auto reader = ParseLog(Entry(kResourceHead +
                                     ">>> RESOURCE PARTITION\nINDEX: 2\nLABEL: B\n<<< RESOURCE\n"
                                     ">>> RESOURCE VOLUME\nINDEX: 0\nLABEL: V\n<<< RESOURCE\n"
                                     ">>> RESOURCE PARTITION\nINDEX: 2\nSIZE: 9\n<<< RESOURCE\n"
                                     ">>> RESOURCE PARTITION\nINDEX: 1\nLABEL: A\n<<< RESOURCE\n" +
                                     kOneTest));
  const LogResource& resource = OnlyEntry(*reader).resources[0].second;
  EXPECT_FALSE(OnlyEntry(*reader).broken);
  ASSERT_EQ(resource.sections.size(), 2u);
  const auto& partitions = resource.sections[0];
  EXPECT_EQ(partitions.type, "PARTITION");
  ASSERT_EQ(partitions.items.size(), 2u);
  EXPECT_EQ(partitions.items[0].index, 2u);
  const PropertyPairs merged = {{"INDEX", "2"}, {"LABEL", "B"}, {"INDEX", "2"}, {"SIZE", "9"}};
  EXPECT_EQ(Pairs(partitions.items[0].properties), merged);
  EXPECT_EQ(partitions.items[1].index, 1u);
  EXPECT_EQ(resource.sections[1].type, "VOLUME");
}

TEST(LogGrammar, IndexMustBeAnUnsignedInteger) {
  for (const std::string bad : {"-1", "+1", "1e3", "1.0", "nan", "0x10", "18446744073709551616", "1 2"}) {
    SCOPED_TRACE(bad);
    const auto reader = ParseLog(Entry(kResourceHead + ">>> RESOURCE PARTITION\nINDEX: " + bad +
                                       "\nLABEL: X\n<<< RESOURCE\n" + kOneTest));
    const LogGroupEntry& entry = OnlyEntry(*reader);
    EXPECT_TRUE(entry.broken);
    EXPECT_TRUE(entry.resources[0].second.sections.empty());
  }
  // Large indexes stay distinct; no rounding through a floating-point number.
  const auto reader = ParseLog(Entry(kResourceHead +
                                     ">>> RESOURCE P\nINDEX: 9007199254740993\nA: 1\n<<< RESOURCE\n"
                                     ">>> RESOURCE P\nINDEX: 9007199254740992\nA: 2\n<<< RESOURCE\n"
                                     ">>> RESOURCE P\nINDEX: 18446744073709551615\nA: 3\n<<< RESOURCE\n" +
                                     kOneTest));
  EXPECT_FALSE(OnlyEntry(*reader).broken);
  const auto& items = OnlyEntry(*reader).resources[0].second.sections.at(0).items;
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].index, 9007199254740993ull);
  EXPECT_EQ(items[2].index, 18446744073709551615ull);
}

TEST(LogGrammar, SectionWithOnlyAnIndexIsBroken) {
  const auto reader = ParseLog(Entry(kResourceHead + ">>> RESOURCE PARTITION\nINDEX: 0\n<<< RESOURCE\n" +
                                     kOneTest));
  const LogGroupEntry& entry = OnlyEntry(*reader);
  EXPECT_TRUE(entry.broken);
  const LogResource& resource = entry.resources[0].second;
  EXPECT_TRUE(resource.broken);
  // The section end is then accepted and the tests that follow are read.
  EXPECT_EQ(resource.sections.at(0).items.at(0).properties.size(), 1u);
  EXPECT_EQ(resource.tests.size(), 1u);
  EXPECT_EQ(resource.result_code, "0");
}

TEST(LogGrammar, TestsStopBeforeAnyTestBreaksTheEntryAndIsThenAccepted) {
  const auto reader = ParseLog(Entry(kResourceHead + "START TESTS\nSTOP TESTS 3\n"));
  const LogGroupEntry& entry = OnlyEntry(*reader);
  EXPECT_TRUE(entry.broken);
  EXPECT_TRUE(entry.resources[0].second.broken);
  EXPECT_EQ(entry.resources[0].second.result_code, "3");
  // The group end fits after the accepted stop line: a following entry is clean.
  const auto two = ParseLog(Entry(kResourceHead + "START TESTS\nSTOP TESTS 3\n") +
                            Entry(kResourceHead + kOneTest, "MEMORY_MODULE"));
  EXPECT_FALSE(FindEntry(*two, 1000, "MEMORY_MODULE")->broken);
}

TEST(LogGrammar, BareTestsStopIsReadWithinTheLine) {
  for (const std::string stop : {"STOP TESTS", "STOP TESTS ", "STOP TESTS  "}) {
    SCOPED_TRACE("[" + stop + "]");
    const auto reader = ParseLog(Entry(kResourceHead +
                                       "START TESTS\n"
                                       "2024-05-01T10.20.31 START QUICK_TEST\n"
                                       "2024-05-01T10.20.33 STOP QUICK_TEST SUCCESS 2 S\n" +
                                       stop + "\nSTOP TESTS 4\n"));
    const LogGroupEntry& entry = OnlyEntry(*reader);
    EXPECT_TRUE(entry.broken);
    EXPECT_EQ(entry.resources[0].second.result_code, "4");
  }
}

TEST(LogGrammar, StopOfAnotherTestRecordsNoResult) {
  const auto reader = ParseLog(Entry(kResourceHead +
                                     "START TESTS\n"
                                     "2024-05-01T10.20.31 START A_TEST\n"
                                     "2024-05-01T10.20.33 STOP B_TEST FAILED 2 S\n"
                                     "2024-05-01T10.20.34 START C_TEST\n"
                                     "2024-05-01T10.20.35 STOP C_TEST SUCCESS 1 S\n"
                                     "STOP TESTS 0\n"));
  const LogGroupEntry& entry = OnlyEntry(*reader);
  EXPECT_TRUE(entry.broken);
  const LogResource& resource = entry.resources[0].second;
  ASSERT_EQ(resource.tests.size(), 2u);
  EXPECT_EQ(resource.tests[0].result(), "");
  EXPECT_EQ(resource.tests[0].stop_time, 0);
  EXPECT_EQ(resource.tests[1].result(), "SUCCESS");
  EXPECT_EQ(resource.status_mask, kLogStatusSuccess);
}

TEST(LogGrammar, DamagedTestLinesAreRecordedOnceAndBreakTheEntry) {
  const auto reader = ParseLog(Entry(kResourceHead +
                                     "START TESTS\n"
                                     "2024-05-01T10.20.31 START A_TEST EXTRA\n"
                                     "2024-05-01T10.20.33 STOP A_TEST SUCCESS 2\n"
                                     "STOP TESTS 0\n"));
  const LogGroupEntry& entry = OnlyEntry(*reader);
  EXPECT_TRUE(entry.broken);
  const LogResource& resource = entry.resources[0].second;
  ASSERT_EQ(resource.tests.size(), 1u);
  EXPECT_EQ(resource.tests[0].result(), "SUCCESS");
  EXPECT_EQ(resource.tests[0].duration, 0.0);

  for (const std::string stop : {"SUCCESS 2 s", "SUCCESS 1,5 S", "SUCCESS nan S", "SUCCESS 2 S X"}) {
    SCOPED_TRACE(stop);
    const auto damaged = ParseLog(Entry(kResourceHead +
                                        "START TESTS\n"
                                        "2024-05-01T10.20.31 START A_TEST\n"
                                        "2024-05-01T10.20.33 STOP A_TEST " + stop + "\n"
                                        "STOP TESTS 0\n"));
    EXPECT_TRUE(OnlyEntry(*damaged).broken);
    EXPECT_EQ(OnlyEntry(*damaged).resources[0].second.tests.size(), 1u);
  }
}

TEST(LogGrammar, MessageCodeMustEndTheLine) {
  struct Case {
    std::string words;
    bool broken;
    std::string code;
    std::vector<std::string_view> further;
  };
  const Case cases[] = {
      {"READ_ERROR AT LBA CODE 5", false, "5", {"AT", "LBA"}},
      {"READ_ERROR CODE", true, "", {}},
      {"READ_ERROR CODE 5 6", true, "5", {}},
      {"READ_ERROR A CODE 5 B", true, "5", {"A"}},
      // Words are tokens, whatever the blanks around them.
      {"READ_ERROR  AT   LBA\t7  ", false, "", {"AT", "LBA\t7"}},
      {"READ_ERROR X  CODE  5", false, "5", {"X"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    const auto reader = ParseLog(Entry(kResourceHead +
                                       "START TESTS\n"
                                       "2024-05-01T10.20.31 START A_TEST\n"
                                       "2024-05-01T10.20.32 ERROR " + c.words + "\n"
                                       "2024-05-01T10.20.33 STOP A_TEST FAILED 2 S\n"
                                       "STOP TESTS 0\n"));
    const LogGroupEntry& entry = OnlyEntry(*reader);
    EXPECT_EQ(entry.broken, c.broken);
    const auto& messages = entry.resources[0].second.tests.at(0).messages;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code(), c.code);
    EXPECT_EQ(messages[0].words(), c.further);
  }
  // A message needs a word after its kind.
  const auto bare = ParseLog(Entry(kResourceHead + "START TESTS\n"
                                   "2024-05-01T10.20.31 START A_TEST\n"
                                   "2024-05-01T10.20.32 WARNING\n"
                                   "2024-05-01T10.20.33 STOP A_TEST FAILED 2 S\n"
                                   "STOP TESTS 0\n"));
  EXPECT_TRUE(OnlyEntry(*bare).broken);
  EXPECT_TRUE(OnlyEntry(*bare).resources[0].second.tests.at(0).messages.empty());
}

TEST(LogGrammar, InvalidTimeStampsDoNotMakeTestLines) {
  for (const std::string stamp : {"2024-02-30T10.20.31", "2024-05-01T24.00.00", "2024-05-01T10:20:31",
                                  "20240501T102031Z", "2024-05-01T10.20.31x"}) {
    SCOPED_TRACE(stamp);
    const auto reader = ParseLog(Entry(kResourceHead + "START TESTS\n" + stamp +
                                       " START A_TEST\n"
                                       "2024-05-01T10.20.34 START B_TEST\n"
                                       "2024-05-01T10.20.35 STOP B_TEST SUCCESS 1 S\n"
                                       "STOP TESTS 0\n"));
    const LogGroupEntry& entry = OnlyEntry(*reader);
    EXPECT_TRUE(entry.broken);
    ASSERT_EQ(entry.resources[0].second.tests.size(), 1u);
    EXPECT_EQ(entry.resources[0].second.tests[0].name(), "B_TEST");
  }
}

// Lines that need a device while none is current must not fit, and must leave no trace.
TEST(LogGrammar, LinesWithoutACurrentDeviceDoNotFit) {
  const std::string cases[] = {
      "DISPLAY_NAME: Nobody\n" + kResourceHead + kOneTest,
      "START TESTS\n" + kResourceHead + kOneTest,
      ">>> RESOURCE PARTITION\nINDEX: 1\nLABEL: A\n<<< RESOURCE\n" + kResourceHead + kOneTest,
      "2024-05-01T10.20.31 START A_TEST\n2024-05-01T10.20.31 MESSAGE X\n" + kResourceHead + kOneTest,
      "STOP TESTS 9\n" + kResourceHead + kOneTest,
  };
  for (const std::string& body : cases) {
    SCOPED_TRACE(body);
    const auto reader = ParseLog(Entry(body));
    const LogGroupEntry& entry = OnlyEntry(*reader);
    EXPECT_TRUE(entry.broken);
    ASSERT_EQ(entry.resources.size(), 1u);
    const LogResource& resource = entry.resources[0].second;
    EXPECT_EQ(resource.display_name, "Disk 0");
    EXPECT_TRUE(resource.sections.empty());
    EXPECT_EQ(resource.tests.size(), 1u);
    EXPECT_EQ(resource.result_code, "0");
  }
}

TEST(LogGrammar, TestLinesAfterTheGroupEndTouchNoDevice) {
  const std::string text = Entry(kResourceHead +
                                 "START TESTS\n"
                                 "2024-05-01T10.20.31 START A_TEST\n") +
                           "2024-05-01T10.20.33 STOP A_TEST SUCCESS 2 S\n"
                           "2024-05-01T10.20.34 MESSAGE LATE\n"
                           "2024-05-01T10.20.35 START B_TEST\n"
                           "STOP TESTS 0\n"
                           "UDI: AFTER\n" +
                           Entry(kResourceHead + kOneTest, "MEMORY_MODULE");
  const auto reader = ParseLog(text);
  const LogGroupEntry* storage = FindEntry(*reader, 1000, "STORAGE_MODULE");
  ASSERT_NE(storage, nullptr);
  EXPECT_TRUE(storage->broken);
  const LogResource& resource = storage->resources[0].second;
  EXPECT_TRUE(resource.broken);
  ASSERT_EQ(resource.tests.size(), 1u);
  EXPECT_EQ(resource.tests[0].result(), "");
  EXPECT_TRUE(resource.tests[0].messages.empty());
  const LogGroupEntry* memory = FindEntry(*reader, 1000, "MEMORY_MODULE");
  ASSERT_NE(memory, nullptr);
  EXPECT_FALSE(memory->broken);
}

TEST(LogGrammar, GroupEndMustNameTheOpenEntry) {
  const auto reader = ParseLog("+++ 2024-05-01T10.20.30 STORAGE_MODULE 1000\n" + kResourceHead + kOneTest +
                               "--- MEMORY_MODULE\n");
  const LogGroupEntry& entry = OnlyEntry(*reader);
  EXPECT_TRUE(entry.broken);
  EXPECT_EQ(entry.status_mask, kLogStatusSuccess);
}

TEST(LogGrammar, DamagedGroupStartOpensNothing) {
  for (const std::string start : {"+++ 2024-05-01T10.20.30 STORAGE_MODULE", "+++ 2024-05-01T10.20.30 STORAGE_MODULE x",
                                  "+++ 2024-13-01T10.20.30 STORAGE_MODULE 1000",
                                  "+++ 2024-05-01T10.20.30 STORAGE_MODULE 1000 EXTRA",
                                  "+++ 2024-05-01T10.20.30 STORAGE_MODULE 9223372036854775808"}) {
    SCOPED_TRACE(start);
    EXPECT_TRUE(ParseLog(start + "\n" + kResourceHead + kOneTest + "--- STORAGE_MODULE\n")->groups().empty());
  }
}

TEST(LogGrammar, MissingGroupEndBreaksOnlyTheOpenEntry) {
  const std::string unfinished = "+++ 2024-05-01T10.20.30 STORAGE_MODULE 1000\n" + kResourceHead +
                                 "START TESTS\n2024-05-01T10.20.31 START A_TEST\n";
  const auto reader = ParseLog(unfinished + Entry(kResourceHead + kOneTest, "STORAGE_MODULE", "2000"));
  const LogGroupEntry* first = FindEntry(*reader, 1000, "STORAGE_MODULE");
  const LogGroupEntry* second = FindEntry(*reader, 2000, "STORAGE_MODULE");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(first->broken);
  EXPECT_TRUE(first->resources[0].second.broken);
  EXPECT_FALSE(second->broken);
}

TEST(LogGrammar, LogCutShortLeavesItsLastEntryBroken) {
  const std::string full = Entry(kResourceHead + kOneTest);
  // Cut inside the stop line of the test, then just before the group end.
  for (size_t cut : {full.find(" STOP QUICK_TEST") + 10, full.find("--- ")}) {
    SCOPED_TRACE(cut);
    const auto reader = ParseLog(full.substr(0, cut));
    const LogGroupEntry& entry = OnlyEntry(*reader);
    EXPECT_TRUE(entry.broken);
    EXPECT_TRUE(entry.resources[0].second.broken);
    EXPECT_EQ(entry.resources[0].second.tests.size(), 1u);
  }
  // Without its final line end a complete log is still whole.
  std::string no_final_newline = full;
  no_final_newline.pop_back();
  EXPECT_FALSE(OnlyEntry(*ParseLog(no_final_newline)).broken);
  // A record on the last line, without its line end, reads its fields from it like any other.
  const auto cut_message = ParseLog("+++ 2024-05-01T10.20.30 STORAGE_MODULE 1000\n" + kResourceHead +
                                    "START TESTS\n2024-05-01T10.20.31 START A_TEST\n"
                                    "2024-05-01T10.20.32 ERROR READ_ERROR AT LBA CODE 5");
  const LogTest& test = OnlyEntry(*cut_message).resources[0].second.tests.at(0);
  EXPECT_EQ(test.name(), "A_TEST");
  ASSERT_EQ(test.messages.size(), 1u);
  EXPECT_EQ(test.messages[0].code(), "5");
  EXPECT_EQ(test.messages[0].words(), (std::vector<std::string_view>{"AT", "LBA"}));
}

TEST(LogGrammar, BinaryNoiseNeverStopsTheParse) {
  std::string noise = Entry(kResourceHead + kOneTest);
  noise += std::string("\0\r\r\n\xff\xfe:\n+++ \n--- \n>>> RESOURCE \n<<< RESOURCE\nSTOP TESTS\n", 56);
  noise += Entry(kResourceHead + kOneTest, "MEMORY_MODULE", "2000");
  const auto reader = ParseLog(noise);
  EXPECT_FALSE(FindEntry(*reader, 1000, "STORAGE_MODULE")->broken);
  EXPECT_FALSE(FindEntry(*reader, 2000, "MEMORY_MODULE")->broken);
}

}  // namespace
