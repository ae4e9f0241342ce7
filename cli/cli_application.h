// The console host's state: one object built by main, filled by the command-line parser and
// read by the listings, the runner and the tool launch.
#pragma once

#include <getopt.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/morva_stdio.h"
#include "cli/run_outcome.h"
#include "cli/selections.h"
#include "cli/unique_text_list.h"
#include "morva_service/morva_service.h"
#include "zerka/zerka.h"

// Option flags of the CliApplication.
enum CliFlag : uint32_t {
  kFlagHelp = 0x1,
  kFlagVersion = 0x2,
  kFlagModules = 0x4,
  kFlagDevices = 0x8,
  kFlagResources = 0x10,
  kFlagDiagnostics = 0x20,
  kFlagProtocol = 0x40,
  kFlagDeviceIds = 0x80,
  kFlagInformation = 0x100,
  kFlagRun = 0x200,
  kFlagGroup = 0x400,
  kFlagTools = 0x800,
  kFlagTool = 0x1000,
  kFlagOutputFile = 0x2000,
  kFlagBackgroundParent = 0x4000,
  kFlagBackgroundChild = 0x8000,
};

// Done flag and result of a device scan run on the service thread.
struct ScanRecord {
  std::atomic<uint8_t> done{0};
  std::atomic<uint64_t> result{0};
};

class CliSuiteListener;
class CliTestListener;
class RunEventQueue;

class CliApplication {
 public:
  // With connect_service the service thread is started and the service and its modules are
  // taken from it; without, the caller fills modules itself (tests).
  explicit CliApplication(bool connect_service = true);
  ~CliApplication();
  CliApplication(const CliApplication&) = delete;
  CliApplication& operator=(const CliApplication&) = delete;

  ModuleSelection* FindSelection(const std::string& name) const;
  bool connected() const { return connected_; }

  std::vector<ModuleInterfaceView*>* modules = nullptr;  // not owned
  MorvaStdio* sink = nullptr;                             // owned
  ZerkaSignalHandler* signal_handler = nullptr;
  ZerkaStringHandler* string_handler = nullptr;
  ZerkaNumberHandler* number_handler = nullptr;
  ZerkaTimer* timer = nullptr;
  std::unique_ptr<ScanRecord> scan_record;
  CliSuiteListener* suite_listener = nullptr;
  CliTestListener* test_listener = nullptr;
  std::unique_ptr<morva_service::ProductVersion> product_version;
  std::vector<std::pair<std::string, ModuleSelection*>> module_selections;  // owned
  std::vector<option> long_options;
  uint32_t flags = 0;
  UniqueTextList warnings;
  std::string current_module;
  int module_option_index = -1;
  int64_t group_id = 0;
  std::string short_options;
  bool cancel_seen = false;
  RunEventQueue* event_queue = nullptr;
  UniqueTextList duplicated_modules;
  UniqueTextList duplicated_global_devices;
  UniqueTextList duplicated_tests;
  UniqueTextList tests_taken_as_devices;
  UniqueTextList ignored_test_arguments;
  std::string tool_hint;
  ToolView* tool = nullptr;
  ModuleInterfaceView* tool_module = nullptr;
  RunOutcome outcome;
  // A protocol warning could not be written to standard error: lost output, counted at the end.
  bool warnings_lost = false;
  // An interrupt came during a device scan, which the engine cannot stop: the program ends
  // without waiting for the service thread.
  bool scan_abandoned = false;
  bool bootable = false;
  // Why the console interrupt could not be taken (an errno value); 0 when it was.
  int interrupt_error = 0;
  std::string output_file;
  std::vector<std::string> argument_copy;  // argv before getopt reordered it
  std::set<const char*> consumed_words;    // argv words taken as the value of -o

  // Storage behind the option table: names of the diagnostic long options.
  std::vector<std::unique_ptr<char[]>> long_option_names;
  // -M options in argument order: (index in the original argument vector, module name).
  std::vector<std::pair<int, std::string>> module_scopes;

 private:
  bool connected_ = false;
  bool service_started_ = false;
};

unsigned ExitStatus(const CliApplication& app);
// "\nCLI Execution status: N", which ends the background copy's output file.
std::string FinalStatusLine(unsigned status);
// That line on the sink, with app's status.
void WriteFinalStatus(CliApplication& app);
