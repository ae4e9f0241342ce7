#pragma once

#include "morva_service/morva_service.h"

class CliEventQueue;
class MdrUtils;

class MdrCliListener : public morva_service::ToolListenerView {
 public:
  MdrCliListener(CliEventQueue* queue, MdrUtils* model);
  void Interact(InputRequest* request) override;
  void RegisterHandlers() override;

 private:
  CliEventQueue* queue_;
  MdrUtils* model_;
};
