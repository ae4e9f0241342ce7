// The simulation script: what the engine offers and how each run turns out, read from the JSON
// catalogue. Everything here is checked once at load, so the run code can trust it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "morva_service/input_request.h"
#include "morva_service/types.h"
#include "morva_service/views.h"

namespace morva_service {
namespace detail {

struct MessageSpec {
  std::string kind;  // MESSAGE, WARNING, ERROR or CRITICAL
  std::vector<std::string> words;
  std::string code;  // empty: none
  double at = 100;   // percent of the test's duration
};

struct ProgressStep {
  int percent = 0;
  std::string text;
};

// What an answer to an interaction changes.
struct AnswerEffect {
  bool has_status = false;
  TestStatus status = kTestPassed;
  std::vector<MessageSpec> messages;
  bool finish_now = false;  // the test ends right after the answer
};

// A question a running test or tool puts to its listener.
struct QuestionSpec {
  std::string title;
  std::string message;
  int kind = InputRequest::kQuestion;
  int buttons = InputRequest::kOkCancel;
  std::vector<std::string> fields;  // label texts
  double at = 0;                    // percent of the run's work done when it is asked
  int default_answer = InputRequest::kNoAnswer;
};

struct InteractionSpec : QuestionSpec {
  std::map<int, AnswerEffect> answers;
};

struct OutcomeSpec {
  TestStatus status = kTestPassed;
  double duration = 1;  // seconds before scaling
  std::vector<ProgressStep> progress;
  std::vector<MessageSpec> messages;
  std::unique_ptr<InteractionSpec> interaction;
};

struct ParameterSpec {
  bool accepted = false;  // false: the test takes no parameters and ignores any given
  size_t min_count = 0;
  size_t max_count = 0;
  bool integers = false;
  int64_t low = 0;
  int64_t high = 0;
  std::vector<std::string> defaults;  // used when none are given
};

struct TestSpec {
  std::string name;
  std::string description;
  ItemIdentifier identifier;
  bool all_devices = true;
  std::set<std::string> devices;
  ParameterSpec parameters;
  std::map<std::string, OutcomeSpec> outcomes;  // by device id
  OutcomeSpec default_outcome;
};

struct DiagnosticSpec {
  std::string name;
  std::string description;
  ItemIdentifier identifier;
  std::vector<TestSpec> tests;
};

struct DeviceSpec {
  std::string id;
  std::string udi;
  SystemComponentInformation information;
  std::vector<SystemComponentResource> resources;
};

struct ScanStep {
  std::vector<std::string> devices;
  int result = 0;
};

struct OptionSpec {
  ItemIdentifier identifier;
  std::string letter;
  std::string long_name;
  int argument_requirement = CommandLineOptionView::kNoArguments;
};

// What an answer to a tool's question changes for the device being worked on.
struct ToolAnswerEffect {
  bool has_code = false;
  int code = 0;
  bool has_message = false;
  std::string message;      // empty: none
  bool finish_now = false;  // the device ends right after the answer, with what was done so far
};

struct ToolInteractionSpec : QuestionSpec {
  std::map<int, ToolAnswerEffect> answers;
};

struct ToolDeviceResult {
  bool present = false;
  int code = 0;
  std::array<uint64_t, 4> sectors{};  // read, bad, fixed, unfixed
  std::vector<std::string> bad_sectors;
  std::string message;  // empty: none
  double duration = 1;
  std::shared_ptr<const ToolInteractionSpec> interaction;  // null: the device asks nothing
};

struct ToolPartitionResult {
  int code = 0;
  std::string summary;
  std::string message;  // empty: none
  double duration = 1;
  bool schedule = false;
};

struct ToolDeviceScript {
  bool logical = false;   // qualifies for a logical filter run
  bool physical = false;  // qualifies for a physical one
  ToolDeviceResult scan;
  ToolDeviceResult repair;
  std::map<std::string, ToolPartitionResult> partitions;  // by mount point, "*" for the rest
};

struct ToolSpec {
  std::string name;
  std::string hint;
  std::string description;
  int abort_code = 8;
  std::map<std::string, ToolDeviceScript> devices;
};

struct ModuleSpec {
  std::string name;
  std::string help;
  bool has_version = false;
  ProductVersion version;
  bool check_result = true;
  double check_duration = 0;
  double scan_duration = 0;
  std::vector<ScanStep> scans;  // the last one repeats
  std::vector<OptionSpec> diagnostic_options;
  std::vector<OptionSpec> test_options;
  std::vector<DeviceSpec> devices;
  std::vector<DiagnosticSpec> diagnostics;
  std::vector<ToolSpec> tools;
};

struct Catalogue {
  std::string path;
  ProductVersion product_version{3, 2, 0, 0};
  bool service_unavailable = false;
  bool no_modules = false;
  std::vector<ModuleSpec> modules;
};

// Reads and checks the whole file. false with "<file>: <entry>: <problem>" in error.
bool LoadCatalogue(const std::string& path, Catalogue& catalogue, std::string& error);

// "1.2.3" and back.
bool ParseIdentifier(const std::string& text, ItemIdentifier& identifier);
std::string IdentifierText(const ItemIdentifier& identifier);

// Log and display words: non-empty, no blank or control character.
bool IsToken(const std::string& text);

const char* StatusName(TestStatus status);

}  // namespace detail
}  // namespace morva_service
