// Handles the tool's notifications on the tool's thread: records them in the tool log and passes
// them on as MdrQListener's signals.
#pragma once

#include <string>
#include <vector>

#include "morva_service/listeners.h"
#include "morva_service/views.h"

class InputRequest;

class MdrListener : public morva_service::ToolListenerView {
 public:
  MdrListener();
  ~MdrListener() override = default;
  MdrListener(const MdrListener&) = delete;
  MdrListener& operator=(const MdrListener&) = delete;

  void Interact(InputRequest* request) override;
  void RegisterHandlers() override;

  // The partition note: line breaks kept, markup shown as text.
  static std::string PartitionNote(const std::string& message, const std::string& operation,
                                   int code);
  static std::string SectorTable(const std::vector<std::string>& sectors,
                                 const std::string& operation);

 private:
  bool OnRecoverInit(morva_service::ToolEventView* event);
  bool OnRecoverFinish(morva_service::ToolEventView* event);
  bool OnOperationInit(morva_service::ToolEventView* event);
  bool OnOperationFinish(morva_service::ToolEventView* event);
  bool OnDeviceInit(morva_service::ToolEventView* event);
  bool OnDeviceFinish(morva_service::ToolEventView* event);
  bool OnPartitionInit(morva_service::ToolEventView* event);
  bool OnPartitionFinish(morva_service::ToolEventView* event);
  bool OnProgress(morva_service::ToolEventView* event);
  bool OnSchedule(morva_service::ToolEventView* event);
};
