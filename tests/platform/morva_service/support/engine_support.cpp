#include "engine_support.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <stdexcept>

#include "morva_service/diagnostics.h"
#include "tests/support/scratch.h"
#include "zerka/zerka.h"

namespace engine_test {

namespace {

// ctest's demo catalogue, remembered before a test points the engine elsewhere.
const std::string& DemoCataloguePath() {
  static const std::string path = [] {
    const char* value = std::getenv("MORVA_CATALOGUE");
    return std::string(value ? value : "");
  }();
  return path;
}

// Taken when the program starts, before any test points the engine elsewhere.
const std::string& demo_catalogue_at_start = DemoCataloguePath();

}  // namespace

bool ReadsAsWords(const std::string& text) {
  static const std::regex key("\\b[A-Z0-9]+(_[A-Z0-9]+)+\\b");
  return std::regex_search(text, std::regex("[A-Za-z]")) && !std::regex_search(text, key);
}

long ThreadId() { return static_cast<long>(::syscall(SYS_gettid)); }

morva_service::MorvaService* FreshEngine(const std::string& catalogue_json, const std::string& file_name) {
  DemoCataloguePath();
  MorvaResetForTests();
  ::setenv("MORVA_CATALOGUE", test_support::WriteScratchFile(file_name, catalogue_json).c_str(), 1);
  return GetMorvaServiceInstance();
}

morva_service::MorvaService* DemoEngine() {
  MorvaResetForTests();
  ::setenv("MORVA_CATALOGUE", DemoCataloguePath().c_str(), 1);
  return GetMorvaServiceInstance();
}

void DropEngine() { MorvaResetForTests(); }

std::string LogPath() {
  return get_filesystem()->NativePath(std::string(1, get_filesystem()->SystemDriveLetter()) +
                                      ":\\ProgramData\\Tarvex\\morva\\morva.log");
}

void RemoveLog() { std::remove(LogPath().c_str()); }

morva_service::ModuleInterfaceView* LoadedModule(morva_service::MorvaService* engine, const std::string& name) {
  auto* modules = engine->loaded_modules();
  if (!modules) modules = engine->LoadModules();
  if (!modules) return nullptr;
  for (auto* module : *modules)
    if (module->name() == name) return module;
  return nullptr;
}

morva_service::SystemComponentView* ScannedDevice(morva_service::ModuleInterfaceView* module, const std::string& id) {
  if (module->system_component_count() == 0) module->Scan();
  for (auto* device : module->system_components())
    if (device->id() == id) return device;
  return nullptr;
}

morva_service::DiagnosticView* Diagnostic(morva_service::ModuleInterfaceView* module, const std::string& name) {
  for (auto* diagnostic : module->diagnostics())
    if (diagnostic->name() == name) return diagnostic;
  return nullptr;
}

morva_service::TestView* Test(morva_service::DiagnosticView* diagnostic, const std::string& name) {
  for (auto* test : diagnostic->tests())
    if (test->name() == name) return test;
  return nullptr;
}

morva_service::DiagnosticRun Select(morva_service::DiagnosticView* diagnostic,
                                    const std::vector<std::pair<std::string, std::vector<std::string>>>& tests) {
  morva_service::DiagnosticRun run;
  run.diagnostic = diagnostic;
  for (const auto& test : tests) {
    morva_service::TestRun entry;
    entry.test = Test(diagnostic, test.first);
    if (!entry.test) throw std::runtime_error("no test " + test.first);
    entry.parameters = test.second;
    run.tests.push_back(entry);
  }
  return run;
}

morva_service::DiagnosticRun SelectAll(morva_service::DiagnosticView* diagnostic) {
  morva_service::DiagnosticRun run;
  run.diagnostic = diagnostic;
  for (auto* test : diagnostic->tests()) run.tests.push_back({test, {}});
  return run;
}

bool RecordingSuiteListener::Record(const std::string& event) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(event);
    threads_.push_back(ThreadId());
  }
  if (on_event) on_event(event);
  return true;
}

std::vector<std::string> RecordingSuiteListener::events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

std::vector<long> RecordingSuiteListener::threads() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return threads_;
}

std::vector<int> RecordingSuiteListener::statuses() const {
  std::vector<int> statuses;
  for (const std::string& event : events())
    if (event.rfind("TestFinished ", 0) == 0) statuses.push_back(std::stoi(event.substr(13)));
  return statuses;
}

void ScriptedTestListener::ProgressUpdated(int percent, std::string text) {
  progress_ = percent;
  if (!text.empty()) message_ = text;
  progress_seen.emplace_back(percent, text);
  threads.push_back(ThreadId());
}

void ScriptedTestListener::Interact(InputRequest* request) {
  Shown shown;
  shown.title = request->title;
  shown.message = request->message;
  shown.kind = request->kind;
  shown.buttons = request->buttons;
  for (auto* field : request->fields) shown.fields.push_back(field->text());
  requests.push_back(shown);
  threads.push_back(ThreadId());
  request->answer = answer_;
}

}  // namespace engine_test
