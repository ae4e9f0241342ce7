// The recommended flow as the modules screen installs it, for tests that start from the
// diagnostic selection screen.
#pragma once

#include <QRadioButton>

#include "gui/screens/devices_loading_screen.h"
#include "gui/screens/diagnostic_selection_screen.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"

// Puts a new devices loading screen in place (kept in the context) and enters a new selection
// screen; the caller deletes both.
inline DiagnosticSelectionScreen* EnterRecommendedFlow(KolvLiteController* controller) {
  auto* loading = new DevicesLoadingScreen(controller);
  controller->AddDefaultScreen(loading);
  controller->execution_context()->devices_loading_screen = loading;
  auto* selection = new DiagnosticSelectionScreen(controller);
  controller->AddFlowScreen(selection, true);
  selection->InstallDefaultFlow();
  controller->GoToScreen(selection);
  return selection;
}

// One of the selection screen's two flow choices, by its object name.
inline QRadioButton* FlowChoice(DiagnosticSelectionScreen* selection, const char* name) {
  return selection->findChild<QRadioButton*>(QLatin1String(name));
}
