// A partition's start and end on the console.
#pragma once

#include <string>

#include "tools/mendra/cli/mdr_cli_event.h"

class EventPartitionInit : public MdrCliEvent {
 public:
  EventPartitionInit(std::string id, std::string size, std::string file_system)
      : id_(std::move(id)), size_(std::move(size)), file_system_(std::move(file_system)) {}
  void Process(MdrCliEventContext& context) override;

 private:
  std::string id_, size_, file_system_;
};

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
