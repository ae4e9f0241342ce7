#include "cli/device_run_printer.h"

#include <algorithm>
#include <string>

#include "cli/console_interrupt.h"
#include "cli/engine_text.h"
#include "cli/exit_status.h"
#include "cli/listings.h"

DeviceRunPrinter::DeviceRunPrinter(CliApplication& app, ModuleSelection& selection,
                                   RunEventQueue& queue, CliTestListener& test_listener,
                                   int run_test_count)
    : app_(app),
      selection_(selection),
      queue_(queue),
      test_listener_(test_listener),
      // Each test is worth its share of the whole run list, in whole percents.
      test_share_(run_test_count > 0 ? 100 / run_test_count : 100) {}

double DeviceRunPrinter::Since(uint32_t tick) {
  return app_.timer ? app_.timer->SecondsBetween(tick, app_.timer->Tick()) : 0.0;
}

void DeviceRunPrinter::PollAbort() {
  if (app_.sink && app_.sink->AbortRequested()) AbortAsAsked();
}

void DeviceRunPrinter::Run() {
  for (;;) {
    RunEvent event;
    if (!queue_.Peek(event)) {
      // Also after a wake-up that found events: an abort may have come with them.
      queue_.WaitForMore(0, 500);
      PollAbort();
      continue;
    }
    const bool more = Handle(event);
    queue_.Pop();
    if (!more) return;
  }
}

// Shows the running test's progress until its end (or any later event) is queued.
void DeviceRunPrinter::FollowTest(uint32_t start_tick) {
  MorvaStdio& sink = *app_.sink;
  auto show = [&] {
    const std::string message = test_listener_.message();
    if (message.empty()) {
      sink.TestProgress(test_listener_.progress(), Since(start_tick));
    } else {
      sink.PrintText("  [|INFO] ", false);
      sink.PrintText(EngineText(message), true);
      test_listener_.ClearMessage();
    }
  };
  while (!queue_.WaitForMore(1, 500)) {
    PollAbort();
    show();
  }
  PollAbort();
  if (!test_listener_.message().empty()) show();
  sink.TestProgress(test_listener_.progress(), Since(start_tick));
}

bool DeviceRunPrinter::Handle(const RunEvent& event) {
  MorvaStdio& sink = *app_.sink;
  switch (event.kind) {
    case kEventSuiteStarted:
      suite_start_ = event.start_tick ? event.start_tick : (app_.timer ? app_.timer->Tick() : 0);
      // Every device starts again from 0; its suite's end says 100.
      suite_progress_ = 0;
      break;
    case kEventDeviceStarted: {
      SystemComponentView* device = FindScannedDevice(selection_, event.text);
      sink.BeginDevice(event.text, selection_.module->name());
      sink.NewLine();
      sink.Ruler();
      ShowDeviceResources(app_, device, selection_.module);
      sink.Ruler();
      device_failed_ = false;
      break;
    }
    case kEventDiagnosticStarted:
      if (CliInterrupted())
        if (morva_service::MorvaService* service = CliService()) service->Abort();
      queue_.diagnostic_ack.Post();
      sink.BeginDiagnostic(event.text);
      break;
    case kEventTestStarted:
      // No reset of the test's progress here: the engine may already have reported it. The
      // end of the previous test reset it before its gate let this test start.
      sink.TestProgress(-1, 0);
      sink.BeginTest(event.text, TestIdentifierText(event.identifier));
      break;
    case kEventTestRunning:
      FollowTest(event.start_tick);
      break;
    case kEventTestFinished: {
      test_listener_.Reset();
      sink.TestProgress(-1, 0);
      double elapsed = app_.timer ? app_.timer->SecondsBetween(event.start_tick, event.end_tick) : 0;
      if (event.status == morva_service::kTestFailed) device_failed_ = true;
      if (event.status == morva_service::kTestCancelled) {
        if (app_.cancel_seen) elapsed = 0;
        app_.cancel_seen = true;
      }
      sink.EndTest(event.status, elapsed);
      app_.outcome.ReportTest(event.status);
      ++tests_finished_;
      suite_progress_ = std::min(100, suite_progress_ + test_share_);
      sink.SuiteProgress(suite_progress_, Since(suite_start_));
      queue_.test_gate.Post();
      break;
    }
    case kEventDiagnosticFinished:
      sink.EndDiagnostic();
      queue_.diagnostic_gate.Post();
      break;
    case kEventDeviceFinished:
      sink.EndDevice(event.text,
                     app_.timer ? app_.timer->SecondsBetween(event.start_tick, event.end_tick) : 0,
                     device_failed_);
      break;
    case kEventSuiteFinished:
      sink.SuiteProgress(100, app_.timer ? app_.timer->SecondsBetween(event.start_tick, event.end_tick) : 0);
      break;
    case kEventExecuteReturned:
      if (event.status != 0) {
        ShowWarning(app_, MorvaStdio::KeyToText("UNABLE_TO_EXECUTE", false, true, true), false);
        app_.outcome.Report(kolv_exit::kPlatformUnavailable);
      }
      return false;
    default:
      break;
  }
  return true;
}
