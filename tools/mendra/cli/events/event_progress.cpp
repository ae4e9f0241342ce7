#include "tools/mendra/cli/events/event_progress.h"

#include "tools/mendra/cli/console_display.h"

void EventProgress::Process(MdrCliEventContext& context) {
  context.display().set_progress(progress_);
}
