// The diagnostics log the engine appends for each suite, read back through a strict reading of
// the line grammar.
#include <gtest/gtest.h>

#include <ctime>
#include <thread>

#include "morva_service/morva_service.h"
#include "support/engine_support.h"
#include "support/reference_log.h"
#include "support/unit_catalogue.h"

using namespace morva_service;
using namespace engine_test;

namespace {

class DiagnosticsLog : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveLog();
    engine = FreshEngine(UnitCatalogue());
    ASSERT_NE(engine, nullptr);
    module = LoadedModule(engine, "unit");
    device_a = ScannedDevice(module, "a");
    device_b = ScannedDevice(module, "b");
    first = Diagnostic(module, "FIRST");
    second = Diagnostic(module, "SECOND");
    engine->set_suite_listener(&suite);
  }
  void TearDown() override { DropEngine(); }

  std::vector<RefEntry> ReadLog() {
    std::vector<RefEntry> entries;
    try {
      entries = ReadReferenceLog(ReadWholeFile(LogPath()));
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
    }
    return entries;
  }

  MorvaService* engine = nullptr;
  ModuleInterfaceView* module = nullptr;
  SystemComponentView* device_a = nullptr;
  SystemComponentView* device_b = nullptr;
  DiagnosticView* first = nullptr;
  DiagnosticView* second = nullptr;
  RecordingSuiteListener suite;
};

TEST_F(DiagnosticsLog, OneRunWritesOneEntryInTheGrammar) {
  int64_t before = static_cast<int64_t>(std::time(nullptr));
  engine->Execute(module, device_a, {SelectAll(first), Select(second, {{"T_ASK", {}}, {"T_PARAM", {"7"}}})}, 4242);
  int64_t after = static_cast<int64_t>(std::time(nullptr));

  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 1u);
  const RefEntry& entry = entries[0];
  EXPECT_EQ(entry.name, "unit");
  EXPECT_EQ(entry.group, 4242);
  EXPECT_GE(entry.time, before);
  EXPECT_LE(entry.time, after);
  ASSERT_EQ(entry.resources.size(), 1u);
  const RefResource& resource = entry.resources[0];
  EXPECT_EQ(resource.udi, "UNIT\\A");
  EXPECT_EQ(resource.display_name, "UNIT_A");
  // Blank values would break the line for a reader; inner blanks are kept.
  EXPECT_EQ(resource.properties, (std::vector<std::pair<std::string, std::string>>{
                                     {"MODEL", "M-1"}, {"EMPTY_ROW", "N/A"}, {"NOTE", "two  words"}}));
  ASSERT_EQ(resource.tests.size(), 5u);
  const char* names[] = {"T_ONE", "T_TWO", "T_THREE", "T_ASK", "T_PARAM"};
  const char* results[] = {"SUCCESS", "WARNING", "FAILED", "FAILED", "SUCCESS"};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(resource.tests[i].name, names[i]);
    EXPECT_EQ(resource.tests[i].result, results[i]) << names[i];
    EXPECT_LE(resource.tests[i].start, resource.tests[i].stop);
  }
  // Durations are the scripted ones, whatever the time scale.
  EXPECT_DOUBLE_EQ(resource.tests[0].seconds, 0.5);
  ASSERT_EQ(resource.tests[1].messages.size(), 1u);
  EXPECT_EQ(resource.tests[1].messages[0].kind, "WARNING");
  EXPECT_EQ(resource.tests[1].messages[0].words, (std::vector<std::string>{"W_ONE", "W_TWO"}));
  EXPECT_EQ(resource.tests[1].messages[0].code, "9");
  ASSERT_EQ(resource.tests[3].messages.size(), 1u);
  EXPECT_EQ(resource.tests[3].messages[0].words, (std::vector<std::string>{"REFUSED"}));
  ASSERT_EQ(resource.tests[4].messages.size(), 1u);
  EXPECT_EQ(resource.tests[4].messages[0].words, (std::vector<std::string>{"TEST_PARAMETERS", "7"}));
  EXPECT_EQ(resource.code, "1");
}

TEST_F(DiagnosticsLog, ResourcesBecomeSectionsWithAnIndex) {
  engine->Execute(module, device_b, {Select(first, {{"T_ONE", {}}})}, 5);
  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 1u);
  const auto& sections = entries[0].resources.at(0).sections;
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(sections[0].type, "SLOT");
  EXPECT_EQ(sections[0].index, 7u);
  EXPECT_EQ(sections[0].properties, (std::vector<std::pair<std::string, std::string>>{{"SIZE", "1 GB"}}));
  // Without an INDEX of its own a resource is numbered by its position.
  EXPECT_EQ(sections[1].index, 1u);
  EXPECT_EQ(sections[1].properties,
            (std::vector<std::pair<std::string, std::string>>{{"SIZE", "2 GB"}, {"LABEL", "X:\\"}}));
}

TEST_F(DiagnosticsLog, EntriesOfOneModuleAndGroupMerge) {
  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 77);
  engine->Execute(module, device_b, {Select(first, {{"T_TWO", {}}})}, 77);
  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 78);
  auto groups = MergeGroups(ReadLog());
  ASSERT_EQ(groups.size(), 2u);
  ASSERT_EQ(groups[77].size(), 1u);
  const auto& merged = groups[77]["unit"];
  ASSERT_EQ(merged.size(), 2u);
  EXPECT_EQ(merged[0].udi, "UNIT\\A");
  EXPECT_EQ(merged[1].udi, "UNIT\\B");
  EXPECT_EQ(merged[1].code, "9");
  EXPECT_EQ(groups[78]["unit"].size(), 1u);
}

TEST_F(DiagnosticsLog, AbortedRunIsLoggedAsAborted) {
  suite.on_event = [&](const std::string& event) {
    if (event == "TestStarted T_LONG") std::thread([&] { engine->Abort(); }).join();
  };
  engine->Execute(module, device_a, {Select(second, {{"T_LONG", {}}, {"T_PARAM", {}}})}, 9);
  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 1u);
  const auto& tests = entries[0].resources.at(0).tests;
  ASSERT_EQ(tests.size(), 2u);
  EXPECT_EQ(tests[0].result, "ABORTED");
  EXPECT_LT(tests[0].seconds, 1000);
  EXPECT_EQ(tests[1].result, "ABORTED");
  EXPECT_EQ(tests[1].seconds, 0);
  EXPECT_EQ(entries[0].resources[0].code, "4");
}

TEST_F(DiagnosticsLog, EntryIsOnDiskBeforeTheSuiteEnds) {
  size_t entries_at_end = 0;
  suite.on_event = [&](const std::string& event) {
    if (event == "SuiteFinished") entries_at_end = ReadReferenceLog(ReadWholeFile(LogPath())).size();
  };
  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 1);
  EXPECT_EQ(entries_at_end, 1u);
}

TEST_F(DiagnosticsLog, NothingToRunWritesNothing) {
  engine->Execute(module, device_a, {}, 1);
  engine->Execute(module, device_a, {DiagnosticRun{first, {}}}, 2);
  EXPECT_EQ(ReadWholeFile(LogPath()), "");
}

TEST_F(DiagnosticsLog, RunsOnTwoThreadsNeverInterleaveTheirLines) {
  engine->set_suite_listener(nullptr);
  auto run = [&](SystemComponentView* device, int64_t group) {
    for (int i = 0; i < 8; ++i) engine->Execute(module, device, {Select(first, {{"T_ONE", {}}, {"T_TWO", {}}})}, group);
  };
  std::thread one(run, device_a, 100);
  std::thread two(run, device_b, 200);
  one.join();
  two.join();
  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 16u);
  for (const RefEntry& entry : entries) {
    ASSERT_EQ(entry.resources.size(), 1u);
    EXPECT_EQ(entry.resources[0].udi, entry.group == 100 ? "UNIT\\A" : "UNIT\\B");
  }
}

TEST_F(DiagnosticsLog, LaterRunsAppend) {
  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 1);
  DropEngine();
  engine = FreshEngine(UnitCatalogue());
  module = LoadedModule(engine, "unit");
  engine->Execute(module, ScannedDevice(module, "a"), {Select(Diagnostic(module, "FIRST"), {{"T_ONE", {}}})}, 2);
  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].group, 1);
  EXPECT_EQ(entries[1].group, 2);
}

}  // namespace
