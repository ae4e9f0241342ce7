#include "cli/startup.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/background.h"
#include "cli/cli_stdio_file.h"
#include "cli/cli_stdio_null.h"
#include "cli/command_line.h"
#include "cli/console_interrupt.h"
#include "cli/exit_status.h"
#include "cli/kolvio.h"
#include "cli/listings.h"
#include "cli/runner.h"
#include "cli/thread_manager.h"
#include "cli/tool_host.h"
#include "gui/logs/core/legacy_log_migration.h"
#include "kolv_os/os.h"

namespace {

const char kBannerRuler[] = "==========================================================";  // 58

void PrintBanner(MorvaStdio& sink) {
  sink.NewLine();
  sink.PrintRaw(kBannerRuler, true);
  sink.PrintRaw(" " + MorvaStdio::KeyToText("TARVEX_QUORSA_-_C|L|I", true, true, true), true);
  sink.PrintRaw(" " + MorvaStdio::KeyToText("PRESS_|E|S|C_TO_ABORT_THE_DIAGNOSTICS", true, true, true),
                true);
  sink.PrintRaw(kBannerRuler, true);
  sink.NewLine();
}

// Said before the output sink exists. A supervising program reads only tagged lines on
// standard output, so in protocol mode it is told on standard error.
void Say(bool protocol, const std::string& text) {
  FILE* stream = protocol ? stderr : stdout;
  std::fputs(text.c_str(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

// Ends the program before the output sink exists. The background copy's output goes nowhere:
// its -o file gets the reason and, as after a run, ends with the status, unless the copy that
// holds the lock writes the same file.
unsigned EndEarly(int argc, char** argv, bool on_errors, const std::string& text, unsigned status) {
  const EarlyOptions asked = AskedBeforeTheParse(argc, argv);
  Say(on_errors || asked.protocol, text);
  if (!HasBackgroundMarker(argc, argv) || asked.protocol || asked.output_file.empty())
    return status;
  CliStdioFile file(asked.output_file);
  file.DisableKeyboard(true);
  if (!file.WrittenElsewhere() && file.Start() == kSinkDone) {
    file.PrintRaw(text, true);
    file.Print(FinalStatusLine(status), false, false, false, false);
  }
  return status;
}

void ShowWarnings(CliApplication& app) {
  for (const std::string& warning : app.warnings.items()) ShowWarning(app, WarningText(warning), true);
}

}  // namespace

int ChooseOutputSink(CliApplication& app) {
  const bool child = (app.flags & kFlagBackgroundChild) != 0;
  if (app.flags & kFlagProtocol) {
    auto* protocol = new KOLVio();
    app.sink = protocol;
    // Without its reader the supervisor's abort request would never be heard.
    if (protocol->reader_status() != kSinkDone) return protocol->reader_status();
  } else if (app.flags & kFlagOutputFile) {
    auto* file = new CliStdioFile(app.output_file);
    app.sink = file;
    file->DisableKeyboard(child);
    if (file->Start() == kSinkDone) return kSinkDone;
    delete file;
    // The background copy has no console to fall back to.
    app.sink = child ? static_cast<MorvaStdio*>(new CliStdioNull()) : new MorvaStdio();
    app.sink->DisableKeyboard(child);
    app.sink->Start();
    return kOutputSinkFailed;
  } else if (child) {
    app.sink = new CliStdioNull();
  } else {
    app.sink = new MorvaStdio();
  }
  app.sink->DisableKeyboard(child);
  return app.sink->Start();
}

namespace {

// Without the service, its modules or the interrupt nothing can run; said before any sink exists.
int PlatformUnavailable(CliApplication& app, int argc, char** argv, bool on_errors,
                        const std::string& text) {
  app.outcome.Decide(EndEarly(argc, argv, on_errors, text, kolv_exit::kPlatformUnavailable));
  return 1;
}

int ParseAndValidate(CliApplication& app, int argc, char** argv, std::string& error) {
  int parsed = ParseCommandLine(app, argc, argv, error);
  // The test lists too are checked before the output file is opened: a refused command line
  // never touches it. The background copy could not show such an error, so the parent checks.
  if (parsed == 0 && !(app.flags & kFlagTool)) parsed = ValidateDiagnosticArguments(app, error);
  if (parsed != 0) app.flags &= ~kFlagOutputFile;  // a failed parse never writes to a file
  return parsed;
}

int StartBackground(CliApplication& app) {
  if (LaunchBackground(app, app.argument_copy) != 0) {
    app.outcome.Decide(kolv_exit::kBackgroundLaunchFailed);
    return 1;
  }
  // The copy runs, and its own output ends with its status. What it will warn about is
  // also said here, where the user is; lost, it counts as any lost output.
  app.outcome.Decide(kolv_exit::kSuccess);
  ReportWarnings(app);
  MorvaStdio console;
  for (const std::string& warning : app.warnings.items())
    console.PrintRaw(MorvaStdio::KeyToText("[|WARNING] ", false, true, true) + WarningText(warning),
                     true);
  if (console.Finish() != kSinkDone) app.outcome.ReportError(kolv_exit::kOutputFileError);
  return 0;
}

// Says why the command line was refused; true when the run ends here.
bool RefuseCommandLine(CliApplication& app, int parsed, const std::string& error) {
  ShowWarning(app,
              MorvaStdio::KeyToText(parsed == kParseFatal ? "FATAL_PARSING_ERROR:"
                                                          : "OUTPUT_REDIRECTION_ERROR:",
                                    false, true, true) +
                  " " + MorvaStdio::KeyToText(error, false, false, true),
              false);
  // A refused command line is never a success.
  app.outcome.ReportError(kolv_exit::kCommandLineError);
  if (parsed != kParseFatal && parsed != kOutputSinkFailed) return false;
  // They may tell why: a diagnostic letter the host keeps for itself, for one.
  ShowWarnings(app);
  app.flags |= kFlagHelp;
  ShowGeneralHelp(app);
  delete app.sink;
  app.sink = nullptr;
  return true;
}

}  // namespace

int PrepareRun(CliApplication& app, int argc, char** argv) {
  if (app.interrupt_error != 0)
    return PlatformUnavailable(app, argc, argv, true,
                               "The console interrupt cannot be set up: " +
                                   std::string(std::strerror(app.interrupt_error)));
  if (app.connected()) {
    if (!CliService())
      return PlatformUnavailable(app, argc, argv, false, "Cannot load the diagnostics service");
    app.modules = ThreadManager::Instance().loaded_modules();
  }
  app.sink = nullptr;
  app.flags = 0;
  if (!app.modules) return PlatformUnavailable(app, argc, argv, false, "Cannot load module(s)");

  std::string error;
  int parsed = ParseAndValidate(app, argc, argv, error);
  const int started = ChooseOutputSink(app);
  if (started == kSinkReaderNotStarted) {
    delete app.sink;
    app.sink = nullptr;
    return PlatformUnavailable(app, argc, argv, true,
                               "The abort request on standard input cannot be read");
  }
  WatchOutput(app.sink->OutputDescriptor());
  if (started == kOutputSinkFailed) {
    app.outcome.Decide(kolv_exit::kOutputFileError);
    error = "ERROR_OPENING_FILE";
    parsed = kOutputSinkFailed;
  } else if (parsed == 0) {
    if (app.flags & kFlagTool) return 0;  // the plug-in prints its own banner
    if ((app.flags & kFlagBackgroundParent) && started == kSinkDone) return StartBackground(app);
  }

  if (app.sink) PrintBanner(*app.sink);
  ReportWarnings(app);
  if (parsed != 0 && RefuseCommandLine(app, parsed, error)) return 1;
  ShowWarnings(app);
  return parsed;
}

void EndWithoutWaiting(CliApplication* app, unsigned status) {
  if (app) {
    delete app->sink;  // closes the output file and gives the terminal back
    app->sink = nullptr;
    WatchOutput(-1);
  }
  std::fflush(nullptr);
  // Not exit(): that would wait for the threads' static state. The console's quick-exit handler
  // gives the terminal back, also when a tool still holds a console of its own.
  std::quick_exit(static_cast<int>(status));
}

int RunCli(int argc, char** argv) {
  // Before anything opens a file: a closed standard stream must not be taken by the lock file.
  kolv_os::ReopenClosedStandardStreams();
  // A closed output pipe shows as a failed write, not as a killed process.
  std::signal(SIGPIPE, SIG_IGN);
  kolv_os::IgnoreFileSizeLimitSignal();

  ZerkaUserAccount* account = CreatUserAccountInstance();
  if (!account)
    return EndEarly(argc, argv, false, "Cannot check the user's rights",
                    kolv_exit::kPlatformUnavailable);
  const bool administrator = account->IsAdministrator();
  ReleaseUserAccountInstance(account);
  if (!administrator)
    return EndEarly(argc, argv, false, "Not Enough Privileges", kolv_exit::kNotAdministrator);

  ZerkaAppMutex* mutex = get_app_mutex();
  if (!mutex)
    return EndEarly(argc, argv, false, "The single-instance lock cannot be set up",
                    kolv_exit::kNoLockObject);
  const int locked = AcquireInstanceLock(mutex, HasBackgroundMarker(argc, argv));
  if (locked != 0) {
    const bool elsewhere = locked == ZerkaAppMutex::kHeldElsewhere;
    const std::string text =
        elsewhere ? "A Tarvex Diagnostics Tool is already running"
                  : "The single-instance lock cannot be set up: " + mutex->LockFilePath();
    release_app_mutex(mutex);
    return EndEarly(argc, argv, false, text,
                    elsewhere ? kolv_exit::kAlreadyRunning : kolv_exit::kNoLockObject);
  }

  MigrateLegacyLogs();

  unsigned status;
  {
    CliApplication app;
    const int prepared = PrepareRun(app, argc, argv);
    bool final_line = true;
    if (prepared == 0) {
      if (app.flags & kFlagBackgroundParent) {
        final_line = false;
      } else if (app.flags & kFlagTool) {
        LaunchToolCli(app, argc, argv);
        final_line = false;
      } else if (app.flags & kFlagInformation) {
        ShowInformation(app);
      } else if (app.flags & kFlagRun) {
        RunSelectedModules(app);
      }
    }
    if (final_line && (app.flags & kFlagOutputFile) && (app.flags & kFlagBackgroundChild))
      WriteFinalStatus(app);
    if ((app.sink && app.sink->Finish() != kSinkDone) || app.warnings_lost)
      app.outcome.ReportError(kolv_exit::kOutputFileError);
    status = ExitStatus(app);
    if (app.scan_abandoned) EndWithoutWaiting(&app, status);
  }
  std::fflush(stdout);
  release_app_mutex(mutex);
  return static_cast<int>(status);
}
