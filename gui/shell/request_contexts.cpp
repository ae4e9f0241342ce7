#include "gui/shell/request_contexts.h"

#include "gui/shell/morva_service_executor.h"

// Each registers the types, so that a context made before any executor still crosses threads.
ExecuteContext::ExecuteContext() : module(nullptr), start_time(0) { RegisterExecutorMetaTypes(); }

ToolExecuteContext::ToolExecuteContext() : tool(nullptr), listener(nullptr) {
  RegisterExecutorMetaTypes();
}

ToolAbortContext::ToolAbortContext() : tool(nullptr) { RegisterExecutorMetaTypes(); }
