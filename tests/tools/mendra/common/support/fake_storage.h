// A storage module, tool and engine held in memory: the tool answers a filter run from a fixed
// "T"/"F" list, so the device model can be checked without the engine.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "morva_service/morva_service.h"

namespace mdrtest {

using morva_service::PropertyList;
using morva_service::SystemComponentResource;

class FakeDevice : public morva_service::SystemComponentView {
 public:
  FakeDevice(std::string id, std::string name, bool ssd) : id_(std::move(id)) {
    info_.display_name = std::move(name);
    info_.attributes["NonRotatingMedia"] = ssd ? "T" : "F";
  }
  std::string id() const override { return id_; }
  morva_service::SystemComponentInformation information() const override { return info_; }
  void resources(std::vector<SystemComponentResource>& out) const override { out = resources_; }

  FakeDevice& Partition(const std::string& mount, const std::string& fs,
                        const std::string& type = "PRIMARY", const std::string& index = "0") {
    PropertyList p;
    p.push_back({"PARTITION_TYPE", type});
    if (!mount.empty()) p.push_back({"MOUNT_POINT", mount});
    if (!fs.empty()) p.push_back({"FILESYSTEM", fs});
    p.push_back({"LABEL", "L" + mount});
    p.push_back({"SIZE", "10 GB"});
    p.push_back({"USED", "1 GB"});
    p.push_back({"FREE", "9 GB"});
    p.push_back({"INDEX", index});
    resources_.push_back({"PARTITION", p});
    return *this;
  }
  void Resource(const SystemComponentResource& r) { resources_.push_back(r); }

 private:
  std::string id_;
  morva_service::SystemComponentInformation info_;
  std::vector<SystemComponentResource> resources_;
};

class FakeTool : public morva_service::ToolView {
 public:
  void SetParameter(const std::string& name, const std::vector<std::string>& values) override {
    parameters[name] = values;
    history.push_back(name);
  }
  std::vector<std::string> GetParameter(const std::string& name) const override {
    auto it = parameters.find(name);
    return it == parameters.end() ? std::vector<std::string>() : it->second;
  }
  std::string name() const override { return "Mendra"; }
  std::string description() const override { return ""; }
  std::string hint() const override { return "recover"; }

  std::map<std::string, std::vector<std::string>> parameters;
  std::vector<std::string> history;
  std::vector<std::string> filter_answer;  // "DevicesFilter" given by each filter run
};

class FakeModule : public morva_service::ModuleInterfaceView {
 public:
  ~FakeModule() override {
    for (FakeDevice* d : devices) delete d;
  }
  FakeDevice& Add(const std::string& id, const std::string& name, bool ssd = false) {
    devices.push_back(new FakeDevice(id, name, ssd));
    return *devices.back();
  }
  const OptionMap& diagnostic_options() const override { return options_; }
  const OptionMap& test_options() const override { return options_; }
  std::string help() const override { return ""; }
  std::string name() const override { return "storage"; }
  std::vector<morva_service::SystemComponentView*> system_components() const override {
    return std::vector<morva_service::SystemComponentView*>(devices.begin(), devices.end());
  }
  std::vector<morva_service::ToolView*> tools() const override { return {}; }
  std::vector<morva_service::DiagnosticView*> diagnostics() const override { return {}; }
  morva_service::SystemComponentView* system_component(size_t index) const override {
    return index < devices.size() ? devices[index] : nullptr;
  }
  size_t system_component_count() const override { return devices.size(); }
  bool CheckForComponents() override { return true; }
  int Scan() override {
    ++scans;
    return 0;
  }
  morva_service::ProductVersion* version() const override { return nullptr; }

  std::vector<FakeDevice*> devices;
  int scans = 0;

 private:
  OptionMap options_;
};

class FakeService : public morva_service::MorvaService {
 public:
  std::vector<morva_service::ModuleInterfaceView*>* LoadModules() override { return nullptr; }
  std::vector<morva_service::ModuleInterfaceView*>* loaded_modules() override { return nullptr; }
  void UnloadModules() override {}
  bool LoadModuleInterfaceByName(std::string, std::string&) override { return false; }
  void set_suite_listener(morva_service::SuiteListenerView*) override {}
  morva_service::SuiteListenerView* suite_listener() override { return nullptr; }
  void set_test_listener(morva_service::TestListenerView*) override {}
  morva_service::TestListenerView* test_listener() override { return nullptr; }
  void Execute(morva_service::ModuleInterfaceView*, morva_service::SystemComponentView*,
               std::vector<morva_service::DiagnosticRun>, int64_t) override {}
  void ExecuteTool(morva_service::ToolView* tool, morva_service::ToolListenerView*,
                   std::vector<morva_service::SystemComponentView*> devices) override {
    FakeTool* fake = static_cast<FakeTool*>(tool);
    ++tool_runs;
    devices_given = devices.size();
    fake->SetParameter("DevicesFilter", fake->filter_answer);
  }
  void AbortTool(morva_service::ToolView*) override {}
  void Abort() override {}
  morva_service::ProductVersion* product_version() override { return nullptr; }

  int tool_runs = 0;
  size_t devices_given = 0;
};

}  // namespace mdrtest
