// What the command line chose: per module its devices and diagnostics, per diagnostic its tests
// with their parameters. Owned by the CliApplication.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/keyed_list.h"
#include "morva_service/morva_service.h"

using morva_service::DiagnosticView;
using morva_service::ModuleInterfaceView;
using morva_service::SystemComponentView;
using morva_service::TestView;
using morva_service::ToolView;

struct TestSelection {
  std::string name;            // TestView::name
  std::string parameter_text;  // the "(...)" part as typed, empty when none
  std::vector<std::string> parameters;
  TestView* test = nullptr;
};

struct DiagnosticSelection {
  std::string name;       // DiagnosticView::name
  std::string test_list;  // the option's argument, empty when none
  KeyedList<TestSelection> tests;
  bool all_tests = false;
  bool all_devices = false;
  DiagnosticView* diagnostic = nullptr;
};

struct DeviceSelection {
  std::string id;
  std::vector<DiagnosticSelection*> diagnostics;  // not owned: those whose list named this device
  bool global = false;                            // named as a word of the module scope
};

// One device's suite as the engine runs it: per diagnostic its tests with their parameters.
struct DeviceRecord {
  SystemComponentView* device = nullptr;
  std::vector<morva_service::DiagnosticRun> diagnostics;
};

// Listing flags of a module selection.
enum ModuleListing : uint32_t {
  kListHelp = 1,
  kListVersion = 2,
  kListDevices = 4,
  kListDiagnostics = 8,
  kListTools = 16,
};

struct ModuleSelection {
  ModuleSelection() = default;
  ModuleSelection(const ModuleSelection&) = delete;
  ModuleSelection& operator=(const ModuleSelection&) = delete;

  // A new diagnostic at the end of the command-line order.
  DiagnosticSelection* AddDiagnostic() {
    diagnostics.push_back(std::make_unique<DiagnosticSelection>());
    return diagnostics.back().get();
  }

  uint32_t listing = 0;
  KeyedList<DeviceSelection> devices;
  std::vector<std::unique_ptr<DiagnosticSelection>> diagnostics;  // in command-line order
  ModuleInterfaceView* module = nullptr;          // null: no loaded module has this name
  std::vector<DeviceRecord> run_list;
  bool scanned = false;
  bool scan_failed = false;  // the engine's scan returned an error: the devices are unknown
  std::vector<SystemComponentView*> scanned_devices;
  std::vector<ToolView*> tools;
  std::vector<std::string> missing_devices;
  bool default_diagnostic = false;
  bool global_devices = false;
};
