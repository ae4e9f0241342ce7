#include "tools/mendra/cli/mdr_cli_listener.h"

#include <string>
#include <vector>

#include "tools/mendra/cli/cli_event_queue.h"
#include "tools/mendra/cli/console_display.h"
#include "tools/mendra/cli/mdr_cli_events.h"
#include "tools/mendra/common/mdr_result_codes.h"
#include "tools/mendra/common/mdr_utils.h"

using morva_service::ToolEventView;

MdrCliListener::MdrCliListener(CliEventQueue* queue, MdrUtils* model)
    : queue_(queue), model_(model) {
  RegisterHandlers();
}

void MdrCliListener::Interact(InputRequest* request) {
  // Nobody can answer a question in the middle of the console run.
  if (request) request->answer = 0;
}

namespace {

std::string First(const ToolEventView* event, const std::string& key, size_t index = 0) {
  std::vector<std::string> values = event->GetValues(key);
  return index < values.size() ? values[index] : std::string();
}

}  // namespace

void MdrCliListener::RegisterHandlers() {
  // Recover init and finish print nothing, so they queue nothing either.
  handlers["OnRecoverInit"] = [](ToolEventView*, const std::string&) { return true; };
  handlers["OnRecoverFinish"] = [](ToolEventView*, const std::string&) { return true; };
  handlers["OnOperationInit"] = [this](ToolEventView* event, const std::string&) {
    queue_->Push(new EventOperationInit(First(event, "OperationInit")));
    return true;
  };
  handlers["OnOperationFinish"] = [this](ToolEventView*, const std::string&) {
    queue_->Push(new EventOperationFinish());
    return true;
  };
  handlers["OnDeviceInit"] = [this](ToolEventView* event, const std::string&) {
    if (First(event, "Operation") == kMdrOperationFilesystem) return true;
    const MdrDevice* device = model_->FindDevice(First(event, "DeviceInit"));
    queue_->Push(new EventDeviceInit(device ? device->name : std::string()));
    return true;
  };
  handlers["OnDeviceFinish"] = [this](ToolEventView* event, const std::string&) {
    const std::string operation = First(event, "Operation");
    if (operation == kMdrOperationFilesystem) return true;
    std::vector<std::string> message = event->GetValues("Message");
    const std::string word =
        operation == kMdrOperationScan ? kMdrOperationScan : kMdrOperationRepair;
    std::vector<std::string> sectors = event->GetValues("SectorsInfo");
    if (word == kMdrOperationScan) {
      if (sectors.size() > 2) sectors[2] = "0";
      if (sectors.size() > 3) sectors[3] = "0";
    }
    queue_->Push(new EventDeviceFinish(
        MdrParseInt(First(event, "DeviceFinish", 1), kMdrUnknownCode), !message.empty(),
        message.empty() ? std::string() : message[0], word, sectors,
        JoinBadSectors(event->GetValues("BadSectorsList"))));
    return true;
  };
  handlers["OnPartitionInit"] = [this](ToolEventView* event, const std::string&) {
    const std::string key = First(event, "PartitionInit", 1);
    const MdrPartition* p = model_->FindPartition(key);
    queue_->Push(new EventPartitionInit(key, p ? p->file_system : std::string()));
    return true;
  };
  handlers["OnPartitionFinish"] = [this](ToolEventView* event, const std::string&) {
    std::vector<std::string> message = event->GetValues("Message");
    queue_->Push(new EventPartitionFinish(
        First(event, "PartitionFinish", 1),
        MdrParseInt(First(event, "PartitionFinish", 3), kMdrUnknownCode), !message.empty(),
        message.empty() ? std::string() : message[0], First(event, "PartitionFinish", 2)));
    return true;
  };
  handlers["OnProgress"] = [this](ToolEventView* event, const std::string&) {
    queue_->Push(new EventProgress(MdrParseInt(First(event, "Progress"), 0)));
    return true;
  };
}
