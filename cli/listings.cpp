#include "cli/listings.h"

#include <cstdio>

#include "cli/console_interrupt.h"
#include "cli/engine_text.h"
#include "cli/exit_status.h"
#include "cli/kolvio.h"
#include "cli/thread_manager.h"
#include "cli/tool_host.h"

const char kProgramName[] = "kolv_cli";

namespace {

const char kDottedRuler[] = "..............................................";  // 46

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return text;
}

std::string VersionText(const morva_service::ProductVersion& v) {
  return std::to_string(v.major_number()) + "." + std::to_string(v.minor_number()) + "." +
         std::to_string(v.build_number()) + "." + std::to_string(v.revision_number());
}

// The supervisor's abort request ends a scan's wait as an interrupt does. The waker is set
// before the request is looked at, so that none comes unseen in between. No sink: no supervisor.
class SupervisorAbortWakesTheWait {
 public:
  explicit SupervisorAbortWakesTheWait(MorvaStdio* protocol) : sink_(protocol) {
    if (!sink_) return;
    sink_->SetAbortWaker([] {
      SetCliInterrupted();
      ThreadManager::WakeWaiters();
    });
    if (sink_->AbortRequested()) SetCliInterrupted();
  }
  ~SupervisorAbortWakesTheWait() {
    if (sink_) sink_->SetAbortWaker(nullptr);
  }
  SupervisorAbortWakesTheWait(const SupervisorAbortWakesTheWait&) = delete;
  SupervisorAbortWakesTheWait& operator=(const SupervisorAbortWakesTheWait&) = delete;

 private:
  MorvaStdio* const sink_;
};

bool NoModuleLoaded(const CliApplication& app) { return !app.modules || app.modules->empty(); }

// Engine text, inside protocol fields or shown as text.
std::string Safe(const CliApplication& app, const std::string& text) {
  return (app.flags & kFlagProtocol) ? KOLVio::ProtocolField(text) : EngineText(text);
}

}  // namespace

std::string TestIdentifierText(const morva_service::ItemIdentifier& identifier) {
  return std::to_string(identifier.first & 0xFFFFu) + "." + std::to_string(identifier.second) + "." +
         std::to_string(identifier.third & 0xFFFFFFFFull);
}

void ShowWarning(CliApplication& app, const std::string& text, bool blank_line) {
  const std::string line = MorvaStdio::KeyToText("[|WARNING] ", false, true, true) + text;
  if (app.flags & kFlagProtocol) {
    // A reader that went away loses nothing.
    MorvaStdio errors(stderr, nullptr);
    errors.PrintRaw(line, true);
    if (errors.Finish() != kSinkDone) app.warnings_lost = true;
    return;
  }
  if (!app.sink) return;
  app.sink->PrintWide(line, true);
  if (blank_line) app.sink->NewLine();
}

void PrintWarningLine(CliApplication& app, const std::string& key) {
  ShowWarning(app, MorvaStdio::KeyToText(key, false, true, true), true);
}

void ShowInformation(CliApplication& app) {
  if (!(app.flags & kFlagInformation) || !app.sink) return;
  const bool none_chosen = app.module_selections.empty();
  if (app.flags & kFlagHelp) {
    if (none_chosen && NoModuleLoaded(app)) PrintWarningLine(app, "NO_AVAILABLE_MODULES");
    ShowGeneralHelp(app);
  }
  if (app.flags & kFlagVersion) {
    if (none_chosen && NoModuleLoaded(app)) PrintWarningLine(app, "NO_MODULE_LOADED");
    ShowVersions(app);
    if (none_chosen) ShowAllModuleVersions(app);
  }
  if (app.flags & kFlagModules) ShowModuleList(app);
  bool any_loaded = false;
  for (auto& entry : app.module_selections) {
    ModuleSelection& selection = *entry.second;
    if (!selection.module) continue;
    any_loaded = true;
    if (selection.listing & kListHelp) ShowModuleHelp(app, selection.module);
    if (selection.listing & kListVersion) ShowModuleVersion(app, selection.module);
    if (selection.listing & kListDevices) ShowDevices(app, selection);
    if (app.scan_abandoned) return;
    if (selection.listing & kListTools) ShowTools(app, selection);
    if (selection.listing & kListDiagnostics) ShowDiagnostics(app, selection.module);
  }
  if (!none_chosen && !any_loaded) ShowAllModuleVersions(app);
}

void ShowGeneralHelp(CliApplication& app) {
  if (!app.sink || !(app.flags & kFlagHelp)) return;
  const std::string p = kProgramName;
  std::string text;
  text += "\n> General options\n";
  text += "  Usage: " + p + " [option]\n";
  text += "  Options:\n";
  text += "    -A, --list-modules              Lists available modules\n";
  text += "    -h, --help                      Shows CLI general help\n";
  text += "    -v, --version                   Lists module(s) version\n";
  text += "    -o, --output                    Redirects CLI output to a file\n";
  text += "    -b, --background                Runs CLI in background mode\n\n";
  text += "> Module specific options\n";
  text += "  Usage: " + p + " -Mmodule_name [option]\n";
  text += "         " + p + " --module=module_name [option]\n";
  text += "  Options:\n";
  text += "    -h, --help                      Shows the help of the selected module\n";
  text += "    -L, --list-diagnostics          Lists diagnostics of the selected module(s)\n";
  text += "    -D, --list-devices              Lists devices of chosen module(s)\n";
  text += "    -R, --list-resources            Lists devices resources of chosen module(s)\n";
  text += "    -S, --list-tools                Lists tools of chosen module(s)\n";
  text += "    -T[hint], --tool=[hint]         Executes a tool of the chosen module\n\n";
  text += "> Perform diagnostics\n";
  text += "  Usage: " + p + " [module] [device id(s)] [diagnostic]\"[test(s)]\"\n";
  text += "    -M[module_name]                 Performs default diagnostic of the module\n";
  text += "    -M[module_name] [Diagnostic]    Perform all tests of the diagnostic\n\n";
  text += "  Example:\n";
  text += "   => Perform tests f and r of diagnostic Q on devices 0 and 1 of the storage module\n";
  text += "      " + p + " -Mstorage 0 1 -Q\"f,r\"";
  if (!NoModuleLoaded(app)) {
    std::string names;
    for (ModuleInterfaceView* module : *app.modules) {
      if (!module) continue;
      if (!names.empty()) names += ", ";
      names += Lower(EngineText(module->name()));
    }
    text += "\n\n> Available module(s): " + names;
  }
  app.sink->PrintRaw(text, true);
  app.sink->NewLine();
}

void ShowVersions(CliApplication& app) {
  if (!app.sink || !(app.flags & kFlagVersion) || !app.product_version) return;
  app.sink->PrintTitle("  |C|L|I - VERSION " + VersionText(*app.product_version), true);
}

void ShowModuleVersion(CliApplication& app, ModuleInterfaceView* module) {
  if (!app.sink || !(app.flags & kFlagVersion) || !module) return;
  const morva_service::ProductVersion* version = module->version();
  if (!version) return;
  app.sink->PrintTitle("  " + EngineText(module->name()) + " - VERSION " + VersionText(*version), true);
}

void ShowAllModuleVersions(CliApplication& app) {
  if (!app.modules) return;
  for (ModuleInterfaceView* module : *app.modules) ShowModuleVersion(app, module);
}

void ShowModuleList(CliApplication& app) {
  if (!app.sink) return;
  if (NoModuleLoaded(app)) {
    PrintWarningLine(app, "NO_MODULE_LOADED");
    return;
  }
  app.sink->PrintRaw("> Available Modules", true);
  for (ModuleInterfaceView* module : *app.modules) {
    if (!module) continue;
    const std::string name = Lower(EngineText(module->name()));
    app.sink->PrintRaw("  - " + name, true);
    if (app.flags & kFlagProtocol) app.sink->PrintField("MODULE_NAME", Safe(app, name), true);
  }
  const std::string p = kProgramName;
  app.sink->PrintRaw(std::string("\n") + "> See help of a module\n" + "  Usage: " + p +
                         " -Mmodule_name -h\n" + "  Examples:\n" + "    => See storage help\n" +
                         "           " + p + " -Mstorage -h\n",
                     true);
}

void ShowModuleHelp(CliApplication& app, ModuleInterfaceView* module) {
  if (!app.sink || !(app.flags & kFlagHelp) || !module) return;
  app.sink->PrintRaw("> ", false);
  app.sink->PrintRaw(EngineText(module->help()), true);
  app.sink->NewLine();
}

bool ScanModuleDevices(CliApplication& app, ModuleSelection& selection) {
  if (!selection.module) return true;
  const std::string name = selection.module->name();
  MorvaStdio* const supervisor = (app.flags & kFlagProtocol) ? app.sink : nullptr;
  const SupervisorAbortWakesTheWait supervisor_abort(supervisor);
  // After an interrupt no new scan starts.
  if (!CliInterrupted()) {
    ThreadManager& manager = ThreadManager::Instance();
    manager.SetModule(selection.module);
    manager.PostScan(app.scan_record.get());
    if (app.sink) app.sink->ScanProgress(name, false);
    // Redraw the spinner every half second while the service thread scans.
    while (!manager.WaitForScan(app.scan_record.get(), 500))
      if (app.sink) app.sink->ScanProgress(name, false);
    if (app.scan_record->done.load() != 0) {
      selection.scanned_devices = selection.module->system_components();
      selection.scanned = true;
      if (app.sink) app.sink->ScanProgress(name, true);
      const auto failure = static_cast<int64_t>(app.scan_record->result.load());
      selection.scan_failed = failure != 0;
      if (selection.scan_failed) {
        // Not "no devices": nothing is known about them, and the command did not do its work.
        selection.scanned_devices.clear();
        app.outcome.Report(kolv_exit::kPlatformUnavailable);
        PrintWarningLine(app, "DEVICE_SCAN_FAILED: " + std::to_string(failure));
      }
      return true;
    }
    // The service thread is still in the scan: it cannot be waited for.
    app.scan_abandoned = true;
  }
  app.outcome.Report(kolv_exit::kTestCancelled);
  if (app.sink) {
    app.sink->NewLine();
    PrintWarningLine(app, "DEVICE_SCAN_ABORTED");
  }
  return false;
}

SystemComponentView* FindScannedDevice(const ModuleSelection& selection, const std::string& id) {
  for (SystemComponentView* device : selection.scanned_devices)
    if (device && device->id() == id) return device;
  return nullptr;
}

void ShowDevices(CliApplication& app, ModuleSelection& selection) {
  if (!ScanModuleDevices(app, selection)) return;
  if (!app.sink || !(selection.listing & kListDevices) || selection.scan_failed) return;
  app.sink->NewLine();
  app.sink->Ruler();
  if (selection.scanned_devices.empty()) {
    app.sink->PrintRaw(
        MorvaStdio::KeyToText("NO_DEVICES_FOUND_FOR_THIS_MODULE", false, true, true), true);
    app.sink->NewLine();
    return;
  }
  bool first = true;
  for (SystemComponentView* device : selection.scanned_devices) {
    if (!device) continue;
    if (!first) {
      app.sink->NewLine();
      app.sink->Ruler();
    }
    first = false;
    ShowDeviceResources(app, device, selection.module);
  }
  app.sink->NewLine();
}

void ShowDeviceResources(CliApplication& app, SystemComponentView* device,
                         ModuleInterfaceView* module) {
  if (!app.sink || !device) return;
  const bool protocol = (app.flags & kFlagProtocol) != 0;
  if (protocol && (app.flags & kFlagRun)) return;
  MorvaStdio& sink = *app.sink;
  sink.PrintField("ID", Safe(app, device->id()), true);
  const morva_service::SystemComponentInformation information = device->information();
  sink.PrintField("DISPLAY_NAME", Safe(app, information.display_name), true);
  for (const auto& row : information.properties)
    sink.PrintField(Safe(app, row.first), Safe(app, row.second), true);

  if (protocol && module) {
    const auto& options = module->test_options();
    for (DiagnosticView* diagnostic : module->diagnostics()) {
      if (!diagnostic) continue;
      for (TestView* test : diagnostic->tests()) {
        if (!test) continue;
        auto option = options.find(test->identifier());
        if (option == options.end() || !option->second) continue;
        sink.PrintField("TEST_" + Safe(app, test->name()),
                        TestIdentifierText(test->identifier()) + ":::" +
                            Safe(app, option->second->letter()) +
                            ":::" + (test->SupportsComponent(device) ? "1" : "0"),
                        true);
      }
    }
  }

  if (!(app.flags & kFlagResources)) return;
  std::vector<morva_service::SystemComponentResource> resources;
  device->resources(resources);
  if (resources.empty()) return;
  sink.PrintRaw(kDottedRuler, true);
  sink.PrintTitle("RESOURCES", true);
  sink.PrintRaw(kDottedRuler, true);
  for (size_t i = 0; i < resources.size(); ++i) {
    if (i) sink.PrintRaw(kDottedRuler, true);
    if (!protocol)
      sink.PrintField(MorvaStdio::KeyToText("RESOURCE_TYPE", true, true, true),
                      EngineText(resources[i].name), true);
    for (const auto& row : resources[i].properties)
      sink.PrintField(Safe(app, row.first), Safe(app, row.second), true);
  }
}

void ShowTools(CliApplication& app, ModuleSelection& selection) {
  if (!app.sink || !selection.module) return;
  selection.tools = selection.module->tools();
  MorvaStdio& sink = *app.sink;
  // A tool shows only when its plug-in loads with its entry points; when none does, the listing
  // says so instead. A module without tools gets its heading and the plain note.
  std::vector<ToolView*> usable;
  bool any_tool = false;
  for (ToolView* tool : selection.tools) {
    if (!tool) continue;
    any_tool = true;
    if (ToolPluginAvailable(tool->name())) usable.push_back(tool);
  }
  if (any_tool && usable.empty()) {
    sink.Print("[|WARNING] ", false, true, true, true);
    sink.Print("NO_TOOLS_FOUND_IN_THIS_MODULE", true, true, false, true);
    return;
  }
  if (!(selection.listing & kListTools)) return;
  sink.PrintText(EngineText(selection.module->name()) + " tools:", true);
  if (usable.empty())
    sink.PrintRaw(MorvaStdio::KeyToText("NO_TOOLS_FOUND_IN_THIS_MODULE", false, true, true), true);
  for (ToolView* tool : usable) ShowToolEntry(app, tool, selection.module->name());
  sink.Ruler();
  sink.NewLine();
}

void ShowToolEntry(CliApplication& app, ToolView* tool, const std::string& module_name) {
  if (!app.sink || !tool) return;
  MorvaStdio& sink = *app.sink;
  sink.NewLine();
  sink.PrintRaw(" => ", false);
  sink.PrintTitle(EngineText(tool->name()), true);
  sink.PrintRaw("\t" + MorvaStdio::KeyToText("DESCRIPTION", true, true, true) + "\t" +
                    MorvaStdio::KeyToText(EngineText(tool->description()), false, true, true),
                true);
  sink.PrintRaw("\t" + MorvaStdio::KeyToText("HINT", true, true, true) + "\t\t" + EngineText(tool->hint()),
                true);
  sink.PrintRaw(std::string("\tMore info\t") + kProgramName + " -M" +
                    MorvaStdio::KeyToText(EngineText(module_name), false, false, true) + " -T" +
                    EngineText(tool->hint()),
                true);
}

void ShowDiagnostics(CliApplication& app, ModuleInterfaceView* module) {
  if (!app.sink || !module) return;
  MorvaStdio& sink = *app.sink;
  const bool protocol = (app.flags & kFlagProtocol) != 0;
  sink.PrintText("DIAGNOSTICS - " + EngineText(module->name()) + " MODULE", true);
  std::string text;
  for (DiagnosticView* diagnostic : module->diagnostics()) {
    if (!diagnostic) continue;
    text += "  - " + MorvaStdio::KeyToText(EngineText(diagnostic->name()), true, true, true) + " " +
            MorvaStdio::KeyToText("TESTS", false, false, true) + ":\n";
    for (TestView* test : diagnostic->tests()) {
      if (!test) continue;
      text += "\t" + MorvaStdio::KeyToText(EngineText(test->name()), true, true, true) + "\n";
      if (protocol)
        sink.PrintField(Safe(app, test->name()), TestIdentifierText(test->identifier()), true);
    }
  }
  sink.PrintRaw(text, true);
}
