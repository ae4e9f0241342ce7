#include "cli/tool_host.h"

#include <cstdio>
#include <cstdlib>

#include "cli/engine_text.h"
#include "cli/exit_status.h"
#include "cli/listings.h"
#include "cli/module.h"
#include "cli/startup.h"
#include "cli/tool_cli.h"
#include "cli/tool_stdio.h"
#include "kolv_os/os.h"
#include "zerka/zerka.h"

namespace {

// The run whose tool plug-in is in its Run.
CliApplication* g_tool_app = nullptr;

void ReportToolProblem(CliApplication& app, const std::string& key, const std::string& detail) {
  app.outcome.Decide(kolv_exit::kToolUnavailable);
  if (!app.sink) return;
  app.sink->PrintText("[|WARNING] ", false);
  app.sink->PrintText(key + ": ", false);
  app.sink->PrintRaw(detail, true);
}

}  // namespace

std::string ToolPluginFileName(const std::string& tool_name) {
  const std::string stem = MorvaStdio::KeyToText(tool_name, false, false, false);
  if (stem.empty() || stem.find('/') != std::string::npos ||
      stem.find('\\') != std::string::npos || stem.find("..") != std::string::npos)
    return std::string();
  return kolv_os::PluginFileName(stem + "_cli");
}

std::string ToolPluginPath(const std::string& tool_name) {
  const std::string file = ToolPluginFileName(tool_name);
  ZerkaFilesystem* fs = get_filesystem();
  if (file.empty() || !fs) return std::string();
  return kolv_os::JoinPath(fs->ApplicationDirectory(), file);
}

bool ToolPluginAvailable(const std::string& tool_name) {
  const std::string path = ToolPluginPath(tool_name);
  if (path.empty()) return false;
  Module* loader = GetModuleLoader();
  void* handle = loader->LoadByName(path.c_str(), 1);
  if (!handle) return false;
  // As a launch needs: one without ReleaseToolCli still runs, its object kept.
  const bool usable = loader->GetSymbol(handle, "GetToolCli") != nullptr;
  // One that can run stays loaded, as after a run.
  if (!usable) loader->Unload(handle);
  return usable;
}

void LaunchToolCli(CliApplication& app, int argc, char** argv) {
  if (!app.tool) {
    ReportToolProblem(app, "NO_TOOL_CHOSEN", app.tool_hint);
    return;
  }
  const std::string path = ToolPluginPath(app.tool->name());
  if (path.empty()) {
    ReportToolProblem(app, "TOOL_NAME_NOT_USABLE_AS_A_FILE_NAME", EngineText(app.tool->name()));
    return;
  }
  Module* loader = GetModuleLoader();
  void* handle = loader->LoadByName(path.c_str(), 1);
  if (!handle) {
    ReportToolProblem(app, "TOOL_PLUG-IN_CANNOT_BE_LOADED", path + " (" + loader->LastError() + ")");
    return;
  }
  auto get_tool = reinterpret_cast<GetToolCliFunction>(loader->GetSymbol(handle, "GetToolCli"));
  if (!get_tool) {
    ReportToolProblem(app, "TOOL_PLUG-IN_HAS_NO_ENTRY_POINT", path + " (GetToolCli)");
    return;
  }
  ToolCli* tool = get_tool(app.tool_module, app.tool);
  if (!tool) {
    ReportToolProblem(app, "TOOL_PLUG-IN_GAVE_NO_TOOL", path);
    return;
  }
  tool->SetProperty({"BOOTABLE", app.bootable ? "TRUE" : "FALSE"});
  g_tool_app = &app;
  const int result = tool->Run(argc, argv);
  g_tool_app = nullptr;
  auto release = reinterpret_cast<ReleaseToolCliFunction>(loader->GetSymbol(handle, "ReleaseToolCli"));
  if (release) release(tool);
  // The library stays loaded: the tool may have left threads or callbacks behind.
  app.outcome.Decide(result < 0 ? 1u : static_cast<unsigned>(result));
  if (ToolStdio::Instance().Finish() != kSinkDone) app.outcome.ReportError(kolv_exit::kOutputFileError);
}

void EndToolRunWithoutWaiting(int status) {
  EndWithoutWaiting(g_tool_app, static_cast<unsigned>(status));
}
