#include "tests/gui/widgets/support/widget_resources.h"

#include <QCoreApplication>

#include "tests/gui/support/program_resources.h"

namespace {

bool g_registered = false;

void RegisterAtStart() { g_registered = gui_test::RegisterProgramResources(); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(RegisterAtStart)

bool WidgetResourcesRegistered() { return g_registered; }
