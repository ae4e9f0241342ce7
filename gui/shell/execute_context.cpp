#include "gui/shell/execute_context.h"

#include "gui/shell/morva_service_executor.h"

ExecuteContext::ExecuteContext() : module(nullptr), start_time(0) { RegisterExecutorMetaTypes(); }
