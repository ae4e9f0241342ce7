#include "cli/runner.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "cli/cli_listeners.h"
#include "cli/console_interrupt.h"
#include "cli/device_run_printer.h"
#include "cli/engine_text.h"
#include "cli/exit_status.h"
#include "cli/kolvio.h"
#include "cli/listings.h"
#include "cli/log_entry_check.h"
#include "cli/run_event_queue.h"
#include "cli/thread_manager.h"

namespace {

// Device ids in ascending order; numbers by their value, so "2" comes before "10".
bool IdBefore(const std::string& a, const std::string& b) {
  const bool a_digits = !a.empty() && std::all_of(a.begin(), a.end(), ::isdigit);
  const bool b_digits = !b.empty() && std::all_of(b.begin(), b.end(), ::isdigit);
  if (a_digits && b_digits && a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

void AddTests(morva_service::DiagnosticRun& into, const morva_service::DiagnosticRun& from) {
  for (const auto& test : from.tests) {
    bool present = false;
    for (const auto& existing : into.tests) present = present || existing.test == test.test;
    if (!present) into.tests.push_back(test);
  }
}

// The ids as they were typed.
void WarnIds(CliApplication& app, const std::string& key, const std::vector<std::string>& ids) {
  std::string text = MorvaStdio::KeyToText(key + ": ", false, true, true);
  for (size_t i = 0; i < ids.size(); ++i) text += (i ? ", " : "") + ids[i];
  ShowWarning(app, text, false);
}

// A module named without a diagnostic runs its first one, on every device, with all its tests.
void ChooseDefaultDiagnostic(ModuleSelection& selection) {
  ModuleInterfaceView* module = selection.module;
  if (!selection.default_diagnostic || module->diagnostics().empty()) return;
  DiagnosticSelection* chosen = selection.AddDiagnostic();
  chosen->diagnostic = module->diagnostics().front();
  chosen->name = chosen->diagnostic ? chosen->diagnostic->name() : std::string();
  chosen->all_tests = chosen->all_devices = true;
  selection.default_diagnostic = false;
}

using DiagnosticsPerDevice = std::map<std::string, std::vector<DiagnosticSelection*>>;

// Diagnostics for all devices go to the devices named in the module scope, or to every
// scanned device when none was named there.
DiagnosticsPerDevice DiagnosticsOfEachDevice(const ModuleSelection& selection) {
  DiagnosticsPerDevice per_device;
  for (const auto& device : selection.devices)
    per_device[device.first] = device.second->diagnostics;
  bool any_global = false;
  for (const auto& device : selection.devices) any_global = any_global || device.second->global;
  for (const auto& chosen : selection.diagnostics) {
    if (!chosen->all_devices || !chosen->diagnostic) continue;
    if (!any_global) {
      for (SystemComponentView* device : selection.scanned_devices)
        if (device) per_device[device->id()].push_back(chosen.get());
    } else {
      for (const auto& device : selection.devices)
        if (device.second->global) per_device[device.first].push_back(chosen.get());
    }
  }
  return per_device;
}

// A diagnostic that has not one test for a device, by the names the warning gives.
struct UnsupportedDiagnostic {
  std::string diagnostic;
  std::string device;
};

// The tests of one chosen diagnostic for one device; empty when it has none for the device.
morva_service::DiagnosticRun DiagnosticRunFor(const DiagnosticSelection& chosen,
                                              SystemComponentView* device, bool protocol) {
  morva_service::DiagnosticRun run;
  run.diagnostic = chosen.diagnostic;
  if (!chosen.all_tests) {
    for (const auto& test : chosen.tests)
      run.tests.push_back({test.second->test, test.second->parameters});
    return run;
  }
  for (TestView* test : chosen.diagnostic->tests())
    if (test && (protocol || test->SupportsComponent(device))) run.tests.push_back({test, {}});
  return run;
}

DeviceRecord DeviceRecordFor(SystemComponentView* device, const std::string& id,
                             const std::vector<DiagnosticSelection*>& chosen_list, bool protocol,
                             std::vector<UnsupportedDiagnostic>& unsupported) {
  DeviceRecord record;
  record.device = device;
  for (DiagnosticSelection* chosen : chosen_list) {
    if (!chosen || !chosen->diagnostic) continue;
    morva_service::DiagnosticRun run = DiagnosticRunFor(*chosen, device, protocol);
    if (chosen->all_tests && run.tests.empty()) {
      unsupported.push_back({chosen->name, id});
      continue;
    }
    auto existing = std::find_if(record.diagnostics.begin(), record.diagnostics.end(),
                                 [&](const morva_service::DiagnosticRun& d) {
                                   return d.diagnostic == run.diagnostic;
                                 });
    if (existing == record.diagnostics.end())
      record.diagnostics.push_back(run);
    else
      AddTests(*existing, run);
  }
  return record;
}

void WarnUnsupported(CliApplication& app, const std::vector<UnsupportedDiagnostic>& unsupported) {
  for (const UnsupportedDiagnostic& u : unsupported)
    ShowWarning(app,
                MorvaStdio::KeyToText(EngineText(u.diagnostic), false, true, true) +
                    " are not supported for device: " + EngineText(u.device),
                false);
}

void BuildDeviceRunList(CliApplication& app, ModuleSelection& selection) {
  selection.run_list.clear();
  selection.missing_devices.clear();
  if (!selection.module) return;
  ChooseDefaultDiagnostic(selection);
  DiagnosticsPerDevice per_device = DiagnosticsOfEachDevice(selection);
  std::vector<std::string> ids;
  for (const auto& entry : per_device) ids.push_back(entry.first);
  std::sort(ids.begin(), ids.end(), IdBefore);

  const bool protocol = (app.flags & kFlagProtocol) != 0;
  std::vector<UnsupportedDiagnostic> unsupported;
  for (const std::string& id : ids) {
    SystemComponentView* device = FindScannedDevice(selection, id);
    if (!device)
      selection.missing_devices.push_back(id);
    else
      selection.run_list.push_back(
          DeviceRecordFor(device, id, per_device[id], protocol, unsupported));
  }
  WarnUnsupported(app, unsupported);
}

// The module's block in the output, ended however the run leaves it.
class ModuleBlock {
 public:
  ModuleBlock(MorvaStdio& sink, const std::string& name) : sink_(sink) { sink_.BeginModule(name); }
  ~ModuleBlock() { sink_.EndModule(); }
  ModuleBlock(const ModuleBlock&) = delete;
  ModuleBlock& operator=(const ModuleBlock&) = delete;

 private:
  MorvaStdio& sink_;
};

// One module's suites, a device at a time on the service thread, their events printed here.
class ModuleRun {
 public:
  ModuleRun(CliApplication& app, ModuleSelection& selection, int test_count)
      : app_(app), selection_(selection), sink_(*app.sink), test_count_(test_count) {
    // An abort request that arrives on its own is acted on at once, not at the next poll.
    sink_.SetAbortWaker([this] { queue_.Wake(); });
    ThreadManager::Instance().SetGroupId(app.group_id);
  }
  ~ModuleRun() {
    queue_.Close();
    sink_.SetAbortWaker(nullptr);
  }
  ModuleRun(const ModuleRun&) = delete;
  ModuleRun& operator=(const ModuleRun&) = delete;

  void RunDevice(DeviceRecord& record) {
    if (sink_.AbortRequested()) AbortAsAsked();
    const LogEntryCheck log_check;
    RunEventQueue* events = &queue_;
    // The listeners are set on the service thread, just before its Execute, so they never
    // change under a running suite.
    ThreadManager::Instance().PostRun(
        selection_.module, record.device, record.diagnostics,
        [events](bool ran) {
          RunEvent done;
          done.kind = kEventExecuteReturned;
          done.status = ran ? 0 : 1;
          events->Push(done);
        },
        &suite_listener_, &test_listener_);
    DeviceRunPrinter printer(app_, selection_, queue_, test_listener_, test_count_);
    printer.Run();
    // The results shown are not all kept: never a success.
    if (printer.tests_finished() > 0 && !log_check.EntryWritten(app_.group_id)) {
      ShowWarning(app_,
                  MorvaStdio::KeyToText("THE_LOG_OF_THIS_RUN_IS_INCOMPLETE", false, true, true),
                  false);
      app_.outcome.Report(kolv_exit::kPlatformUnavailable);
    }
  }

 private:
  CliApplication& app_;
  ModuleSelection& selection_;
  MorvaStdio& sink_;
  const int test_count_;
  RunEventQueue queue_;
  CliSuiteListener suite_listener_{&queue_};
  CliTestListener test_listener_;
};

// Names the missing devices before anything else can end the run, so that nothing hides them;
// the other devices still run, and no pass of theirs outweighs the missing ones. False when
// nothing is left to run: every device named is missing, or the module has none.
bool ReportMissingDevices(CliApplication& app, const ModuleSelection& selection) {
  if (app.flags & kFlagProtocol)
    for (const std::string& id : selection.missing_devices)
      app.sink->PrintField("NOT_FOUND", KOLVio::ProtocolField(id), true);
  const bool no_devices = selection.scanned_devices.empty();
  if (no_devices) {
    ShowWarning(app, MorvaStdio::KeyToText("NO_DEVICES_FOUND_FOR_THIS_MODULE", false, true, true),
                false);
    app.outcome.Report(kolv_exit::kDevicesMissing);
  }
  if (!selection.missing_devices.empty()) {
    WarnIds(app,
            selection.run_list.empty() ? "FOLLOWING_DEVICE(S)_ARE_NOT_AVAILABLE" : "DEVICES_NOT_FOUND",
            selection.missing_devices);
    app.outcome.Report(kolv_exit::kDevicesMissing);
  }
  return !no_devices && !(selection.run_list.empty() && !selection.missing_devices.empty());
}

void RunDiagnostics(CliApplication& app, ModuleSelection& selection) {
  if (!selection.module || !CliService() || !app.sink) return;
  ModuleBlock block(*app.sink, selection.module->name());
  if (!ReportMissingDevices(app, selection)) return;
  size_t test_count = 0;
  for (const DeviceRecord& record : selection.run_list)
    for (const auto& diagnostic : record.diagnostics) test_count += diagnostic.tests.size();
  if (test_count == 0) {
    app.outcome.Report(kolv_exit::kTestNotApplicable);
    ShowWarning(app, "No selected diagnostics are applicable for the selected devices", false);
    return;
  }
  ModuleRun run(app, selection, static_cast<int>(test_count));
  for (DeviceRecord& record : selection.run_list)
    if (record.device && !record.diagnostics.empty()) run.RunDevice(record);
}

}  // namespace

void RunSelectedModules(CliApplication& app) {
  if (!(app.flags & kFlagRun)) return;
  for (auto& entry : app.module_selections) {
    ModuleSelection& selection = *entry.second;
    if (!selection.module) continue;
    if (!ScanModuleDevices(app, selection)) return;
    if (selection.scan_failed) continue;  // said and merged by the scan
    BuildDeviceRunList(app, selection);
    RunDiagnostics(app, selection);
    if (app.sink) app.sink->NewLine();
  }
}
