// The tool's notifications arrive on the worker thread; the listener only queues them, and the
// console thread takes them out and prints them in the order they came.
#pragma once

class ConsoleDisplay;

// What an event needs on the console thread.
class MdrCliEventContext {
 public:
  virtual ~MdrCliEventContext() = default;
  virtual ConsoleDisplay& display() = 0;
  // Starts the elapsed-time ticker of a device or partition.
  virtual void DeviceStarted() = 0;
  virtual unsigned long SecondsSinceDeviceStart() = 0;
  // A device or one of its partitions ended with this tool result code.
  virtual void ResultReported(int code, bool whole_device) = 0;
};

class MdrCliEvent {
 public:
  virtual ~MdrCliEvent() = default;
  virtual void Process(MdrCliEventContext& context) = 0;
};
