#include "cli/command_line.h"

#include <getopt.h>

#include <cctype>
#include <cstring>
#include <map>

#include "cli/background.h"
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

const char kDuplicatedOption[] = "DUPLICATED_OPTION_ENTRY,_ONLY_ONE_ENTRY_CONSIDERED";

bool RefusedWord(const char* word) {
  const unsigned char first = static_cast<unsigned char>(word[0]);
  if (first == 0) return false;
  if (std::strchr(kRefusedFirstCharacters, first)) return true;
  for (unsigned char b : kRefusedFirstBytes)
    if (first == b) return true;
  return false;
}

std::string Trimmed(CliApplication& app, const std::string& text) {
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

std::string Lowered(CliApplication& app, std::string text) {
  if (app.string_handler) {
    app.string_handler->ToLower(text);
  } else {
    for (char& c : text)
      if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return text;
}

int Fatal(std::string& error, const std::string& text) {
  error = text;
  return kParseFatal;
}

// Information options: the bit that says "asked already" and the bits they set.
bool InformationBits(int option, uint32_t& own, uint32_t& set) {
  switch (option) {
    case 'A': own = kFlagModules; set = kFlagModules | kFlagInformation; return true;
    case 'D': own = kFlagDevices; set = kFlagDevices | kFlagInformation; return true;
    case 'L': own = kFlagDiagnostics; set = kFlagDiagnostics | kFlagInformation; return true;
    case 'R':
      own = kFlagDevices;
      set = kFlagDevices | kFlagResources | kFlagInformation;
      return true;
    case 'S': own = kFlagTools; set = kFlagTools | kFlagInformation; return true;
    case 'h': own = kFlagHelp; set = kFlagHelp | kFlagInformation; return true;
    case 'v': own = kFlagVersion; set = kFlagVersion | kFlagInformation; return true;
    default: return false;
  }
}

class Parser {
 public:
  Parser(CliApplication& app, int argc, char** argv, std::string& error)
      : app_(app), argc_(argc), argv_(argv), error_(error) {
    for (int i = 0; i < argc; ++i) original_index_[argv[i]] = i;
  }

  int Run();

 private:
  int HandleOption(int option, bool& stop);
  int Unrecognised();
  int HandleInformation(int option, uint32_t own, uint32_t set);
  int HandleProtocol();
  int HandleBackgroundChild();
  int HandleBackground();
  int HandleOutput();
  int HandleGroup();
  int HandleModule();
  int HandleTool();
  int HandleDiagnostic(int option);
  int AttributeScopeWords();
  int EndOfParse();
  int EndOfToolParse();
  int OriginalIndex(const char* word) const {
    auto it = original_index_.find(word);
    return it == original_index_.end() ? -1 : it->second;
  }
  bool IsDeviceWord(const char* word) {
    if (app_.consumed_words.count(word)) return false;
    if (word[0] == '-' && word[1] != '\0') return false;
    return !Trimmed(app_, word).empty();
  }

  CliApplication& app_;
  int argc_;
  char** argv_;
  std::string& error_;
  std::map<const char*, int> original_index_;
  bool seen_ = false;  // an option that -T refuses
  bool protocol_seen_ = false;
};

int Parser::Run() {
  opterr = 0;
  for (;;) {
    int long_index = -1;
    const int option = getopt_long(argc_, argv_, app_.short_options.c_str(),
                                   app_.long_options.data(), &long_index);
    if (option == -1) break;
    bool stop = false;
    const int result = HandleOption(option, stop);
    if (result != kParseOk) return result;
    if (stop) return EndOfToolParse();
  }
  return EndOfParse();
}

int Parser::HandleOption(int option, bool& stop) {
  uint32_t own = 0, set = 0;
  if (option == '?') return Unrecognised();
  if (InformationBits(option, own, set)) return HandleInformation(option, own, set);
  switch (option) {
    case kOptionProtocol: return HandleProtocol();
    case kOptionBackgroundChild: return HandleBackgroundChild();
    case 'b': return HandleBackground();
    case 'o': return HandleOutput();
    case 'G': return HandleGroup();
    case 'M': return HandleModule();
    case 'T':
      stop = true;
      return HandleTool();
    default:
      return HandleDiagnostic(option);
  }
}

int Parser::Unrecognised() {
  app_.outcome.Decide(kolv_exit::kCommandLineError);
  return Fatal(error_, "UNRECOGNIZED_OPTION_FOUND");
}

int Parser::HandleInformation(int option, uint32_t own, uint32_t set) {
  if (app_.flags & kFlagInformation) {
    if (app_.flags & own)
      app_.warnings.Add(kDuplicatedOption);
    else
      return Fatal(error_, "USER_ASKED_FOR_MORE_THAN_ONE_KIND_OF_INFORMATION_AT_THE_SAME_TIME");
  }
  app_.flags |= set;
  if (option != 'h' && option != 'v') seen_ = true;
  return kParseOk;
}

int Parser::HandleProtocol() {
  if (protocol_seen_) {
    app_.warnings.Add(kDuplicatedOption);
    return kParseOk;
  }
  protocol_seen_ = true;
  app_.flags |= kFlagProtocol;
  app_.flags &= ~kFlagBackgroundParent;
  seen_ = true;
  return kParseOk;
}

int Parser::HandleBackgroundChild() {
  // Only the exact word marks the copy; an abbreviation is no option a user has.
  if (std::strcmp(argv_[optind - 1], kBackgroundMarker) != 0) return Unrecognised();
  app_.flags |= kFlagBackgroundChild;
  app_.flags &= ~kFlagBackgroundParent;
  return kParseOk;
}

int Parser::HandleBackground() {
  if (app_.flags & kFlagTool)
    return Fatal(error_, "IT_IS_NOT_POSSIBLE_TO_A_TOOL_IN_BACKGROUND_MODE");
  if (app_.flags & kFlagProtocol) return kParseOk;
  if (app_.flags & kFlagBackgroundParent)
    app_.warnings.Add(kDuplicatedOption);
  else if (!(app_.flags & kFlagBackgroundChild))
    app_.flags |= kFlagBackgroundParent;
  return kParseOk;
}

int Parser::HandleOutput() {
  if (app_.flags & kFlagOutputFile) {
    app_.warnings.Add(kDuplicatedOption);
    return kParseOk;
  }
  app_.flags |= kFlagOutputFile;
  if (optarg) {
    if (!*optarg) return Fatal(error_, "FILE_HAS_NOT_BEEN_SPECIFIED");
    app_.output_file = optarg;
    return kParseOk;
  }
  if (optind < argc_ && argv_[optind][0] != '-' && argv_[optind][0] != '\0') {
    app_.output_file = argv_[optind];
    app_.consumed_words.insert(argv_[optind]);
    return kParseOk;
  }
  return Fatal(error_, "FILE_HAS_NOT_BEEN_SPECIFIED");
}

int Parser::HandleGroup() {
  if (app_.flags & kFlagGroup) {
    app_.warnings.Add("DUPLICATED_GROUP_SET,_ONLY FIRST ENTRY CONSIDERED");
    return kParseOk;
  }
  app_.flags |= kFlagGroup;
  seen_ = true;
  if (!optarg || !*optarg) return Fatal(error_, "GROUP_OPTION_WITH_NO_GROUP_ARGUMENT");
  int64_t group = 0;
  if (!app_.number_handler || !app_.number_handler->ToInt64(optarg, group))
    return Fatal(error_, "GROUP_ARGUMENT_IS_NOT_A_NUMBER");
  app_.group_id = group;
  return kParseOk;
}

int Parser::HandleModule() {
  if (!optarg || !*optarg) return Fatal(error_, "NO_MODULE_CHOSEN");
  const std::string typed = optarg;
  const std::string name = Lowered(app_, typed);
  if (name != typed) app_.warnings.Add("IT_IS_RECOMMENDED_TO_USE_LOWERCASE_ON_MODULES_NAMES");
  app_.current_module = name;
  app_.module_option_index = optind - 1;
  // -M always ends its word (its value is attached), so the word is argv[optind - 1].
  app_.module_scopes.emplace_back(OriginalIndex(argv_[optind - 1]), name);
  ModuleSelection* selection = app_.FindSelection(name);
  if (selection) {
    app_.duplicated_modules.Add(name);
  } else {
    selection = new ModuleSelection();
    app_.module_selections.emplace_back(name, selection);
  }
  selection->module = FindLoadedModule(app_, name);
  return kParseOk;
}

int Parser::HandleTool() {
  if (app_.current_module.empty())
    return Fatal(error_, "THE_-|T_OPTION_MUST_BE_USED_AFTER_THE_-|M\"module_name\"_OPTION");
  if (app_.module_selections.size() > 1)
    return Fatal(error_, "THE_TOOL_OPTION_MUST_BE_SPECIFIED_FOR_ONLY_ONE_MODULE");
  if (seen_) return Fatal(error_, "THE_-|T_OPTION_CANNOT_BE_USED_ALONG_WITH_OTHER_CLI_OPTIONS");
  if (!optarg || !*optarg) return Fatal(error_, "NO_TOOL_CHOSEN");
  app_.flags |= kFlagTool;
  if (app_.flags & kFlagBackgroundParent)
    return Fatal(error_, "IT_IS_NOT_POSSIBLE_TO_A_TOOL_IN_BACKGROUND_MODE");
  if (app_.flags & kFlagOutputFile)
    return Fatal(error_, "IT_IS_NOT_POSSIBLE_TO_REDIRECT_THE_OUTPUT_WHILE_RUNNING_A_TOOL");
  app_.tool_hint = optarg;
  // Words skipped so far stand before -T in argv; the tool would take them as its own targets.
  for (int i = 1; i < optind - 1; ++i) {
    if (IsDeviceWord(argv_[i])) {
      app_.outcome.Decide(kolv_exit::kCommandLineError);
      return Fatal(error_, "UNNECESSARY_DEVICES_CHOSEN");
    }
  }
  return kParseOk;
}

int Parser::HandleDiagnostic(int option) {
  ModuleSelection* selection =
      app_.current_module.empty() ? nullptr : app_.FindSelection(app_.current_module);
  if (!selection) return Fatal(error_, "DIAGNOSTIC_SET_FOR_NO_MODULE");
  app_.flags |= kFlagRun;
  seen_ = true;
  if (!selection->module) return kParseOk;  // reported as a module that is not loaded
  std::string text;
  if (option >= kDiagnosticLongOptionBase) {
    const size_t index = static_cast<size_t>(option - kDiagnosticLongOptionBase);
    if (index >= app_.long_option_names.size()) return Fatal(error_, "INVALID_DIAGNOSTIC_OPTION");
    text = app_.long_option_names[index].get();
  } else {
    text = std::string(1, static_cast<char>(option));
  }
  DiagnosticView* diagnostic = FindDiagnosticOption(selection->module, text);
  if (!diagnostic) {
    app_.outcome.Decide(kolv_exit::kDiagnosticNotOffered);
    return Fatal(error_, "INVALID_DIAGNOSTIC_OPTION");
  }
  DiagnosticSelection* chosen = selection->AddDiagnostic();
  chosen->name = diagnostic->name();
  chosen->diagnostic = diagnostic;
  if (optarg) chosen->test_list = optarg;
  return kParseOk;
}

// Every word that is no option belongs to the module scope it stands in: the last -M before it
// in the argument vector as typed. getopt has moved these words to the end of argv.
int Parser::AttributeScopeWords() {
  std::vector<const char*> outside;
  for (int i = optind; i < argc_; ++i) {
    const char* word = argv_[i];
    if (app_.consumed_words.count(word)) continue;
    const std::string id = Trimmed(app_, word);
    if (id.empty()) continue;
    if (id == "-") return Fatal(error_, "FOLLOWING_DEVICE(S)_ARE_NOT_AVAILABLE: -");
    if (id[0] == '-') continue;
    app_.flags |= kFlagDeviceIds;
    const int position = OriginalIndex(word);
    const std::string* scope = nullptr;
    for (const auto& entry : app_.module_scopes)
      if (entry.first < position) scope = &entry.second;
    ModuleSelection* selection = scope ? app_.FindSelection(*scope) : nullptr;
    if (!selection) {
      outside.push_back(word);
      continue;
    }
    if (DeviceSelection* device = selection->devices.Find(id)) {
      app_.duplicated_global_devices.Add(id);
      device->global = true;
    } else {
      auto* added = selection->devices.Add(id, new DeviceSelection());
      added->id = id;
      added->global = true;
    }
    selection->global_devices = true;
  }
  if (!outside.empty()) {
    std::string words;
    for (size_t i = 0; i < outside.size(); ++i) {
      if (i) words += ", ";
      words += outside[i];
    }
    return Fatal(error_, "GARBAGE(" + words + ") FOUND_OUTSIDE_MODULE_SCOPE");
  }
  return kParseOk;
}

int Parser::EndOfParse() {
  const int words = AttributeScopeWords();
  if (words != kParseOk) return words;
  if (!(app_.flags & kFlagInformation) && !app_.module_selections.empty()) app_.flags |= kFlagRun;
  // The protocol output takes standard output: the file is never made.
  if ((app_.flags & kFlagProtocol) && (app_.flags & kFlagOutputFile))
    app_.warnings.Add("THE_OUTPUT_FILE_IS_NOT_USED_WITH_THE_PROTOCOL_OUTPUT: " + app_.output_file);
  if (app_.flags == kFlagOutputFile || app_.flags == (kFlagOutputFile | kFlagBackgroundChild))
    app_.flags |= kFlagHelp | kFlagInformation;
  if ((app_.flags & kFlagInformation) && (app_.flags & kFlagRun))
    return Fatal(error_, "CAN_NOT_SHOW_INFORMATION_AND_PERFORM_DIAGNOSTIC_AT_THE_SAME_TIME");
  if ((app_.flags & kFlagDeviceIds) && !(app_.flags & kFlagRun))
    return Fatal(error_, "UNNECESSARY_DEVICES_CHOSEN");
  if ((app_.flags & kFlagModules) && !app_.module_selections.empty())
    return Fatal(error_, "MODULE_CHOSEN_WITH_AN_OPTION_THAT_DOES_NOT_NEED_MODULES");
  if ((app_.flags & (kFlagDevices | kFlagTools | kFlagDiagnostics)) &&
      app_.module_selections.empty())
    return Fatal(error_, "NO_MODULE_CHOSEN_FOR_OPTION_THAT_HAS_A_MANDATORY_MODULE_NEED");
  uint32_t listing = 0;
  if (app_.flags & kFlagHelp) listing |= kListHelp;
  if (app_.flags & kFlagVersion) listing |= kListVersion;
  if (app_.flags & kFlagDevices) listing |= kListDevices;
  if (app_.flags & kFlagDiagnostics) listing |= kListDiagnostics;
  if (app_.flags & kFlagTools) listing |= kListTools;
  for (auto& entry : app_.module_selections) entry.second->listing |= listing;
  return kParseOk;
}

int Parser::EndOfToolParse() {
  ModuleSelection* selection = app_.FindSelection(app_.current_module);
  const std::string& name = app_.current_module;
  if (!selection || !selection->module) {
    app_.outcome.Decide(kolv_exit::kModuleNotLoaded);
    return Fatal(error_, "|FOLLOWING_MODULE(S)_ARE_NOT_AVAILABLE: " + name + " - hence the " +
                             app_.tool_hint + " tool can not be executed");
  }
  app_.tool = FindToolByHint(*selection, app_.tool_hint);
  if (app_.tool) {
    app_.tool_module = FindLoadedModule(app_, name);
    return kParseOk;
  }
  app_.outcome.Decide(kolv_exit::kToolNotOffered);
  std::string hints;
  for (ToolView* tool : selection->tools) {
    if (!hints.empty()) hints += ", ";
    hints += tool->hint();
  }
  return Fatal(error_, "The following tool is not available to the " + name + " module: " +
                           app_.tool_hint + "\n\n> |Available tools to " + name +
                           " module: " + hints);
}

// --- test lists ---------------------------------------------------------------------------

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

int ValidateTest(CliApplication& app, ModuleSelection& selection, DiagnosticSelection& chosen,
                 const std::string& item, std::string& error) {
  if (item.empty()) return Fatal(error, "EMPTY_TEST");
  const std::string text = Trimmed(app, item);
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
    return Fatal(error, "NO_ARGUMENTS_ON_TEST_WITH_MANDATORY_TEST");
  if (requirement == morva_service::CommandLineOptionView::kNoArguments && !parameters.empty())
    app.ignored_test_arguments.Add(item);
  return kParseOk;
}

int ParseDiagnosticArgument(CliApplication& app, ModuleSelection& selection,
                            DiagnosticSelection* chosen, std::string& error) {
  if (!chosen) return Fatal(error, "NO_DIAGNOSTIC_TO_BE_PARSED");
  const std::string text = Trimmed(app, chosen->test_list);
  if (text.empty()) {
    chosen->all_tests = true;
    chosen->all_devices = true;
    return kParseOk;
  }
  if (!CheckParentheses(text)) return Fatal(error, "PARENTHESES_MISMATCH");
  std::vector<std::string> items;
  if (SplitTestList(text, items, error) != kParseOk) return kParseFatal;
  bool named_device = false;
  for (const std::string& item : items) {
    const int result = ValidateTest(app, selection, *chosen, item, error);
    if (result == kParseNotATest) {
      error.clear();
      const std::string id = Trimmed(app, item);
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

const char* const kFixedLongNames[] = {"list-tools", "list-modules", "list-devices",
                                       "list-resources", "list-diagnostics", "module", "help",
                                       "version", "group", "tool", "background", "vyx-instance",
                                       "KOLV", "output"};

}  // namespace

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
      if (optarg)
        asked.output_file = optarg;
      else if (optind < argc && words[optind][0] != '-' && words[optind][0] != '\0')
        asked.output_file = words[optind];
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

bool AsksForProtocol(int argc, char** argv) { return AskedBeforeTheParse(argc, argv).protocol; }

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
        for (const char* fixed : kFixedLongNames) taken = taken || long_name == fixed;
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
  if (!app.modules) return Fatal(error, "LOADING_MODULES_FAILURE");
  if (BuildOptionTables(app) != 0)
    return Fatal(error, "FAILURE_BUILDING_GETOPT_STRUCTURE_OF_PARSING");
  if (argc <= 1) app.flags |= kFlagHelp | kFlagInformation;
  // Known before anything is said, so that a supervisor is told on standard error.
  if (ScanHostOptions(argc, argv, app.short_options, app.long_options).protocol)
    app.flags |= kFlagProtocol;
  for (int i = 1; i < argc; ++i) {
    if (RefusedWord(argv[i])) {
      app.flags |= kFlagHelp | kFlagInformation;
      return Fatal(error, "UNRECOGNIZED_OPTION_FOUND");
    }
  }
  Parser parser(app, argc, argv, error);
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

int SplitTestList(const std::string& text, std::vector<std::string>& items, std::string& error) {
  if (text.empty()) return Fatal(error, "EMPTY_DIAGNOSTIC_ARGUMENT");
  size_t position = 0;
  const size_t length = text.size();
  while (position < length) {
    const size_t comma = text.find(',', position);
    const size_t open = text.find('(', position);
    const size_t close = text.find(')', position);
    if (close != std::string::npos && (open == std::string::npos || close < open))
      return Fatal(error, "PATENTHESE_CLOSING_WITHOUT_OPENING");
    size_t end;
    if (open != std::string::npos && (comma == std::string::npos || open < comma)) {
      const size_t closing = text.find(')', open);
      if (closing == std::string::npos) return Fatal(error, "NO_PARENTHESE_CLOSING");
      end = closing + 1;
      if (end < length && text[end] != ',') return Fatal(error, "TEST_WITHOUT_SEPARATOR");
    } else {
      end = comma == std::string::npos ? length : comma;
    }
    if (end == position) return Fatal(error, "EMPTY_TEST");
    items.push_back(text.substr(position, end - position));
    position = end;
    if (position < length && text[position] == ',') {
      ++position;
      if (position == length) return Fatal(error, "EMPTY_TEST");
    }
  }
  return kParseOk;
}

int SplitTestParameters(const std::string& text, std::vector<std::string>& parameters,
                        std::string& error) {
  parameters.clear();
  if (text.empty()) return kParseOk;
  if (text.size() < 2 || text.front() != '(' || text.back() != ')')
    return Fatal(error, "TEST_WITH_INVALID_PARAMETERS_FORMAT");
  const std::string inside = text.substr(1, text.size() - 2);
  if (inside.empty()) return kParseOk;
  size_t start = 0;
  for (;;) {
    const size_t comma = inside.find(',', start);
    const std::string piece =
        inside.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (piece.empty()) {
      parameters.clear();
      return Fatal(error, "TEST_PARAMETER_EMPTY");
    }
    parameters.push_back(piece);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
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
