// What the executor is handed, by queued invocation, to run the tests or to run or abort a tool.
#pragma once

#include <QMetaType>
#include <QVector>
#include <QtGlobal>
#include <vector>

#include "gui/shell/test_selections.h"
#include "morva_service/listeners.h"
#include "morva_service/views.h"

// One run (iteration) of the chosen tests over the chosen devices.
struct ExecuteContext {
  ExecuteContext();

  morva_service::ModuleInterfaceView* module;
  std::vector<DiagnosticTestSelection> diagnostics;  // not read by Execute
  QVector<DeviceTestSelection*> selection;            // shared with the execution context
  qint64 start_time;                                  // handed to the engine with every device
};

struct ToolExecuteContext {
  ToolExecuteContext();

  morva_service::ToolView* tool;
  morva_service::ToolListenerView* listener;  // may be null
  std::vector<morva_service::SystemComponentView*> devices;
};

struct ToolAbortContext {
  ToolAbortContext();

  morva_service::ToolView* tool;
};

Q_DECLARE_METATYPE(ExecuteContext)
Q_DECLARE_METATYPE(ToolExecuteContext)
Q_DECLARE_METATYPE(ToolAbortContext)
