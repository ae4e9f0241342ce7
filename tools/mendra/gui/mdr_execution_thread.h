// Runs the chosen operation of the tool on the model's selected devices, off the GUI thread.
#pragma once

#include <QThread>
#include <mutex>

#include "morva_service/views.h"

class MdrListener;

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
  // From the moment the run handed the tool to the engine until the thread ends.
  bool InTool() const;
  // The run could not hand the tool to the engine, or the engine threw: nothing more of it will
  // be told.
  bool Failed() const;

  // For tests: called on the run's thread before it looks at the abort; a test blocks there to
  // hold the thread as a preempted one would be. Null: no hold.
  static inline void (*hold_before_start)() = nullptr;

 protected:
  void run() override;

 private:
  // False when the tool was not run to its end.
  bool RunTool();

  morva_service::ToolView* tool_ = nullptr;
  MdrListener* listener_;
  // Where the run stands against an abort; the mutex orders an abort against the run's start.
  enum class Phase { kReady, kAbortedBeforeStart, kStarted, kFailed };
  mutable std::mutex phase_mutex_;
  Phase phase_ = Phase::kReady;
};
