// The diagnostics engine: one instance per process, shared by the host and its plug-ins.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "morva_service/input_request.h"
#include "morva_service/listeners.h"
#include "morva_service/types.h"
#include "morva_service/views.h"

namespace morva_service {

// One test to run, with its command-line parameters (the GUI passes none).
struct TestRun {
  TestView* test = nullptr;
  std::vector<std::string> parameters;
};

// The tests chosen for one diagnostic, in the order they run.
struct DiagnosticRun {
  DiagnosticView* diagnostic = nullptr;
  std::vector<TestRun> tests;
};

class MorvaService {
 public:
  virtual ~MorvaService() = default;

  // Loads every module of the catalogue. Null when no module could be loaded.
  virtual std::vector<ModuleInterfaceView*>* LoadModules() = 0;
  // What the last LoadModules returned (null before it or after UnloadModules).
  virtual std::vector<ModuleInterfaceView*>* loaded_modules() = 0;
  // Every object handed out before becomes invalid.
  virtual void UnloadModules() = 0;
  // Loads one module by name. false with a reason when there is none.
  virtual bool LoadModuleInterfaceByName(std::string module_name, std::string& error_message) = 0;

  virtual void set_suite_listener(SuiteListenerView* listener) = 0;
  virtual SuiteListenerView* suite_listener() = 0;
  virtual void set_test_listener(TestListenerView* listener) = 0;
  virtual TestListenerView* test_listener() = 0;

  // Runs one device's suite and returns when it is over; the listeners are called meanwhile on
  // the calling thread. Appends one entry to the diagnostics log under group number group.
  // Clears an abort that was asked for before the call.
  virtual void Execute(ModuleInterfaceView* module, SystemComponentView* device,
                       std::vector<DiagnosticRun> selection, int64_t group) = 0;
  // Runs a tool with the parameters set on it before; listener may be null.
  virtual void ExecuteTool(ToolView* tool, ToolListenerView* listener,
                           std::vector<SystemComponentView*> devices) = 0;
  // From any thread: end the running tool / suite early.
  virtual void AbortTool(ToolView* tool) = 0;
  virtual void Abort() = 0;

  virtual ProductVersion* product_version() = 0;
};

}  // namespace morva_service

// Null when the engine cannot be loaded. Every call returns the same instance; the last
// matching release frees it.
morva_service::MorvaService* GetMorvaServiceInstance();
void ReleaseMorvaServiceInstance();
