#include "module_object.h"

#include <algorithm>

#include "module_help.h"
#include "support.h"

namespace morva_service {
namespace detail {

ModuleObject::ModuleObject(const ModuleSpec& spec, double time_scale)
    : spec_(spec), time_scale_(time_scale), help_(ModuleHelp(spec)) {
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
