// What the user chose to run: the tests of a diagnostic, and the diagnostics of a device.
#pragma once

#include <vector>

#include "morva_service/views.h"

// The tests chosen for one diagnostic; the engine owns the objects.
struct DiagnosticTestSelection {
  morva_service::DiagnosticView* diagnostic = nullptr;
  std::vector<morva_service::TestView*> tests;
};

// The choice for one device. The record and its diagnostics vector belong to whoever made them
// (the execution context frees both).
struct DeviceTestSelection {
  morva_service::SystemComponentView* device = nullptr;
  std::vector<DiagnosticTestSelection>* diagnostics = nullptr;
};
