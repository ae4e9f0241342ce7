#include "tools/mendra/cli/partition_events.h"

#include "tools/mendra/cli/console_display.h"

void EventPartitionInit::Process(MdrCliEventContext& context) {
  context.DeviceStarted();
  context.display().PartitionStart(id_, file_system_);
}

void EventPartitionFinish::Process(MdrCliEventContext& context) {
  if (has_message_) context.display().set_pending_message(message_);
  context.display().PartitionReport(id_, code_, context.SecondsSinceDeviceStart(), summary_);
  context.ResultReported(code_, false);
}
