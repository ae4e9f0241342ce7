// What both hosts rely on when they run a suite: the order of the notifications, the thread they
// arrive on, aborts from other threads, interactions and test parameters.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "morva_service/morva_service.h"
#include "support/engine_support.h"
#include "support/unit_catalogue.h"

using namespace morva_service;
using namespace engine_test;

namespace {

class ExecuteContract : public UnitEngineTest {
 protected:
  // Runs Execute on a thread of its own; the wait is only a guard against a hang.
  void ExecuteOnWorker(SystemComponentView* device, std::vector<DiagnosticRun> selection, int64_t group = 1) {
    auto done = std::async(std::launch::async, [&] {
      worker_thread = ThreadId();
      engine->Execute(module, device, selection, group);
    });
    ASSERT_EQ(done.wait_for(std::chrono::seconds(60)), std::future_status::ready) << "Execute hangs";
    done.get();
  }

  long worker_thread = 0;
};

TEST_F(ExecuteContract, NotificationsComeInSuiteOrderOnTheCallingThread) {
  ScriptedTestListener tests(false);
  engine->set_test_listener(&tests);
  ExecuteOnWorker(device_a, {SelectAll(first), Select(second, {{"T_ASK", {}}, {"T_PARAM", {}}})});

  std::vector<std::string> expected = {
      "SuiteStarted", "SystemComponentStarted", "SystemComponentRunStarted 0 a",
      "DiagnosticStarted FIRST",
      "TestStarted T_ONE", "TestFinished 0",
      "TestStarted T_TWO", "TestFinished 5",
      "TestStarted T_THREE", "TestFinished 1",
      "DiagnosticFinished",
      "DiagnosticStarted SECOND",
      "TestStarted T_ASK", "TestFinished 1",  // not interactive: the default answer refuses
      "TestStarted T_PARAM", "TestFinished 0",
      "DiagnosticFinished",
      "SystemComponentRunFinished 1", "SystemComponentFinished 1", "SuiteFinished"};
  EXPECT_EQ(suite.events(), expected);
  for (long thread : suite.threads()) EXPECT_EQ(thread, worker_thread);
  ASSERT_FALSE(tests.progress_seen.empty());
  EXPECT_EQ(tests.progress_seen.front(), std::make_pair(40, std::string("HALF_WAY")));
  for (long thread : tests.threads) EXPECT_EQ(thread, worker_thread);
  EXPECT_TRUE(tests.requests.empty()) << "Interact called on a listener that is not interactive";
}

TEST_F(ExecuteContract, DeviceResultCodeComesFromTheWorstTest) {
  ExecuteOnWorker(device_b, {Select(first, {{"T_ONE", {}}, {"T_TWO", {}}})});
  auto events = suite.events();
  // A warning with code 9 is the worst outcome here.
  EXPECT_NE(std::find(events.begin(), events.end(), "SystemComponentFinished 9"), events.end());

  RecordingSuiteListener clean;
  engine->set_suite_listener(&clean);
  ExecuteOnWorker(device_b, {Select(first, {{"T_ONE", {}}})});
  auto clean_events = clean.events();
  EXPECT_NE(std::find(clean_events.begin(), clean_events.end(), "SystemComponentRunFinished 0"), clean_events.end());
}

TEST_F(ExecuteContract, UnsupportedOrForeignTestsGetAStatusNotARun) {
  DiagnosticView* foreign = Diagnostic(LoadedModule(engine, "other"), "OTHER_DIAG");
  DiagnosticRun mixed = Select(first, {{"T_THREE", {}}});
  mixed.tests.push_back({foreign->tests()[0], {}});
  mixed.tests.push_back({nullptr, {}});
  ExecuteOnWorker(device_b, {mixed, DiagnosticRun{}});
  // T_THREE does not support b; the other module's test is unrecognised; null entries are skipped.
  EXPECT_EQ(suite.statuses(), (std::vector<int>{kTestNotApplicable, kTestUnrecognized}));
  EXPECT_EQ(suite.events().back(), "SuiteFinished");
}

TEST_F(ExecuteContract, AbortDuringATestCancelsItAndEveryRemainingTest) {
  std::thread aborter;
  suite.on_event = [&](const std::string& event) {
    if (event == "TestStarted T_LONG")
      aborter = std::thread([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        engine->Abort();
      });
  };
  ExecuteOnWorker(device_a, {Select(second, {{"T_LONG", {}}, {"T_ASK", {}}}), Select(first, {{"T_ONE", {}}})});
  aborter.join();

  std::vector<std::string> expected = {
      "SuiteStarted", "SystemComponentStarted", "SystemComponentRunStarted 0 a",
      "DiagnosticStarted SECOND", "TestStarted T_LONG", "TestFinished 4", "TestStarted T_ASK", "TestFinished 4",
      "DiagnosticFinished",
      "DiagnosticStarted FIRST", "TestStarted T_ONE", "TestFinished 4", "DiagnosticFinished",
      "SystemComponentRunFinished 4", "SystemComponentFinished 4", "SuiteFinished"};
  EXPECT_EQ(suite.events(), expected);
}

TEST_F(ExecuteContract, AbortFromAnotherThreadInsideDiagnosticStartedIsHonoured) {
  suite.on_event = [&](const std::string& event) {
    // The host's thread is blocked in the notification while another thread aborts.
    if (event == "DiagnosticStarted SECOND") std::thread([&] { engine->Abort(); }).join();
  };
  ExecuteOnWorker(device_a, {Select(first, {{"T_ONE", {}}}), Select(second, {{"T_ASK", {}}, {"T_PARAM", {}}})});
  EXPECT_EQ(suite.statuses(), (std::vector<int>{kTestPassed, kTestCancelled, kTestCancelled}));

  // The next run starts clean: the abort belonged to the previous one.
  RecordingSuiteListener next;
  engine->set_suite_listener(&next);
  ExecuteOnWorker(device_a, {Select(second, {{"T_PARAM", {}}})});
  EXPECT_EQ(next.statuses(), (std::vector<int>{kTestPassed}));
}

TEST_F(ExecuteContract, AbortInsideSuiteStartedCancelsEveryTest) {
  suite.on_event = [&](const std::string& event) {
    if (event == "SuiteStarted") engine->Abort();
  };
  ExecuteOnWorker(device_a, {SelectAll(first)});
  EXPECT_EQ(suite.statuses(), (std::vector<int>{kTestCancelled, kTestCancelled, kTestCancelled}));
  EXPECT_EQ(suite.events().back(), "SuiteFinished");
}

TEST_F(ExecuteContract, ExecuteClearsAnAbortAskedForBeforeIt) {
  engine->Abort();
  ExecuteOnWorker(device_a, {Select(first, {{"T_ONE", {}}})});
  EXPECT_EQ(suite.statuses(), (std::vector<int>{kTestPassed}));
}

TEST_F(ExecuteContract, ListenersMayCallTheEngineDuringNotifications) {
  // A lock held across a notification would deadlock here; the worker's wait catches it.
  suite.on_event = [&](const std::string&) {
    ASSERT_NE(engine->loaded_modules(), nullptr);
    EXPECT_EQ(module->system_components().size(), 2u);
    EXPECT_NE(module->system_component(0), nullptr);
    EXPECT_EQ(engine->suite_listener(), &suite);
  };
  ExecuteOnWorker(device_a, {Select(first, {{"T_ONE", {}}})});
  EXPECT_EQ(suite.events().back(), "SuiteFinished");
}

TEST_F(ExecuteContract, DeviceOfAnotherModuleStillStartsAndEndsTheSuite) {
  SystemComponentView* foreign = ScannedDevice(LoadedModule(engine, "other"), "a");
  ASSERT_NE(foreign, nullptr);
  ExecuteOnWorker(foreign, {SelectAll(first)});
  EXPECT_EQ(suite.events(), (std::vector<std::string>{"SuiteStarted", "SuiteFinished"}));
  engine->set_suite_listener(nullptr);
  engine->Execute(module, device_a, {SelectAll(first)}, 1);  // without listeners: no crash
}

// A diagnostic and a test that are not the engine's; they count every call made on them.
class Stranger : public DiagnosticView, public TestView {
 public:
  std::string name() const override { return Read("STRANGER"); }
  std::string description() const override { return Read(""); }
  std::vector<TestView*> tests() const override {
    Read("");
    return {const_cast<Stranger*>(this)};
  }
  ItemIdentifier identifier() const override {
    Read("");
    return {};
  }
  bool SupportsComponent(const SystemComponentView*) const override { return !Read("").empty(); }
  mutable int reads = 0;

 private:
  std::string Read(std::string value) const {
    ++reads;
    return value;
  }
};

// Only what a loaded module owns is read: a host may still hold objects that UnloadModules freed,
// or objects that were never the engine's.
TEST_F(ExecuteContract, WhatNoLoadedModuleOwnsIsNeverRead) {
  const DiagnosticRun stale = SelectAll(first);
  SystemComponentView* const freed_device = device_b;
  engine->UnloadModules();
  ExecuteOnWorker(device_a, {stale});
  EXPECT_EQ(suite.events(), (std::vector<std::string>{"SuiteStarted", "SuiteFinished"}));

  RecordingSuiteListener again;
  engine->set_suite_listener(&again);
  module = LoadedModule(engine, "unit");
  ASSERT_NE(module, nullptr);
  SystemComponentView* device = ScannedDevice(module, "a");
  ASSERT_NE(device, nullptr);
  Stranger stranger;
  DiagnosticRun mixed = Select(Diagnostic(module, "FIRST"), {{"T_ONE", {}}});
  mixed.tests.push_back({&stranger, {}});
  ExecuteOnWorker(device, {DiagnosticRun{&stranger, {{&stranger, {}}}}, mixed});
  EXPECT_EQ(again.events(), (std::vector<std::string>{"SuiteStarted", "SystemComponentStarted",
                                                      "SystemComponentRunStarted 0 a", "DiagnosticStarted FIRST",
                                                      "TestStarted T_ONE", "TestFinished 0", "DiagnosticFinished",
                                                      "SystemComponentRunFinished 0", "SystemComponentFinished 0",
                                                      "SuiteFinished"}));
  EXPECT_EQ(stranger.reads, 0);

  // A test asked about a freed device does not look at it (unless a new device took its place).
  bool reused = false;
  for (SystemComponentView* current : module->system_components()) reused = reused || current == freed_device;
  if (!reused) {
    EXPECT_FALSE(engine_test::Test(Diagnostic(module, "FIRST"), "T_ONE")->SupportsComponent(freed_device));
  }
}

struct InteractionCase {
  const char* name;
  bool listener;
  bool interactive;
  int answer;
  int expected_status;
  bool asked;
};

class Interaction : public ExecuteContract, public ::testing::WithParamInterface<InteractionCase> {};

TEST_P(Interaction, AnswerDecidesTheOutcomeAndOnlyInteractiveListenersAreAsked) {
  const InteractionCase& c = GetParam();
  ScriptedTestListener tests(c.interactive, c.answer);
  engine->set_test_listener(c.listener ? &tests : nullptr);
  ExecuteOnWorker(device_a, {Select(second, {{"T_ASK", {}}})});
  EXPECT_EQ(suite.statuses(), (std::vector<int>{c.expected_status}));
  ASSERT_EQ(tests.requests.size(), c.asked ? 1u : 0u);
  if (c.asked) {
    const auto& shown = tests.requests[0];
    EXPECT_EQ(shown.title, "ASK_TITLE");
    EXPECT_EQ(shown.message, "ASK_TEXT");
    EXPECT_EQ(shown.kind, InputRequest::kWarning);
    EXPECT_EQ(shown.buttons, InputRequest::kOkCancel);
    EXPECT_EQ(shown.fields, (std::vector<std::string>{"FIELD_ONE", "FIELD_TWO"}));
    EXPECT_EQ(tests.threads.back(), worker_thread);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Interaction,
    ::testing::Values(InteractionCase{"NoListenerUsesDefault", false, false, 1, kTestFailed, false},
                      InteractionCase{"NotInteractiveUsesDefault", true, false, 1, kTestFailed, false},
                      InteractionCase{"FirstButton", true, true, 1, kTestPassed, true},
                      InteractionCase{"SecondButton", true, true, 2, kTestFailed, true},
                      InteractionCase{"Closed", true, true, 0, kTestNotApplicable, true},
                      InteractionCase{"NonsenseCountsAsClosed", true, true, 42, kTestNotApplicable, true}),
    [](const ::testing::TestParamInfo<InteractionCase>& param_info) { return std::string(param_info.param.name); });

TEST_F(ExecuteContract, ParametersAreCheckedAgainstTheTestsRule) {
  struct Case {
    std::vector<std::string> parameters;
    int status;
  };
  const Case cases[] = {{{}, kTestPassed},          {{"3"}, kTestPassed},   {{"1", "10"}, kTestPassed},
                        {{"11"}, kTestInvalid},     {{"0"}, kTestInvalid},  {{"x"}, kTestInvalid},
                        {{"-"}, kTestInvalid},      {{""}, kTestInvalid},   {{"1", "2", "3"}, kTestInvalid},
                        {{"99999999999999999999"}, kTestInvalid}};
  for (const Case& c : cases) {
    RecordingSuiteListener listener;
    engine->set_suite_listener(&listener);
    ExecuteOnWorker(device_a, {Select(second, {{"T_PARAM", c.parameters}})});
    std::string shown;
    for (const auto& p : c.parameters) shown += "[" + p + "]";
    EXPECT_EQ(listener.statuses(), (std::vector<int>{c.status})) << "parameters " << shown;
  }
  // A test without a parameter rule ignores what it is given.
  RecordingSuiteListener listener;
  engine->set_suite_listener(&listener);
  ExecuteOnWorker(device_a, {Select(first, {{"T_ONE", {"ignored", "too"}}})});
  EXPECT_EQ(listener.statuses(), (std::vector<int>{kTestPassed}));
}

}  // namespace
