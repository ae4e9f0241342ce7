#include "cli/command_line.h"

#include <getopt.h>

#include <cctype>
#include <cstring>

#include "cli/command_line_parser.h"
#include "cli/exit_status.h"

namespace {

const char kFixedShortOptions[] = "o::SADRLM::hbvG::UT::";
// Letters the host answers itself; a diagnostic cannot take them over ("U" is the host's hook
// for diagnostics, so a diagnostic may use it).
const char kHostLetters[] = "oSADRLMhbvGT";

struct FixedLongOption {
  const char* name;
  int has_arg;
  int val;
};
const FixedLongOption kFixedLongOptions[] = {
    {"list-tools", no_argument, 'S'},
    {"list-modules", no_argument, 'A'},
    {"list-devices", no_argument, 'D'},
    {"list-resources", no_argument, 'R'},
    {"list-diagnostics", no_argument, 'L'},
    {"module", optional_argument, 'M'},
    {"help", no_argument, 'h'},
    {"version", no_argument, 'v'},
    {"group", optional_argument, 'G'},
    {"tool", optional_argument, 'T'},
    {"background", no_argument, 'b'},
    {"vyx-instance", no_argument, kOptionBackgroundChild},
    {"KOLV", no_argument, kOptionProtocol},
    {"output", optional_argument, 'o'},
};

// Words beginning with one of these are refused before getopt sees them.
const char kRefusedFirstCharacters[] = "&'#$%*(>)=|+[<]~^`";
const unsigned char kRefusedFirstBytes[] = {0x80, 0x83, 0x92, 0x9D, 0xA0, 0xA2, 0xA3,
                                            0xAA, 0xAE, 0xB4, 0xB5, 0xBA, 0xBB, 0xBD,
                                            0xC2, 0xC3, 0xC5, 0xC6, 0xE2};

bool RefusedWord(const char* word) {
  const unsigned char first = static_cast<unsigned char>(word[0]);
  if (first == 0) return false;
  if (std::strchr(kRefusedFirstCharacters, first)) return true;
  for (unsigned char b : kRefusedFirstBytes)
    if (first == b) return true;
  return false;
}

bool CheckParentheses(const std::string& text) {
  long balance = 0;
  for (char c : text) {
    if (c == '(') ++balance;
    if (c == ')') --balance;
  }
  return balance == 0;
}

const morva_service::CommandLineOptionView* FindTestOptionEntry(
    const ModuleInterfaceView* module, const std::string& name, morva_service::ItemIdentifier& key) {
  for (const auto& entry : module->test_options()) {
    if (!entry.second) continue;
    if (entry.second->long_name() == name || entry.second->letter() == name) {
      key = entry.first;
      return entry.second;
    }
  }
  return nullptr;
}

// Test-list pieces: "f(1,2),r" -> "f(1,2)", "r"; "(1,2)" -> "1", "2".
int SplitTestList(const std::string& text, std::vector<std::string>& items, std::string& error) {
  if (text.empty()) return ParseFatal(error, "EMPTY_DIAGNOSTIC_ARGUMENT");
  size_t position = 0;
  const size_t length = text.size();
  while (position < length) {
    const size_t comma = text.find(',', position);
    const size_t open = text.find('(', position);
    const size_t close = text.find(')', position);
    if (close != std::string::npos && (open == std::string::npos || close < open))
      return ParseFatal(error, "PATENTHESE_CLOSING_WITHOUT_OPENING");
    size_t end;
    if (open != std::string::npos && (comma == std::string::npos || open < comma)) {
      const size_t closing = text.find(')', open);
      if (closing == std::string::npos) return ParseFatal(error, "NO_PARENTHESE_CLOSING");
      end = closing + 1;
      if (end < length && text[end] != ',') return ParseFatal(error, "TEST_WITHOUT_SEPARATOR");
    } else {
      end = comma == std::string::npos ? length : comma;
    }
    if (end == position) return ParseFatal(error, "EMPTY_TEST");
    items.push_back(text.substr(position, end - position));
    position = end;
    if (position < length && text[position] == ',') {
      ++position;
      if (position == length) return ParseFatal(error, "EMPTY_TEST");
    }
  }
  return kParseOk;
}

int SplitTestParameters(const std::string& text, std::vector<std::string>& parameters,
                        std::string& error) {
  parameters.clear();
  if (text.empty()) return kParseOk;
  if (text.size() < 2 || text.front() != '(' || text.back() != ')')
    return ParseFatal(error, "TEST_WITH_INVALID_PARAMETERS_FORMAT");
  const std::string inside = text.substr(1, text.size() - 2);
  if (inside.empty()) return kParseOk;
  size_t start = 0;
  for (;;) {
    const size_t comma = inside.find(',', start);
    const std::string piece =
        inside.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (piece.empty()) {
      parameters.clear();
      return ParseFatal(error, "TEST_PARAMETER_EMPTY");
    }
    parameters.push_back(piece);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return kParseOk;
}

int ValidateTest(CliApplication& app, ModuleSelection& selection, DiagnosticSelection& chosen,
                 const std::string& item, std::string& error) {
  if (item.empty()) return ParseFatal(error, "EMPTY_TEST");
  const std::string text = TrimmedWord(app, item);
  const size_t open = text.find('(');
  const std::string name = text.substr(0, open);
  const std::string parameter_text = open == std::string::npos ? std::string() : text.substr(open);
  error = "EXPECTED_TEST_NOT_VALID";
  if (name.empty() || !chosen.diagnostic) return kParseNotATest;
  morva_service::ItemIdentifier key;
  if (!FindTestOptionEntry(selection.module, name, key)) return kParseNotATest;
  TestView* test = nullptr;
  for (TestView* candidate : chosen.diagnostic->tests())
    if (candidate && candidate->identifier() == key) {
      test = candidate;
      break;
    }
  if (!test) return kParseNotATest;
  error.clear();

  std::vector<std::string> parameters;
  if (SplitTestParameters(parameter_text, parameters, error) != kParseOk) return kParseFatal;
  // A repeated test keeps its first entry, parameters included.
  if (chosen.tests.Find(test->name())) {
    app.duplicated_tests.Add(name);
  } else {
    auto* added = chosen.tests.Add(test->name(), new TestSelection());
    added->name = test->name();
    added->parameter_text = parameter_text;
    added->parameters = parameters;
    added->test = test;
  }
  const auto& options = selection.module->test_options();
  auto found = options.find(test->identifier());
  if (found == options.end() || !found->second) {
    error = "EXPECTED_TEST_NOT_VALID";
    return kParseNotATest;
  }
  const int requirement = found->second->argument_requirement();
  if (requirement == morva_service::CommandLineOptionView::kNeedsArguments && parameters.empty())
    return ParseFatal(error, "NO_ARGUMENTS_ON_TEST_WITH_MANDATORY_TEST");
  if (requirement == morva_service::CommandLineOptionView::kNoArguments && !parameters.empty())
    app.ignored_test_arguments.Add(item);
  return kParseOk;
}

int ParseDiagnosticArgument(CliApplication& app, ModuleSelection& selection,
                            DiagnosticSelection* chosen, std::string& error) {
  if (!chosen) return ParseFatal(error, "NO_DIAGNOSTIC_TO_BE_PARSED");
  const std::string text = TrimmedWord(app, chosen->test_list);
  if (text.empty()) {
    chosen->all_tests = true;
    chosen->all_devices = true;
    return kParseOk;
  }
  if (!CheckParentheses(text)) return ParseFatal(error, "PARENTHESES_MISMATCH");
  std::vector<std::string> items;
  if (SplitTestList(text, items, error) != kParseOk) return kParseFatal;
  bool named_device = false;
  for (const std::string& item : items) {
    const int result = ValidateTest(app, selection, *chosen, item, error);
    if (result == kParseNotATest) {
      error.clear();
      const std::string id = TrimmedWord(app, item);
      app.tests_taken_as_devices.Add(id);
      named_device = true;
      DeviceSelection* device = selection.devices.Find(id);
      if (!device) {
        device = selection.devices.Add(id, new DeviceSelection());
        device->id = id;
      } else {
        app.warnings.Add("REDUNDANT_DEVICE_ENTRY(IES)_ON_DIAGNOSTIC_SCOPE_IGNORED");
      }
      bool listed = false;
      for (DiagnosticSelection* d : device->diagnostics) listed = listed || d == chosen;
      if (!listed) device->diagnostics.push_back(chosen);
    } else if (result != kParseOk) {
      return kParseFatal;
    }
  }
  if (chosen->tests.empty()) chosen->all_tests = true;
  if (!named_device) chosen->all_devices = true;
  return kParseOk;
}

}  // namespace

std::string TrimmedWord(CliApplication& app, const std::string& text) {
  std::string out;
  if (app.string_handler) {
    app.string_handler->Trim(text, out);
    return out;
  }
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

int ParseFatal(std::string& error, const std::string& text) {
  error = text;
  return kParseFatal;
}

ModuleInterfaceView* FindLoadedModule(const CliApplication& app, const std::string& name) {
  if (!app.modules) return nullptr;
  for (ModuleInterfaceView* module : *app.modules) {
    if (!module) continue;
    std::string lowered = module->name();
    for (char& c : lowered)
      if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (lowered == name) return module;
  }
  return nullptr;
}

DiagnosticView* FindDiagnosticOption(const ModuleInterfaceView* module, const std::string& text) {
  if (!module || text.empty()) return nullptr;
  for (const auto& entry : module->diagnostic_options()) {
    if (!entry.second) continue;
    if (entry.second->long_name() != text && entry.second->letter() != text) continue;
    for (DiagnosticView* diagnostic : module->diagnostics())
      if (diagnostic && diagnostic->identifier() == entry.first) return diagnostic;
    return nullptr;
  }
  return nullptr;
}

ToolView* FindToolByHint(ModuleSelection& selection, const std::string& hint) {
  if (!selection.module) return nullptr;
  selection.tools = selection.module->tools();
  auto lower = [](std::string text) {
    for (char& c : text)
      if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
  };
  const std::string wanted = lower(hint);
  for (ToolView* tool : selection.tools)
    if (tool && lower(tool->hint()) == wanted) return tool;
  return nullptr;
}

const char* OutputFileWord(int argc, char* const* words) {
  if (optarg) return optarg;
  if (optind < argc && words[optind][0] != '-' && words[optind][0] != '\0') return words[optind];
  return nullptr;
}

namespace {
void FixedOptionTables(std::string& short_options, std::vector<option>& long_options) {
  short_options = kFixedShortOptions;
  long_options.clear();
  for (const FixedLongOption& fixed : kFixedLongOptions)
    long_options.push_back(option{fixed.name, fixed.has_arg, nullptr, fixed.val});
}

// The host's own options as getopt takes them (abbreviated too), up to the tool option, whose
// words are the tool's. Every other letter may be a diagnostic's, which takes the rest of its word.
// Scans a copy of the vector: the parse itself still sees the words as typed.
EarlyOptions ScanHostOptions(int argc, char** argv, std::string short_options,
                             const std::vector<option>& long_options) {
  for (char c = '0'; c <= 'z'; ++c)
    if (std::isalnum(static_cast<unsigned char>(c)) && short_options.find(c) == std::string::npos)
      short_options += std::string(1, c) + "::";
  std::vector<char*> words(argv, argv + argc);
  words.push_back(nullptr);
  opterr = 0;
  optind = 0;
  EarlyOptions asked;
  for (int found; (found = getopt_long(argc, words.data(), short_options.c_str(),
                                       long_options.data(), nullptr)) != -1;) {
    if (found == kOptionProtocol) asked.protocol = true;
    if (found == 'o' && !asked.output) {
      asked.output = true;
      if (const char* file = OutputFileWord(argc, words.data())) asked.output_file = file;
    }
    if (found == 'T') break;
  }
  optind = 0;  // the parse starts afresh
  return asked;
}
}  // namespace

EarlyOptions AskedBeforeTheParse(int argc, char** argv) {
  std::string short_options;
  std::vector<option> long_options;
  FixedOptionTables(short_options, long_options);
  long_options.push_back(option{nullptr, 0, nullptr, 0});
  return ScanHostOptions(argc, argv, short_options, long_options);
}

int BuildOptionTables(CliApplication& app) {
  FixedOptionTables(app.short_options, app.long_options);
  app.long_option_names.clear();

  if (app.modules) {
    for (ModuleInterfaceView* module : *app.modules) {
      if (!module) continue;
      for (const auto& entry : module->diagnostic_options()) {
        const morva_service::CommandLineOptionView* view = entry.second;
        if (!view) continue;
        const std::string letter = view->letter();
        const std::string long_name = view->long_name();
        const unsigned char c = letter.empty() ? 0 : static_cast<unsigned char>(letter[0]);
        if (c == 0 || c > 127 || !std::isalnum(c) || std::strchr(kHostLetters, c)) {
          app.warnings.Add("DIAGNOSTIC_LETTER_NOT_USABLE,_SHORT_OPTION_LEFT_OUT: " + module->name() +
                           " --" + long_name);
        } else if (app.short_options.find(static_cast<char>(c)) == std::string::npos) {
          app.short_options += static_cast<char>(c);
          app.short_options += "::";
        }
        if (long_name.empty()) continue;
        bool taken = false;
        for (const FixedLongOption& fixed : kFixedLongOptions) taken = taken || long_name == fixed.name;
        if (taken) {
          app.warnings.Add("DIAGNOSTIC_NAME_NOT_USABLE,_LONG_OPTION_LEFT_OUT: " + module->name() +
                           " --" + long_name);
          continue;
        }
        bool present = false;
        for (const auto& name : app.long_option_names) present = present || long_name == name.get();
        if (present) continue;  // another module's diagnostic of that name: resolved per module
        auto storage = std::make_unique<char[]>(long_name.size() + 1);
        std::memcpy(storage.get(), long_name.c_str(), long_name.size() + 1);
        const int val = kDiagnosticLongOptionBase + static_cast<int>(app.long_option_names.size());
        app.long_options.push_back(option{storage.get(), optional_argument, nullptr, val});
        app.long_option_names.push_back(std::move(storage));
      }
    }
  }
  app.long_options.push_back(option{nullptr, 0, nullptr, 0});
  return 0;
}

int ParseCommandLine(CliApplication& app, int argc, char** argv, std::string& error) {
  app.flags = 0;
  app.consumed_words.clear();
  app.tool = nullptr;
  app.module_scopes.clear();
  app.argument_copy.assign(argv, argv + argc);
  if (!app.modules) return ParseFatal(error, "LOADING_MODULES_FAILURE");
  if (BuildOptionTables(app) != 0)
    return ParseFatal(error, "FAILURE_BUILDING_GETOPT_STRUCTURE_OF_PARSING");
  if (argc <= 1) app.flags |= kFlagHelp | kFlagInformation;
  // Known before anything is said, so that a supervisor is told on standard error.
  if (ScanHostOptions(argc, argv, app.short_options, app.long_options).protocol)
    app.flags |= kFlagProtocol;
  for (int i = 1; i < argc; ++i) {
    if (RefusedWord(argv[i])) {
      app.flags |= kFlagHelp | kFlagInformation;
      return ParseFatal(error, "UNRECOGNIZED_OPTION_FOUND");
    }
  }
  CommandLineParser parser(app, argc, argv, error);
  return parser.Run();
}

int ValidateDiagnosticArguments(CliApplication& app, std::string& error) {
  bool any_missing = false;
  for (auto& entry : app.module_selections) {
    app.current_module = entry.first;
    ModuleSelection& selection = *entry.second;
    if (!selection.module) {
      any_missing = true;
      continue;
    }
    if (selection.diagnostics.empty()) {
      selection.default_diagnostic = true;
      continue;
    }
    for (const auto& chosen : selection.diagnostics) {
      const int result = ParseDiagnosticArgument(app, selection, chosen.get(), error);
      if (result != kParseOk) return result;
    }
  }
  // The loaded ones still run, and no pass of theirs hides the others.
  if (any_missing) app.outcome.Report(kolv_exit::kModuleNotLoaded);
  return kParseOk;
}

std::string WarningText(const std::string& warning) {
  const size_t words = warning.find(": ");
  if (words == std::string::npos) return MorvaStdio::KeyToText(warning, false, true, true);
  return MorvaStdio::KeyToText(warning.substr(0, words + 1), false, true, true) +
         warning.substr(words + 1);
}

void ReportWarnings(CliApplication& app) {
  const std::vector<std::string> earlier = app.warnings.items();
  app.warnings.clear();
  auto add_list = [&app](const char* key, const UniqueTextList& list) {
    if (!list.empty()) app.warnings.Add(std::string(key) + ": " + list.Joined(", "));
  };
  add_list("DUPLICATED_MODULE(S)_ENTRY,_ONLY_ONE_ENTRY_CONSIDERED_OF_EACH", app.duplicated_modules);
  add_list("TEST(S)_NOT_FOUND,_ARGUMENt(S)_TREATED_AS_DEVICE", app.tests_taken_as_devices);
  add_list("DUPLICATED_TEST(S)_FOUND_ON_DIAGNOSTIC,_ONLY_ONE_ENTRY_CONSIDERED",
           app.duplicated_tests);
  add_list("DUPLICATED_GLOBAL_DEVICE,_ONLY_ONE_ENTRY_CONSIDERED", app.duplicated_global_devices);
  add_list("NOT_REQUIRED_ARGUMENT(S)_IGNORED_ON_TEST(S)", app.ignored_test_arguments);
  for (const std::string& warning : earlier) app.warnings.Add(warning);

  if (app.module_selections.empty()) return;
  const bool any_module = app.modules && !app.modules->empty();
  if (!any_module) {
    app.warnings.Add("NO_MODULE_LOADED");
  } else {
    UniqueTextList missing;
    for (const auto& entry : app.module_selections)
      if (!entry.second->module) missing.Add(entry.first);
    if (!missing.empty())
      app.warnings.Add("|FOLLOWING_MODULE(S)_ARE_NOT_AVAILABLE: " + missing.Joined(", "));
  }
  bool none_loaded = true;
  for (const auto& entry : app.module_selections) none_loaded = none_loaded && !entry.second->module;
  if (none_loaded) {
    if (!(app.flags & kFlagInformation)) app.flags |= kFlagHelp | kFlagInformation;
    if (any_module) app.flags |= kFlagHelp;
  }
}
