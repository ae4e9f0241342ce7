// Listener interfaces that the front ends implement. The engine calls them on the thread that
// called Execute or ExecuteTool, never while holding a lock of its own.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "morva_service/input_request.h"
#include "morva_service/types.h"
#include "morva_service/views.h"

namespace morva_service {

class SuiteListenerView {
 public:
  virtual ~SuiteListenerView() = default;

  virtual bool SuiteStarted() = 0;
  virtual void SuiteFinished() = 0;
  virtual bool DiagnosticStarted(DiagnosticView* diagnostic) = 0;
  virtual void DiagnosticFinished() = 0;
  // Finer notifications; this engine does not send them, listeners may ignore them.
  virtual void SuitePaused() {}
  virtual void SuiteResumed() {}
  virtual void DiagnosticSkipped(DiagnosticView*) {}
  virtual void TestSkipped(TestView*) {}
  virtual void TestPaused() {}
  virtual void TestResumed() {}
  virtual void ResourceStarted(std::string) {}
  virtual void ResourceFinished(std::string) {}
  virtual void IterationStarted(int) {}
  virtual void IterationFinished(int) {}
  virtual void LogWritten(std::string) {}
  virtual bool TestStarted(TestView* test) = 0;
  virtual void TestFinished(TestStatus status) = 0;
  virtual bool SystemComponentStarted() = 0;
  // run: 0-based number of the device's run within this suite.
  virtual bool SystemComponentRunStarted(int run, SystemComponentView* device) = 0;
  virtual void SystemComponentFinished(std::string code) = 0;
  virtual void SystemComponentRunFinished(std::string result) = 0;
  virtual void Message(std::string text) = 0;
};

class TestListenerView {
 public:
  virtual ~TestListenerView() = default;

  virtual void ProgressUpdated(int percent, std::string text) = 0;
  // The answer is in the request when this returns.
  virtual void Interact(InputRequest* request) = 0;
  // false: the engine answers requests with their scripted default.
  virtual bool IsInteractive() = 0;
  virtual int progress() = 0;
  virtual std::string message() = 0;
  virtual void ClearMessage() = 0;

 protected:
  int progress_ = -1;
  std::string message_;
};

// Tool notifications are dispatched by name ("OnDeviceInit", ...) to the registered handlers;
// names without a handler are skipped.
class ToolListenerView {
 public:
  typedef std::function<bool(ToolEventView* event, const std::string& name)> Handler;
  typedef std::map<std::string, Handler> HandlerMap;

  virtual ~ToolListenerView() = default;
  virtual void Interact(InputRequest* request) = 0;
  // Fills handlers. A derived listener calls it from its own constructor (a base constructor
  // cannot reach the derived override).
  virtual void RegisterHandlers() = 0;

  // Calls the handler registered under name; true when there was none.
  bool Dispatch(const std::string& name, ToolEventView* event) {
    auto it = handlers.find(name);
    return it == handlers.end() || !it->second || it->second(event, name);
  }

  HandlerMap handlers;
};

}  // namespace morva_service
