// The engine object behind GetMorvaServiceInstance.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue.h"
#include "device_object.h"
#include "log_entry.h"
#include "module_object.h"
#include "morva_service/morva_service.h"
#include "tool_object.h"

namespace morva_service {
namespace detail {

class Service : public MorvaService {
 public:
  Service(Catalogue catalogue, double time_scale);
  ~Service() override;

  std::vector<ModuleInterfaceView*>* LoadModules() override;
  std::vector<ModuleInterfaceView*>* loaded_modules() override;
  void UnloadModules() override;
  bool LoadModuleInterfaceByName(std::string module_name, std::string& error_message) override;

  void set_suite_listener(SuiteListenerView* listener) override { suite_listener_ = listener; }
  SuiteListenerView* suite_listener() override { return suite_listener_; }
  void set_test_listener(TestListenerView* listener) override { test_listener_ = listener; }
  TestListenerView* test_listener() override { return test_listener_; }

  void Execute(ModuleInterfaceView* module, SystemComponentView* device, std::vector<DiagnosticRun> selection,
               int64_t group) override;
  void ExecuteTool(ToolView* tool, ToolListenerView* listener, std::vector<SystemComponentView*> devices) override;
  void AbortTool(ToolView* tool) override;
  void Abort() override;

  ProductVersion* product_version() override { return &product_version_; }

 private:
  ModuleObject* FindLoaded(const ModuleInterfaceView* module);
  // The selection without the diagnostics and tests that no loaded module owns; counts them.
  std::vector<DiagnosticRun> LiveSelection(const std::vector<DiagnosticRun>& selection, size_t& dropped);
  // Callers hold mutex_. Pointers are only compared, never followed.
  ToolObject* FindToolLocked(const ToolView* tool) const;
  template <typename View>
  bool OwnedLocked(const View* object) const {
    for (const auto& module : modules_)
      if (module->Owns(object)) return true;
    return false;
  }
  TestStatus RunTest(TestView* test, const DiagnosticView* diagnostic, ModuleObject& module, DeviceObject& device,
                     const std::vector<std::string>& parameters, TestListenerView* listener, LogEntry& entry,
                     std::vector<MessageSpec>& logged);

  const Catalogue catalogue_;
  const double time_scale_;
  ProductVersion product_version_;

  std::mutex mutex_;  // guards the module list; never held while a listener runs
  bool loaded_ = false;
  std::vector<std::unique_ptr<ModuleObject>> modules_;
  std::vector<ModuleInterfaceView*> module_list_;

  std::atomic<SuiteListenerView*> suite_listener_{nullptr};
  std::atomic<TestListenerView*> test_listener_{nullptr};
  std::atomic<bool> abort_requested_{false};
};

}  // namespace detail
}  // namespace morva_service
