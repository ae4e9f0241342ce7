#include "tools/mendra/cli/events/event_device_finish.h"

#include "tools/mendra/cli/console_display.h"

void EventDeviceFinish::Process(MdrCliEventContext& context) {
  context.ResultReported(code_, true);
  if (has_message_) context.display().set_pending_message(message_);
  context.display().DeviceReport(code_, context.SecondsSinceDeviceStart(), sectors_, bad_sectors_,
                                 operation_);
}
