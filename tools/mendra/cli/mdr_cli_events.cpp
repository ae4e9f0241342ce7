#include "tools/mendra/cli/mdr_cli_events.h"

#include "tools/mendra/cli/console_display.h"

void EventOperationInit::Process(MdrCliEventContext& context) {
  context.display().OperationStart(operation_);
}

void EventOperationFinish::Process(MdrCliEventContext& context) {
  context.display().OperationFinish();
}

void EventDeviceInit::Process(MdrCliEventContext& context) {
  context.DeviceStarted();
  context.display().DeviceStart(name_);
}

void EventDeviceFinish::Process(MdrCliEventContext& context) {
  context.ResultReported(code_, true);
  if (has_message_) context.display().set_pending_message(message_);
  context.display().DeviceReport(code_, context.SecondsSinceDeviceStart(), sectors_, bad_sectors_,
                                 operation_);
}

void EventPartitionInit::Process(MdrCliEventContext& context) {
  context.DeviceStarted();
  context.display().PartitionStart(id_, file_system_);
}

void EventPartitionFinish::Process(MdrCliEventContext& context) {
  context.ResultReported(code_, false);
  if (has_message_) context.display().set_pending_message(message_);
  context.display().PartitionReport(id_, code_, context.SecondsSinceDeviceStart(), summary_);
}

void EventProgress::Process(MdrCliEventContext& context) {
  context.display().set_progress(progress_);
}
