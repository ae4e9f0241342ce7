#include "tools/mendra/cli/events/event_partition_finish.h"

#include "tools/mendra/cli/console_display.h"

void EventPartitionFinish::Process(MdrCliEventContext& context) {
  context.ResultReported(code_, false);
  if (has_message_) context.display().set_pending_message(message_);
  context.display().PartitionReport(id_, code_, context.SecondsSinceDeviceStart(), summary_);
}
