// A device's end on the console.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/mendra/cli/events/mdr_cli_event.h"

class EventDeviceFinish : public MdrCliEvent {
 public:
  EventDeviceFinish(int code, bool has_message, std::string message, std::string operation,
                    std::vector<std::string> sectors, std::string bad_sectors)
      : code_(code), has_message_(has_message), message_(std::move(message)),
        operation_(std::move(operation)), sectors_(std::move(sectors)),
        bad_sectors_(std::move(bad_sectors)) {}
  void Process(MdrCliEventContext& context) override;
  const std::vector<std::string>& sectors() const { return sectors_; }
  const std::string& bad_sectors() const { return bad_sectors_; }
  int code() const { return code_; }

 private:
  int code_;
  bool has_message_;
  std::string message_, operation_;
  std::vector<std::string> sectors_;
  std::string bad_sectors_;
};
