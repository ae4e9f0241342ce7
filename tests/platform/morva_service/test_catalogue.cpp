// Loading the catalogue: clear errors for bad files, the fault switches, and the demo catalogue
// that the programs ship with.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "morva_service/diagnostics.h"
#include "morva_service/morva_service.h"
#include "support/engine_support.h"
#include "tests/support/scratch.h"

using namespace morva_service;
using namespace engine_test;
using namespace test_support;

namespace {

struct BadCatalogue {
  const char* name;
  const char* json;
  const char* entry;    // expected in the error
  const char* problem;  // expected in the error
};

// One module around the given device and test fragments.
std::string Wrap(const std::string& device_extra, const std::string& test_extra) {
  return R"({"modules": [{"name": "m", "devices": [{"id": "a", "udi": "U", "display_name": "D")" + device_extra +
         R"(}], "diagnostics": [{"id": "1.1.0", "name": "DIAG", "tests": [{"id": "1.1.1", "name": "T")" +
         test_extra + "}]}]}]}";
}

class CatalogueErrors : public ::testing::TestWithParam<BadCatalogue> {
 protected:
  void TearDown() override { DropEngine(); }
};

TEST_P(CatalogueErrors, NameTheFileTheEntryAndTheProblem) {
  const BadCatalogue& bad = GetParam();
  std::string file = std::string(bad.name) + ".json";
  EXPECT_EQ(FreshEngine(bad.json, file), nullptr);
  std::string error = MorvaLastError();
  EXPECT_NE(error.find(ScratchDir() + "/" + file), std::string::npos) << error;
  EXPECT_NE(error.find(bad.entry), std::string::npos) << error;
  EXPECT_NE(error.find(bad.problem), std::string::npos) << error;
}

const std::string kUnknownKey = Wrap("", R"(, "outcome": {"staus": "failed"})");
const std::string kBadStatus = Wrap("", R"(, "outcome": {"status": "pased"})");
const std::string kUnknownDevice = Wrap("", R"(, "devices": ["a", "z"])");
const std::string kOutcomeDevice = Wrap("", R"(, "outcomes": {"q": {}})");
const std::string kBadIdentifier = R"({"modules": [{"name": "m", "diagnostics": [{"id": "1.x.0", "name": "D", "tests": []}]}]})";
const std::string kColonKey = Wrap(R"(, "rows": {"A:B": "v"})", "");
const std::string kLineBreak = Wrap(R"(, "rows": {"A": "v\nw"})", "");
const std::string kNulValue = Wrap(R"(, "rows": {"A": "v\u0000w"})", "");
const std::string kNulText = Wrap("", R"(, "description": "D\u0000<b>x</b>")");
const std::string kNulKey = Wrap(R"(, "rows": {"A\u0000B": "v"})", "");
const std::string kBlankWord = Wrap("", R"(, "outcome": {"messages": [{"words": ["TWO WORDS"]}]})");
const std::string kCodeWord = Wrap("", R"(, "outcome": {"messages": [{"words": ["CODE"]}]})");
const std::string kIndexOnly = Wrap(R"(, "resources": [{"name": "P", "properties": {"INDEX": "1"}}])", "");
const std::string kBadIndex = Wrap(R"(, "resources": [{"name": "P", "properties": {"INDEX": "one", "A": "b"}}])", "");
const std::string kBadAnswer = Wrap("", R"(, "outcome": {"interaction": {"title": "T", "message": "M", "answers": {"3": {}}}})");
const std::string kMarkerKey = Wrap(R"(, "rows": {"START TESTS": "v"})", "");
const std::string kBadPercent = Wrap("", R"(, "outcome": {"progress": [50, 150]})");
const std::string kTwoModules = R"({"modules": [{"name": "m"}, {"name": "m"}]})";
const std::string kBlankModule = R"({"modules": [{"name": "two words"}]})";
const std::string kVersion = R"({"modules": [{"name": "m", "version": "1.2"}]})";
const std::string kOption = R"({"modules": [{"name": "m", "test_options": [{"id": "1.1.9", "letter": "x", "long_name": "x"}],
  "diagnostics": [{"id": "1.1.0", "name": "DIAG", "tests": [{"id": "1.1.1", "name": "T"}]}]}]})";
const std::string kToolDevice = R"({"modules": [{"name": "m", "tools": [{"name": "T", "hint": "h", "devices": {"7": {}}}]}]})";
const std::string kToolAnswer = R"({"modules": [{"name": "m", "devices": [{"id": "a", "udi": "U", "display_name": "D"}],
  "tools": [{"name": "T", "hint": "h", "devices": {"a": {"repair": {"interaction": {"title": "T", "message": "M",
    "answers": {"1": {"status": "passed"}}}}}}}]}]})";
const std::string kScanDevice = R"({"modules": [{"name": "m", "scan": {"sequence": [{"devices": ["nope"]}]}}]})";

INSTANTIATE_TEST_SUITE_P(
    Table, CatalogueErrors,
    ::testing::Values(
        BadCatalogue{"not_json", "{\"modules\": [", "", "not valid JSON"},
        BadCatalogue{"no_modules_key", "{}", "modules", "missing"},
        BadCatalogue{"modules_not_array", "{\"modules\": {}}", "modules", "expected an array"},
        BadCatalogue{"unknown_key", kUnknownKey.c_str(), "modules[0].diagnostics[0].tests[0].outcome.staus", "unknown key"},
        BadCatalogue{"bad_status", kBadStatus.c_str(), "tests[0].outcome.status", "unknown status \"pased\""},
        BadCatalogue{"unknown_device", kUnknownDevice.c_str(), "tests[0].devices[1]", "no device \"z\""},
        BadCatalogue{"outcome_device", kOutcomeDevice.c_str(), "tests[0].outcomes.q", "no device \"q\""},
        BadCatalogue{"bad_identifier", kBadIdentifier.c_str(), "diagnostics[0].id", "not an identifier"},
        BadCatalogue{"colon_key", kColonKey.c_str(), "devices[0].rows.A:B", "no \":\""},
        BadCatalogue{"line_break", kLineBreak.c_str(), "devices[0].rows.A", "line break"},
        BadCatalogue{"nul_value", kNulValue.c_str(), "devices[0].rows.A", "contains a NUL byte"},
        BadCatalogue{"nul_text", kNulText.c_str(), "tests[0].description", "contains a NUL byte"},
        BadCatalogue{"nul_key", kNulKey.c_str(), "devices[0].rows", "property name holds a NUL byte"},
        BadCatalogue{"blank_word", kBlankWord.c_str(), "messages[0].words[0]", "one word"},
        BadCatalogue{"code_word", kCodeWord.c_str(), "messages[0].words[0]", "reserved"},
        BadCatalogue{"index_only", kIndexOnly.c_str(), "resources[0].properties", "besides INDEX"},
        BadCatalogue{"bad_index", kBadIndex.c_str(), "properties.INDEX", "whole number"},
        BadCatalogue{"bad_answer", kBadAnswer.c_str(), "interaction.answers.3", "an answer is"},
        BadCatalogue{"marker_key", kMarkerKey.c_str(), "rows.START TESTS", "log marker"},
        BadCatalogue{"bad_percent", kBadPercent.c_str(), "progress[1]", "between 0 and 100"},
        BadCatalogue{"two_modules", kTwoModules.c_str(), "modules[1].name", "defined twice"},
        BadCatalogue{"blank_module", kBlankModule.c_str(), "modules[0].name", "one word"},
        BadCatalogue{"version", kVersion.c_str(), "modules[0].version", "four numbers"},
        BadCatalogue{"option", kOption.c_str(), "test_options[0].id", "no test has the identifier 1.1.9"},
        BadCatalogue{"tool_device", kToolDevice.c_str(), "tools[0].devices.7", "no device \"7\""},
        BadCatalogue{"tool_answer", kToolAnswer.c_str(), "repair.interaction.answers.1.status", "unknown key"},
        BadCatalogue{"scan_device", kScanDevice.c_str(), "scan.sequence[0].devices[0]", "no device \"nope\""}),
    [](const ::testing::TestParamInfo<BadCatalogue>& param_info) { return std::string(param_info.param.name); });

class Catalogue : public ::testing::Test {
 protected:
  void TearDown() override {
    ::unsetenv("MORVA_TIME_SCALE");
    ::setenv("MORVA_TIME_SCALE", "0.01", 1);
    DropEngine();
  }
};

TEST_F(Catalogue, MissingFileIsNamed) {
  MorvaResetForTests();
  std::string path = ScratchDir() + "/absent.json";
  ::setenv("MORVA_CATALOGUE", path.c_str(), 1);
  EXPECT_EQ(GetMorvaServiceInstance(), nullptr);
  EXPECT_EQ(MorvaLastError(), path + ": cannot be read");
}

TEST_F(Catalogue, ErrorIsPrintedOnceHoweverOftenTheHostAsks) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(FreshEngine("[1, 2]", "array.json"), nullptr);
  EXPECT_EQ(GetMorvaServiceInstance(), nullptr);
  EXPECT_EQ(GetMorvaServiceInstance(), nullptr);
  std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(printed.find("array.json"), printed.rfind("array.json")) << printed;
  EXPECT_NE(printed.find("array.json"), std::string::npos);
}

TEST_F(Catalogue, BadTimeScaleIsRefused) {
  ::setenv("MORVA_TIME_SCALE", "-1", 1);
  EXPECT_EQ(FreshEngine(R"({"modules": []})"), nullptr);
  EXPECT_NE(MorvaLastError().find("MORVA_TIME_SCALE"), std::string::npos);
}

TEST_F(Catalogue, FaultSwitches) {
  EXPECT_EQ(FreshEngine(R"({"faults": {"service_unavailable": true}, "modules": []})"), nullptr);
  EXPECT_NE(MorvaLastError().find("faults.service_unavailable"), std::string::npos);

  MorvaService* engine = FreshEngine(R"({"faults": {"no_modules": true}, "modules": [{"name": "m"}]})");
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(MorvaLastError(), "");
  EXPECT_EQ(engine->LoadModules(), nullptr);
  EXPECT_EQ(engine->loaded_modules(), nullptr);
  std::string why;
  EXPECT_FALSE(engine->LoadModuleInterfaceByName("m", why));
  EXPECT_FALSE(why.empty());

  engine = FreshEngine(R"({"modules": [{"name": "m", "devices": [{"id": "a", "udi": "U", "display_name": "D"}],
                          "scan": {"sequence": [{"result": 5}]}}]})");
  ModuleInterfaceView* module = LoadedModule(engine, "m");
  EXPECT_EQ(module->Scan(), 5);
  EXPECT_EQ(module->system_component_count(), 0u);
}

TEST_F(Catalogue, DemoCatalogueShowsEveryScreenAndCommand) {
  ::setenv("MORVA_TIME_SCALE", "0", 1);  // every scripted outcome, without waiting for it
  MorvaService* engine = DemoEngine();
  ASSERT_NE(engine, nullptr) << MorvaLastError();
  auto* storage = LoadedModule(engine, "storage");
  auto* memory = LoadedModule(engine, "memory");
  auto* optical = LoadedModule(engine, "optical");
  ASSERT_TRUE(storage && memory && optical);
  EXPECT_TRUE(storage->CheckForComponents());
  EXPECT_TRUE(memory->CheckForComponents());
  EXPECT_FALSE(optical->CheckForComponents());

  // Letters that kolv_cli keeps for itself never name a diagnostic.
  const std::string reserved = "SADRLMhbvGUTo";
  for (auto* module : *engine->loaded_modules()) {
    EXPECT_EQ(module->name().find(' '), std::string::npos);
    for (const auto& option : module->diagnostic_options())
      EXPECT_EQ(reserved.find(option.second->letter()[0]), std::string::npos) << option.second->letter();
  }

  ASSERT_EQ(storage->Scan(), 0);
  auto disks = storage->system_components();
  ASSERT_EQ(disks.size(), 4u);
  int solid_state = 0, removable = 0;
  for (auto* disk : disks) {
    SystemComponentInformation info = disk->information();
    EXPECT_GE(info.properties.size(), 12u) << disk->id();
    solid_state += info.attributes["NonRotatingMedia"] == "T";
    for (const auto& row : info.properties) removable += row.first == "REMOVABLE" && row.second == "YES";
    std::vector<SystemComponentResource> resources;
    disk->resources(resources);
    ASSERT_FALSE(resources.empty());
    EXPECT_EQ(resources[0].name, "PARTITION");
  }
  EXPECT_EQ(solid_state, 1);
  EXPECT_EQ(removable, 1);

  ASSERT_EQ(storage->tools().size(), 1u);
  std::string stem = storage->tools()[0]->name();
  for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(stem, "mendra");

  // The console host prints a module's help as it comes: it names every diagnostic and test
  // by its letters, in words.
  for (auto* module : *engine->loaded_modules()) {
    const std::string help = module->help();
    EXPECT_TRUE(ReadsAsWords(help)) << help;
    for (const auto& option : module->diagnostic_options()) {
      const std::string named = "-" + option.second->letter() + ", --" + option.second->long_name() + " ";
      EXPECT_NE(help.find(named), std::string::npos) << help;
    }
    for (const auto& option : module->test_options()) {
      const std::string named = " " + option.second->letter() + ", " + option.second->long_name() + " ";
      EXPECT_NE(help.find(named), std::string::npos) << help;
    }
  }

  // Both tool plug-ins show the tool's messages and partition summaries as they come: every
  // scripted text, and the engine's own, is words.
  class TextListener : public ToolListenerView {
   public:
    TextListener() { RegisterHandlers(); }
    void Interact(InputRequest*) override {}
    void RegisterHandlers() override {
      for (const char* name : {"OnDeviceFinish", "OnPartitionFinish"})
        handlers[name] = [this](ToolEventView* event, const std::string&) {
          for (const std::string& message : event->GetValues("Message")) texts.push_back(message);
          std::vector<std::string> partition = event->GetValues("PartitionFinish");
          if (partition.size() > 2) texts.push_back(partition[2]);
          return true;
        };
    }
    std::vector<std::string> texts;
  } listener;
  ToolView* tool = storage->tools()[0];
  for (auto* disk : disks) {
    std::vector<SystemComponentResource> resources;
    disk->resources(resources);
    std::vector<std::string> table;
    for (const auto& resource : resources)
      for (const auto& property : resource.properties)
        if (property.first == "MOUNT_POINT") table.insert(table.end(), {property.second, "NTFS", property.second, "F"});
    tool->SetParameter("partition_table" + disk->id(), table);
  }
  for (const char* operation : {"scan", "repair", "filesystem", "defragment"}) {
    tool->SetParameter("Operation", {operation});
    engine->ExecuteTool(tool, &listener, disks);
  }
  std::set<std::string> texts(listener.texts.begin(), listener.texts.end());
  EXPECT_GE(texts.size(), 6u);
  for (const std::string& text : texts) EXPECT_TRUE(ReadsAsWords(text)) << text;

  bool takes_parameters = false;
  for (const auto& option : storage->test_options())
    takes_parameters = takes_parameters || option.second->argument_requirement() == CommandLineOptionView::kNeedsArguments;
  EXPECT_TRUE(takes_parameters);

  // Across the disks the two diagnostics pass, warn and fail.
  RecordingSuiteListener suite;
  engine->set_suite_listener(&suite);
  for (auto* disk : disks) {
    std::vector<DiagnosticRun> selection;
    for (auto* diagnostic : storage->diagnostics()) selection.push_back(SelectAll(diagnostic));
    engine->Execute(storage, disk, selection, 1);
  }
  std::set<int> statuses;
  for (int status : suite.statuses()) statuses.insert(status);
  for (int wanted : {kTestPassed, kTestWarning, kTestFailed, kTestNotApplicable})
    EXPECT_EQ(statuses.count(wanted), 1u) << wanted;
}

}  // namespace
