#include "module_help.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace morva_service {
namespace detail {

namespace {

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


}  // namespace

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

}  // namespace detail
}  // namespace morva_service
