#pragma once

#include <QMetaType>
#include <QVector>
#include <QtGlobal>
#include <vector>

#include "gui/shell/device_test_selection.h"
#include "gui/shell/diagnostic_test_selection.h"
#include "morva_service/views.h"

// One run (iteration) of the chosen tests over the chosen devices.
struct ExecuteContext {
  ExecuteContext();

  morva_service::ModuleInterfaceView* module;
  std::vector<DiagnosticTestSelection> diagnostics;  // not read by Execute
  QVector<DeviceTestSelection*> selection;            // shared with the execution context
  qint64 start_time;                                  // handed to the engine with every device
};

Q_DECLARE_METATYPE(ExecuteContext)
