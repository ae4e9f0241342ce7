#pragma once

#include <vector>

#include "gui/shell/diagnostic_test_selection.h"
#include "morva_service/views.h"

// The choice for one device. The record and its diagnostics vector belong to whoever made them
// (the execution context frees both).
struct DeviceTestSelection {
  morva_service::SystemComponentView* device = nullptr;
  std::vector<DiagnosticTestSelection>* diagnostics = nullptr;
};
