// The signal side of the tool's notifications: emitted on the tool's thread by MdrListener and
// received by the execution screen on the GUI thread.
#pragma once

#include <QObject>

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
