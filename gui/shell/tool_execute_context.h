#pragma once

#include <QMetaType>
#include <vector>

#include "morva_service/listeners.h"
#include "morva_service/views.h"

struct ToolExecuteContext {
  ToolExecuteContext();

  morva_service::ToolView* tool;
  morva_service::ToolListenerView* listener;  // may be null
  std::vector<morva_service::SystemComponentView*> devices;
};

Q_DECLARE_METATYPE(ToolExecuteContext)
