#include "tools/mendra/cli/events/event_operation_finish.h"

#include "tools/mendra/cli/console_display.h"

void EventOperationFinish::Process(MdrCliEventContext& context) {
  context.display().OperationFinish();
}
