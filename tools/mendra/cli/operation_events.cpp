#include "tools/mendra/cli/operation_events.h"

#include "tools/mendra/cli/console_display.h"

void EventOperationInit::Process(MdrCliEventContext& context) {
  context.display().OperationStart(operation_);
}

void EventOperationFinish::Process(MdrCliEventContext& context) {
  context.display().OperationFinish();
}

void EventProgress::Process(MdrCliEventContext& context) {
  context.display().set_progress(progress_);
}
