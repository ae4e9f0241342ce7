// The bad-sector tool as both plug-ins drive it: the filter answer, the order and values of its
// notifications, and aborts.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <mutex>
#include <thread>

#include "morva_service/morva_service.h"
#include "support/engine_support.h"
#include "tests/support/scratch.h"

using namespace morva_service;
using namespace engine_test;
using namespace test_support;

namespace {

const char* kToolCatalogue = R"json({"modules": [{
  "name": "disks",
  "devices": [
    {"id": "0", "udi": "D0", "display_name": "SYSTEM_DISK",
     "resources": [{"name": "PARTITION", "properties": {"MOUNT_POINT": "C:\\", "FILESYSTEM": "NTFS"}},
                   {"name": "PARTITION", "properties": {"MOUNT_POINT": "D:\\", "FILESYSTEM": "NTFS"}}]},
    {"id": "1", "udi": "D1", "display_name": "SSD", "attributes": {"NonRotatingMedia": "T"}},
    {"id": "2", "udi": "D2", "display_name": "WORN_DISK"},
    {"id": "9", "udi": "D9", "display_name": "UNKNOWN_TO_THE_TOOL"},
    {"id": "3", "udi": "D3", "display_name": "ASKING_DISK"}],
  "tools": [{"name": "Mendra", "hint": "recover", "description": "TOOL_DESCRIPTION", "abort_code": 8,
    "devices": {
      "0": {"filter": {"logical": true, "physical": true},
            "scan": {"code": 0, "sectors": [100, 0, 0, 0], "duration": 0.5},
            "repair": {"code": 0, "sectors": [100, 0, 0, 0], "duration": 0.5},
            "partitions": {"D:\\": {"code": 9, "summary": "FIXED_SOME", "message": "DETAIL", "duration": 0.5}}},
      "1": {"filter": {"logical": true, "physical": false},
            "scan": {"code": 0, "sectors": [50, 0, 0, 0], "duration": 0.5}},
      "2": {"filter": {"logical": true, "physical": true},
            "scan": {"code": 12, "sectors": [200, 3, 7, 7], "bad_sectors": [11, 12, 13], "message": "READ_ERRORS",
                     "duration": 1000},
            "repair": {"code": 10, "sectors": [200, 3, 2, 1], "bad_sectors": [11, 12, 13], "duration": 2}},
      "3": {"filter": {"logical": true, "physical": true},
            "repair": {"code": 0, "sectors": [400, 4, 4, 0], "bad_sectors": [1, 2, 3, 4], "duration": 2,
                       "interaction": {"title": "REMAP_TITLE", "message": "REMAP_QUESTION", "kind": "warning",
                                       "fields": ["REMAP_NOTE"], "at": 50, "default_answer": 2,
                                       "answers": {"1": {"code": 9},
                                                   "2": {"code": 10, "message": "LEFT_AS_FOUND", "finish_now": true},
                                                   "0": {"code": 6, "message": "NOBODY_ANSWERED"}}}}}}}]
}]})json";

// Records every notification with its values; handlers are registered by this class's own
// constructor, as a derived listener must. Questions get the answer that on_question gives
// (none without it).
class RecordingToolListener : public ToolListenerView {
 public:
  RecordingToolListener() { RegisterHandlers(); }
  void Interact(InputRequest* request) override {
    Seen seen;
    seen.name = "Interact";
    seen.thread = ThreadId();
    {
      std::lock_guard<std::mutex> lock(mutex);
      events.push_back(seen);
    }
    request->answer = on_question ? on_question(*request) : 0;
  }
  void RegisterHandlers() override {
    for (const char* name : {"OnRecoverInit", "OnRecoverFinish", "OnOperationInit", "OnOperationFinish", "OnDeviceInit",
                             "OnDeviceFinish", "OnPartitionInit", "OnPartitionFinish", "OnProgress", "OnSchedule"})
      handlers[name] = [this](ToolEventView* event, const std::string& event_name) {
        Seen seen;
        seen.name = event_name;
        for (const char* key : {"Operation", "OperationInit", "DeviceInit", "DeviceFinish", "SectorsInfo",
                                "BadSectorsList", "Message", "PartitionInit", "PartitionFinish", "Progress"})
          if (!event->GetValues(key).empty()) seen.values[key] = event->GetValues(key);
        seen.thread = ThreadId();
        {
          std::lock_guard<std::mutex> lock(mutex);
          events.push_back(seen);
        }
        if (on_event) on_event(seen);
        return true;
      };
  }

  struct Seen {
    std::string name;
    std::map<std::string, std::vector<std::string>> values;
    long thread = 0;
  };
  // Names without the progress notifications, which depend on timing.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const Seen& seen : events)
      if (seen.name != "OnProgress") names.push_back(seen.name);
    return names;
  }
  const Seen& First(const std::string& name, size_t skip = 0) const {
    for (const Seen& seen : events)
      if (seen.name == name && skip-- == 0) return seen;
    throw std::runtime_error("no " + name);
  }

  std::mutex mutex;
  std::vector<Seen> events;
  std::function<void(const Seen&)> on_event;
  std::function<int(const InputRequest&)> on_question;
};

class Tool : public ::testing::Test {
 protected:
  void SetUp() override {
    engine = FreshEngine(kToolCatalogue);
    ASSERT_NE(engine, nullptr);
    module = LoadedModule(engine, "disks");
    ASSERT_EQ(module->Scan(), 0);
    ASSERT_EQ(module->tools().size(), 1u);
    tool = module->tools()[0];
  }
  void TearDown() override { DropEngine(); }

  std::vector<SystemComponentView*> Devices(std::initializer_list<const char*> ids) {
    std::vector<SystemComponentView*> devices;
    for (const char* id : ids) devices.push_back(ScannedDevice(module, id));
    return devices;
  }

  void Run(const std::string& operation, std::vector<SystemComponentView*> devices, ToolListenerView* listener) {
    tool->SetParameter("Operation", {operation});
    auto done = std::async(std::launch::async, [&] {
      worker = ThreadId();
      engine->ExecuteTool(tool, listener, devices);
    });
    ASSERT_EQ(done.wait_for(std::chrono::seconds(60)), std::future_status::ready) << "ExecuteTool hangs";
  }

  MorvaService* engine = nullptr;
  ModuleInterfaceView* module = nullptr;
  ToolView* tool = nullptr;
  long worker = 0;
};

TEST_F(Tool, IdentifiesItselfAsThePluginsExpect) {
  EXPECT_EQ(tool->name(), "Mendra");
  EXPECT_EQ(tool->hint(), "recover");
  EXPECT_TRUE(tool->GetParameter("never_set").empty());
}

TEST_F(Tool, FilterAnswersOneEntryPerDeviceWithoutNotifications) {
  RecordingToolListener listener;
  auto devices = Devices({"0", "1", "2", "9"});
  tool->SetParameter("Operation", {"filterDevices"});
  engine->ExecuteTool(tool, &listener, devices);
  EXPECT_EQ(tool->GetParameter("DevicesFilter"), (std::vector<std::string>{"T", "T", "T", "F"}));
  tool->SetParameter("Operation", {"filterDevices", "physical"});
  engine->ExecuteTool(tool, nullptr, devices);
  EXPECT_EQ(tool->GetParameter("DevicesFilter"), (std::vector<std::string>{"T", "F", "T", "F"}));
  // Every run answers anew, also for a shorter list.
  engine->ExecuteTool(tool, nullptr, Devices({"1"}));
  EXPECT_EQ(tool->GetParameter("DevicesFilter"), (std::vector<std::string>{"F"}));
  EXPECT_TRUE(listener.events.empty());
}

TEST_F(Tool, ScanSendsDeviceEventsInOrderWithEveryValue) {
  RecordingToolListener listener;
  Run("scan", Devices({"1", "0"}), &listener);
  EXPECT_EQ(listener.Names(), (std::vector<std::string>{"OnRecoverInit", "OnOperationInit", "OnDeviceInit",
                                                        "OnDeviceFinish", "OnDeviceInit", "OnDeviceFinish",
                                                        "OnOperationFinish", "OnRecoverFinish"}));
  for (const auto& seen : listener.events) {
    EXPECT_EQ(seen.values.at("Operation"), (std::vector<std::string>{"scan"})) << seen.name;
    EXPECT_EQ(seen.thread, worker) << seen.name;
  }
  EXPECT_EQ(listener.First("OnOperationInit").values.at("OperationInit"), (std::vector<std::string>{"scan"}));
  EXPECT_EQ(listener.First("OnDeviceInit").values.at("DeviceInit"), (std::vector<std::string>{"1"}));
  EXPECT_EQ(listener.First("OnDeviceInit", 1).values.at("DeviceInit"), (std::vector<std::string>{"0"}));
  const auto& finish = listener.First("OnDeviceFinish");
  EXPECT_EQ(finish.values.at("DeviceFinish"), (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(finish.values.at("SectorsInfo"), (std::vector<std::string>{"50", "0", "0", "0"}));
  EXPECT_EQ(finish.values.count("Message"), 0u);

  // Progress: whole percentages, rising to 100 for each device.
  std::vector<int> progress;
  for (const auto& seen : listener.events)
    if (seen.name == "OnProgress") progress.push_back(std::stoi(seen.values.at("Progress").at(0)));
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(std::count(progress.begin(), progress.end(), 100), 2);
}

TEST_F(Tool, RepairReportsFixedAndUnfixedSectors) {
  RecordingToolListener listener;
  Run("repair", Devices({"2"}), &listener);
  const auto& repaired = listener.First("OnDeviceFinish");
  EXPECT_EQ(repaired.values.at("DeviceFinish"), (std::vector<std::string>{"2", "10"}));
  EXPECT_EQ(repaired.values.at("SectorsInfo"), (std::vector<std::string>{"200", "3", "2", "1"}));
  EXPECT_EQ(repaired.values.at("BadSectorsList"), (std::vector<std::string>{"11", "12", "13"}));
}

TEST_F(Tool, RepairRefusesTheSystemDisk) {
  RecordingToolListener listener;
  Run("repair", Devices({"0"}), &listener);
  const auto& finish = listener.First("OnDeviceFinish");
  EXPECT_EQ(finish.values.at("DeviceFinish"), (std::vector<std::string>{"0", "2"}));
  EXPECT_EQ(finish.values.at("SectorsInfo").size(), 4u);
  EXPECT_EQ(finish.values.count("Message"), 1u);
}

TEST_F(Tool, FileSystemCheckFollowsThePartitionTable) {
  RecordingToolListener listener;
  tool->SetParameter("partition_table0", {"C:\\", "NTFS", "C:\\", "T", "D:\\", "NTFS", "D:\\", "F"});
  Run("filesystem", Devices({"0"}), &listener);
  EXPECT_EQ(listener.Names(),
            (std::vector<std::string>{"OnRecoverInit", "OnOperationInit", "OnDeviceInit", "OnPartitionInit",
                                      "OnPartitionFinish", "OnSchedule", "OnPartitionInit", "OnPartitionFinish",
                                      "OnDeviceFinish", "OnOperationFinish", "OnRecoverFinish"}));
  EXPECT_EQ(listener.First("OnPartitionInit").values.at("PartitionInit"), (std::vector<std::string>{"0", "C:\\"}));
  // The system volume is in use: its check is scheduled.
  EXPECT_EQ(listener.First("OnPartitionFinish").values.at("PartitionFinish").at(3), "3");
  const auto& second = listener.First("OnPartitionFinish", 1);
  EXPECT_EQ(second.values.at("PartitionFinish"), (std::vector<std::string>{"0", "D:\\", "FIXED_SOME", "9"}));
  EXPECT_EQ(second.values.at("Message"), (std::vector<std::string>{"DETAIL"}));
  EXPECT_EQ(listener.First("OnDeviceFinish").values.at("DeviceFinish"), (std::vector<std::string>{"0", "0"}));
  EXPECT_EQ(listener.First("OnDeviceFinish").values.at("SectorsInfo").size(), 4u);
}

TEST_F(Tool, AbortToolFromAnotherThreadEndsTheDeviceWithCode8AndSkipsTheRest) {
  RecordingToolListener listener;
  std::thread aborter;
  listener.on_event = [&](const RecordingToolListener::Seen& seen) {
    if (seen.name == "OnDeviceInit" && seen.values.at("DeviceInit")[0] == "2")
      aborter = std::thread([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        engine->AbortTool(tool);
      });
  };
  Run("scan", Devices({"2", "0"}), &listener);
  aborter.join();
  EXPECT_EQ(listener.Names(), (std::vector<std::string>{"OnRecoverInit", "OnOperationInit", "OnDeviceInit",
                                                        "OnDeviceFinish", "OnOperationFinish", "OnRecoverFinish"}));
  const auto& finish = listener.First("OnDeviceFinish");
  EXPECT_EQ(finish.values.at("DeviceFinish"), (std::vector<std::string>{"2", "8"}));
  ASSERT_EQ(finish.values.at("SectorsInfo").size(), 4u);
  // A scan fixes nothing, whatever the script says.
  EXPECT_EQ(finish.values.at("SectorsInfo")[2], "0");
  EXPECT_EQ(finish.values.at("SectorsInfo")[3], "0");

  // The abort ended with its run.
  RecordingToolListener next;
  Run("scan", Devices({"0"}), &next);
  EXPECT_EQ(next.First("OnDeviceFinish").values.at("DeviceFinish"), (std::vector<std::string>{"0", "0"}));
}

TEST_F(Tool, AbortAskedJustBeforeTheRunOrAForcedAbortStillEndsIt) {
  for (bool forced : {false, true}) {
    RecordingToolListener listener;
    if (forced) tool->SetParameter("ForcedAbort", {"Forced to abort"});
    else engine->AbortTool(tool);
    Run("scan", Devices({"0", "1"}), &listener);
    EXPECT_EQ(listener.Names(), (std::vector<std::string>{"OnRecoverInit", "OnOperationInit", "OnOperationFinish",
                                                          "OnRecoverFinish"}))
        << (forced ? "ForcedAbort" : "AbortTool");
    tool->SetParameter("ForcedAbort", {});
  }
  // Clearing the forced abort also withdraws an abort asked for while no run was on.
  engine->AbortTool(tool);
  tool->SetParameter("ForcedAbort", {});
  RecordingToolListener next;
  Run("scan", Devices({"0"}), &next);
  EXPECT_EQ(next.First("OnDeviceFinish").values.at("DeviceFinish"), (std::vector<std::string>{"0", "0"}));
}

// A scripted question reaches the listener on the run's thread halfway through the device, and
// the answer decides how the device ends.
TEST_F(Tool, QuestionAskedDuringTheRunAndItsAnswerEndsTheDevice) {
  struct Case {
    int answer;
    std::vector<std::string> finish;
    std::vector<std::string> sectors;
    std::vector<std::string> message;  // empty: none
    bool work_goes_on;
  };
  const Case cases[] = {
      {1, {"3", "9"}, {"400", "4", "4", "0"}, {}, true},
      // Left where it stood: what was read up to the question.
      {2, {"3", "10"}, {"200", "2", "0", "0"}, {"LEFT_AS_FOUND"}, false},
      {0, {"3", "6"}, {"400", "4", "4", "0"}, {"NOBODY_ANSWERED"}, true},
      {7, {"3", "6"}, {"400", "4", "4", "0"}, {"NOBODY_ANSWERED"}, true},  // no button: none
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    RecordingToolListener listener;
    InputRequest shown("", "", -1, -1);
    std::vector<std::string> fields;
    listener.on_question = [&](const InputRequest& request) {
      shown.title = request.title;
      shown.message = request.message;
      shown.kind = request.kind;
      shown.buttons = request.buttons;
      for (InputField* field : request.fields) fields.push_back(field->text());
      return c.answer;
    };
    Run("repair", Devices({"3"}), &listener);
    EXPECT_EQ(shown.title, "REMAP_TITLE");
    EXPECT_EQ(shown.message, "REMAP_QUESTION");
    EXPECT_EQ(shown.kind, InputRequest::kWarning);
    EXPECT_EQ(shown.buttons, InputRequest::kOkCancel);
    EXPECT_EQ(fields, std::vector<std::string>{"REMAP_NOTE"});
    EXPECT_EQ(listener.First("Interact").thread, worker);
    EXPECT_EQ(listener.Names(), (std::vector<std::string>{"OnRecoverInit", "OnOperationInit", "OnDeviceInit",
                                                          "Interact", "OnDeviceFinish", "OnOperationFinish",
                                                          "OnRecoverFinish"}));
    const auto& finish = listener.First("OnDeviceFinish");
    EXPECT_EQ(finish.values.at("DeviceFinish"), c.finish);
    EXPECT_EQ(finish.values.at("SectorsInfo"), c.sectors);
    EXPECT_EQ(finish.values.count("Message") ? finish.values.at("Message") : std::vector<std::string>(), c.message);
    // Progress up to the question, then on to the end only when the work goes on.
    std::vector<int> before, after;
    bool asked = false;
    for (const auto& seen : listener.events) {
      if (seen.name == "Interact") asked = true;
      if (seen.name == "OnProgress") (asked ? after : before).push_back(std::stoi(seen.values.at("Progress")[0]));
    }
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.back(), 50);
    EXPECT_EQ(std::count(before.begin(), before.end(), 50), 1);
    if (c.work_goes_on) {
      ASSERT_FALSE(after.empty());
      EXPECT_GT(after.front(), 50);
      EXPECT_EQ(after.back(), 100);
    } else {
      EXPECT_TRUE(after.empty());
    }
  }
}

// An abort that comes while the question is open ends the device as aborted whatever the answer,
// and the devices after it are skipped.
TEST_F(Tool, AbortWhileTheQuestionIsOpenEndsTheRun) {
  RecordingToolListener listener;
  listener.on_question = [&](const InputRequest&) {
    std::thread([&] { engine->AbortTool(tool); }).join();
    return 1;
  };
  Run("repair", Devices({"3", "2"}), &listener);
  EXPECT_EQ(listener.Names(), (std::vector<std::string>{"OnRecoverInit", "OnOperationInit", "OnDeviceInit",
                                                        "Interact", "OnDeviceFinish", "OnOperationFinish",
                                                        "OnRecoverFinish"}));
  const auto& finish = listener.First("OnDeviceFinish");
  EXPECT_EQ(finish.values.at("DeviceFinish"), (std::vector<std::string>{"3", "8"}));
  EXPECT_EQ(finish.values.at("SectorsInfo"), (std::vector<std::string>{"200", "2", "0", "0"}));
  EXPECT_EQ(finish.values.count("Message"), 0u);
}

// Without a listener nobody can be asked: the scripted default answer stands.
TEST_F(Tool, QuestionWithoutAListenerTakesTheDefaultAnswer) {
  const std::string trace = ScratchDir() + "/question_trace.txt";
  std::remove(trace.c_str());
  ::setenv("MORVA_TRACE", trace.c_str(), 1);
  SetUp();  // an engine that traces
  ::unsetenv("MORVA_TRACE");
  Run("repair", Devices({"3"}), nullptr);
  RecordingToolListener listener;
  listener.on_question = [](const InputRequest&) { return 1; };
  Run("repair", Devices({"3"}), &listener);
  const std::string text = ReadFile(trace);
  EXPECT_NE(text.find("Interact title=REMAP_TITLE default=2"), std::string::npos) << text;
  EXPECT_NE(text.find("Interact title=REMAP_TITLE answer=1"), std::string::npos) << text;
}

TEST_F(Tool, UnknownOperationOrDeviceEndsWithAFailureCodeNotSilence) {
  RecordingToolListener listener;
  Run("defragment", Devices({"0"}), &listener);
  EXPECT_EQ(listener.First("OnDeviceFinish").values.at("DeviceFinish"), (std::vector<std::string>{"0", "6"}));
  RecordingToolListener unknown;
  Run("scan", Devices({"9"}), &unknown);
  EXPECT_EQ(unknown.First("OnDeviceFinish").values.at("DeviceFinish"), (std::vector<std::string>{"9", "6"}));
  // Both plug-ins show the message as it comes.
  EXPECT_TRUE(ReadsAsWords(listener.First("OnDeviceFinish").values.at("Message").at(0)));
  EXPECT_TRUE(ReadsAsWords(unknown.First("OnDeviceFinish").values.at("Message").at(0)));
  EXPECT_EQ(unknown.First("OnRecoverFinish").name, "OnRecoverFinish");
  Run("scan", Devices({"0"}), nullptr);  // no listener: runs without telling anyone
}

// A device that is not the engine's; it counts every call made on it.
class StrangerDevice : public SystemComponentView {
 public:
  std::string id() const override {
    ++reads;
    return "0";
  }
  SystemComponentInformation information() const override {
    ++reads;
    return {};
  }
  void resources(std::vector<SystemComponentResource>&) const override { ++reads; }
  mutable int reads = 0;
};

// Only what a loaded module owns is read: a host may still hold a tool and devices that
// UnloadModules freed, or devices that were never the engine's.
TEST_F(Tool, WhatNoLoadedModuleOwnsIsNeverRead) {
  ToolView* old_tool = tool;
  const auto old_devices = Devices({"0", "2"});
  engine->UnloadModules();
  RecordingToolListener nobody;
  engine->ExecuteTool(old_tool, &nobody, old_devices);
  engine->AbortTool(old_tool);
  EXPECT_TRUE(nobody.events.empty());

  // Loaded again (freed memory may be reused by the new objects, so strangers stand in for
  // the old devices): the tool works on its module's devices only, and the filter still
  // answers for every device given.
  module = LoadedModule(engine, "disks");
  ASSERT_EQ(module->Scan(), 0);
  tool = module->tools()[0];
  StrangerDevice stranger;
  std::vector<SystemComponentView*> mixed = {&stranger, ScannedDevice(module, "1"), nullptr};
  RecordingToolListener listener;
  Run("scan", mixed, &listener);
  EXPECT_EQ(listener.Names(), (std::vector<std::string>{"OnRecoverInit", "OnOperationInit", "OnDeviceInit",
                                                        "OnDeviceFinish", "OnOperationFinish", "OnRecoverFinish"}));
  EXPECT_EQ(listener.First("OnDeviceInit").values.at("DeviceInit"), (std::vector<std::string>{"1"}));
  tool->SetParameter("Operation", {"filterDevices"});
  engine->ExecuteTool(tool, nullptr, mixed);
  EXPECT_EQ(tool->GetParameter("DevicesFilter"), (std::vector<std::string>{"F", "T", "F"}));
  EXPECT_EQ(stranger.reads, 0);
}

}  // namespace
