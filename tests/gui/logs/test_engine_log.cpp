// The log the engine really writes, read back: every run of the demo catalogue parses without a
// broken mark, with the engine's devices, tests and results where they belong.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "gui/logs/core/log_paths.h"
#include "gui/logs/core/morva_log_reader.h"
#include "morva_service/morva_service.h"
#include "support/log_test_support.h"
#include "tests/support/scratch.h"

using test_support::ReadFile;

namespace {

using morva_service::DiagnosticRun;
using morva_service::TestRun;

// Runs every diagnostic of every usable module on each of its devices, as the GUI does: one
// Execute per device, all devices of one run under the same group number.
int RunDemoCatalogue(int64_t group) {
  morva_service::MorvaService* service = GetMorvaServiceInstance();
  if (service == nullptr) return -1;
  auto* modules = service->LoadModules();
  int runs = 0;
  for (auto* module : modules != nullptr ? *modules : std::vector<morva_service::ModuleInterfaceView*>()) {
    if (!module->CheckForComponents() || module->Scan() != 0) continue;
    for (auto* device : module->system_components()) {
      std::vector<DiagnosticRun> selection;
      for (auto* diagnostic : module->diagnostics()) {
        DiagnosticRun run;
        run.diagnostic = diagnostic;
        for (auto* test : diagnostic->tests()) run.tests.push_back(TestRun{test, {}});
        selection.push_back(run);
      }
      service->Execute(module, device, selection, group);
      ++runs;
    }
  }
  return runs;
}

TEST(EngineLog, EveryRunOfTheDemoCatalogueReadsWhole) {
  std::filesystem::remove_all(LogFolderPath());
  const int64_t first = 1714558830;
  const int runs = RunDemoCatalogue(first);
  ASSERT_GT(runs, 1) << "the demo catalogue should give several device runs";
  ASSERT_EQ(RunDemoCatalogue(first + 600), runs);
  ReleaseMorvaServiceInstance();

  // Set to keep what the engine wrote, for instance as a fixture.
  if (const char* keep = std::getenv("KOLV_KEEP_ENGINE_LOG")) {
    std::filesystem::copy_file(LogFilePath("morva"), keep, std::filesystem::copy_options::overwrite_existing);
  }

  MorvaLogReader reader(true);
  ASSERT_EQ(reader.OpenDiagnosticsLog(), kLogOpened);
  ASSERT_EQ(reader.Parse(), kLogParsed);
  ASSERT_EQ(reader.groups().size(), 2u);
  size_t resources = 0;
  for (const auto& [key, group] : reader.groups()) {
    EXPECT_EQ(group.number, key);
    for (const auto& [name, entry] : group.entries) {
      SCOPED_TRACE(name);
      EXPECT_FALSE(entry.broken);
      uint32_t mask = 0;
      for (const auto& [udi, resource] : entry.resources) {
        SCOPED_TRACE(udi);
        ++resources;
        EXPECT_FALSE(resource.broken);
        EXPECT_FALSE(resource.display_name.empty());
        EXPECT_FALSE(resource.result_code.empty());
        ASSERT_FALSE(resource.properties.empty());
        EXPECT_EQ(resource.properties[0].pair(), (std::pair<std::string_view, std::string_view>("UDI", udi)));
        for (const auto& test : resource.tests) {
          EXPECT_NE(LogStatusBit(test.result()), 0u) << test.name() << " " << test.result();
          EXPECT_GE(test.stop_time, test.start_time);
        }
        mask |= resource.status_mask;
      }
      EXPECT_EQ(entry.status_mask, mask);
    }
  }
  EXPECT_EQ(resources, 2u * static_cast<size_t>(runs));

  reader.Filter(first, first + 600, 1, true);
  const LogGroup* newest = reader.NextGroup(true);
  ASSERT_NE(newest, nullptr);
  EXPECT_EQ(newest->number, first + 600);
}

TEST(EngineLog, KeptEngineLogReadsWhole) {
  const auto reader = ParseLog(ReadFile(FixturePath("engine_demo.log")));
  ASSERT_FALSE(reader->groups().empty());
  for (const auto& [key, group] : reader->groups()) {
    for (const auto& [name, entry] : group.entries) EXPECT_FALSE(entry.broken) << key << " " << name;
  }
}

}  // namespace
