// The tool's notifications arrive on the worker thread; the listener only queues them, and the
// console thread takes them out and prints them in the order they came.
#pragma once

#include "tools/mendra/cli/events/mdr_cli_event_context.h"

class MdrCliEvent {
 public:
  virtual ~MdrCliEvent() = default;
  virtual void Process(MdrCliEventContext& context) = 0;
};
