// Base class of kolv_cli's tool plug-ins. A plug-in library exports
//   extern "C" ToolCli* GetToolCli(ModuleInterfaceView* module, ToolView* tool);
//   extern "C" void ReleaseToolCli(ToolCli* tool);
// The host sets the property "BOOTABLE" ("TRUE"/"FALSE"), then calls Run with its own argc and
// argv; getopt's state stands just after the host's -T word, and the plug-in goes on parsing
// from there (glibc's getopt_long, optind not reset). Run does the whole tool run and returns
// the exit status of kolv_cli.
#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <utility>

#include "morva_service/morva_service.h"

class ToolCli {
 public:
  ToolCli();
  ToolCli(const ToolCli& other);
  virtual ~ToolCli();
  ToolCli& operator=(const ToolCli& other);

  virtual int Run(int argc, char** argv) = 0;
  virtual int Execute() = 0;

  // Adds a property; a name already present keeps its first value.
  void SetProperty(std::pair<std::string, std::string> property);
  // Empty when the property was never set.
  std::string GetProperty(const std::string& name) const;
  const std::map<std::string, std::string>& properties() const { return properties_; }

 protected:
  std::map<std::string, std::string> properties_;
};

// For a plug-in interrupted while the engine scans its devices, during Run: the scan cannot be
// stopped, so kolv_cli ends at once with status, its output written out, as after its own scans.
[[noreturn]] void EndToolRunWithoutWaiting(int status);
// Whether kolv_cli was interrupted, also before the plug-in took the console's signals over.
bool CliInterrupted();
// For a plug-in's own interrupt callback, which takes the host's place: the host counts the
// interrupt (CliInterrupted) and watches the output as on its own runs, so that a reader that
// takes nothing for a while ends the program with kTestCancelled.
void ToolInterrupted();
// Where a plug-in writes what it shows: standard output, with the host's rule for lost output
// (told once on standard error; a run that found nothing then ends with kOutputFileError).
std::ostream& ToolConsole();

extern "C" {
typedef ToolCli* (*GetToolCliFunction)(morva_service::ModuleInterfaceView* module,
                                       morva_service::ToolView* tool);
typedef void (*ReleaseToolCliFunction)(ToolCli* tool);
}
