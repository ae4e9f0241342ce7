// Start-up of kolv_cli: rights and single-instance checks, the parse, the output sink, and the
// dispatch to a background launch, a tool, the listings or a diagnostics run.
#pragma once

#include "cli/cli_application.h"

// 0 to go on; nonzero to stop with app's exit status.
int PrepareRun(CliApplication& app, int argc, char** argv);
// The result of the sink's Start, or kOutputSinkFailed when the output file cannot be opened.
int ChooseOutputSink(CliApplication& app);
constexpr int kOutputSinkFailed = 173;

// The engine cannot stop a device scan, and waiting for the service thread would wait for the
// scan: the program ends here with status, its output written out. app may be null.
[[noreturn]] void EndWithoutWaiting(CliApplication* app, unsigned status);

// The whole program: returns the process exit status.
int RunCli(int argc, char** argv);
