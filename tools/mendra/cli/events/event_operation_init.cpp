#include "tools/mendra/cli/events/event_operation_init.h"

#include "tools/mendra/cli/console_display.h"

void EventOperationInit::Process(MdrCliEventContext& context) {
  context.display().OperationStart(operation_);
}
