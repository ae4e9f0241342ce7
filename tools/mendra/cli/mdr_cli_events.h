// The tool's notifications arrive on the worker thread; the listener only queues them, and the
// console thread takes them out and prints them in the order they came.
#pragma once

#include <string>
#include <utility>
#include <vector>

class ConsoleDisplay;

// What an event needs on the console thread.
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

class MdrCliEvent {
 public:
  virtual ~MdrCliEvent() = default;
  virtual void Process(MdrCliEventContext& context) = 0;
};

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

class EventDeviceInit : public MdrCliEvent {
 public:
  explicit EventDeviceInit(std::string name) : name_(std::move(name)) {}
  void Process(MdrCliEventContext& context) override;

 private:
  std::string name_;
};

class EventDeviceFinish : public MdrCliEvent {
 public:
  EventDeviceFinish(int code, bool has_message, std::string message, std::string operation,
                    std::vector<std::string> sectors, std::string bad_sectors)
      : code_(code), has_message_(has_message), message_(std::move(message)),
        operation_(std::move(operation)), sectors_(std::move(sectors)),
        bad_sectors_(std::move(bad_sectors)) {}
  void Process(MdrCliEventContext& context) override;
  const std::vector<std::string>& sectors() const { return sectors_; }
  const std::string& bad_sectors() const { return bad_sectors_; }
  int code() const { return code_; }

 private:
  int code_;
  bool has_message_;
  std::string message_, operation_;
  std::vector<std::string> sectors_;
  std::string bad_sectors_;
};

class EventPartitionInit : public MdrCliEvent {
 public:
  EventPartitionInit(std::string id, std::string file_system)
      : id_(std::move(id)), file_system_(std::move(file_system)) {}
  void Process(MdrCliEventContext& context) override;

 private:
  std::string id_, file_system_;
};

class EventPartitionFinish : public MdrCliEvent {
 public:
  EventPartitionFinish(std::string id, int code, bool has_message, std::string message,
                       std::string summary)
      : id_(std::move(id)), code_(code), has_message_(has_message), message_(std::move(message)),
        summary_(std::move(summary)) {}
  void Process(MdrCliEventContext& context) override;

 private:
  std::string id_;
  int code_;
  bool has_message_;
  std::string message_, summary_;
};

// How far the running device or partition has got.
class EventProgress : public MdrCliEvent {
 public:
  explicit EventProgress(long progress) : progress_(progress) {}
  void Process(MdrCliEventContext& context) override;

 private:
  long progress_;
};
