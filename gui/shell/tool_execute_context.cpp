#include "gui/shell/tool_execute_context.h"

#include "gui/shell/morva_service_executor.h"

ToolExecuteContext::ToolExecuteContext() : tool(nullptr), listener(nullptr) {
  RegisterExecutorMetaTypes();
}
