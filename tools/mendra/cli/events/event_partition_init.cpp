#include "tools/mendra/cli/events/event_partition_init.h"

#include "tools/mendra/cli/console_display.h"

void EventPartitionInit::Process(MdrCliEventContext& context) {
  context.DeviceStarted();
  context.display().PartitionStart(id_, file_system_);
}
