// The engine's objects as handed to the front ends, built over the catalogue's entries.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue.h"
#include "morva_service/views.h"

namespace morva_service {
namespace detail {

class ModuleObject;

class OptionObject : public CommandLineOptionView {
 public:
  explicit OptionObject(const OptionSpec& spec) : spec_(spec) {}
  std::string letter() const override { return spec_.letter; }
  std::string long_name() const override { return spec_.long_name; }
  int argument_requirement() const override { return spec_.argument_requirement; }

 private:
  const OptionSpec& spec_;
};

class DeviceObject : public SystemComponentView {
 public:
  DeviceObject(const DeviceSpec& spec, const ModuleObject* module) : spec_(spec), module_(module) {}
  std::string id() const override { return spec_.id; }
  SystemComponentInformation information() const override { return spec_.information; }
  void resources(std::vector<SystemComponentResource>& out) const override { out = spec_.resources; }

  const DeviceSpec& spec() const { return spec_; }
  const ModuleObject* module() const { return module_; }

 private:
  const DeviceSpec& spec_;
  const ModuleObject* module_;
};

class DiagnosticObject;

class TestObject : public TestView {
 public:
  TestObject(const TestSpec& spec, const DiagnosticObject* diagnostic, const ModuleObject* module)
      : spec_(spec), diagnostic_(diagnostic), module_(module) {}
  std::string name() const override { return spec_.name; }
  std::string description() const override { return spec_.description; }
  ItemIdentifier identifier() const override { return spec_.identifier; }
  bool SupportsComponent(const SystemComponentView* device) const override;

  const TestSpec& spec() const { return spec_; }
  const DiagnosticObject* diagnostic() const { return diagnostic_; }
  const ModuleObject* module() const { return module_; }

 private:
  const TestSpec& spec_;
  const DiagnosticObject* diagnostic_;
  const ModuleObject* module_;
};

class DiagnosticObject : public DiagnosticView {
 public:
  DiagnosticObject(const DiagnosticSpec& spec, const ModuleObject* module);
  std::string name() const override { return spec_.name; }
  std::string description() const override { return spec_.description; }
  std::vector<TestView*> tests() const override;
  ItemIdentifier identifier() const override { return spec_.identifier; }

  const ModuleObject* module() const { return module_; }

 private:
  const DiagnosticSpec& spec_;
  const ModuleObject* module_;
  std::vector<std::unique_ptr<TestObject>> tests_;
};

class ToolEventObject : public ToolEventView {
 public:
  std::vector<std::string> GetValues(const std::string& key) const override {
    auto it = values.find(key);
    return it == values.end() ? std::vector<std::string>() : it->second;
  }
  std::map<std::string, std::vector<std::string>> values;
};

class ToolObject : public ToolView {
 public:
  ToolObject(const ToolSpec& spec, const ModuleObject* module) : spec_(spec), module_(module) {}
  void SetParameter(const std::string& name, const std::vector<std::string>& values) override;
  std::vector<std::string> GetParameter(const std::string& name) const override;
  std::string name() const override { return spec_.name; }
  std::string description() const override { return spec_.description; }
  std::string hint() const override { return spec_.hint; }

  // The engine's own writes (the filter answer) are not calls made into the engine.
  void StoreParameter(const std::string& name, const std::vector<std::string>& values);
  const ToolSpec& spec() const { return spec_; }
  const ModuleObject* module() const { return module_; }
  std::atomic<bool>& abort_requested() { return abort_requested_; }

 private:
  const ToolSpec& spec_;
  const ModuleObject* module_;
  mutable std::mutex mutex_;
  std::map<std::string, std::vector<std::string>> parameters_;
  std::atomic<bool> abort_requested_{false};
};

class ModuleObject : public ModuleInterfaceView {
 public:
  ModuleObject(const ModuleSpec& spec, double time_scale);
  const OptionMap& diagnostic_options() const override { return diagnostic_option_map_; }
  const OptionMap& test_options() const override { return test_option_map_; }
  std::string help() const override { return help_; }
  std::string name() const override { return spec_.name; }
  std::vector<SystemComponentView*> system_components() const override;
  std::vector<ToolView*> tools() const override;
  std::vector<DiagnosticView*> diagnostics() const override;
  SystemComponentView* system_component(size_t index) const override;
  size_t system_component_count() const override;
  bool CheckForComponents() override;
  int Scan() override;
  ProductVersion* version() const override;

  const ModuleSpec& spec() const { return spec_; }
  bool Owns(const SystemComponentView* device) const;
  bool Owns(const DiagnosticView* diagnostic) const;
  bool Owns(const TestView* test) const;
  ToolObject* FindTool(const ToolView* tool) const;
  // The object of a device id (of any scan), null when the module has no such device.
  DeviceObject* DeviceById(const std::string& id) const;

 private:
  const ModuleSpec& spec_;
  double time_scale_;
  const std::string help_;
  std::vector<std::unique_ptr<OptionObject>> options_;
  OptionMap diagnostic_option_map_;
  OptionMap test_option_map_;
  std::vector<std::unique_ptr<DiagnosticObject>> diagnostics_;
  std::vector<std::unique_ptr<ToolObject>> tools_;
  // Every device keeps one object for the module's life, so pointers survive rescans.
  std::vector<std::unique_ptr<DeviceObject>> all_devices_;
  std::unique_ptr<ProductVersion> version_;

  mutable std::mutex mutex_;  // guards the two below
  std::vector<SystemComponentView*> current_;
  size_t scans_done_ = 0;
};

}  // namespace detail
}  // namespace morva_service
