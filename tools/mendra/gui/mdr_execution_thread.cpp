#include "tools/mendra/gui/mdr_execution_thread.h"

#include <string>
#include <vector>

#include "morva_service/morva_service.h"
#include "tools/mendra/common/mdr_utils.h"
#include "tools/mendra/gui/mdr_listener.h"
#include "tools/mendra/gui/mdr_plugin.h"

MdrExecutionThread::MdrExecutionThread(MdrListener* listener) : listener_(listener) {}

void MdrExecutionThread::run() {
  const std::string operation = MdrPlugin::operation_name();
  MdrUtils* model = MdrPlugin::current_model();
  morva_service::MorvaService* service = MdrPlugin::service();
  if (tool_ == nullptr || model == nullptr || service == nullptr || operation.empty()) return;
  if (hold_before_start != nullptr) hold_before_start();
  std::vector<morva_service::SystemComponentView*> devices;
  if (model->selected_devices() != nullptr) devices = *model->selected_devices();
  {
    std::lock_guard<std::mutex> lock(phase_mutex_);
    if (phase_ == Phase::kAbortedBeforeStart) return;
    tool_->SetParameter("Operation", {operation});
    // An abort from here on is held by the engine for the run about to start.
    MdrClearAbortRequests(tool_);
    phase_ = Phase::kStarted;
  }
  service->ExecuteTool(tool_, listener_, devices);
}

void MdrExecutionThread::PrepareRun() {
  std::lock_guard<std::mutex> lock(phase_mutex_);
  phase_ = Phase::kReady;
}

void MdrExecutionThread::RequestAbort() {
  std::lock_guard<std::mutex> lock(phase_mutex_);
  if (phase_ != Phase::kStarted) {
    phase_ = Phase::kAbortedBeforeStart;
    return;
  }
  morva_service::MorvaService* service = MdrPlugin::service();
  if (service != nullptr && tool_ != nullptr) service->AbortTool(tool_);
}

bool MdrExecutionThread::InTool() const {
  std::lock_guard<std::mutex> lock(phase_mutex_);
  return phase_ == Phase::kStarted && isRunning();
}
