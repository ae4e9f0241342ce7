#include "tools/mendra/cli/events/event_device_init.h"

#include "tools/mendra/cli/console_display.h"

void EventDeviceInit::Process(MdrCliEventContext& context) {
  context.DeviceStarted();
  context.display().DeviceStart(name_);
}
