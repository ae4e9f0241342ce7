// A partition's end on the console.
#pragma once

#include <string>
#include <utility>

#include "tools/mendra/cli/events/mdr_cli_event.h"

class EventPartitionFinish : public MdrCliEvent {
 public:
  EventPartitionFinish(std::string id, int code, bool has_message, std::string message,
                       std::string summary)
      : id_(std::move(id)), code_(code), has_message_(has_message), message_(std::move(message)),
        summary_(std::move(summary)) {}
  void Process(MdrCliEventContext& context) override;

 private:
  std::string id_;
  int code_;
  bool has_message_;
  std::string message_, summary_;
};
