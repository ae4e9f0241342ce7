// What the console prints around a whole operation.
#pragma once

#include <string>

#include "tools/mendra/cli/mdr_cli_event.h"

class EventOperationInit : public MdrCliEvent {
 public:
  explicit EventOperationInit(std::string operation) : operation_(std::move(operation)) {}
  void Process(MdrCliEventContext& context) override;

 private:
  std::string operation_;
};

class EventOperationFinish : public MdrCliEvent {
 public:
  void Process(MdrCliEventContext& context) override;
};

class EventProgress : public MdrCliEvent {
 public:
  explicit EventProgress(long progress) : progress_(progress) {}
  void Process(MdrCliEventContext& context) override;

 private:
  long progress_;
};
