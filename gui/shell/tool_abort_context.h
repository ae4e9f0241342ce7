#pragma once

#include <QMetaType>

#include "morva_service/views.h"

struct ToolAbortContext {
  ToolAbortContext();

  morva_service::ToolView* tool;
};

Q_DECLARE_METATYPE(ToolAbortContext)
