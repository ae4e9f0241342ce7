// The engine's objects as handed to the front ends are built over the catalogue's entries: a
// module owns its options, devices, diagnostics (and so their tests) and tools.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue.h"
#include "device_object.h"
#include "diagnostic_object.h"
#include "morva_service/views.h"
#include "option_object.h"
#include "tool_object.h"

namespace morva_service {
namespace detail {

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
