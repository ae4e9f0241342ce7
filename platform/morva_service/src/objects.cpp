#include "objects.h"

#include <algorithm>

#include "support.h"

namespace morva_service {
namespace detail {

namespace {

std::string JoinValues(const std::vector<std::string>& values) {
  std::string text = "[";
  for (size_t i = 0; i < values.size(); ++i) text += (i ? "|" : "") + values[i];
  return text + "]";
}

}  // namespace

bool TestObject::SupportsComponent(const SystemComponentView* device) const {
  // Only the module's own devices are looked at: a host may ask about one that UnloadModules freed.
  if (!module_->Owns(device)) return false;
  return spec_.all_devices || spec_.devices.count(static_cast<const DeviceObject*>(device)->spec().id) > 0;
}

DiagnosticObject::DiagnosticObject(const DiagnosticSpec& spec, const ModuleObject* module)
    : spec_(spec), module_(module) {
  for (const TestSpec& test : spec.tests) tests_.push_back(std::make_unique<TestObject>(test, this, module));
}

std::vector<TestView*> DiagnosticObject::tests() const {
  std::vector<TestView*> tests;
  for (const auto& test : tests_) tests.push_back(test.get());
  return tests;
}

void ToolObject::SetParameter(const std::string& name, const std::vector<std::string>& values) {
  Trace("SetParameter tool=" + spec_.name + " name=" + name + " values=" + JoinValues(values));
  // Clearing the forced abort withdraws every abort request, also one that came while no run
  // was on, so it cannot end a later run.
  if (name == "ForcedAbort" && values.empty()) abort_requested_ = false;
  StoreParameter(name, values);
}

void ToolObject::StoreParameter(const std::string& name, const std::vector<std::string>& values) {
  std::lock_guard<std::mutex> lock(mutex_);
  parameters_[name] = values;
}

std::vector<std::string> ToolObject::GetParameter(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = parameters_.find(name);
  return it == parameters_.end() ? std::vector<std::string>() : it->second;
}

ModuleObject::ModuleObject(const ModuleSpec& spec, double time_scale) : spec_(spec), time_scale_(time_scale) {
  for (const OptionSpec& option : spec.diagnostic_options) {
    options_.push_back(std::make_unique<OptionObject>(option));
    diagnostic_option_map_[option.identifier] = options_.back().get();
  }
  for (const OptionSpec& option : spec.test_options) {
    options_.push_back(std::make_unique<OptionObject>(option));
    test_option_map_[option.identifier] = options_.back().get();
  }
  for (const DiagnosticSpec& diagnostic : spec.diagnostics)
    diagnostics_.push_back(std::make_unique<DiagnosticObject>(diagnostic, this));
  for (const ToolSpec& tool : spec.tools) tools_.push_back(std::make_unique<ToolObject>(tool, this));
  for (const DeviceSpec& device : spec.devices) all_devices_.push_back(std::make_unique<DeviceObject>(device, this));
  if (spec.has_version) version_ = std::make_unique<ProductVersion>(spec.version);
}

std::vector<SystemComponentView*> ModuleObject::system_components() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return current_;
}

std::vector<ToolView*> ModuleObject::tools() const {
  std::vector<ToolView*> tools;
  for (const auto& tool : tools_) tools.push_back(tool.get());
  return tools;
}

std::vector<DiagnosticView*> ModuleObject::diagnostics() const {
  std::vector<DiagnosticView*> diagnostics;
  for (const auto& diagnostic : diagnostics_) diagnostics.push_back(diagnostic.get());
  return diagnostics;
}

SystemComponentView* ModuleObject::system_component(size_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return index < current_.size() ? current_[index] : nullptr;
}

size_t ModuleObject::system_component_count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return current_.size();
}

bool ModuleObject::CheckForComponents() {
  Trace("CheckForComponents module=" + spec_.name);
  SleepSliced(spec_.check_duration * time_scale_, nullptr);
  Trace("CheckForComponents module=" + spec_.name + " result=" + (spec_.check_result ? "true" : "false"));
  return spec_.check_result;
}

int ModuleObject::Scan() {
  Trace("Scan module=" + spec_.name);
  size_t step_index;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    step_index = std::min(scans_done_, spec_.scans.size() - 1);
    ++scans_done_;
  }
  SleepSliced(spec_.scan_duration * time_scale_, nullptr);
  const ScanStep& step = spec_.scans[step_index];
  std::vector<SystemComponentView*> found;
  if (step.result == 0)
    for (const std::string& id : step.devices) found.push_back(DeviceById(id));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    current_ = found;
  }
  Trace("Scan module=" + spec_.name + " result=" + std::to_string(step.result) +
        " devices=" + std::to_string(found.size()));
  return step.result;
}

ProductVersion* ModuleObject::version() const { return version_.get(); }

bool ModuleObject::Owns(const SystemComponentView* device) const {
  for (const auto& object : all_devices_)
    if (object.get() == device) return true;
  return false;
}

bool ModuleObject::Owns(const DiagnosticView* diagnostic) const {
  for (const auto& object : diagnostics_)
    if (object.get() == diagnostic) return true;
  return false;
}

bool ModuleObject::Owns(const TestView* test) const {
  for (const auto& diagnostic : diagnostics_)
    for (const TestView* object : diagnostic->tests())
      if (object == test) return true;
  return false;
}

ToolObject* ModuleObject::FindTool(const ToolView* tool) const {
  for (const auto& object : tools_)
    if (object.get() == tool) return object.get();
  return nullptr;
}

DeviceObject* ModuleObject::DeviceById(const std::string& id) const {
  for (const auto& object : all_devices_)
    if (object->spec().id == id) return object.get();
  return nullptr;
}

}  // namespace detail
}  // namespace morva_service
