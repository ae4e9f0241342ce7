// What the console prints as a whole operation ends.
#pragma once

#include "tools/mendra/cli/events/mdr_cli_event.h"

class EventOperationFinish : public MdrCliEvent {
 public:
  void Process(MdrCliEventContext& context) override;
};
