// A partition's start on the console.
#pragma once

#include <string>
#include <utility>

#include "tools/mendra/cli/events/mdr_cli_event.h"

class EventPartitionInit : public MdrCliEvent {
 public:
  EventPartitionInit(std::string id, std::string size, std::string file_system)
      : id_(std::move(id)), size_(std::move(size)), file_system_(std::move(file_system)) {}
  void Process(MdrCliEventContext& context) override;

 private:
  std::string id_, size_, file_system_;
};
