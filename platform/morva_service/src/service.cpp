#include "service.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "outcome_player.h"
#include "support.h"
#include "test_object.h"
#include "test_record.h"
#include "tool_run.h"

namespace morva_service {
namespace detail {

namespace {

// Names that do not come from our catalogue still have to be single log tokens.
std::string AsToken(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f) c = '_';
  return text.empty() ? std::string("UNNAMED") : text;
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string SelectionText(const std::vector<DiagnosticRun>& selection) {
  std::string text;
  for (const DiagnosticRun& run : selection) {
    if (!text.empty()) text += ";";
    text += run.diagnostic ? IdentifierText(run.diagnostic->identifier()) : std::string("null");
    text += ":";
    for (size_t i = 0; i < run.tests.size(); ++i) {
      const TestRun& test = run.tests[i];
      text += (i ? "," : "") + (test.test ? IdentifierText(test.test->identifier()) : std::string("null"));
      if (!test.parameters.empty()) {
        text += "(";
        for (size_t p = 0; p < test.parameters.size(); ++p) text += (p ? "|" : "") + test.parameters[p];
        text += ")";
      }
    }
  }
  return text;
}

// Rank of a status when a device's run is summed up: the worse, the higher.
int Severity(TestStatus status) {
  switch (status) {
    case kTestPassed: return 0;
    case kTestNotApplicable: return 0;
    case kTestWarning: return 1;
    case kTestFailed: return 2;
    case kTestUnrecognized: return 3;
    case kTestInvalid: return 3;
    case kTestCancelled: return 4;
  }
  return 3;
}

void Complain(const std::string& text) {
  std::fprintf(stderr, "morva_service: %s\n", text.c_str());
  Trace("Error " + text);
}

bool IsWholeNumber(const std::string& value) {
  return !value.empty() && value.size() <= 18 &&
         value.find_first_not_of("0123456789", value[0] == '-' ? 1 : 0) == std::string::npos && value != "-";
}

bool ParametersValid(const ParameterSpec& rule, const std::vector<std::string>& used) {
  if (used.size() < rule.min_count || used.size() > rule.max_count) return false;
  if (!rule.integers) return true;
  for (const std::string& value : used)
    if (!IsWholeNumber(value) || std::stoll(value) < rule.low || std::stoll(value) > rule.high) return false;
  return true;
}

// Logs the parameters a test runs with (its defaults when the run gives none), or their fault.
bool LogParameters(const ParameterSpec& rule, const std::vector<std::string>& parameters, TestRecord& record) {
  const std::vector<std::string>& used = parameters.empty() ? rule.defaults : parameters;
  if (!ParametersValid(rule, used)) {
    record.Log({"ERROR", {"INVALID_TEST_PARAMETERS"}, "", 0});
    return false;
  }
  if (!used.empty()) {
    MessageSpec accepted{"MESSAGE", {"TEST_PARAMETERS"}, "", 0};
    for (const std::string& value : used) accepted.words.push_back(value == "CODE" ? "_CODE" : AsToken(value));
    record.Log(accepted);
  }
  return true;
}

}  // namespace

Service::Service(Catalogue catalogue, double time_scale)
    : catalogue_(std::move(catalogue)), time_scale_(time_scale), product_version_(catalogue_.product_version) {}

Service::~Service() = default;

std::vector<ModuleInterfaceView*>* Service::LoadModules() {
  Trace("LoadModules");
  std::lock_guard<std::mutex> lock(mutex_);
  if (catalogue_.no_modules || catalogue_.modules.empty()) {
    Trace("LoadModules result=none");
    return nullptr;
  }
  for (const ModuleSpec& spec : catalogue_.modules) {
    bool present = false;
    for (const auto& module : modules_) present = present || &module->spec() == &spec;
    if (!present) modules_.push_back(std::make_unique<ModuleObject>(spec, time_scale_));
  }
  // Keep the catalogue's order whatever was loaded by name before.
  std::stable_sort(modules_.begin(), modules_.end(), [](const auto& a, const auto& b) { return &a->spec() < &b->spec(); });
  module_list_.clear();
  for (const auto& module : modules_) module_list_.push_back(module.get());
  loaded_ = true;
  Trace("LoadModules result=" + std::to_string(module_list_.size()));
  return &module_list_;
}

std::vector<ModuleInterfaceView*>* Service::loaded_modules() {
  std::lock_guard<std::mutex> lock(mutex_);
  return loaded_ ? &module_list_ : nullptr;
}

void Service::UnloadModules() {
  Trace("UnloadModules");
  std::lock_guard<std::mutex> lock(mutex_);
  module_list_.clear();
  modules_.clear();
  loaded_ = false;
}

bool Service::LoadModuleInterfaceByName(std::string module_name, std::string& error_message) {
  Trace("LoadModuleInterfaceByName name=" + module_name);
  std::lock_guard<std::mutex> lock(mutex_);
  if (catalogue_.no_modules) {
    error_message = "no module can be loaded on this machine";
    return false;
  }
  for (const ModuleSpec& spec : catalogue_.modules) {
    if (spec.name != module_name) continue;
    for (const auto& module : modules_)
      if (&module->spec() == &spec) return true;
    modules_.push_back(std::make_unique<ModuleObject>(spec, time_scale_));
    module_list_.push_back(modules_.back().get());
    loaded_ = true;
    return true;
  }
  error_message = "there is no module named \"" + module_name + "\"";
  return false;
}

ModuleObject* Service::FindLoaded(const ModuleInterfaceView* module) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& object : modules_)
    if (object.get() == module) return object.get();
  return nullptr;
}

ToolObject* Service::FindToolLocked(const ToolView* tool) const {
  for (const auto& module : modules_)
    if (ToolObject* object = module->FindTool(tool)) return object;
  return nullptr;
}

void Service::Execute(ModuleInterfaceView* module, SystemComponentView* device, std::vector<DiagnosticRun> selection,
                      int64_t group) {
  ModuleObject* owner = FindLoaded(module);
  DeviceObject* target = owner && owner->Owns(device) ? static_cast<DeviceObject*>(device) : nullptr;
  // Nothing of the selection is read before it is known to be alive: a host may still hold
  // objects that UnloadModules freed.
  size_t dropped = 0;
  if (target) selection = LiveSelection(selection, dropped);
  Trace("Execute module=" + (owner ? owner->name() : std::string("?")) +
        " device=" + (target ? target->id() : std::string("?")) +
        " selection=" + (target ? SelectionText(selection) : std::string("?")) + " group=" + std::to_string(group));
  if (dropped > 0)
    Complain("Execute: " + std::to_string(dropped) + " diagnostics or tests of the selection are not loaded");
  // Hosts re-issue an abort at each diagnostic start; an older one must not end this run.
  abort_requested_ = false;
  SuiteListenerView* suite = suite_listener_;
  TestListenerView* test_listener = test_listener_;
  const int64_t start = WallSeconds();

  if (!target) {
    Complain(owner ? "Execute: the device is not one of the module's devices"
                   : "Execute: the module is not loaded");
    // The suite still starts and ends: hosts wait for its end.
    if (suite) {
      suite->SuiteStarted();
      suite->SuiteFinished();
    }
    return;
  }

  LogEntry entry(owner->name(), start, group, target->spec());
  std::string code;
  int worst = -1;
  if (suite) Trace("SuiteStarted returned " + Bool(suite->SuiteStarted()));
  if (suite) Trace("SystemComponentStarted returned " + Bool(suite->SystemComponentStarted()));
  if (suite) Trace("SystemComponentRunStarted returned " + Bool(suite->SystemComponentRunStarted(0, target)));
  for (const DiagnosticRun& run : selection) {
    if (!run.diagnostic) continue;
    if (suite) Trace("DiagnosticStarted returned " + Bool(suite->DiagnosticStarted(run.diagnostic)));
    for (const TestRun& test : run.tests) {
      if (!test.test) continue;
      if (suite) Trace("TestStarted returned " + Bool(suite->TestStarted(test.test)));
      std::vector<MessageSpec> logged;
      TestStatus status = RunTest(test.test, run.diagnostic, *owner, *target, test.parameters, test_listener,
                                  entry, logged);
      if (status != kTestPassed && status != kTestNotApplicable) {
        int severity = Severity(status);
        std::string test_code;
        for (const MessageSpec& message : logged)
          if (test_code.empty()) test_code = message.code;
        if (test_code.empty()) test_code = std::to_string(static_cast<int>(status));
        if (severity > worst) {
          worst = severity;
          code = test_code;
        }
      }
      Trace("TestFinished status=" + std::to_string(static_cast<int>(status)));
      if (suite) suite->TestFinished(status);
    }
    if (suite) suite->DiagnosticFinished();
  }
  if (code.empty()) code = "0";
  if (suite) suite->SystemComponentRunFinished(code);
  if (suite) suite->SystemComponentFinished(code);
  if (entry.test_count() > 0) {
    entry.Finish(code);
    std::string error;
    if (!AppendToDiagnosticsLog(entry.lines(), error)) Complain("diagnostics log: " + error);
  }
  if (suite) suite->SuiteFinished();
}

std::vector<DiagnosticRun> Service::LiveSelection(const std::vector<DiagnosticRun>& selection, size_t& dropped) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<DiagnosticRun> live;
  for (const DiagnosticRun& run : selection) {
    if (run.diagnostic && !OwnedLocked(run.diagnostic)) {
      ++dropped;
      continue;
    }
    DiagnosticRun kept{run.diagnostic, {}};
    for (const TestRun& test : run.tests) {
      if (test.test && !OwnedLocked(test.test))
        ++dropped;
      else
        kept.tests.push_back(test);
    }
    live.push_back(std::move(kept));
  }
  return live;
}

TestStatus Service::RunTest(TestView* test, const DiagnosticView* diagnostic, ModuleObject& module,
                            DeviceObject& device, const std::vector<std::string>& parameters,
                            TestListenerView* listener, LogEntry& entry, std::vector<MessageSpec>& logged) {
  auto* object = dynamic_cast<TestObject*>(test);
  TestRecord record(entry, logged, AsToken(object ? object->name() : test->name()));
  const double started = MonotonicSeconds();
  record.Start();
  std::function<bool()> aborted = [this] { return abort_requested_.load(); };
  if (aborted()) return record.Finish(kTestCancelled, 0);

  if (!object || object->module() != &module || object->diagnostic() != diagnostic) {
    record.Log({"ERROR", {"TEST_NOT_PART_OF_DIAGNOSTIC"}, "", 0});
    return record.Finish(kTestUnrecognized, 0);
  }
  if (!object->SupportsComponent(&device)) {
    record.Log({"MESSAGE", {"TEST_NOT_SUPPORTED_ON_DEVICE"}, "", 0});
    return record.Finish(kTestNotApplicable, 0);
  }
  const TestSpec& spec = object->spec();
  if (spec.parameters.accepted && !LogParameters(spec.parameters, parameters, record))
    return record.Finish(kTestInvalid, 0);

  auto found = spec.outcomes.find(device.spec().id);
  const OutcomeSpec& outcome = found != spec.outcomes.end() ? found->second : spec.default_outcome;
  return OutcomePlayer(outcome, started, time_scale_, aborted, listener, record).Play();
}

void Service::ExecuteTool(ToolView* tool, ToolListenerView* listener, std::vector<SystemComponentView*> devices) {
  ToolObject* object = nullptr;
  size_t dropped = 0;
  std::string ids;
  {
    // Nothing is read before it is known to be alive: a host may still hold a tool or devices
    // that UnloadModules freed. A device that is not alive counts as none.
    std::lock_guard<std::mutex> lock(mutex_);
    object = FindToolLocked(tool);
    for (SystemComponentView*& device : devices) {
      if (device && !OwnedLocked(device)) {
        device = nullptr;
        ++dropped;
        ids += ids.empty() ? "?" : ",?";
        continue;
      }
      ids += (ids.empty() ? "" : ",") + (device ? device->id() : std::string("null"));
    }
  }
  Trace("ExecuteTool tool=" + (object ? object->name() : std::string("?")) + " devices=" + ids +
        " listener=" + Bool(listener != nullptr));
  if (!object) {
    Complain("ExecuteTool: the tool does not belong to a loaded module");
    return;
  }
  if (dropped > 0) Complain("ExecuteTool: " + std::to_string(dropped) + " of the devices are not loaded");
  RunTool(*object, listener, devices, time_scale_);
}

void Service::AbortTool(ToolView* tool) {
  std::string name = "?";
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ToolObject* object = FindToolLocked(tool)) {
      object->abort_requested() = true;
      name = object->name();
    }
  }
  Trace("AbortTool tool=" + name);
}

void Service::Abort() {
  Trace("Abort");
  abort_requested_ = true;
}

}  // namespace detail
}  // namespace morva_service
