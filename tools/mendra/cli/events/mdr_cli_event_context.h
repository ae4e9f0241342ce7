// What an event needs on the console thread.
#pragma once

class ConsoleDisplay;

class MdrCliEventContext {
 public:
  virtual ~MdrCliEventContext() = default;
  virtual ConsoleDisplay& display() = 0;
  // Starts the elapsed-time ticker of a device or partition.
  virtual void DeviceStarted() = 0;
  virtual unsigned long SecondsSinceDeviceStart() = 0;
  // A device or one of its partitions ended with this tool result code. Told before the report
  // is written: a reader that stopped taking output must not keep the finding from the status.
  virtual void ResultReported(int code, bool whole_device) = 0;
};
