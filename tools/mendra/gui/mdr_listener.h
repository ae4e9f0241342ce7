// The tool's notifications on their way to the screen: MdrListener handles them on the tool's
// thread, records them in the tool log and emits MdrQListener's signals, which the execution
// screen receives on the GUI thread. MdrExecutionThread runs the tool.
#pragma once

#include <QObject>
#include <QThread>
#include <mutex>
#include <string>

#include "morva_service/listeners.h"
#include "morva_service/views.h"

class InputRequest;

class MdrQListener : public QObject {
  Q_OBJECT

 public:
  MdrQListener() = default;
  ~MdrQListener() override = default;

 signals:
  void OperationInit();
  void OperationFinish();
  void DeviceInit();
  void PartitionInit();
  void PartitionFinish(int code);
  void DeviceFinish(int code);
  void RecoverInit();
  void RecoverFinish();
  void Progress(int percent);
  void Schedule();
  void ToolInteract(InputRequest* request);
  void ErrorsFoundInTheDevice(bool found);
};

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

class MdrExecutionThread : public QThread {
  Q_OBJECT

 public:
  explicit MdrExecutionThread(MdrListener* listener);
  ~MdrExecutionThread() override = default;

  void set_tool(morva_service::ToolView* tool) { tool_ = tool; }
  morva_service::ToolView* tool() const { return tool_; }
  // Before start: the run begins with no abort asked.
  void PrepareRun();
  // Kept whenever it is asked: before the run reached the engine it keeps the tool from
  // starting, after that the engine is told.
  void RequestAbort();

  // For tests: called on the run's thread before it looks at the abort; a test blocks there to
  // hold the thread as a preempted one would be. Null: no hold.
  static inline void (*hold_before_start)() = nullptr;

 protected:
  void run() override;

 private:
  morva_service::ToolView* tool_ = nullptr;
  MdrListener* listener_;
  // Orders an abort against the run's start.
  std::mutex abort_mutex_;
  bool abort_asked_ = false;
  bool started_ = false;
};
