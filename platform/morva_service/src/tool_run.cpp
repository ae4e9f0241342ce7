#include "tool_run.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>

#include "device_object.h"
#include "question.h"
#include "support.h"
#include "tool_event_object.h"
#include "zerka/zerka.h"

namespace morva_service {
namespace detail {

namespace {

class ToolRun {
 public:
  ToolRun(ToolObject& tool, ToolListenerView* listener, double time_scale)
      : tool_(tool), listener_(listener), time_scale_(time_scale) {
    std::vector<std::string> operation = tool.GetParameter("Operation");
    operation_ = operation.empty() ? std::string() : operation[0];
  }

  void Run(const std::vector<SystemComponentView*>& devices) {
    Send("OnRecoverInit", {});
    Send("OnOperationInit", {{"OperationInit", {operation_}}});
    for (SystemComponentView* device : devices) {
      // A device not yet started when the abort came gets no notification at all.
      if (Aborted()) break;
      if (!device) continue;
      if (!RunDevice(*device)) break;
    }
    Send("OnOperationFinish", {});
    Send("OnRecoverFinish", {});
  }

 private:
  typedef std::map<std::string, std::vector<std::string>> Values;

  bool Aborted() const {
    return tool_.abort_requested().load() || !tool_.GetParameter("ForcedAbort").empty();
  }

  void Send(const std::string& name, Values values) {
    ToolEventObject event;
    event.values = std::move(values);
    event.values["Operation"] = {operation_};
    if (listener_) listener_->Dispatch(name, &event);
  }

  // Works from share `from` to share `to` of a job of the given seconds, sending progress on
  // every whole-percent change; returns the share reached (`to` when it got there, less after an
  // abort).
  double Work(double seconds, double from = 0, double to = 1) {
    const double total = seconds * time_scale_;
    const double start = MonotonicSeconds();
    for (;;) {
      double elapsed = MonotonicSeconds() - start;
      double share = total > 0 ? std::min(to, from + elapsed / total) : to;
      int percent = static_cast<int>(std::floor(share * 100));
      if (percent != last_percent_) {
        Send("OnProgress", {{"Progress", {std::to_string(percent)}}});
        last_percent_ = percent;
      }
      if (share >= to) return to;
      if (Aborted()) return share;
      double remaining = total * (to - share);
      std::this_thread::sleep_for(std::chrono::duration<double>(std::min(remaining, 0.02)));
    }
  }

  // Asks the device's question; the effect the script gives the answer, or null when it gives
  // none.
  const ToolAnswerEffect* Ask(const ToolInteractionSpec& question) {
    std::function<void(InputRequest*)> interact;
    if (listener_) interact = [this](InputRequest* request) { listener_->Interact(request); };
    auto effect = question.answers.find(AskQuestion(question, interact));
    return effect == question.answers.end() ? nullptr : &effect->second;
  }

  const ToolDeviceScript* Script(const SystemComponentView& device) const {
    auto* object = dynamic_cast<const DeviceObject*>(&device);
    if (!object || object->module() != tool_.module()) return nullptr;
    auto it = tool_.spec().devices.find(object->spec().id);
    return it == tool_.spec().devices.end() ? nullptr : &it->second;
  }

  // A real tool cannot lock the volume the running system lives on.
  static bool HoldsSystem(const SystemComponentView& device) {
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(get_filesystem()->SystemDriveLetter())));
    std::vector<SystemComponentResource> resources;
    device.resources(resources);
    for (const SystemComponentResource& resource : resources) {
      if (resource.name != "PARTITION") continue;
      for (const auto& property : resource.properties) {
        const std::string& mount = property.second;
        if (property.first == "MOUNT_POINT" && mount.size() == 3 && mount[1] == ':' && mount[2] == '\\' &&
            std::toupper(static_cast<unsigned char>(mount[0])) == letter)
          return true;
      }
    }
    return false;
  }

  bool RunDevice(const SystemComponentView& device) {
    const std::string id = device.id();
    last_percent_ = -1;
    Send("OnDeviceInit", {{"DeviceInit", {id}}});
    const ToolDeviceScript* script = Script(device);
    int code = 0;
    std::vector<uint64_t> sectors(4, 0);
    std::vector<std::string> bad;
    std::string message;
    bool aborted = false;
    if (operation_ == "filesystem") {
      aborted = !RunPartitions(id, script);
      code = aborted ? tool_.spec().abort_code : 0;
    } else if (operation_ == "scan" || operation_ == "repair") {
      const ToolDeviceResult* result = script ? (operation_ == "scan" ? &script->scan : &script->repair) : nullptr;
      if (!result || !result->present) {
        code = 6;
        message = "The tool does not support this device.";
      } else if (operation_ == "repair" && HoldsSystem(device)) {
        code = 2;
        message = "The device holding the running system cannot be locked.";
      } else {
        code = result->code;
        message = result->message;
        const ToolInteractionSpec* question = result->interaction.get();
        const double ask_at = question ? question->at / 100 : 1;
        double done = Work(result->duration, 0, ask_at);
        aborted = done < ask_at;
        if (!aborted && question) {
          bool finish_now = false;
          if (const ToolAnswerEffect* effect = Ask(*question)) {
            if (effect->has_code) code = effect->code;
            if (effect->has_message) message = effect->message;
            finish_now = effect->finish_now;
          }
          // An abort made while the question was open is honoured right after it.
          aborted = Aborted();
          if (!aborted && !finish_now) {
            done = Work(result->duration, ask_at, 1);
            aborted = done < 1;
          }
        }
        for (size_t i = 0; i < 4; ++i) sectors[i] = result->sectors[i];
        bad = result->bad_sectors;
        if (operation_ == "scan") sectors[2] = sectors[3] = 0;  // a scan repairs nothing
        if (done < 1) {
          // Only what was read so far counts, and nothing was repaired yet.
          sectors[0] = static_cast<uint64_t>(std::floor(static_cast<double>(sectors[0]) * done));
          size_t found = static_cast<size_t>(std::floor(static_cast<double>(bad.size()) * done));
          bad.resize(found);
          sectors[1] = found;
          sectors[2] = sectors[3] = 0;
        }
        if (aborted) {
          code = tool_.spec().abort_code;
          message.clear();
        }
      }
    } else {
      code = 6;
      message = "The tool has no operation \"" + operation_ + "\".";
    }
    Values values = {{"DeviceFinish", {id, std::to_string(code)}},
                     {"SectorsInfo",
                      {std::to_string(sectors[0]), std::to_string(sectors[1]), std::to_string(sectors[2]),
                       std::to_string(sectors[3])}},
                     {"BadSectorsList", bad}};
    if (!message.empty()) values["Message"] = {message};
    Send("OnDeviceFinish", std::move(values));
    return !aborted;
  }

  // false when an abort ended the check.
  bool RunPartitions(const std::string& id, const ToolDeviceScript* script) {
    std::vector<std::string> table = tool_.GetParameter("partition_table" + id);
    for (size_t i = 0; i + 4 <= table.size(); i += 4) {
      if (Aborted()) return false;
      const std::string& key = table[i];
      const std::string& mount = table[i + 2];
      bool system = table[i + 3] == "T";
      ToolPartitionResult result;
      if (!script) {
        result.code = 5;
        result.summary = "The tool does not support this file system.";
      } else if (script->partitions.count(mount)) {
        result = script->partitions.at(mount);
      } else if (system) {
        // The system volume is in use: its check waits for the next start.
        result.code = 3;
        result.summary = "The check is scheduled for the next start of the system.";
        result.schedule = true;
      } else if (script->partitions.count("*")) {
        result = script->partitions.at("*");
      } else {
        result.summary = "No errors were found.";
      }
      Send("OnPartitionInit", {{"PartitionInit", {id, mount}}});
      last_percent_ = -1;
      double done = Work(result.duration);
      Values values;
      if (done < 1) {
        values["PartitionFinish"] = {id, key, "", std::to_string(tool_.spec().abort_code)};
      } else {
        values["PartitionFinish"] = {id, key, result.summary, std::to_string(result.code)};
        if (!result.message.empty()) values["Message"] = {result.message};
      }
      Send("OnPartitionFinish", std::move(values));
      if (done < 1) return false;
      if (result.schedule) Send("OnSchedule", {});
    }
    return true;
  }

  ToolObject& tool_;
  ToolListenerView* listener_;
  double time_scale_;
  std::string operation_;
  int last_percent_ = -1;  // of the current device or partition
};

std::string Joined(const std::vector<std::string>& values) {
  std::string text;
  for (const std::string& value : values) text += value;
  return text;
}

}  // namespace

void RunTool(ToolObject& tool, ToolListenerView* listener, const std::vector<SystemComponentView*>& devices,
             double time_scale) {
  std::vector<std::string> operation = tool.GetParameter("Operation");
  if (!operation.empty() && operation[0] == "filterDevices") {
    // The filter answers at once and sends no notification: the GUI runs it on its own thread.
    bool physical = operation.size() > 1 && operation[1] == "physical";
    std::vector<std::string> filter;
    for (SystemComponentView* device : devices) {
      auto* object = dynamic_cast<DeviceObject*>(device);
      const ToolDeviceScript* script = nullptr;
      if (object && object->module() == tool.module()) {
        auto it = tool.spec().devices.find(object->spec().id);
        if (it != tool.spec().devices.end()) script = &it->second;
      }
      filter.push_back(script && (physical ? script->physical : script->logical) ? "T" : "F");
    }
    tool.StoreParameter("DevicesFilter", filter);
    Trace("ExecuteTool tool=" + tool.spec().name + " filter=" + Joined(filter));
    return;
  }
  ToolRun(tool, listener, time_scale).Run(devices);
  // An abort asked for just before the run started is kept for it, and ends with it.
  tool.abort_requested() = false;
}

}  // namespace detail
}  // namespace morva_service
