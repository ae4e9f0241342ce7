#include "gui/shell/tool_abort_context.h"

#include "gui/shell/morva_service_executor.h"

ToolAbortContext::ToolAbortContext() : tool(nullptr) { RegisterExecutorMetaTypes(); }
