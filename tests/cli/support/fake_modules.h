// In-memory modules for parser and listing tests: a storage module with diagnostics Q (tests f
// and r, r needs arguments) and P (test f), devices 0 and 1, and the tool "Bad|Sectors"; a memory
// module whose options collide with the host's own letters.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "morva_service/morva_service.h"

namespace fakes {

using namespace morva_service;

class Option : public CommandLineOptionView {
 public:
  Option(std::string letter, std::string long_name, int requirement)
      : letter_(std::move(letter)), long_name_(std::move(long_name)), requirement_(requirement) {}
  std::string letter() const override { return letter_; }
  std::string long_name() const override { return long_name_; }
  int argument_requirement() const override { return requirement_; }

 private:
  std::string letter_, long_name_;
  int requirement_;
};

class Device : public SystemComponentView {
 public:
  explicit Device(std::string id) : id_(std::move(id)) {}
  std::string id() const override { return id_; }
  SystemComponentInformation information() const override { return information_; }
  void resources(std::vector<SystemComponentResource>& out) const override { out = resources_; }
  SystemComponentInformation information_;
  std::vector<SystemComponentResource> resources_;

 private:
  std::string id_;
};

class Test : public TestView {
 public:
  Test(std::string name, ItemIdentifier id) : name_(std::move(name)), id_(id) {}
  std::string name() const override { return name_; }
  std::string description() const override { return name_ + "_DESCRIPTION"; }
  ItemIdentifier identifier() const override { return id_; }
  bool SupportsComponent(const SystemComponentView* device) const override {
    return unsupported_.empty() || !device || device->id() != unsupported_;
  }
  std::string unsupported_;

 private:
  std::string name_;
  ItemIdentifier id_;
};

class Diagnostic : public DiagnosticView {
 public:
  Diagnostic(std::string name, ItemIdentifier id) : name_(std::move(name)), id_(id) {}
  std::string name() const override { return name_; }
  std::string description() const override { return name_ + "_DESCRIPTION"; }
  std::vector<TestView*> tests() const override { return tests_; }
  ItemIdentifier identifier() const override { return id_; }
  std::vector<TestView*> tests_;

 private:
  std::string name_;
  ItemIdentifier id_;
};

class Tool : public ToolView {
 public:
  Tool(std::string name, std::string hint) : name_(std::move(name)), hint_(std::move(hint)) {}
  void SetParameter(const std::string&, const std::vector<std::string>&) override {}
  std::vector<std::string> GetParameter(const std::string&) const override { return {}; }
  std::string name() const override { return name_; }
  std::string description() const override { return "TOOL_DESCRIPTION"; }
  std::string hint() const override { return hint_; }

 private:
  std::string name_, hint_;
};

class Module : public ModuleInterfaceView {
 public:
  explicit Module(std::string name) : name_(std::move(name)) {}
  const OptionMap& diagnostic_options() const override { return diagnostic_options_; }
  const OptionMap& test_options() const override { return test_options_; }
  std::string help() const override { return name_ + " HELP"; }
  std::string name() const override { return name_; }
  std::vector<SystemComponentView*> system_components() const override { return devices_; }
  std::vector<ToolView*> tools() const override { return tools_; }
  std::vector<DiagnosticView*> diagnostics() const override { return diagnostics_; }
  SystemComponentView* system_component(size_t i) const override {
    return i < devices_.size() ? devices_[i] : nullptr;
  }
  size_t system_component_count() const override { return devices_.size(); }
  bool CheckForComponents() override { return true; }
  int Scan() override { return 0; }
  ProductVersion* version() const override { return version_.get(); }

  OptionMap diagnostic_options_;
  OptionMap test_options_;
  std::vector<SystemComponentView*> devices_;
  std::vector<ToolView*> tools_;
  std::vector<DiagnosticView*> diagnostics_;
  std::unique_ptr<ProductVersion> version_;

 private:
  std::string name_;
};

// Owns every object of the two modules.
struct Catalogue {
  Catalogue();
  std::vector<ModuleInterfaceView*> modules;
  Module* storage = nullptr;
  Module* memory = nullptr;

 private:
  std::vector<std::unique_ptr<Option>> options_;
  std::vector<std::unique_ptr<Device>> devices_;
  std::vector<std::unique_ptr<Test>> tests_;
  std::vector<std::unique_ptr<Diagnostic>> diagnostics_;
  std::vector<std::unique_ptr<Tool>> tools_;
  std::vector<std::unique_ptr<Module>> modules_;
};

}  // namespace fakes
