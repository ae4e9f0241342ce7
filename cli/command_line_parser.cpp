#include "cli/command_line_parser.h"

#include <getopt.h>

#include <cstring>
#include <vector>

#include "cli/background.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"

namespace {

const char kDuplicatedOption[] = "DUPLICATED_OPTION_ENTRY,_ONLY_ONE_ENTRY_CONSIDERED";

std::string Lowered(CliApplication& app, std::string text) {
  if (app.string_handler) {
    app.string_handler->ToLower(text);
  } else {
    for (char& c : text)
      if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return text;
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

}  // namespace

int CommandLineParser::Run() {
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

int CommandLineParser::HandleOption(int option, bool& stop) {
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

int CommandLineParser::Unrecognised() {
  app_.outcome.Decide(kolv_exit::kCommandLineError);
  return ParseFatal(error_, "UNRECOGNIZED_OPTION_FOUND");
}

int CommandLineParser::HandleInformation(int option, uint32_t own, uint32_t set) {
  if (app_.flags & kFlagInformation) {
    if (app_.flags & own)
      app_.warnings.Add(kDuplicatedOption);
    else
      return ParseFatal(error_, "USER_ASKED_FOR_MORE_THAN_ONE_KIND_OF_INFORMATION_AT_THE_SAME_TIME");
  }
  app_.flags |= set;
  if (option != 'h' && option != 'v') seen_ = true;
  return kParseOk;
}

int CommandLineParser::HandleProtocol() {
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

int CommandLineParser::HandleBackgroundChild() {
  // Only the exact word marks the copy; an abbreviation is no option a user has.
  if (std::strcmp(argv_[optind - 1], kBackgroundMarker) != 0) return Unrecognised();
  app_.flags |= kFlagBackgroundChild;
  app_.flags &= ~kFlagBackgroundParent;
  return kParseOk;
}

int CommandLineParser::HandleBackground() {
  if (app_.flags & kFlagTool)
    return ParseFatal(error_, "IT_IS_NOT_POSSIBLE_TO_A_TOOL_IN_BACKGROUND_MODE");
  if (app_.flags & kFlagProtocol) return kParseOk;
  if (app_.flags & kFlagBackgroundParent)
    app_.warnings.Add(kDuplicatedOption);
  else if (!(app_.flags & kFlagBackgroundChild))
    app_.flags |= kFlagBackgroundParent;
  return kParseOk;
}

int CommandLineParser::HandleOutput() {
  if (app_.flags & kFlagOutputFile) {
    app_.warnings.Add(kDuplicatedOption);
    return kParseOk;
  }
  app_.flags |= kFlagOutputFile;
  const char* file = OutputFileWord(argc_, argv_);
  if (!file || !*file) return ParseFatal(error_, "FILE_HAS_NOT_BEEN_SPECIFIED");
  app_.output_file = file;
  if (file != optarg) app_.consumed_words.insert(file);
  return kParseOk;
}

int CommandLineParser::HandleGroup() {
  if (app_.flags & kFlagGroup) {
    app_.warnings.Add("DUPLICATED_GROUP_SET,_ONLY FIRST ENTRY CONSIDERED");
    return kParseOk;
  }
  app_.flags |= kFlagGroup;
  seen_ = true;
  if (!optarg || !*optarg) return ParseFatal(error_, "GROUP_OPTION_WITH_NO_GROUP_ARGUMENT");
  int64_t group = 0;
  if (!app_.number_handler || !app_.number_handler->ToInt64(optarg, group))
    return ParseFatal(error_, "GROUP_ARGUMENT_IS_NOT_A_NUMBER");
  app_.group_id = group;
  return kParseOk;
}

int CommandLineParser::HandleModule() {
  if (!optarg || !*optarg) return ParseFatal(error_, "NO_MODULE_CHOSEN");
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

bool CommandLineParser::IsDeviceWord(const char* word) {
  if (app_.consumed_words.count(word)) return false;
  if (word[0] == '-' && word[1] != '\0') return false;
  return !TrimmedWord(app_, word).empty();
}

int CommandLineParser::HandleTool() {
  if (app_.current_module.empty())
    return ParseFatal(error_, "THE_-|T_OPTION_MUST_BE_USED_AFTER_THE_-|M\"module_name\"_OPTION");
  if (app_.module_selections.size() > 1)
    return ParseFatal(error_, "THE_TOOL_OPTION_MUST_BE_SPECIFIED_FOR_ONLY_ONE_MODULE");
  if (seen_) return ParseFatal(error_, "THE_-|T_OPTION_CANNOT_BE_USED_ALONG_WITH_OTHER_CLI_OPTIONS");
  if (!optarg || !*optarg) return ParseFatal(error_, "NO_TOOL_CHOSEN");
  app_.flags |= kFlagTool;
  if (app_.flags & kFlagBackgroundParent)
    return ParseFatal(error_, "IT_IS_NOT_POSSIBLE_TO_A_TOOL_IN_BACKGROUND_MODE");
  if (app_.flags & kFlagOutputFile)
    return ParseFatal(error_, "IT_IS_NOT_POSSIBLE_TO_REDIRECT_THE_OUTPUT_WHILE_RUNNING_A_TOOL");
  app_.tool_hint = optarg;
  // Words skipped so far stand before -T in argv; the tool would take them as its own targets.
  for (int i = 1; i < optind - 1; ++i) {
    if (IsDeviceWord(argv_[i])) {
      app_.outcome.Decide(kolv_exit::kCommandLineError);
      return ParseFatal(error_, "UNNECESSARY_DEVICES_CHOSEN");
    }
  }
  return kParseOk;
}

int CommandLineParser::HandleDiagnostic(int option) {
  ModuleSelection* selection =
      app_.current_module.empty() ? nullptr : app_.FindSelection(app_.current_module);
  if (!selection) return ParseFatal(error_, "DIAGNOSTIC_SET_FOR_NO_MODULE");
  app_.flags |= kFlagRun;
  seen_ = true;
  if (!selection->module) return kParseOk;  // reported as a module that is not loaded
  std::string text;
  if (option >= kDiagnosticLongOptionBase) {
    const size_t index = static_cast<size_t>(option - kDiagnosticLongOptionBase);
    if (index >= app_.long_option_names.size()) return ParseFatal(error_, "INVALID_DIAGNOSTIC_OPTION");
    text = app_.long_option_names[index].get();
  } else {
    text = std::string(1, static_cast<char>(option));
  }
  DiagnosticView* diagnostic = FindDiagnosticOption(selection->module, text);
  if (!diagnostic) {
    app_.outcome.Decide(kolv_exit::kDiagnosticNotOffered);
    return ParseFatal(error_, "INVALID_DIAGNOSTIC_OPTION");
  }
  DiagnosticSelection* chosen = selection->AddDiagnostic();
  chosen->name = diagnostic->name();
  chosen->diagnostic = diagnostic;
  if (optarg) chosen->test_list = optarg;
  return kParseOk;
}

// Every word that is no option belongs to the module scope it stands in: the last -M before it
// in the argument vector as typed. getopt has moved these words to the end of argv.
int CommandLineParser::AttributeScopeWords() {
  std::vector<const char*> outside;
  for (int i = optind; i < argc_; ++i) {
    const char* word = argv_[i];
    if (app_.consumed_words.count(word)) continue;
    const std::string id = TrimmedWord(app_, word);
    if (id.empty()) continue;
    if (id == "-") return ParseFatal(error_, "FOLLOWING_DEVICE(S)_ARE_NOT_AVAILABLE: -");
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
    return ParseFatal(error_, "GARBAGE(" + words + ") FOUND_OUTSIDE_MODULE_SCOPE");
  }
  return kParseOk;
}

int CommandLineParser::EndOfParse() {
  const int words = AttributeScopeWords();
  if (words != kParseOk) return words;
  if (!(app_.flags & kFlagInformation) && !app_.module_selections.empty()) app_.flags |= kFlagRun;
  // The protocol output takes standard output: the file is never made.
  if ((app_.flags & kFlagProtocol) && (app_.flags & kFlagOutputFile))
    app_.warnings.Add("THE_OUTPUT_FILE_IS_NOT_USED_WITH_THE_PROTOCOL_OUTPUT: " + app_.output_file);
  if (app_.flags == kFlagOutputFile || app_.flags == (kFlagOutputFile | kFlagBackgroundChild))
    app_.flags |= kFlagHelp | kFlagInformation;
  if ((app_.flags & kFlagInformation) && (app_.flags & kFlagRun))
    return ParseFatal(error_, "CAN_NOT_SHOW_INFORMATION_AND_PERFORM_DIAGNOSTIC_AT_THE_SAME_TIME");
  if ((app_.flags & kFlagDeviceIds) && !(app_.flags & kFlagRun))
    return ParseFatal(error_, "UNNECESSARY_DEVICES_CHOSEN");
  if ((app_.flags & kFlagModules) && !app_.module_selections.empty())
    return ParseFatal(error_, "MODULE_CHOSEN_WITH_AN_OPTION_THAT_DOES_NOT_NEED_MODULES");
  if ((app_.flags & (kFlagDevices | kFlagTools | kFlagDiagnostics)) &&
      app_.module_selections.empty())
    return ParseFatal(error_, "NO_MODULE_CHOSEN_FOR_OPTION_THAT_HAS_A_MANDATORY_MODULE_NEED");
  uint32_t listing = 0;
  if (app_.flags & kFlagHelp) listing |= kListHelp;
  if (app_.flags & kFlagVersion) listing |= kListVersion;
  if (app_.flags & kFlagDevices) listing |= kListDevices;
  if (app_.flags & kFlagDiagnostics) listing |= kListDiagnostics;
  if (app_.flags & kFlagTools) listing |= kListTools;
  for (auto& entry : app_.module_selections) entry.second->listing |= listing;
  return kParseOk;
}

int CommandLineParser::EndOfToolParse() {
  ModuleSelection* selection = app_.FindSelection(app_.current_module);
  const std::string& name = app_.current_module;
  if (!selection || !selection->module) {
    app_.outcome.Decide(kolv_exit::kModuleNotLoaded);
    return ParseFatal(error_, "|FOLLOWING_MODULE(S)_ARE_NOT_AVAILABLE: " + name + " - hence the " +
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
  return ParseFatal(error_, "The following tool is not available to the " + name + " module: " +
                           app_.tool_hint + "\n\n> |Available tools to " + name +
                           " module: " + hints);
}
