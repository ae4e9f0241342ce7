// Modules, scans and the lifetime of the objects handed out; the single instance; the trace.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "morva_service/diagnostics.h"
#include "morva_service/morva_service.h"
#include "support/engine_support.h"
#include "support/unit_catalogue.h"
#include "tests/support/scratch.h"

using namespace morva_service;
using namespace engine_test;
using namespace test_support;

namespace {

const char* kScanCatalogue = R"json({"modules": [{
  "name": "bus",
  "devices": [{"id": "a", "udi": "A", "display_name": "DEV_A"},
              {"id": "b", "udi": "B", "display_name": "DEV_B"},
              {"id": "c", "udi": "C", "display_name": "DEV_C"}],
  "scan": {"sequence": [{"devices": ["a", "b"]}, {"devices": ["b"]}, {"result": 5},
                        {"devices": ["c", "b", "a"]}]}
}]})json";

class Modules : public ::testing::Test {
 protected:
  void TearDown() override {
    ::unsetenv("MORVA_TRACE");
    DropEngine();
  }
};

std::vector<std::string> Ids(const std::vector<SystemComponentView*>& devices) {
  std::vector<std::string> ids;
  for (auto* device : devices) ids.push_back(device->id());
  return ids;
}

TEST_F(Modules, SuccessiveScansFollowTheSequenceWithStableObjects) {
  MorvaService* engine = FreshEngine(kScanCatalogue);
  ModuleInterfaceView* bus = LoadedModule(engine, "bus");
  EXPECT_EQ(bus->system_component_count(), 0u);
  EXPECT_EQ(bus->system_component(0), nullptr);

  ASSERT_EQ(bus->Scan(), 0);
  EXPECT_EQ(Ids(bus->system_components()), (std::vector<std::string>{"a", "b"}));
  SystemComponentView* a = bus->system_component(0);
  SystemComponentView* b = bus->system_component(1);

  ASSERT_EQ(bus->Scan(), 0);
  EXPECT_EQ(bus->system_components(), (std::vector<SystemComponentView*>{b}));
  EXPECT_EQ(a->id(), "a") << "a device that left the list stays valid";

  EXPECT_EQ(bus->Scan(), 5);
  EXPECT_EQ(bus->system_component_count(), 0u);

  ASSERT_EQ(bus->Scan(), 0);
  EXPECT_EQ(Ids(bus->system_components()), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(bus->system_component(1), b);
  EXPECT_EQ(bus->system_component(2), a);
  EXPECT_EQ(bus->system_component(3), nullptr);
  // The last scan of the sequence repeats.
  ASSERT_EQ(bus->Scan(), 0);
  EXPECT_EQ(Ids(bus->system_components()), (std::vector<std::string>{"c", "b", "a"}));
}

TEST_F(Modules, DeviceListCanBeReadWhileAnotherThreadScans) {
  MorvaService* engine = FreshEngine(kScanCatalogue);
  ModuleInterfaceView* bus = LoadedModule(engine, "bus");
  std::atomic<bool> done{false};
  std::atomic<bool> reading{false};
  std::thread scanner([&] {
    // The scans must overlap the reads, however the two threads are scheduled.
    while (!reading) std::this_thread::yield();
    for (int i = 0; i < 300; ++i) bus->Scan();
    done = true;
  });
  size_t reads = 0;
  while (!done) {
    reading = true;
    auto snapshot = bus->system_components();
    EXPECT_TRUE(snapshot.size() <= 3u);
    for (auto* device : snapshot) EXPECT_FALSE(device->information().display_name.empty());
    if (SystemComponentView* first = bus->system_component(0)) {
      EXPECT_FALSE(first->id().empty());
    }
    ++reads;
  }
  scanner.join();
  EXPECT_GT(reads, 0u);
}

TEST_F(Modules, LoadUnloadAndLoadByName) {
  MorvaService* engine = FreshEngine(UnitCatalogue());
  EXPECT_EQ(engine->loaded_modules(), nullptr);
  auto* modules = engine->LoadModules();
  ASSERT_NE(modules, nullptr);
  EXPECT_EQ(engine->loaded_modules(), modules);
  ASSERT_EQ(modules->size(), 2u);
  EXPECT_EQ((*modules)[0]->name(), "unit");
  EXPECT_EQ((*modules)[1]->name(), "other");
  // The help names every diagnostic and test by the letters that choose them.
  EXPECT_EQ((*modules)[0]->help(),
            "Module unit: UNIT_HELP\n"
            "  Diagnostics and their tests:\n"
            "    -F, --first                     First\n"
            "          o, one                    T one\n"
            "          (no letter)               T two\n"
            "          (no letter)               T three\n"
            "    -N, --second                    Second\n"
            "          (no letter)               T long\n"
            "          (no letter)               T ask\n"
            "          p, param                  T param, needs arguments: p(5)\n"
            "  Example: -Munit a -F\"o\" runs test o of First on device a");
  EXPECT_EQ((*modules)[1]->help(), "Module other\n  Diagnostics and their tests:\n"
                                   "    (no option)                     Other diag\n"
                                   "          (no letter)               Other test");
  ASSERT_NE((*modules)[0]->version(), nullptr);
  EXPECT_EQ((*modules)[0]->version()->revision_number(), 1u);
  EXPECT_EQ((*modules)[1]->version(), nullptr);
  EXPECT_EQ(engine->product_version()->major_number(), 7u);
  EXPECT_EQ(engine->LoadModules(), modules) << "a second load hands out the same modules";

  const auto& options = (*modules)[0]->test_options();
  ASSERT_EQ(options.size(), 2u);
  ItemIdentifier param{1, 2, 3};
  ASSERT_EQ(options.count(param), 1u);
  EXPECT_EQ(options.at(param)->letter(), "p");
  EXPECT_EQ(options.at(param)->long_name(), "param");
  EXPECT_EQ(options.at(param)->argument_requirement(), CommandLineOptionView::kNeedsArguments);

  engine->UnloadModules();
  EXPECT_EQ(engine->loaded_modules(), nullptr);

  std::string why;
  EXPECT_FALSE(engine->LoadModuleInterfaceByName("nothing", why));
  EXPECT_NE(why.find("nothing"), std::string::npos);
  EXPECT_TRUE(engine->LoadModuleInterfaceByName("other", why));
  ASSERT_NE(engine->loaded_modules(), nullptr);
  ASSERT_EQ(engine->loaded_modules()->size(), 1u);
  EXPECT_EQ((*engine->loaded_modules())[0]->name(), "other");
  EXPECT_TRUE(engine->LoadModuleInterfaceByName("other", why));
  EXPECT_EQ(engine->loaded_modules()->size(), 1u);
}

TEST_F(Modules, OneInstanceSharedUntilTheLastRelease) {
  MorvaService* engine = FreshEngine(UnitCatalogue());
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(GetMorvaServiceInstance(), engine);
  ReleaseMorvaServiceInstance();
  // Still held by the first caller.
  EXPECT_NE(engine->LoadModules(), nullptr);
  EXPECT_EQ(GetMorvaServiceInstance(), engine);
  ReleaseMorvaServiceInstance();
  ReleaseMorvaServiceInstance();
  ReleaseMorvaServiceInstance();  // one too many does no harm
}

TEST_F(Modules, TraceNamesEachCallAndItsThread) {
  std::string trace = ScratchDir() + "/trace.txt";
  std::remove(trace.c_str());
  ::setenv("MORVA_TRACE", trace.c_str(), 1);
  MorvaService* engine = FreshEngine(UnitCatalogue());
  ModuleInterfaceView* unit = LoadedModule(engine, "unit");
  SystemComponentView* a = ScannedDevice(unit, "a");
  DiagnosticView* second = Diagnostic(unit, "SECOND");
  long worker = 0;
  std::thread run([&] {
    worker = ThreadId();
    engine->Execute(unit, a, {Select(second, {{"T_PARAM", {"3", "4"}}})}, 55);
  });
  run.join();
  engine->Abort();
  std::string text = ReadFile(trace);
  std::string me = " tid=" + std::to_string(ThreadId()) + "\n";
  EXPECT_NE(text.find("LoadModules" + me), std::string::npos) << text;
  EXPECT_NE(text.find("Scan module=unit" + me), std::string::npos) << text;
  EXPECT_NE(text.find("Execute module=unit device=a selection=1.2.0:1.2.3(3|4) group=55 tid=" +
                      std::to_string(worker) + "\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\nAbort" + me), std::string::npos) << text;
}

}  // namespace
