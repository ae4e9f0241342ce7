// Exit statuses of kolv_cli: the one result the console host reports to a script or a
// supervising program. The README lists them for users.
#pragma once

namespace kolv_exit {

constexpr unsigned kSuccess = 0;              // done, information shown, tool ran, background started
constexpr unsigned kNoLockObject = 1;         // the single-instance lock object could not be made
constexpr unsigned kPlatformUnavailable = 2;  // no diagnostics service, module list, account
                                              // object or console interrupt, or the engine failed
                                              // a device scan, a run, or a run's log entry
constexpr unsigned kNotAdministrator = 3;
constexpr unsigned kAlreadyRunning = 4;       // another instance holds the single-instance lock
constexpr unsigned kCommandLineError = 5;     // the command line was refused
constexpr unsigned kOutputFileError = 6;      // the -o file cannot be opened, or output to it or to
                                              // standard output was lost
constexpr unsigned kBackgroundLaunchFailed = 7;
constexpr unsigned kTestFailed = 21;
constexpr unsigned kTestWarning = 22;
constexpr unsigned kTestNotApplicable = 23;   // also: nothing applicable was run
constexpr unsigned kTestInvalid = 24;
constexpr unsigned kTestCancelled = 25;
constexpr unsigned kModuleNotLoaded = 30;
constexpr unsigned kDevicesMissing = 31;
constexpr unsigned kDiagnosticNotOffered = 32;
constexpr unsigned kToolNotOffered = 34;
constexpr unsigned kToolUnavailable = 35;     // the tool's plug-in is missing or unusable

// Weight of a result status when several are merged into one; heavier outcomes win and any
// other status weighs nothing. Modules that are not loaded and devices that could not be scanned
// or found outweigh a pass so that no module order hides them.
inline int ResultWeight(unsigned status) {
  switch (status) {
    case kTestFailed: return 9;
    case kTestWarning: return 8;
    case kTestCancelled: return 7;
    case kPlatformUnavailable: return 6;
    case kModuleNotLoaded: return 5;
    case kDevicesMissing: return 4;
    case kSuccess: return 3;
    case kTestInvalid: return 2;
    case kTestNotApplicable: return 1;
    default: return 0;
  }
}

}  // namespace kolv_exit
