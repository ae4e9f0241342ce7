// A module with a name, a version and tools and nothing else: no devices, no diagnostics, and
// checks and scans that succeed at once.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "morva_service/views.h"

namespace gui_test {

class FakeModule : public morva_service::ModuleInterfaceView {
 public:
  explicit FakeModule(std::string name, morva_service::ProductVersion* version = nullptr,
                      std::vector<morva_service::ToolView*> tools = {})
      : name_(std::move(name)), version_(version), tools_(std::move(tools)) {}
  const OptionMap& diagnostic_options() const override { return options_; }
  const OptionMap& test_options() const override { return options_; }
  std::string help() const override { return {}; }
  std::string name() const override { return name_; }
  std::vector<morva_service::SystemComponentView*> system_components() const override { return {}; }
  std::vector<morva_service::ToolView*> tools() const override { return tools_; }
  std::vector<morva_service::DiagnosticView*> diagnostics() const override { return {}; }
  morva_service::SystemComponentView* system_component(size_t) const override { return nullptr; }
  size_t system_component_count() const override { return 0; }
  bool CheckForComponents() override { return true; }
  int Scan() override { return 0; }
  morva_service::ProductVersion* version() const override { return version_; }

 private:
  std::string name_;
  morva_service::ProductVersion* version_;
  std::vector<morva_service::ToolView*> tools_;
  OptionMap options_;
};

}  // namespace gui_test
