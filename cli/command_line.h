// kolv_cli's command-line grammar: fixed options plus one option per diagnostic of every loaded
// module, module scopes with device words, and the test-list language of diagnostic arguments.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_application.h"

// Results of the parser's steps.
enum ParseResult : int {
  kParseOk = 0,
  kParseFatal = 70,
  kParseNotATest = 72,  // a test-list item that names no test: it is taken as a device id
};

// Fills app from the command line. 0, or 70 with error holding a display key or a composed text.
// The getopt state is left where parsing stopped (just after -T for a tool).
int ParseCommandLine(CliApplication& app, int argc, char** argv, std::string& error);
// What the command line asks of the host's own options, judged by them alone: for what is said
// before the modules are loaded.
struct EarlyOptions {
  bool protocol = false;
  bool output = false;      // -o
  std::string output_file;  // its file; empty when none was given
};
EarlyOptions AskedBeforeTheParse(int argc, char** argv);
// The file named by the -o getopt just returned: its value, or the next word when that is no
// option. Null when none is named.
const char* OutputFileWord(int argc, char* const* words);
// Builds the short-option string and the long-option table from the loaded modules.
int BuildOptionTables(CliApplication& app);
// Reads every diagnostic's test list; 0 or 70.
int ValidateDiagnosticArguments(CliApplication& app, std::string& error);
// Turns the parser's lists into warnings and notes modules that are not loaded. A warning is a
// display key, followed by ": " and the words it is about when there are any.
void ReportWarnings(CliApplication& app);
// A warning as the user reads it: the key decoded, the words as they were typed or named.
std::string WarningText(const std::string& warning);

// The word without the white space around it.
std::string TrimmedWord(CliApplication& app, const std::string& text);
// Keeps text as the error and returns kParseFatal.
int ParseFatal(std::string& error, const std::string& text);

ModuleInterfaceView* FindLoadedModule(const CliApplication& app, const std::string& name);
DiagnosticView* FindDiagnosticOption(const ModuleInterfaceView* module, const std::string& text);
ToolView* FindToolByHint(ModuleSelection& selection, const std::string& hint);

// Values of the long-only options; outside the character range, so that no diagnostic letter
// can be mistaken for them.
constexpr int kOptionProtocol = 0x100;
constexpr int kOptionBackgroundChild = 0x101;
// Long diagnostic options carry this plus their index in the name storage.
constexpr int kDiagnosticLongOptionBase = 0x1000;
