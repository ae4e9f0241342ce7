// Loading and running a module's tool plug-in ("<tool name>_cli" beside the program).
#pragma once

#include <string>

#include "cli/cli_application.h"

// "Bad|Sectors" -> "badsectors_cli" with the platform's suffix. Empty when the name cannot make
// a safe file name (a separator, "..", nothing left).
std::string ToolPluginFileName(const std::string& tool_name);
// Absolute path in the program's folder; empty when the name is refused.
std::string ToolPluginPath(const std::string& tool_name);
// Whether the plug-in loads and can be launched (has GetToolCli).
bool ToolPluginAvailable(const std::string& tool_name);

// Runs the tool chosen by -T; the plug-in's result becomes the exit status.
void LaunchToolCli(CliApplication& app, int argc, char** argv);
