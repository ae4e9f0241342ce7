// The command-line grammar against in-memory modules: flags, selections, warnings, the error key
// and the exit status each command line gives.
#include <getopt.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "support/argv.h"
#include "support/fake_modules.h"

namespace {

struct Parsed {
  explicit Parsed(const std::vector<std::string>& args) : line(args) {}
  clitest::Argv line;
  std::unique_ptr<CliApplication> app;
  int result = 0;
  std::string error;
};

// Parses as kolv_cli would, then reads the test lists when the parse succeeded.
std::unique_ptr<Parsed> Parse(fakes::Catalogue& catalogue, const std::vector<std::string>& args) {
  auto p = std::make_unique<Parsed>(args);
  p->app = std::make_unique<CliApplication>(false);
  p->app->modules = &catalogue.modules;
  p->result = clitest::ParseFresh(*p->app, p->line, p->error);
  if (p->result == 0 && !(p->app->flags & kFlagTool))
    p->result = ValidateDiagnosticArguments(*p->app, p->error);
  return p;
}

using Check = std::function<void(const Parsed&)>;

struct Row {
  std::vector<std::string> args;
  int result;
  std::string error;  // exact error text when result is 70
  unsigned exit_status;
  uint32_t flags_set;
  uint32_t flags_clear;
  Check check;
};

std::string Joined(const std::vector<std::string>& args) {
  std::string text;
  for (const auto& a : args) text += "[" + a + "]";
  return text;
}

ModuleSelection& Selection(const Parsed& p, const std::string& name) {
  ModuleSelection* s = p.app->FindSelection(name);
  EXPECT_NE(s, nullptr) << name;
  static ModuleSelection empty;
  return s ? *s : empty;
}

std::vector<std::string> DeviceIds(const ModuleSelection& s) {
  std::vector<std::string> ids;
  for (const auto& d : s.devices) ids.push_back(d.first);
  return ids;
}

bool HasWarning(const Parsed& p, const std::string& start) {
  for (const auto& w : p.app->warnings.items())
    if (w.rfind(start, 0) == 0) return true;
  return false;
}

const uint32_t kInfo = kFlagInformation;
const char kMore[] = "USER_ASKED_FOR_MORE_THAN_ONE_KIND_OF_INFORMATION_AT_THE_SAME_TIME";

const std::vector<Row>& Table() {
  static const std::vector<Row> rows = {
      // information requests
      {{}, 0, "", 0, kFlagHelp | kInfo, kFlagRun, nullptr},
      {{"-A"}, 0, "", 0, kFlagModules | kInfo, kFlagRun, nullptr},
      {{"--list-mod"}, 0, "", 0, kFlagModules | kInfo, 0, nullptr},
      {{"-A", "-D"}, 70, kMore, 0, 0, 0, nullptr},
      {{"-h", "-v"}, 70, kMore, 0, 0, 0, nullptr},
      {{"-h", "-h"}, 0, "", 0, kFlagHelp, 0,
       [](const Parsed& p) { EXPECT_TRUE(HasWarning(p, "DUPLICATED_OPTION_ENTRY")); }},
      {{"-Mstorage", "-D", "-R"}, 0, "", 0, kFlagDevices | kFlagResources | kInfo, kFlagRun,
       [](const Parsed& p) {
         EXPECT_TRUE(HasWarning(p, "DUPLICATED_OPTION_ENTRY"));
         EXPECT_EQ(Selection(p, "storage").listing, unsigned(kListDevices));
       }},
      {{"-Mstorage", "-L", "-Q"}, 70,
       "CAN_NOT_SHOW_INFORMATION_AND_PERFORM_DIAGNOSTIC_AT_THE_SAME_TIME", 0, 0, 0, nullptr},
      {{"-A", "-Mstorage"}, 70, "MODULE_CHOSEN_WITH_AN_OPTION_THAT_DOES_NOT_NEED_MODULES", 0, 0, 0,
       nullptr},
      {{"-D"}, 70, "NO_MODULE_CHOSEN_FOR_OPTION_THAT_HAS_A_MANDATORY_MODULE_NEED", 0, 0, 0, nullptr},
      {{"-Mstorage", "-v", "-S"}, 70, kMore, 0, 0, 0, nullptr},
      {{"-Mstorage", "-h"}, 0, "", 0, kFlagHelp | kInfo, kFlagRun,
       [](const Parsed& p) { EXPECT_EQ(Selection(p, "storage").listing, unsigned(kListHelp)); }},
      {{"-Mstorage", "--list-tools"}, 0, "", 0, kFlagTools | kInfo, 0,
       [](const Parsed& p) { EXPECT_EQ(Selection(p, "storage").listing, unsigned(kListTools)); }},
      // refused words and options
      {{"-x"}, 70, "UNRECOGNIZED_OPTION_FOUND", kolv_exit::kCommandLineError, 0, 0, nullptr},
      {{"--nosuch"}, 70, "UNRECOGNIZED_OPTION_FOUND", kolv_exit::kCommandLineError, 0, 0, nullptr},
      {{"-Mstorage", "&x"}, 70, "UNRECOGNIZED_OPTION_FOUND", 0, kFlagHelp | kInfo, 0, nullptr},
      {{"-Mstorage", "\xC3\xA9.txt"}, 70, "UNRECOGNIZED_OPTION_FOUND", 0, kFlagHelp, 0, nullptr},
      {{"-X"}, 70, "DIAGNOSTIC_SET_FOR_NO_MODULE", 0, 0, 0, nullptr},
      {{"-U", "-Mstorage"}, 70, "DIAGNOSTIC_SET_FOR_NO_MODULE", 0, 0, 0, nullptr},
      {{"-Mstorage", "-U"}, 70, "INVALID_DIAGNOSTIC_OPTION", kolv_exit::kDiagnosticNotOffered, 0,
       0, nullptr},
      {{"-Mstorage", "-X"}, 70, "INVALID_DIAGNOSTIC_OPTION", kolv_exit::kDiagnosticNotOffered, 0,
       0, nullptr},
      // protocol and background
      {{"--KOLV", "-A"}, 0, "", 0, kFlagProtocol | kFlagModules, 0, nullptr},
      {{"--KOL", "-A"}, 0, "", 0, kFlagProtocol, 0, nullptr},
      {{"--KOLV", "--KOLV", "-A"}, 0, "", 0, kFlagProtocol, 0,
       [](const Parsed& p) { EXPECT_TRUE(HasWarning(p, "DUPLICATED_OPTION_ENTRY")); }},
      {{"-b", "-Mstorage"}, 0, "", 0, kFlagBackgroundParent | kFlagRun, 0, nullptr},
      {{"-b", "-b", "-Mstorage"}, 0, "", 0, kFlagBackgroundParent, 0,
       [](const Parsed& p) { EXPECT_TRUE(HasWarning(p, "DUPLICATED_OPTION_ENTRY")); }},
      {{"-b", "--KOLV", "-Mstorage"}, 0, "", 0, kFlagProtocol, kFlagBackgroundParent, nullptr},
      {{"--KOLV", "-b", "-Mstorage"}, 0, "", 0, kFlagProtocol, kFlagBackgroundParent, nullptr},
      {{"--vyx-instance", "-b", "-Mstorage"}, 0, "", 0, kFlagBackgroundChild,
       kFlagBackgroundParent, nullptr},
      // Only the exact marker is one: an abbreviation is refused like any unknown option.
      {{"-b", "--vyx", "-Mstorage"}, 70, "UNRECOGNIZED_OPTION_FOUND", kolv_exit::kCommandLineError,
       0, kFlagBackgroundChild, nullptr},
      {{"--vyx-instanc", "-A"}, 70, "UNRECOGNIZED_OPTION_FOUND", kolv_exit::kCommandLineError, 0,
       kFlagBackgroundChild, nullptr},
      {{"--KOLV", "-o", "out.txt", "-A"}, 0, "", 0, kFlagProtocol | kFlagOutputFile, 0,
       [](const Parsed& p) {
         EXPECT_TRUE(HasWarning(p, "THE_OUTPUT_FILE_IS_NOT_USED_WITH_THE_PROTOCOL_OUTPUT: out.txt"));
       }},
      // output file
      {{"-o", "out.txt"}, 0, "", 0, kFlagOutputFile | kFlagHelp | kInfo, 0,
       [](const Parsed& p) { EXPECT_EQ(p.app->output_file, "out.txt"); }},
      {{"-o", "out.txt", "--vyx-instance"}, 0, "", 0, kFlagHelp | kInfo, 0, nullptr},
      {{"-o", "out.txt", "-Mstorage"}, 0, "", 0, kFlagOutputFile | kFlagRun, kFlagDeviceIds,
       [](const Parsed& p) {
         EXPECT_EQ(p.app->output_file, "out.txt");
         EXPECT_TRUE(Selection(p, "storage").devices.empty());
       }},
      {{"-Mstorage", "-o", "out.txt", "0"}, 0, "", 0, kFlagOutputFile | kFlagDeviceIds, 0,
       [](const Parsed& p) {
         EXPECT_EQ(DeviceIds(Selection(p, "storage")), std::vector<std::string>{"0"});
       }},
      {{"-oout.txt", "-Mstorage"}, 0, "", 0, kFlagOutputFile, 0,
       [](const Parsed& p) { EXPECT_EQ(p.app->output_file, "out.txt"); }},
      {{"--output=x.txt", "-Mstorage"}, 0, "", 0, kFlagOutputFile, 0,
       [](const Parsed& p) { EXPECT_EQ(p.app->output_file, "x.txt"); }},
      {{"--output", "y.txt", "-Mstorage"}, 0, "", 0, kFlagOutputFile, 0,
       [](const Parsed& p) { EXPECT_EQ(p.app->output_file, "y.txt"); }},
      {{"-o", "-Mstorage"}, 70, "FILE_HAS_NOT_BEEN_SPECIFIED", 0, 0, 0, nullptr},
      {{"-o"}, 70, "FILE_HAS_NOT_BEEN_SPECIFIED", 0, 0, 0, nullptr},
      {{"-o", ""}, 70, "FILE_HAS_NOT_BEEN_SPECIFIED", 0, 0, 0, nullptr},
      {{"--output="}, 70, "FILE_HAS_NOT_BEEN_SPECIFIED", 0, 0, 0, nullptr},
      // group
      {{"-G"}, 70, "GROUP_OPTION_WITH_NO_GROUP_ARGUMENT", 0, 0, 0, nullptr},
      {{"-Gabc", "-Mstorage"}, 70, "GROUP_ARGUMENT_IS_NOT_A_NUMBER", 0, 0, 0, nullptr},
      {{"-G12x", "-Mstorage"}, 70, "GROUP_ARGUMENT_IS_NOT_A_NUMBER", 0, 0, 0, nullptr},
      {{"--group=-12", "-Mstorage"}, 0, "", 0, kFlagGroup | kFlagRun, 0,
       [](const Parsed& p) { EXPECT_EQ(p.app->group_id, -12); }},
      {{"-G1", "-G2", "-Mstorage"}, 0, "", 0, kFlagGroup, 0,
       [](const Parsed& p) {
         EXPECT_EQ(p.app->group_id, 1);
         EXPECT_TRUE(HasWarning(p, "DUPLICATED_GROUP_SET"));
       }},
      // modules and device words
      {{"-M", "storage"}, 70, "NO_MODULE_CHOSEN", 0, 0, 0, nullptr},
      {{"--module="}, 70, "NO_MODULE_CHOSEN", 0, 0, 0, nullptr},
      {{"--mod=storage", "-L"}, 0, "", 0, kFlagDiagnostics | kInfo, 0, nullptr},
      {{"-MSTORAGE"}, 0, "", 0, kFlagRun, 0,
       [](const Parsed& p) {
         EXPECT_TRUE(HasWarning(p, "IT_IS_RECOMMENDED_TO_USE_LOWERCASE"));
         EXPECT_TRUE(Selection(p, "storage").default_diagnostic);
       }},
      {{"-Mstorage", "-MSTORAGE"}, 0, "", 0, kFlagRun, 0,
       [](const Parsed& p) {
         EXPECT_EQ(p.app->module_selections.size(), 1u);
         EXPECT_EQ(p.app->duplicated_modules.items(), std::vector<std::string>{"storage"});
       }},
      {{"-Mnosuch"}, 0, "", kolv_exit::kModuleNotLoaded, kFlagRun, 0,
       [](const Parsed& p) { EXPECT_EQ(Selection(p, "nosuch").module, nullptr); }},
      {{"0", "1", "-Mstorage"}, 70, "GARBAGE(0, 1) FOUND_OUTSIDE_MODULE_SCOPE", 0, 0, 0, nullptr},
      {{"0"}, 70, "GARBAGE(0) FOUND_OUTSIDE_MODULE_SCOPE", 0, 0, 0, nullptr},
      {{"-Mstorage", "-"}, 70, "FOLLOWING_DEVICE(S)_ARE_NOT_AVAILABLE: -", 0, 0, 0, nullptr},
      {{"-Mstorage", "", " ", "0"}, 0, "", 0, kFlagDeviceIds, 0,
       [](const Parsed& p) {
         EXPECT_EQ(DeviceIds(Selection(p, "storage")), std::vector<std::string>{"0"});
       }},
      {{"-Mstorage", "0", "0"}, 0, "", 0, kFlagDeviceIds, 0,
       [](const Parsed& p) {
         EXPECT_EQ(p.app->duplicated_global_devices.items(), std::vector<std::string>{"0"});
       }},
      {{"-Mstorage", "--", "7"}, 0, "", 0, kFlagDeviceIds, 0,
       [](const Parsed& p) {
         EXPECT_EQ(DeviceIds(Selection(p, "storage")), std::vector<std::string>{"7"});
       }},
      {{"-Mstorage", "0", "-Mmemory", "1"}, 0, "", 0, kFlagRun, 0,
       [](const Parsed& p) {
         EXPECT_EQ(DeviceIds(Selection(p, "storage")), std::vector<std::string>{"0"});
         EXPECT_EQ(DeviceIds(Selection(p, "memory")), std::vector<std::string>{"1"});
       }},
      // A skipped -o value must not shift later words into another module's scope.
      {{"-o", "f", "-Mstorage", "0", "-Mmemory", "1"}, 0, "", 0, kFlagOutputFile, 0,
       [](const Parsed& p) {
         EXPECT_EQ(DeviceIds(Selection(p, "storage")), std::vector<std::string>{"0"});
         EXPECT_EQ(DeviceIds(Selection(p, "memory")), std::vector<std::string>{"1"});
       }},
      {{"-Mstorage", "", "0", "-Q", "1", "-Mmemory", "2"}, 0, "", 0, kFlagRun, 0,
       [](const Parsed& p) {
         EXPECT_EQ(DeviceIds(Selection(p, "storage")), (std::vector<std::string>{"0", "1"}));
         EXPECT_EQ(DeviceIds(Selection(p, "memory")), std::vector<std::string>{"2"});
       }},
      {{"-Mstorage", "0", "-D"}, 70, "UNNECESSARY_DEVICES_CHOSEN", 0, 0, 0, nullptr},
      // diagnostics, per module and by long name
      {{"-Mstorage", "0", "1", "-Qf,r"}, 70, "NO_ARGUMENTS_ON_TEST_WITH_MANDATORY_TEST", 0, 0, 0,
       nullptr},
      {{"-Mstorage", "0", "1", "-Qf,r(5,x)"}, 0, "", 0, kFlagRun | kFlagDeviceIds, 0,
       [](const Parsed& p) {
         const ModuleSelection& s = Selection(p, "storage");
         EXPECT_EQ(DeviceIds(s), (std::vector<std::string>{"0", "1"}));
         ASSERT_EQ(s.diagnostics.size(), 1u);
         const DiagnosticSelection& q = *s.diagnostics[0];
         EXPECT_EQ(q.name, "QUICK");
         ASSERT_EQ(q.tests.size(), 2u);
         EXPECT_EQ(q.tests.Find("VERIFY")->parameters, (std::vector<std::string>{"5", "x"}));
         EXPECT_FALSE(q.all_tests);
         EXPECT_TRUE(q.all_devices);
       }},
      {{"-Mstorage", "-Q", "-P"}, 0, "", 0, kFlagRun, 0,
       [](const Parsed& p) {
         const ModuleSelection& s = Selection(p, "storage");
         ASSERT_EQ(s.diagnostics.size(), 2u);
         EXPECT_EQ(s.diagnostics[1]->name, "LONG");
         EXPECT_TRUE(s.diagnostics[0]->all_tests && s.diagnostics[0]->all_devices);
         EXPECT_FALSE(s.default_diagnostic);
       }},
      {{"-Mstorage", "--quick=read"}, 0, "", 0, kFlagRun, 0,
       [](const Parsed& p) {
         EXPECT_EQ(Selection(p, "storage").diagnostics.at(0)->name, "QUICK");
         EXPECT_TRUE(Selection(p, "storage").diagnostics.at(0)->tests.Find("READ"));
       }},
      {{"-Mmemory", "--quick"}, 0, "", 0, kFlagRun, 0,
       [](const Parsed& p) { EXPECT_EQ(Selection(p, "memory").diagnostics.at(0)->name, "MEM_QUICK"); }},
      {{"-Mmemory", "-X"}, 0, "", 0, kFlagRun, 0,
       [](const Parsed& p) { EXPECT_EQ(Selection(p, "memory").diagnostics.at(0)->name, "MEM_QUICK"); }},
      {{"-Mmemory", "--memscan"}, 0, "", 0, kFlagRun, 0,
       [](const Parsed& p) { EXPECT_EQ(Selection(p, "memory").diagnostics.at(0)->name, "MEM_SCAN"); }},
      {{"-Mmemory", "-S"}, 0, "", 0, kFlagTools | kInfo, kFlagRun, nullptr},
      {{"-Mnosuch", "-Q"}, 0, "", kolv_exit::kModuleNotLoaded, kFlagRun, 0, nullptr},
      // The loaded module still runs; the missing one is not forgotten.
      {{"-Mnosuch", "0", "-Q", "-Mstorage", "-Q"}, 0, "", kolv_exit::kModuleNotLoaded, kFlagRun, 0,
       nullptr},
      // tools
      {{"-Mstorage", "-Trecover"}, 0, "", 0, kFlagTool, kFlagRun,
       [](const Parsed& p) {
         ASSERT_NE(p.app->tool, nullptr);
         EXPECT_EQ(p.app->tool->name(), "Bad|Sectors");
         EXPECT_EQ(p.app->tool_module->name(), "Storage");
       }},
      {{"-Mstorage", "--tool=RECOVER"}, 0, "", 0, kFlagTool, 0, nullptr},
      {{"-Mstorage", "-h", "-Trecover"}, 0, "", 0, kFlagTool, 0, nullptr},
      {{"-Mstorage", "-T"}, 70, "NO_TOOL_CHOSEN", 0, 0, 0, nullptr},
      {{"-Mstorage", "--tool="}, 70, "NO_TOOL_CHOSEN", 0, 0, 0, nullptr},
      {{"-Trecover"}, 70, "THE_-|T_OPTION_MUST_BE_USED_AFTER_THE_-|M\"module_name\"_OPTION", 0, 0,
       0, nullptr},
      {{"-Mstorage", "-G5", "-Trecover"}, 70,
       "THE_-|T_OPTION_CANNOT_BE_USED_ALONG_WITH_OTHER_CLI_OPTIONS", 0, 0, 0, nullptr},
      {{"-Mstorage", "-Mmemory", "-Trecover"}, 70,
       "THE_TOOL_OPTION_MUST_BE_SPECIFIED_FOR_ONLY_ONE_MODULE", 0, 0, 0, nullptr},
      {{"-b", "-Mstorage", "-Trecover"}, 70, "IT_IS_NOT_POSSIBLE_TO_A_TOOL_IN_BACKGROUND_MODE", 0,
       0, 0, nullptr},
      {{"-o", "f", "-Mstorage", "-Trecover"}, 70,
       "IT_IS_NOT_POSSIBLE_TO_REDIRECT_THE_OUTPUT_WHILE_RUNNING_A_TOOL", 0, 0, 0, nullptr},
      {{"-Mstorage", "0", "-Trecover"}, 70, "UNNECESSARY_DEVICES_CHOSEN",
       kolv_exit::kCommandLineError, 0, 0, nullptr},
      {{"-Mstorage", "-Tnope"}, 70,
       "The following tool is not available to the storage module: nope\n\n> |Available tools "
       "to storage module: recover",
       kolv_exit::kToolNotOffered, 0, 0, nullptr},
      {{"-Mnosuch", "-Trecover"}, 70,
       "|FOLLOWING_MODULE(S)_ARE_NOT_AVAILABLE: nosuch - hence the recover tool can not be executed",
       kolv_exit::kModuleNotLoaded, 0, 0, nullptr},
  };
  return rows;
}

TEST(CommandLine, EveryLineOfTheTableGivesItsResult) {
  fakes::Catalogue catalogue;
  for (const Row& row : Table()) {
    SCOPED_TRACE(Joined(row.args));
    auto p = Parse(catalogue, row.args);
    EXPECT_EQ(p->result, row.result) << p->error;
    if (row.result != 0) {
      EXPECT_EQ(p->error, row.error);
    }
    EXPECT_EQ(p->app->outcome.Status(), row.exit_status);
    EXPECT_EQ(p->app->flags & row.flags_set, row.flags_set) << std::hex << p->app->flags;
    EXPECT_EQ(p->app->flags & row.flags_clear, 0u) << std::hex << p->app->flags;
    if (row.check && p->result == row.result) row.check(*p);
  }
  EXPECT_GE(Table().size(), 60u);
}

TEST(CommandLine, ToolParsingStopsJustAfterTheToolOption) {
  fakes::Catalogue catalogue;
  auto p = Parse(catalogue, {"-Mstorage", "-Trecover", "-s", "0"});
  ASSERT_EQ(p->result, 0) << p->error;
  ASSERT_LT(optind, p->line.argc());
  EXPECT_STREQ(p->line.argv()[optind], "-s");
  EXPECT_EQ(p->app->argument_copy,
            (std::vector<std::string>{"kolv_cli", "-Mstorage", "-Trecover", "-s", "0"}));
}

TEST(CommandLine, OptionTablesLeaveOutLettersTheHostUses) {
  fakes::Catalogue catalogue;
  CliApplication app(false);
  app.modules = &catalogue.modules;
  ASSERT_EQ(BuildOptionTables(app), 0);
  EXPECT_EQ(app.short_options, "o::SADRLM::hbvG::UT::Q::P::X::H::");
  // Colliding, empty and ":" letters and the long name "help" are reported.
  EXPECT_EQ(app.warnings.items().size(), 4u);
  int help_rows = 0, quick_rows = 0;
  for (const option& o : app.long_options) {
    if (!o.name) continue;
    help_rows += std::string(o.name) == "help";
    quick_rows += std::string(o.name) == "quick";
  }
  EXPECT_EQ(help_rows, 1);
  EXPECT_EQ(quick_rows, 1);
  EXPECT_EQ(app.long_options.back().name, nullptr);
}

struct ListRow {
  std::string list;
  int result;
  std::string error;
  Check check;
};

TEST(CommandLine, TestListsAreSplitAndValidated) {
  fakes::Catalogue catalogue;
  const std::vector<ListRow> rows = {
      {"f(1,,2)", 70, "TEST_PARAMETER_EMPTY", nullptr},
      {"r(1,)", 70, "TEST_PARAMETER_EMPTY", nullptr},
      {"r(,1)", 70, "TEST_PARAMETER_EMPTY", nullptr},
      {"f)", 70, "PARENTHESES_MISMATCH", nullptr},
      {"f(1", 70, "PARENTHESES_MISMATCH", nullptr},
      {")f(", 70, "PATENTHESE_CLOSING_WITHOUT_OPENING", nullptr},
      {"f(1)r", 70, "TEST_WITHOUT_SEPARATOR", nullptr},
      {"f((1))", 70, "TEST_WITHOUT_SEPARATOR", nullptr},
      {",f", 70, "EMPTY_TEST", nullptr},
      {"f,", 70, "EMPTY_TEST", nullptr},
      {"f,,r(1)", 70, "EMPTY_TEST", nullptr},
      {"r", 70, "NO_ARGUMENTS_ON_TEST_WITH_MANDATORY_TEST", nullptr},
      {"r()", 70, "NO_ARGUMENTS_ON_TEST_WITH_MANDATORY_TEST", nullptr},
      {"   ", 0, "",
       [](const Parsed& p) {
         const DiagnosticSelection& q = *Selection(p, "storage").diagnostics.at(0);
         EXPECT_TRUE(q.all_tests && q.all_devices);
       }},
      {"f,(x)", 0, "",
       [](const Parsed& p) {
         EXPECT_EQ(DeviceIds(Selection(p, "storage")), std::vector<std::string>{"(x)"});
         EXPECT_EQ(p.app->tests_taken_as_devices.items(), std::vector<std::string>{"(x)"});
       }},
      {"f(1)", 0, "",
       [](const Parsed& p) {
         EXPECT_EQ(p.app->ignored_test_arguments.items(), std::vector<std::string>{"f(1)"});
       }},
      {"r(1),verify(2)", 0, "",
       [](const Parsed& p) {
         const DiagnosticSelection& q = *Selection(p, "storage").diagnostics.at(0);
         EXPECT_EQ(q.tests.size(), 1u);
         EXPECT_EQ(q.tests.Find("VERIFY")->parameters, std::vector<std::string>{"1"});
         EXPECT_EQ(p.app->duplicated_tests.items(), std::vector<std::string>{"verify"});
       }},
      {"read, 1 ,zz", 0, "",
       [](const Parsed& p) {
         const ModuleSelection& s = Selection(p, "storage");
         const DiagnosticSelection& q = *s.diagnostics.at(0);
         EXPECT_FALSE(q.all_devices);
         EXPECT_FALSE(q.all_tests);
         EXPECT_EQ(DeviceIds(s), (std::vector<std::string>{"1", "zz"}));
         EXPECT_EQ(s.devices.Find("1")->diagnostics, std::vector<DiagnosticSelection*>{s.diagnostics[0].get()});
         EXPECT_FALSE(s.devices.Find("1")->global);
       }},
  };
  for (const ListRow& row : rows) {
    SCOPED_TRACE(row.list);
    auto p = Parse(catalogue, {"-Mstorage", "-Q" + row.list});
    EXPECT_EQ(p->result, row.result) << p->error;
    if (row.result != 0) {
      EXPECT_EQ(p->error, row.error);
    }
    if (row.check && p->result == 0) row.check(*p);
  }
}

TEST(CommandLine, ADeviceNamedInTheScopeAndTheListIsRedundant) {
  fakes::Catalogue catalogue;
  auto p = Parse(catalogue, {"-Mstorage", "0", "-Qf,0"});
  ASSERT_EQ(p->result, 0) << p->error;
  EXPECT_TRUE(HasWarning(*p, "REDUNDANT_DEVICE_ENTRY(IES)_ON_DIAGNOSTIC_SCOPE_IGNORED"));
  EXPECT_EQ(DeviceIds(Selection(*p, "storage")), std::vector<std::string>{"0"});
}

TEST(CommandLine, WarningsAreReportedInTheirOrderAfterTheParse) {
  fakes::Catalogue catalogue;
  auto p = Parse(catalogue, {"-h", "-h", "-Mstorage", "-Mstorage", "-Mnosuch"});
  ASSERT_EQ(p->result, 0) << p->error;
  ReportWarnings(*p->app);
  // The lists first, then the parser's own warnings, then the missing modules: keys, with the
  // words they are about as they were typed or named.
  const auto& w = p->app->warnings.items();
  ASSERT_GE(w.size(), 3u);
  EXPECT_EQ(w[0], "DUPLICATED_MODULE(S)_ENTRY,_ONLY_ONE_ENTRY_CONSIDERED_OF_EACH: storage");
  EXPECT_EQ(WarningText(w[1]), "Diagnostic letter not usable, short option left out: memory --memscan");
  EXPECT_NE(std::find(w.begin(), w.end(), "DUPLICATED_OPTION_ENTRY,_ONLY_ONE_ENTRY_CONSIDERED"),
            w.end());
  EXPECT_EQ(WarningText(w.back()), "Following module(s) are not available: nosuch");
  EXPECT_EQ(WarningText("TEST(S)_NOT_FOUND,_ARGUMENt(S)_TREATED_AS_DEVICE: My_Disk, SDA_1"),
            "Test(s) not found, argument(s) treated as device: My_Disk, SDA_1");
}

TEST(CommandLine, OnlyMissingModulesTurnTheRunIntoHelp) {
  fakes::Catalogue catalogue;
  auto p = Parse(catalogue, {"-Mnosuch", "-Mother"});
  ASSERT_EQ(p->result, 0);
  ReportWarnings(*p->app);
  EXPECT_EQ(p->app->flags & (kFlagHelp | kFlagInformation), unsigned(kFlagHelp | kFlagInformation));
  EXPECT_EQ(p->app->outcome.Status(), kolv_exit::kModuleNotLoaded);

  std::vector<ModuleInterfaceView*> none;
  CliApplication empty(false);
  empty.modules = &none;
  empty.module_selections.emplace_back("storage", new ModuleSelection());
  ReportWarnings(empty);
  EXPECT_EQ(empty.warnings.items(), std::vector<std::string>{"NO_MODULE_LOADED"});
}

TEST(CommandLine, NoModuleListIsAFatalError) {
  CliApplication app(false);
  clitest::Argv line({"-A"});
  std::string error;
  EXPECT_EQ(clitest::ParseFresh(app, line, error), 70);
  EXPECT_EQ(error, "LOADING_MODULES_FAILURE");
}

}  // namespace
