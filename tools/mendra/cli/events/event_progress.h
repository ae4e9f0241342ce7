// How far the running device or partition has got.
#pragma once

#include "tools/mendra/cli/events/mdr_cli_event.h"

class EventProgress : public MdrCliEvent {
 public:
  explicit EventProgress(long progress) : progress_(progress) {}
  void Process(MdrCliEventContext& context) override;

 private:
  long progress_;
};
