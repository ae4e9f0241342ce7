#include "objects.h"

#include <algorithm>
#include <cstring>

#include "support.h"

namespace morva_service {
namespace detail {

namespace {

std::string JoinValues(const std::vector<std::string>& values) {
  std::string text = "[";
  for (size_t i = 0; i < values.size(); ++i) text += (i ? "|" : "") + values[i];
  return text + "]";
}

// "SURFACE_READ_SCAN" -> "Surface read scan"; a name already written in words keeps its case.
std::string AsWords(const std::string& name) {
  bool key = name.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos;
  std::string text = name;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '_') text[i] = ' ';
    else if (key && i > 0 && text[i] >= 'A' && text[i] <= 'Z') text[i] = static_cast<char>(text[i] - 'A' + 'a');
  }
  return text;
}

const OptionSpec* OptionOf(const std::vector<OptionSpec>& options, const ItemIdentifier& identifier) {
  for (const OptionSpec& option : options)
    if (option.identifier == identifier) return &option;
  return nullptr;
}

// The name a test is chosen by on a command line, with arguments when it needs them.
std::string TestChoice(const OptionSpec& option, const TestSpec& test) {
  std::string name = option.letter.empty() ? option.long_name : option.letter;
  if (option.argument_requirement != CommandLineOptionView::kNeedsArguments) return name;
  std::vector<std::string> values = test.parameters.defaults;
  if (values.empty() && test.parameters.integers)
    values.assign(std::max<size_t>(test.parameters.min_count, 1), std::to_string(test.parameters.low));
  std::string text;
  for (const std::string& value : values) text += (text.empty() ? "" : ",") + value;
  return name + "(" + (text.empty() ? std::string("value") : text) + ")";
}

void AddRow(std::string& help, const std::string& left, const std::string& right) {
  help += "\n" + left + std::string(left.size() < 34 ? 36 - left.size() : 2, ' ') + right;
}

// A command line that runs the first one or two tests of a diagnostic, and what it does.
std::string ExampleLine(const ModuleSpec& spec, const std::string& letter, const std::string& diagnostic,
                        const std::vector<std::string>& tests) {
  std::string module = spec.name;
  for (char& c : module)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  const bool two = tests.size() > 1;
  const std::string list = two ? tests[0] + "," + tests[1] : tests[0];
  const std::string what = two ? "tests " + tests[0] + " and " + tests[1] : "test " + tests[0];
  const std::string device = spec.devices.empty() ? std::string() : spec.devices[0].id;
  std::string line = "\n  Example: -M" + module + (device.empty() ? "" : " " + device);
  line += " -" + letter + "\"" + list + "\" runs " + what + " of " + diagnostic;
  if (!device.empty()) line += " on device " + device;
  return line;
}

// Letters the console host keeps for its own options: no diagnostic is chosen by them there.
const char kHostLetters[] = "oSADRLMhbvGT";

bool HostLetter(const std::string& letter) {
  return letter.size() == 1 && std::strchr(kHostLetters, letter[0]) != nullptr;
}

// The module's help as the console host prints it: the catalogue's text, then every
// diagnostic and test with the letters that choose them, taken from the module's own options.
// A diagnostic whose letter the host keeps is offered by its long name only.
std::string ModuleHelp(const ModuleSpec& spec) {
  std::string help = "Module " + spec.name + (spec.help.empty() ? std::string() : ": " + spec.help);
  if (spec.diagnostics.empty()) return help + "\n  It offers no diagnostics.";
  help += "\n  Diagnostics and their tests:";
  std::string example;
  for (const DiagnosticSpec& diagnostic : spec.diagnostics) {
    const OptionSpec* option = OptionOf(spec.diagnostic_options, diagnostic.identifier);
    const bool letter = option && !option->letter.empty() && !HostLetter(option->letter);
    std::string left = "    (no option)";
    if (letter)
      left = "    -" + option->letter + (option->long_name.empty() ? "" : ", --" + option->long_name);
    else if (option && !option->long_name.empty())
      left = "    --" + option->long_name;
    AddRow(help, left, AsWords(diagnostic.name));
    std::vector<std::string> chosen;
    for (const TestSpec& test : diagnostic.tests) {
      const OptionSpec* test_option = OptionOf(spec.test_options, test.identifier);
      std::string test_left = "          (no letter)";
      std::string right = AsWords(test.name);
      if (test_option) {
        const bool both = !test_option->letter.empty() && !test_option->long_name.empty();
        test_left = "          " + test_option->letter + (both ? ", " : "") + test_option->long_name;
        if (test_option->argument_requirement == CommandLineOptionView::kNeedsArguments)
          right += ", needs arguments: " + TestChoice(*test_option, test);
        if (chosen.size() < 2) chosen.push_back(TestChoice(*test_option, test));
      }
      AddRow(help, test_left, right);
    }
    if (example.empty() && letter && !chosen.empty())
      example = ExampleLine(spec, option->letter, AsWords(diagnostic.name), chosen);
  }
  return help + example;
}

}  // namespace

bool TestObject::SupportsComponent(const SystemComponentView* device) const {
  // Only the module's own devices are looked at: a host may ask about one that UnloadModules freed.
  if (!module_->Owns(device)) return false;
  return spec_.all_devices || spec_.devices.count(static_cast<const DeviceObject*>(device)->spec().id) > 0;
}

DiagnosticObject::DiagnosticObject(const DiagnosticSpec& spec, const ModuleObject* module)
    : spec_(spec), module_(module) {
  for (const TestSpec& test : spec.tests) tests_.push_back(std::make_unique<TestObject>(test, this, module));
}

std::vector<TestView*> DiagnosticObject::tests() const {
  std::vector<TestView*> tests;
  for (const auto& test : tests_) tests.push_back(test.get());
  return tests;
}

void ToolObject::SetParameter(const std::string& name, const std::vector<std::string>& values) {
  Trace("SetParameter tool=" + spec_.name + " name=" + name + " values=" + JoinValues(values));
  // Clearing the forced abort withdraws every abort request, also one that came while no run
  // was on, so it cannot end a later run.
  if (name == "ForcedAbort" && values.empty()) abort_requested_ = false;
  StoreParameter(name, values);
}

void ToolObject::StoreParameter(const std::string& name, const std::vector<std::string>& values) {
  std::lock_guard<std::mutex> lock(mutex_);
  parameters_[name] = values;
}

std::vector<std::string> ToolObject::GetParameter(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = parameters_.find(name);
  return it == parameters_.end() ? std::vector<std::string>() : it->second;
}

ModuleObject::ModuleObject(const ModuleSpec& spec, double time_scale)
    : spec_(spec), time_scale_(time_scale), help_(ModuleHelp(spec)) {
  for (const OptionSpec& option : spec.diagnostic_options) {
    options_.push_back(std::make_unique<OptionObject>(option));
    diagnostic_option_map_[option.identifier] = options_.back().get();
  }
  for (const OptionSpec& option : spec.test_options) {
    options_.push_back(std::make_unique<OptionObject>(option));
    test_option_map_[option.identifier] = options_.back().get();
  }
  for (const DiagnosticSpec& diagnostic : spec.diagnostics)
    diagnostics_.push_back(std::make_unique<DiagnosticObject>(diagnostic, this));
  for (const ToolSpec& tool : spec.tools) tools_.push_back(std::make_unique<ToolObject>(tool, this));
  for (const DeviceSpec& device : spec.devices) all_devices_.push_back(std::make_unique<DeviceObject>(device, this));
  if (spec.has_version) version_ = std::make_unique<ProductVersion>(spec.version);
}

std::vector<SystemComponentView*> ModuleObject::system_components() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return current_;
}

std::vector<ToolView*> ModuleObject::tools() const {
  std::vector<ToolView*> tools;
  for (const auto& tool : tools_) tools.push_back(tool.get());
  return tools;
}

std::vector<DiagnosticView*> ModuleObject::diagnostics() const {
  std::vector<DiagnosticView*> diagnostics;
  for (const auto& diagnostic : diagnostics_) diagnostics.push_back(diagnostic.get());
  return diagnostics;
}

SystemComponentView* ModuleObject::system_component(size_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return index < current_.size() ? current_[index] : nullptr;
}

size_t ModuleObject::system_component_count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return current_.size();
}

bool ModuleObject::CheckForComponents() {
  Trace("CheckForComponents module=" + spec_.name);
  SleepSliced(spec_.check_duration * time_scale_, nullptr);
  Trace("CheckForComponents module=" + spec_.name + " result=" + (spec_.check_result ? "true" : "false"));
  return spec_.check_result;
}

int ModuleObject::Scan() {
  Trace("Scan module=" + spec_.name);
  size_t step_index;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    step_index = std::min(scans_done_, spec_.scans.size() - 1);
    ++scans_done_;
  }
  SleepSliced(spec_.scan_duration * time_scale_, nullptr);
  const ScanStep& step = spec_.scans[step_index];
  std::vector<SystemComponentView*> found;
  if (step.result == 0)
    for (const std::string& id : step.devices) found.push_back(DeviceById(id));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    current_ = found;
  }
  Trace("Scan module=" + spec_.name + " result=" + std::to_string(step.result) +
        " devices=" + std::to_string(found.size()));
  return step.result;
}

ProductVersion* ModuleObject::version() const { return version_.get(); }

bool ModuleObject::Owns(const SystemComponentView* device) const {
  for (const auto& object : all_devices_)
    if (object.get() == device) return true;
  return false;
}

bool ModuleObject::Owns(const DiagnosticView* diagnostic) const {
  for (const auto& object : diagnostics_)
    if (object.get() == diagnostic) return true;
  return false;
}

bool ModuleObject::Owns(const TestView* test) const {
  for (const auto& diagnostic : diagnostics_)
    for (const TestView* object : diagnostic->tests())
      if (object == test) return true;
  return false;
}

ToolObject* ModuleObject::FindTool(const ToolView* tool) const {
  for (const auto& object : tools_)
    if (object.get() == tool) return object.get();
  return nullptr;
}

DeviceObject* ModuleObject::DeviceById(const std::string& id) const {
  for (const auto& object : all_devices_)
    if (object->spec().id == id) return object.get();
  return nullptr;
}

}  // namespace detail
}  // namespace morva_service
