// The main-thread side of a diagnostics run: per module the run list of devices, diagnostics and
// tests, and one suite per device on the service thread, whose events DeviceRunPrinter prints.
#pragma once

#include "cli/cli_application.h"

void RunSelectedModules(CliApplication& app);
