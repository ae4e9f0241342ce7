#include "tools/mendra/cli/cli_events.h"

#include "cli/exit_status.h"
#include "tools/mendra/cli/console_display.h"
#include "tools/mendra/common/mdr_utils.h"

using morva_service::ToolEventView;

unsigned MdrExitStatus(int code) {
  switch (MdrMeaningOf(code).row_status) {
    case kMdrOutcomeSuccess: return kolv_exit::kSuccess;
    case kMdrOutcomeNotApplicable: return kolv_exit::kTestNotApplicable;
    case kMdrOutcomeAborted: return kolv_exit::kTestCancelled;
    case kMdrOutcomeFailed: return kolv_exit::kTestFailed;
    case kMdrOutcomeWarning: return kolv_exit::kTestWarning;
    default: return kolv_exit::kTestInvalid;
  }
}

namespace {
// The host's order of outcomes, except that success weighs least of all the tool's statuses.
int ToolStatusWeight(unsigned status) {
  if (status == kolv_exit::kSuccess) return 1;
  const int weight = kolv_exit::ResultWeight(status);
  return weight > 0 ? weight + 1 : 0;
}
}  // namespace

unsigned MergeToolStatus(unsigned a, unsigned b) {
  return ToolStatusWeight(b) > ToolStatusWeight(a) ? b : a;
}

CliEventQueue::CliEventQueue() : lock_(GetNewSemaphore()) { lock_->Init(1, 1); }

CliEventQueue::~CliEventQueue() {
  for (MdrCliEvent* event : events_) delete event;
  ReleaseSemaphoreInstance(lock_);
}

void CliEventQueue::Push(MdrCliEvent* event) {
  lock_->Wait();
  events_.push_back(event);
  lock_->Post();
}

std::unique_ptr<MdrCliEvent> CliEventQueue::Take() {
  lock_->Wait();
  MdrCliEvent* event = nullptr;
  if (!events_.empty()) {
    event = events_.front();
    events_.pop_front();
  }
  lock_->Post();
  return std::unique_ptr<MdrCliEvent>(event);
}

bool CliEventQueue::Empty() {
  lock_->Wait();
  const bool empty = events_.empty();
  lock_->Post();
  return empty;
}

void EventOperationInit::Process(MdrCliEventContext& context) {
  context.display().OperationStart(operation_);
}

void EventDeviceInit::Process(MdrCliEventContext& context) {
  context.DeviceStarted();
  context.display().DeviceStart(name_);
}

void EventPartitionInit::Process(MdrCliEventContext& context) {
  context.DeviceStarted();
  context.display().PartitionStart(id_, file_system_);
}

void EventPartitionFinish::Process(MdrCliEventContext& context) {
  if (has_message_) context.display().set_pending_message(message_);
  context.display().PartitionReport(id_, code_, context.SecondsSinceDeviceStart(), summary_);
  context.ResultReported(code_, false);
}

void EventDeviceFinish::Process(MdrCliEventContext& context) {
  if (has_message_) context.display().set_pending_message(message_);
  context.display().DeviceReport(code_, context.SecondsSinceDeviceStart(), sectors_, bad_sectors_,
                                 operation_);
  context.ResultReported(code_, true);
}

void EventOperationFinish::Process(MdrCliEventContext& context) {
  context.display().OperationFinish();
}

void EventProgress::Process(MdrCliEventContext& context) {
  context.display().set_progress(progress_);
}

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
    if (First(event, "Operation") == "filesystem") return true;
    const std::string id = First(event, "DeviceInit");
    const MdrDevice* device = model_->FindDevice(id);
    queue_->Push(new EventDeviceInit(id, device ? device->name : std::string()));
    return true;
  };
  handlers["OnDeviceFinish"] = [this](ToolEventView* event, const std::string&) {
    const std::string operation = First(event, "Operation");
    if (operation == "filesystem") return true;
    std::vector<std::string> message = event->GetValues("Message");
    const std::string word = operation == "scan" ? "scan" : "repair";
    std::vector<std::string> sectors = event->GetValues("SectorsInfo");
    if (word == "scan") {
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
    queue_->Push(new EventPartitionInit(key, p ? p->size : std::string(),
                                        p ? p->file_system : std::string()));
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
