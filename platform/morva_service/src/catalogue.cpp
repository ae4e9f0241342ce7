#include "catalogue.h"

#include <fstream>
#include <functional>

#include "catalogue_fields.h"

namespace morva_service {
namespace detail {

namespace {

ItemIdentifier Identifier(const Json& object, const std::string& where) {
  std::string text = String(object, "id", where, true);
  ItemIdentifier identifier;
  if (!ParseIdentifier(text, identifier))
    Fail(Join(where, "id"), Quote(text) + " is not an identifier of three numbers such as \"1.2.3\"");
  return identifier;
}

TestStatus Status(const Json& object, const std::string& where, TestStatus fallback) {
  std::string name = String(object, "status", where, false);
  if (name.empty()) return fallback;
  for (int status = kTestPassed; status <= kTestInvalid; ++status)
    if (name == StatusName(static_cast<TestStatus>(status))) return static_cast<TestStatus>(status);
  Fail(Join(where, "status"),
       "unknown status " + Quote(name) +
           " (expected passed, failed, unrecognized, not_applicable, cancelled, warning or invalid)");
}

// Keys end up as "KEY: VALUE" lines of the diagnostics log.
void CheckPropertyKey(const std::string& key, const std::string& where) {
  static const char* const kMarkers[] = {"+++ ", "--- ", ">>> RESOURCE ", "<<< RESOURCE",
                                         "START TESTS", "STOP TESTS"};
  if (key.empty()) Fail(where, "empty property name");
  if (key.find(':') != std::string::npos || HasLineBreak(key) || key.find('\t') != std::string::npos)
    Fail(Join(where, key), "a property name may hold no \":\", tab or line break");
  if (HasNul(key)) Fail(where, "a property name holds a NUL byte");
  for (const char* marker : kMarkers)
    if (key.compare(0, std::string(marker).size(), marker) == 0)
      Fail(Join(where, key), "a property name may not begin like a log marker");
}

PropertyList Properties(const Json& value, const std::string& where) {
  ExpectObject(value, where);
  PropertyList properties;
  for (auto it = value.begin(); it != value.end(); ++it) {
    CheckPropertyKey(it.key(), where);
    if (!it->is_string()) Fail(Join(where, it.key()), std::string("expected a string, found ") + TypeName(*it));
    std::string text = it->get<std::string>();
    ExpectOneLine(text, Join(where, it.key()));
    properties.emplace_back(it.key(), text);
  }
  return properties;
}

MessageSpec Message(const Json& value, const std::string& where) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"kind", "words", "code", "at"});
  MessageSpec message;
  message.kind = String(value, "kind", where, false, "MESSAGE");
  if (message.kind != "MESSAGE" && message.kind != "WARNING" && message.kind != "ERROR" &&
      message.kind != "CRITICAL")
    Fail(Join(where, "kind"), "unknown kind " + Quote(message.kind) +
                                  " (expected MESSAGE, WARNING, ERROR or CRITICAL)");
  auto words = value.find("words");
  if (words == value.end()) Fail(Join(where, "words"), "missing");
  message.words = Words(*words, Join(where, "words"), false);
  if (message.words.empty()) Fail(Join(where, "words"), "needs at least one word");
  message.code = Token(value, "code", where, false);
  message.at = Number(value, "at", where, 100, 0, 100);
  return message;
}

std::vector<MessageSpec> Messages(const Json& object, const std::string& where) {
  std::vector<MessageSpec> messages;
  auto it = object.find("messages");
  if (it == object.end()) return messages;
  ExpectArray(*it, Join(where, "messages"));
  for (size_t i = 0; i < it->size(); ++i) messages.push_back(Message((*it)[i], Index(Join(where, "messages"), i)));
  return messages;
}

// The question's own keys; each answer's effect is read by effect(answer, object, where).
void Question(const Json& value, const std::string& where, QuestionSpec* spec,
              const std::function<void(int, const Json&, const std::string&)>& effect) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"title", "message", "kind", "buttons", "fields", "at", "default_answer", "answers"});
  spec->title = String(value, "title", where, true);
  spec->message = String(value, "message", where, true);
  spec->kind = Choice(value, "kind", where, InputRequest::kQuestion,
                      {{"question", InputRequest::kQuestion}, {"information", InputRequest::kInformation},
                       {"warning", InputRequest::kWarning}, {"error", InputRequest::kError}});
  spec->buttons = Choice(value, "buttons", where, InputRequest::kOkCancel,
                         {{"ok", InputRequest::kOk}, {"ok_cancel", InputRequest::kOkCancel},
                          {"close", InputRequest::kCloseOnly}});
  auto fields = value.find("fields");
  if (fields != value.end()) {
    ExpectArray(*fields, Join(where, "fields"));
    for (size_t i = 0; i < fields->size(); ++i) {
      if (!(*fields)[i].is_string()) Fail(Index(Join(where, "fields"), i), "expected a string");
      spec->fields.push_back((*fields)[i].get<std::string>());
    }
  }
  spec->at = Number(value, "at", where, 0, 0, 100);
  spec->default_answer = Integer(value, "default_answer", where, InputRequest::kNoAnswer, 0, 2);
  auto answers = value.find("answers");
  if (answers != value.end()) {
    std::string base = Join(where, "answers");
    ExpectObject(*answers, base);
    for (auto it = answers->begin(); it != answers->end(); ++it) {
      std::string at = Join(base, it.key());
      if (it.key() != "0" && it.key() != "1" && it.key() != "2")
        Fail(at, "an answer is 0 (none), 1 (first button) or 2 (second button)");
      ExpectObject(*it, at);
      effect(it.key()[0] - '0', *it, at);
    }
  }
}

std::unique_ptr<InteractionSpec> Interaction(const Json& value, const std::string& where) {
  auto spec = std::make_unique<InteractionSpec>();
  Question(value, where, spec.get(), [&](int answer, const Json& object, const std::string& at) {
    OnlyKeys(object, at, {"status", "messages", "finish_now"});
    AnswerEffect effect;
    effect.has_status = object.contains("status");
    effect.status = Status(object, at, kTestPassed);
    effect.messages = Messages(object, at);
    effect.finish_now = Boolean(object, "finish_now", at, false);
    spec->answers[answer] = std::move(effect);
  });
  return spec;
}

std::shared_ptr<const ToolInteractionSpec> ToolInteraction(const Json& value, const std::string& where) {
  auto spec = std::make_shared<ToolInteractionSpec>();
  Question(value, where, spec.get(), [&](int answer, const Json& object, const std::string& at) {
    OnlyKeys(object, at, {"code", "message", "finish_now"});
    ToolAnswerEffect effect;
    effect.has_code = object.contains("code");
    effect.code = Integer(object, "code", at, 0, -1000, 1000);
    effect.has_message = object.contains("message");
    effect.message = String(object, "message", at, false);
    effect.finish_now = Boolean(object, "finish_now", at, false);
    spec->answers[answer] = std::move(effect);
  });
  return spec;
}

OutcomeSpec Outcome(const Json& value, const std::string& where) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"status", "duration", "progress", "messages", "interaction"});
  OutcomeSpec outcome;
  outcome.status = Status(value, where, kTestPassed);
  outcome.duration = Number(value, "duration", where, 1, 0, 1e6);
  auto progress = value.find("progress");
  if (progress != value.end()) {
    std::string base = Join(where, "progress");
    ExpectArray(*progress, base);
    for (size_t i = 0; i < progress->size(); ++i) {
      const Json& step = (*progress)[i];
      ProgressStep parsed;
      if (step.is_number_integer()) {
        int64_t percent = step.get<int64_t>();
        if (percent < 0 || percent > 100) Fail(Index(base, i), "a percentage lies between 0 and 100");
        parsed.percent = static_cast<int>(percent);
      } else if (step.is_object()) {
        OnlyKeys(step, Index(base, i), {"percent", "text"});
        if (!step.contains("percent")) Fail(Join(Index(base, i), "percent"), "missing");
        parsed.percent = Integer(step, "percent", Index(base, i), 0, 0, 100);
        parsed.text = String(step, "text", Index(base, i), false);
      } else {
        Fail(Index(base, i), "expected a percentage or an object with percent and text");
      }
      outcome.progress.push_back(parsed);
    }
  } else {
    outcome.progress = {{25, ""}, {50, ""}, {75, ""}, {100, ""}};
  }
  outcome.messages = Messages(value, where);
  auto interaction = value.find("interaction");
  if (interaction != value.end()) outcome.interaction = Interaction(*interaction, Join(where, "interaction"));
  return outcome;
}

ParameterSpec Parameters(const Json& value, const std::string& where) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"min", "max", "integer_range", "default"});
  ParameterSpec spec;
  spec.accepted = true;
  spec.min_count = static_cast<size_t>(Integer(value, "min", where, 0, 0, 64));
  spec.max_count = static_cast<size_t>(Integer(value, "max", where, 64, 0, 64));
  if (spec.max_count < spec.min_count) Fail(Join(where, "max"), "is below min");
  auto range = value.find("integer_range");
  if (range != value.end()) {
    std::string at = Join(where, "integer_range");
    if (!range->is_array() || range->size() != 2 || !(*range)[0].is_number_integer() ||
        !(*range)[1].is_number_integer())
      Fail(at, "expected two whole numbers [lowest, highest]");
    spec.integers = true;
    spec.low = (*range)[0].get<int64_t>();
    spec.high = (*range)[1].get<int64_t>();
    if (spec.high < spec.low) Fail(at, "the highest value is below the lowest");
  }
  auto defaults = value.find("default");
  if (defaults != value.end()) spec.defaults = Words(*defaults, Join(where, "default"), true);
  return spec;
}

void Option(const Json& value, const std::string& where, std::vector<OptionSpec>& options) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"id", "letter", "long_name", "arguments"});
  OptionSpec option;
  option.identifier = Identifier(value, where);
  option.letter = Token(value, "letter", where, true);
  option.long_name = Token(value, "long_name", where, true);
  option.argument_requirement =
      Choice(value, "arguments", where, CommandLineOptionView::kNoArguments,
             {{"required", CommandLineOptionView::kNeedsArguments},
              {"none", CommandLineOptionView::kNoArguments}});
  for (const OptionSpec& other : options) {
    if (other.identifier == option.identifier) Fail(Join(where, "id"), "a second option for the same identifier");
    if (other.letter == option.letter) Fail(Join(where, "letter"), "letter " + Quote(option.letter) + " is used twice");
    if (other.long_name == option.long_name)
      Fail(Join(where, "long_name"), "long name " + Quote(option.long_name) + " is used twice");
  }
  options.push_back(option);
}

DeviceSpec Device(const Json& value, const std::string& where) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"id", "udi", "display_name", "rows", "attributes", "resources"});
  DeviceSpec device;
  device.id = Token(value, "id", where, true);
  device.udi = String(value, "udi", where, true);
  if (device.udi.find_first_not_of(" \t") == std::string::npos) Fail(Join(where, "udi"), "is empty");
  device.information.display_name = String(value, "display_name", where, true);
  if (device.information.display_name.empty()) Fail(Join(where, "display_name"), "is empty");
  if (value.contains("rows")) device.information.properties = Properties(value["rows"], Join(where, "rows"));
  if (value.contains("attributes")) {
    for (const auto& row : Properties(value["attributes"], Join(where, "attributes")))
      device.information.attributes[row.first] = row.second;
  }
  auto resources = value.find("resources");
  if (resources != value.end()) {
    std::string base = Join(where, "resources");
    ExpectArray(*resources, base);
    for (size_t i = 0; i < resources->size(); ++i) {
      std::string at = Index(base, i);
      ExpectObject((*resources)[i], at);
      OnlyKeys((*resources)[i], at, {"name", "properties"});
      SystemComponentResource resource;
      resource.name = Token((*resources)[i], "name", at, true);
      if (!(*resources)[i].contains("properties")) Fail(Join(at, "properties"), "missing");
      resource.properties = Properties((*resources)[i]["properties"], Join(at, "properties"));
      bool other = false;
      for (const auto& property : resource.properties) {
        if (property.first != "INDEX") {
          other = other || property.second.find_first_not_of(' ') != std::string::npos;
          continue;
        }
        if (property.second.empty() || property.second.size() > 15 ||
            property.second.find_first_not_of("0123456789") != std::string::npos)
          Fail(Join(Join(at, "properties"), "INDEX"), "must be a whole number");
      }
      if (!other) Fail(Join(at, "properties"), "needs at least one property with a value besides INDEX");
      device.resources.push_back(std::move(resource));
    }
  }
  return device;
}

const DeviceSpec* FindDevice(const ModuleSpec& module, const std::string& id) {
  for (const DeviceSpec& device : module.devices)
    if (device.id == id) return &device;
  return nullptr;
}

void CheckDeviceId(const ModuleSpec& module, const std::string& id, const std::string& where) {
  if (!FindDevice(module, id)) Fail(where, "no device " + Quote(id) + " in module " + Quote(module.name));
}

TestSpec Test(const Json& value, const std::string& where, const ModuleSpec& module) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"id", "name", "description", "devices", "parameters", "outcome", "outcomes"});
  TestSpec test;
  test.identifier = Identifier(value, where);
  test.name = Token(value, "name", where, true);
  test.description = String(value, "description", where, false);
  auto devices = value.find("devices");
  if (devices != value.end() && !(devices->is_string() && devices->get<std::string>() == "*")) {
    std::string base = Join(where, "devices");
    if (!devices->is_array()) Fail(base, "expected \"*\" or an array of device ids");
    test.all_devices = false;
    for (size_t i = 0; i < devices->size(); ++i) {
      if (!(*devices)[i].is_string()) Fail(Index(base, i), "expected a device id");
      CheckDeviceId(module, (*devices)[i].get<std::string>(), Index(base, i));
      test.devices.insert((*devices)[i].get<std::string>());
    }
  }
  if (value.contains("parameters")) test.parameters = Parameters(value["parameters"], Join(where, "parameters"));
  if (value.contains("outcome")) test.default_outcome = Outcome(value["outcome"], Join(where, "outcome"));
  auto outcomes = value.find("outcomes");
  if (outcomes != value.end()) {
    std::string base = Join(where, "outcomes");
    ExpectObject(*outcomes, base);
    for (auto it = outcomes->begin(); it != outcomes->end(); ++it) {
      CheckDeviceId(module, it.key(), Join(base, it.key()));
      test.outcomes[it.key()] = Outcome(*it, Join(base, it.key()));
    }
  }
  return test;
}

// Tests of a diagnostic and diagnostics of a module are found by their identifiers, so an
// identifier may stand only once in its list; the item that repeats one is the one reported.
template <typename Item, typename Read>
void ReadIdentifiedList(const Json& list, const std::string& base, std::vector<Item>& out, Read read) {
  ExpectArray(list, base);
  for (size_t i = 0; i < list.size(); ++i) {
    Item item = read(list[i], Index(base, i));
    for (const Item& other : out)
      if (other.identifier == item.identifier)
        Fail(Join(Index(base, i), "id"), "identifier " + IdentifierText(item.identifier) + " is used twice");
    out.push_back(std::move(item));
  }
}

DiagnosticSpec Diagnostic(const Json& value, const std::string& where, const ModuleSpec& module) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"id", "name", "description", "tests"});
  DiagnosticSpec diagnostic;
  diagnostic.identifier = Identifier(value, where);
  diagnostic.name = Token(value, "name", where, true);
  diagnostic.description = String(value, "description", where, false);
  auto tests = value.find("tests");
  if (tests == value.end()) Fail(Join(where, "tests"), "missing");
  ReadIdentifiedList(*tests, Join(where, "tests"), diagnostic.tests,
                     [&](const Json& item, const std::string& at) { return Test(item, at, module); });
  return diagnostic;
}

ToolDeviceResult DeviceResult(const Json& value, const std::string& where) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"code", "sectors", "bad_sectors", "message", "duration", "interaction"});
  ToolDeviceResult result;
  result.present = true;
  result.code = Integer(value, "code", where, 0, -1000, 1000);
  auto sectors = value.find("sectors");
  if (sectors != value.end()) {
    std::string at = Join(where, "sectors");
    if (!sectors->is_array() || sectors->size() != 4)
      Fail(at, "expected four counts [read, bad, fixed, unfixed]");
    for (size_t i = 0; i < 4; ++i) {
      if (!(*sectors)[i].is_number_unsigned() && !((*sectors)[i].is_number_integer() && (*sectors)[i].get<int64_t>() >= 0))
        Fail(Index(at, i), "expected a count of 0 or more");
      result.sectors[i] = (*sectors)[i].get<uint64_t>();
    }
  }
  auto bad = value.find("bad_sectors");
  if (bad != value.end()) {
    std::string at = Join(where, "bad_sectors");
    ExpectArray(*bad, at);
    for (size_t i = 0; i < bad->size(); ++i) {
      if (!(*bad)[i].is_number_integer() || (*bad)[i].get<int64_t>() < 0) Fail(Index(at, i), "expected a sector number");
      result.bad_sectors.push_back(std::to_string((*bad)[i].get<uint64_t>()));
    }
  }
  result.message = String(value, "message", where, false);
  result.duration = Number(value, "duration", where, 1, 0, 1e6);
  auto interaction = value.find("interaction");
  if (interaction != value.end()) result.interaction = ToolInteraction(*interaction, Join(where, "interaction"));
  return result;
}

ToolPartitionResult PartitionResult(const Json& value, const std::string& where) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"code", "summary", "message", "duration", "schedule"});
  ToolPartitionResult result;
  result.code = Integer(value, "code", where, 0, -1000, 1000);
  result.summary = String(value, "summary", where, false);
  result.message = String(value, "message", where, false);
  result.duration = Number(value, "duration", where, 1, 0, 1e6);
  result.schedule = Boolean(value, "schedule", where, false);
  return result;
}

ToolSpec Tool(const Json& value, const std::string& where, const ModuleSpec& module) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"name", "hint", "description", "abort_code", "devices"});
  ToolSpec tool;
  tool.name = Token(value, "name", where, true);
  tool.hint = Token(value, "hint", where, true);
  tool.description = String(value, "description", where, false);
  tool.abort_code = Integer(value, "abort_code", where, 8, -1000, 1000);
  auto devices = value.find("devices");
  if (devices != value.end()) {
    std::string base = Join(where, "devices");
    ExpectObject(*devices, base);
    for (auto it = devices->begin(); it != devices->end(); ++it) {
      std::string at = Join(base, it.key());
      CheckDeviceId(module, it.key(), at);
      ExpectObject(*it, at);
      OnlyKeys(*it, at, {"filter", "scan", "repair", "partitions"});
      ToolDeviceScript script;
      auto filter = it->find("filter");
      if (filter != it->end()) {
        ExpectObject(*filter, Join(at, "filter"));
        OnlyKeys(*filter, Join(at, "filter"), {"logical", "physical"});
        script.logical = Boolean(*filter, "logical", Join(at, "filter"), false);
        script.physical = Boolean(*filter, "physical", Join(at, "filter"), false);
      }
      if (it->contains("scan")) script.scan = DeviceResult((*it)["scan"], Join(at, "scan"));
      if (it->contains("repair")) script.repair = DeviceResult((*it)["repair"], Join(at, "repair"));
      auto partitions = it->find("partitions");
      if (partitions != it->end()) {
        ExpectObject(*partitions, Join(at, "partitions"));
        for (auto p = partitions->begin(); p != partitions->end(); ++p)
          script.partitions[p.key()] = PartitionResult(*p, Join(Join(at, "partitions"), p.key()));
      }
      tool.devices[it.key()] = std::move(script);
    }
  }
  return tool;
}

void ModuleCheck(const Json& check, const std::string& at, ModuleSpec& module) {
  ExpectObject(check, at);
  OnlyKeys(check, at, {"result", "duration"});
  module.check_result = Boolean(check, "result", at, true);
  module.check_duration = Number(check, "duration", at, 0, 0, 1e6);
}

void ModuleDevices(const Json& devices, const std::string& base, ModuleSpec& module) {
  ExpectArray(devices, base);
  for (size_t i = 0; i < devices.size(); ++i) {
    DeviceSpec device = Device(devices[i], Index(base, i));
    for (const DeviceSpec& other : module.devices) {
      if (other.id == device.id) Fail(Join(Index(base, i), "id"), "device id " + Quote(device.id) + " is used twice");
      if (other.udi == device.udi) Fail(Join(Index(base, i), "udi"), "UDI " + Quote(device.udi) + " is used twice");
    }
    module.devices.push_back(std::move(device));
  }
}

void ScanStepDevices(const Json& ids, const std::string& at, const ModuleSpec& module, ScanStep& step) {
  ExpectArray(ids, at);
  for (size_t d = 0; d < ids.size(); ++d) {
    std::string id_at = Index(at, d);
    if (!ids[d].is_string()) Fail(id_at, "expected a device id");
    std::string id = ids[d].get<std::string>();
    CheckDeviceId(module, id, id_at);
    for (const std::string& seen : step.devices)
      if (seen == id) Fail(id_at, "device " + Quote(id) + " is listed twice");
    step.devices.push_back(id);
  }
}

// A step that succeeds without naming devices finds every device of the module.
ScanStep ScanStepAt(const Json& value, const std::string& at, const ModuleSpec& module) {
  ExpectObject(value, at);
  OnlyKeys(value, at, {"devices", "result"});
  ScanStep step;
  step.result = Integer(value, "result", at, 0, -100000, 100000);
  auto ids = value.find("devices");
  if (ids != value.end()) {
    ScanStepDevices(*ids, Join(at, "devices"), module, step);
  } else if (step.result == 0) {
    for (const DeviceSpec& device : module.devices) step.devices.push_back(device.id);
  }
  return step;
}

void ModuleScan(const Json& scan, const std::string& at, ModuleSpec& module) {
  ExpectObject(scan, at);
  OnlyKeys(scan, at, {"duration", "sequence"});
  module.scan_duration = Number(scan, "duration", at, 0, 0, 1e6);
  auto sequence = scan.find("sequence");
  if (sequence == scan.end()) return;
  std::string base = Join(at, "sequence");
  ExpectArray(*sequence, base);
  if (sequence->empty()) Fail(base, "needs at least one scan");
  for (size_t i = 0; i < sequence->size(); ++i) module.scans.push_back(ScanStepAt((*sequence)[i], Index(base, i), module));
}

bool HasDiagnostic(const ModuleSpec& module, const ItemIdentifier& id) {
  for (const DiagnosticSpec& diagnostic : module.diagnostics)
    if (diagnostic.identifier == id) return true;
  return false;
}

bool HasTest(const ModuleSpec& module, const ItemIdentifier& id) {
  for (const DiagnosticSpec& diagnostic : module.diagnostics)
    for (const TestSpec& test : diagnostic.tests)
      if (test.identifier == id) return true;
  return false;
}

// Options name the diagnostic or test they apply to, so the diagnostics are read first.
void ModuleOptions(const Json& options, const std::string& base, bool diagnostic_map, ModuleSpec& module) {
  ExpectArray(options, base);
  std::vector<OptionSpec>& target = diagnostic_map ? module.diagnostic_options : module.test_options;
  for (size_t i = 0; i < options.size(); ++i) {
    Option(options[i], Index(base, i), target);
    const ItemIdentifier& id = target.back().identifier;
    bool known = diagnostic_map ? HasDiagnostic(module, id) : HasTest(module, id);
    if (!known)
      Fail(Join(Index(base, i), "id"), std::string("no ") + (diagnostic_map ? "diagnostic" : "test") +
                                          " has the identifier " + IdentifierText(id));
  }
}

void ModuleTools(const Json& tools, const std::string& base, ModuleSpec& module) {
  ExpectArray(tools, base);
  for (size_t i = 0; i < tools.size(); ++i) module.tools.push_back(Tool(tools[i], Index(base, i), module));
}

ModuleSpec Module(const Json& value, const std::string& where) {
  ExpectObject(value, where);
  OnlyKeys(value, where, {"name", "help", "version", "check", "scan", "diagnostic_options", "test_options",
                          "devices", "diagnostics", "tools"});
  ModuleSpec module;
  module.name = Token(value, "name", where, true);
  module.help = String(value, "help", where, false);
  auto version = value.find("version");
  if (version != value.end() && !version->is_null()) {
    module.has_version = true;
    module.version = Version(*version, Join(where, "version"));
  }
  auto check = value.find("check");
  if (check != value.end()) ModuleCheck(*check, Join(where, "check"), module);
  auto devices = value.find("devices");
  if (devices != value.end()) ModuleDevices(*devices, Join(where, "devices"), module);
  auto scan = value.find("scan");
  if (scan != value.end()) ModuleScan(*scan, Join(where, "scan"), module);
  if (module.scans.empty()) {
    ScanStep every;
    for (const DeviceSpec& device : module.devices) every.devices.push_back(device.id);
    module.scans.push_back(std::move(every));
  }
  auto diagnostics = value.find("diagnostics");
  if (diagnostics != value.end()) {
    ReadIdentifiedList(*diagnostics, Join(where, "diagnostics"), module.diagnostics,
                       [&](const Json& item, const std::string& at) { return Diagnostic(item, at, module); });
  }
  for (const char* key : {"diagnostic_options", "test_options"}) {
    auto options = value.find(key);
    if (options != value.end())
      ModuleOptions(*options, Join(where, key), std::string(key) == "diagnostic_options", module);
  }
  auto tools = value.find("tools");
  if (tools != value.end()) ModuleTools(*tools, Join(where, "tools"), module);
  return module;
}

}  // namespace

bool IsToken(const std::string& text) {
  if (text.empty()) return false;
  for (unsigned char c : text)
    if (c <= ' ' || c == 0x7f) return false;
  return true;
}

const char* StatusName(TestStatus status) {
  switch (status) {
    case kTestPassed: return "passed";
    case kTestFailed: return "failed";
    case kTestUnrecognized: return "unrecognized";
    case kTestNotApplicable: return "not_applicable";
    case kTestCancelled: return "cancelled";
    case kTestWarning: return "warning";
    case kTestInvalid: return "invalid";
  }
  return "invalid";
}

bool ParseIdentifier(const std::string& text, ItemIdentifier& identifier) {
  uint64_t parts[3] = {0, 0, 0};
  size_t position = 0;
  for (int i = 0; i < 3; ++i) {
    size_t end = i < 2 ? text.find('.', position) : text.size();
    if (end == std::string::npos || end == position || end - position > 10) return false;
    std::string piece = text.substr(position, end - position);
    if (piece.find_first_not_of("0123456789") != std::string::npos) return false;
    parts[i] = std::stoull(piece);
    if (i < 2 && parts[i] > 0xffffffffULL) return false;
    position = end + 1;
  }
  identifier.first = static_cast<uint32_t>(parts[0]);
  identifier.second = static_cast<uint32_t>(parts[1]);
  identifier.third = parts[2];
  return true;
}

std::string IdentifierText(const ItemIdentifier& identifier) {
  return std::to_string(identifier.first) + "." + std::to_string(identifier.second) + "." +
         std::to_string(identifier.third);
}

bool LoadCatalogue(const std::string& path, Catalogue& catalogue, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot be read";
    return false;
  }
  Json root;
  try {
    root = Json::parse(file);
  } catch (const nlohmann::json::parse_error& e) {
    error = path + ": not valid JSON: " + e.what();
    return false;
  }
  try {
    Catalogue loaded;
    loaded.path = path;
    ExpectObject(root, "(top)");
    OnlyKeys(root, "", {"product_version", "faults", "modules"});
    if (root.contains("product_version")) loaded.product_version = Version(root["product_version"], "product_version");
    auto faults = root.find("faults");
    if (faults != root.end()) {
      ExpectObject(*faults, "faults");
      OnlyKeys(*faults, "faults", {"service_unavailable", "no_modules"});
      loaded.service_unavailable = Boolean(*faults, "service_unavailable", "faults", false);
      loaded.no_modules = Boolean(*faults, "no_modules", "faults", false);
    }
    auto modules = root.find("modules");
    if (modules == root.end()) Fail("modules", "missing");
    ExpectArray(*modules, "modules");
    for (size_t i = 0; i < modules->size(); ++i) {
      ModuleSpec module = Module((*modules)[i], Index("modules", i));
      for (const ModuleSpec& other : loaded.modules)
        if (other.name == module.name)
          Fail(Join(Index("modules", i), "name"), "module " + Quote(module.name) + " is defined twice");
      loaded.modules.push_back(std::move(module));
    }
    catalogue = std::move(loaded);
  } catch (const CatalogueError& e) {
    error = path + ": " + e.where + ": " + e.problem;
    return false;
  } catch (const nlohmann::json::exception& e) {
    error = path + ": " + e.what();
    return false;
  }
  return true;
}

}  // namespace detail
}  // namespace morva_service
