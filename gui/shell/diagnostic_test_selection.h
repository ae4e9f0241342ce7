#pragma once

#include <vector>

#include "morva_service/views.h"

// The tests chosen for one diagnostic; the engine owns the objects.
struct DiagnosticTestSelection {
  morva_service::DiagnosticView* diagnostic = nullptr;
  std::vector<morva_service::TestView*> tests;
};
