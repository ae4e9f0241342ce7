// What the console prints as a whole operation starts.
#pragma once

#include <string>
#include <utility>

#include "tools/mendra/cli/events/mdr_cli_event.h"

class EventOperationInit : public MdrCliEvent {
 public:
  explicit EventOperationInit(std::string operation) : operation_(std::move(operation)) {}
  void Process(MdrCliEventContext& context) override;

 private:
  std::string operation_;
};
