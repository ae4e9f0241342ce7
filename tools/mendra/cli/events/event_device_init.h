// A device's start on the console.
#pragma once

#include <string>
#include <utility>

#include "tools/mendra/cli/events/mdr_cli_event.h"

class EventDeviceInit : public MdrCliEvent {
 public:
  EventDeviceInit(std::string id, std::string name) : id_(std::move(id)), name_(std::move(name)) {}
  void Process(MdrCliEventContext& context) override;

 private:
  std::string id_, name_;
};
