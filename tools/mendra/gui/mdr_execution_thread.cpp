#include "tools/mendra/gui/mdr_execution_thread.h"

#include <string>
#include <vector>

#include "gui/shell/engine_call.h"
#include "morva_service/morva_service.h"
#include "tools/mendra/common/mdr_utils.h"
#include "tools/mendra/gui/mdr_listener.h"
#include "tools/mendra/gui/mdr_plugin.h"

MdrExecutionThread::MdrExecutionThread(MdrListener* listener) : listener_(listener) {}

void MdrExecutionThread::run() {
  bool ran = false;
  EngineCallReturned([&] { ran = RunTool(); });
  std::lock_guard<std::mutex> lock(phase_mutex_);
  if (!ran && phase_ != Phase::kAbortedBeforeStart) phase_ = Phase::kFailed;
}

bool MdrExecutionThread::RunTool() {
  const std::string operation = MdrPlugin::operation_name();
  MdrUtils* model = MdrPlugin::current_model();
  morva_service::MorvaService* service = MdrPlugin::service();
  if (tool_ == nullptr || model == nullptr || service == nullptr || operation.empty()) return false;
  if (hold_before_start != nullptr) hold_before_start();
  std::vector<morva_service::SystemComponentView*> devices;
  if (model->selected_devices() != nullptr) devices = *model->selected_devices();
  {
    std::lock_guard<std::mutex> lock(phase_mutex_);
    if (phase_ == Phase::kAbortedBeforeStart) return false;
    tool_->SetParameter("Operation", {operation});
    // An abort from here on is held by the engine for the run about to start.
    MdrClearAbortRequests(tool_);
    phase_ = Phase::kStarted;
  }
  service->ExecuteTool(tool_, listener_, devices);
  return true;
}

void MdrExecutionThread::PrepareRun() {
  std::lock_guard<std::mutex> lock(phase_mutex_);
  phase_ = Phase::kReady;
}

void MdrExecutionThread::RequestAbort() {
  std::lock_guard<std::mutex> lock(phase_mutex_);
  if (phase_ == Phase::kReady) phase_ = Phase::kAbortedBeforeStart;
  if (phase_ != Phase::kStarted) return;
  morva_service::MorvaService* service = MdrPlugin::service();
  if (service != nullptr && tool_ != nullptr) service->AbortTool(tool_);
}

bool MdrExecutionThread::InTool() const {
  std::lock_guard<std::mutex> lock(phase_mutex_);
  return phase_ == Phase::kStarted && isRunning();
}

bool MdrExecutionThread::Failed() const {
  std::lock_guard<std::mutex> lock(phase_mutex_);
  return phase_ == Phase::kFailed;
}
