// Helpers for the engine's tests: private catalogues, recording listeners, file access.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "morva_service/morva_service.h"

namespace engine_test {

long ThreadId();

// Writes the catalogue, points $MORVA_CATALOGUE at it and returns a fresh engine (null when it
// refuses the catalogue).
morva_service::MorvaService* FreshEngine(const std::string& catalogue_json,
                                         const std::string& file_name = "catalogue.json");
// A fresh engine over the demo catalogue that ctest names.
morva_service::MorvaService* DemoEngine();
void DropEngine();

// Where the engine writes its diagnostics log, and a way to start from an empty one.
std::string LogPath();
void RemoveLog();

morva_service::ModuleInterfaceView* LoadedModule(morva_service::MorvaService* engine, const std::string& name);
morva_service::SystemComponentView* ScannedDevice(morva_service::ModuleInterfaceView* module,
                                                  const std::string& id);
morva_service::DiagnosticView* Diagnostic(morva_service::ModuleInterfaceView* module, const std::string& name);
morva_service::TestView* Test(morva_service::DiagnosticView* diagnostic, const std::string& name);

// True when a person can read the text as it stands: some letters and no translation key such
// as "READ_ERRORS_FOUND" in it.
bool ReadsAsWords(const std::string& text);

// One diagnostic with the named tests (each with its parameters).
morva_service::DiagnosticRun Select(morva_service::DiagnosticView* diagnostic,
                                    const std::vector<std::pair<std::string, std::vector<std::string>>>& tests);
// Every test of the diagnostic, without parameters.
morva_service::DiagnosticRun SelectAll(morva_service::DiagnosticView* diagnostic);

// Records every suite notification as text ("TestStarted T_ONE", "TestFinished 4", ...), with
// the thread it arrived on. on_event runs after recording, on the engine's thread.
class RecordingSuiteListener : public morva_service::SuiteListenerView {
 public:
  bool SuiteStarted() override { return Record("SuiteStarted"); }
  void SuiteFinished() override { Record("SuiteFinished"); }
  bool DiagnosticStarted(morva_service::DiagnosticView* diagnostic) override {
    return Record("DiagnosticStarted " + diagnostic->name());
  }
  void DiagnosticFinished() override { Record("DiagnosticFinished"); }
  bool TestStarted(morva_service::TestView* test) override { return Record("TestStarted " + test->name()); }
  void TestFinished(morva_service::TestStatus status) override {
    Record("TestFinished " + std::to_string(static_cast<int>(status)));
  }
  bool SystemComponentStarted() override { return Record("SystemComponentStarted"); }
  bool SystemComponentRunStarted(int run, morva_service::SystemComponentView* device) override {
    return Record("SystemComponentRunStarted " + std::to_string(run) + " " + (device ? device->id() : "null"));
  }
  void SystemComponentFinished(std::string code) override { Record("SystemComponentFinished " + code); }
  void SystemComponentRunFinished(std::string result) override { Record("SystemComponentRunFinished " + result); }
  void Message(std::string text) override { Record("Message " + text); }

  std::vector<std::string> events() const;
  std::vector<long> threads() const;
  // The statuses of TestFinished, in order.
  std::vector<int> statuses() const;

  std::function<void(const std::string&)> on_event;

 private:
  bool Record(const std::string& event);
  mutable std::mutex mutex_;
  std::vector<std::string> events_;
  std::vector<long> threads_;
};

// Answers interaction requests with a fixed answer and keeps what it was shown.
class ScriptedTestListener : public morva_service::TestListenerView {
 public:
  explicit ScriptedTestListener(bool interactive, int answer = 0) : interactive_(interactive), answer_(answer) {}
  void ProgressUpdated(int percent, std::string text) override;
  void Interact(InputRequest* request) override;
  bool IsInteractive() override { return interactive_; }
  int progress() override { return progress_; }
  std::string message() override { return message_; }
  void ClearMessage() override { message_.clear(); }

  struct Shown {
    std::string title, message;
    int kind = -1, buttons = -1;
    std::vector<std::string> fields;
  };
  std::vector<Shown> requests;
  std::vector<std::pair<int, std::string>> progress_seen;
  std::vector<long> threads;

 private:
  bool interactive_;
  int answer_;
};

}  // namespace engine_test
