// Information output of kolv_cli: help, versions, modules, and per chosen module its help,
// version, devices with their resources, tools and diagnostics.
#pragma once

#include <string>

#include "cli/cli_application.h"

extern const char kProgramName[];

void ShowInformation(CliApplication& app);
void ShowGeneralHelp(CliApplication& app);
void ShowVersions(CliApplication& app);
void ShowAllModuleVersions(CliApplication& app);
void ShowModuleList(CliApplication& app);
void ShowModuleHelp(CliApplication& app, ModuleInterfaceView* module);
void ShowModuleVersion(CliApplication& app, ModuleInterfaceView* module);
void ShowDevices(CliApplication& app, ModuleSelection& selection);
void ShowDeviceResources(CliApplication& app, SystemComponentView* device,
                         ModuleInterfaceView* module);
void ShowTools(CliApplication& app, ModuleSelection& selection);
void ShowToolEntry(CliApplication& app, ToolView* tool, const std::string& module_name);
void ShowDiagnostics(CliApplication& app, ModuleInterfaceView* module);
// Scans the module's devices on the service thread, with the spinner line meanwhile. False when
// an interrupt came first: the exit status then says cancelled, and app.scan_abandoned is set
// when a scan was left running. A scan the engine failed is told, merged into the exit status
// and marks the selection (scan_failed).
bool ScanModuleDevices(CliApplication& app, ModuleSelection& selection);
SystemComponentView* FindScannedDevice(const ModuleSelection& selection, const std::string& id);
// "a.b.c": low 16 bits of the first field, the second, low 32 bits of the third.
std::string TestIdentifierText(const morva_service::ItemIdentifier& identifier);
// "[Warning] " and text (shown as given) on one line, and an empty line after it when asked. In
// protocol mode the line goes to standard error: a supervisor reads there why a status is not 0.
void ShowWarning(CliApplication& app, const std::string& text, bool blank_line);
// The same for a display key, with the empty line.
void PrintWarningLine(CliApplication& app, const std::string& key);
