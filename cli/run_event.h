// What the service thread's listeners tell the main thread, one event at a time.
#pragma once

#include <cstdint>
#include <string>

#include "morva_service/morva_service.h"

enum RunEventKind : uint32_t {
  kEventSuiteStarted = 1,
  kEventDeviceStarted = 2,
  kEventDiagnosticStarted = 3,
  kEventTestStarted = 4,
  kEventTestRunning = 5,
  kEventTestFinished = 6,
  kEventDiagnosticFinished = 7,
  kEventDeviceFinished = 8,
  kEventSuiteFinished = 9,
  kEventExecuteReturned = 100,  // the engine's Execute is over, whatever it reported before
};

struct RunEvent {
  uint32_t kind = 0;
  std::string text;                           // diagnostic or test name, device result text
  morva_service::ItemIdentifier identifier;   // test identifier
  uint32_t status = 0;                        // test status; for the end of Execute, 1: no run
  uint32_t start_tick = 0;
  uint32_t end_tick = 0;
};
