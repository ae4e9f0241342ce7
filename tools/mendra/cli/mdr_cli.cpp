#include "tools/mendra/cli/mdr_cli.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include "cli/exit_status.h"

using morva_service::ModuleInterfaceView;
using morva_service::ToolView;

namespace {

// The console interrupt reaches a plain function; it acts on the tool object being run.
std::atomic<MdrCli*> g_current{nullptr};
std::atomic<morva_service::MorvaService*> g_service{nullptr};
std::atomic<ToolView*> g_tool{nullptr};
std::atomic<bool>* g_signal_abort = nullptr;

constexpr double kPollSeconds = 0.25;

}  // namespace

MdrCli::MdrCli(ModuleInterfaceView* module, ToolView* tool)
    : module_(module),
      tool_(tool),
      service_(GetMorvaServiceInstance()),
      model_(new MdrUtils(module, tool, service_)),
      console_(get_console()),
      listener_(new MdrCliListener(&queue_, model_.get())) {
  g_current = this;
  g_service = service_;
  g_tool = tool_;
  g_signal_abort = &signal_abort_;
  if (ZerkaSignalHandler* signals = get_signal_handler()) signals->Register(&MdrCli::OnConsoleSignal);
}

MdrCli::~MdrCli() {
  if (ZerkaSignalHandler* signals = get_signal_handler()) signals->Unregister();
  g_current = nullptr;
  g_signal_abort = nullptr;
  g_tool = nullptr;
  g_service = nullptr;
  if (console_) release_console_instance(console_);
  // The engine instance is counted: give back the one taken in the constructor.
  if (service_) ReleaseMorvaServiceInstance();
}

void MdrCli::OnConsoleSignal(int /*signal_number*/) {
  if (g_current == nullptr) return;
  if (g_signal_abort) *g_signal_abort = true;
  ToolView* tool = g_tool;
  morva_service::MorvaService* service = g_service;
  if (tool) tool->SetParameter("ForcedAbort", {"Forced to abort"});
  if (service && tool) service->AbortTool(tool);
}

int MdrCli::SpinnerThread(void* self) {
  MdrCli* cli = static_cast<MdrCli*>(self);
  ZerkaTimer* timer = get_timer();
  uint32_t t = timer->Tick();
  while (cli->spinning_) {
    const uint32_t now = timer->Tick();
    if (timer->SecondsBetween(t, now) > kPollSeconds) {
      if (cli->scanning_) cli->display_->Spinner();
      t = now;
    }
    timer->Sleep(20);
  }
  return 0;
}

int MdrCli::ToolRunThread(void* self) {
  MdrCli* cli = static_cast<MdrCli*>(self);
  cli->service_->ExecuteTool(cli->tool_, cli->listener_.get(), cli->selected_);
  cli->running_ = false;
  return 0;
}

int MdrCli::Run(int argc, char** argv) {
  const std::string bootable = GetProperty("BOOTABLE");
  if (bootable == "TRUE") bootable_ = true;
  if (bootable == "FALSE") bootable_ = false;
  display_.reset(new ConsoleDisplay(bootable_, std::cout));
  parser_.reset(new CliOptionParser(model_.get(), bootable_, &scanning_));
  if (service_ == nullptr || module_ == nullptr || tool_ == nullptr) {
    display_->Banner();
    display_->Errors({"|UNABLE_TO_EXECUTE"});
    return kolv_exit::kPlatformUnavailable;
  }

  spinning_ = true;
  ZerkaThreadHandle spinner = nullptr;
  const bool spinner_started = get_thread()->Create(spinner, 0, &MdrCli::SpinnerThread, this, nullptr) == 0;
  const int result = parser_->ParseOptions(argc, argv, flags_, errors_, warnings_, selection_);
  spinning_ = false;
  // The spinner must be off the console before anything else is written.
  if (spinner_started) get_thread()->Join(spinner);

  display_->Text(std::string(35, ' ') + "\r");
  display_->Banner();
  display_->Warnings(warnings_);
  if (result != 0) {
    display_->Errors(errors_);
    display_->InstructionsHint();
    return kolv_exit::kCommandLineError;
  }
  if (flags_ & kFlagInformation) {
    if (flags_ & kFlagUsage) display_->Usage();
    if (flags_ & kFlagListing)
      display_->ListDevices(*model_, parser_->had_target_words() ? &parser_->target_ids() : nullptr);
  }
  std::string operation;
  if (flags_ & kFlagScan)
    operation = "scan";
  else if (flags_ & kFlagRepair)
    operation = "repair";
  if (operation.empty()) return 0;
  if (operation == "repair") {
    if (!ConfirmOperation()) return 0;
    display_->Text("\n");
  }
  tool_->SetParameter("Operation", {operation});
  return Execute();
}

int MdrCli::Execute() {
  model_->SetSelectedPartitions(&selection_, (flags_ & kFlagFilesystem) != 0,
                                (flags_ & kFlagRepair) != 0, true);
  selected_ = *model_->selected_devices();
  ZerkaTimer* timer = get_timer();
  uint32_t t = timer->Tick();
  if (selected_.empty()) {
    display_->NoDevices();
    return kolv_exit::kDevicesMissing;
  }
  tool_->SetParameter("ForcedAbort", {});
  device_running_ = false;
  running_ = true;
  ZerkaThreadHandle worker = nullptr;
  if (get_thread()->Create(worker, 0, &MdrCli::ToolRunThread, this, nullptr) != 0) {
    running_ = false;
    display_->Errors({"|UNABLE_TO_EXECUTE"});
    return kolv_exit::kPlatformUnavailable;
  }
  if (console_ && console_->ReadKey() == ZerkaConsole::kEscape) service_->AbortTool(tool_);

  while (true) {
    if (!running_ && queue_.Empty()) break;
    std::unique_ptr<MdrCliEvent> event = queue_.Take();
    if (event) {
      event->Process(*this);
      continue;
    }
    const uint32_t now = timer->Tick();
    if (timer->SecondsBetween(t, now) > kPollSeconds) {
      if (!signal_abort_ && console_ && console_->ReadKey() == ZerkaConsole::kEscape)
        service_->AbortTool(tool_);
      if (device_running_) display_->Ticker(SecondsSinceDeviceStart());
      t = now;
    }
    timer->Sleep(5);
  }
  get_thread()->Join(worker);
  // Events the worker queued just before it ended.
  while (std::unique_ptr<MdrCliEvent> event = queue_.Take()) event->Process(*this);
  return run_status_;
}

void MdrCli::ResultReported(int code) {
  // The row status of each tool result code, told in the host's exit statuses.
  unsigned status;
  switch (static_cast<unsigned>(code)) {
    case kMdrNoErrorsFound:
    case kMdrScheduledSuccessfully:
    case kMdrErrorsFoundAndFixed: status = kolv_exit::kSuccess; break;
    case kMdrPartitionLocked:
    case kMdrFilesystemNotSupported:
    case kMdrNotEnoughPrivileges: status = kolv_exit::kTestNotApplicable; break;
    case kMdrUnableToUnmountDevice:
    case kMdrOperationFailed:
    case kMdrAborted: status = kolv_exit::kTestCancelled; break;
    case kMdrScheduleFailed:
    case kMdrErrorsFound: status = kolv_exit::kTestFailed; break;
    case kMdrErrorsFoundButNotFixed:
    case kMdrErrorsCorrectedNeedReboot: status = kolv_exit::kTestWarning; break;
    default: status = kolv_exit::kTestInvalid; break;
  }
  if (!has_result_ || kolv_exit::ResultWeight(status) > kolv_exit::ResultWeight(run_status_))
    run_status_ = status;
  has_result_ = true;
}

void MdrCli::DeviceStarted() {
  device_start_tick_ = get_timer()->Tick();
  device_running_ = true;
}

unsigned long MdrCli::SecondsSinceDeviceStart() {
  return static_cast<unsigned long>(get_timer()->SecondsBetween(device_start_tick_, get_timer()->Tick()));
}

bool MdrCli::ConfirmOperation() {
  display_->Text("> " + FormatDisplayKey("|THE_EXECUTION_OF_THE_SCAN_AND_REPAIR_CAN_CAUSE_DATA_LOSS._"
                                         "|IT_IS_RECOMMENDED_TO_MAKE_A_BACKUP_BEFORE_EXECUTE_THIS_"
                                         "OPERATION.") +
                 "\n");
  display_->Text("> " + FormatDisplayKey("|ARE_YOU_SURE_YOU_WANT_TO_PROCEED?_(y/n)") + " ");
  const bool terminal = isatty(STDIN_FILENO) != 0 && console_ != nullptr;
  char answer = 0;
  while (true) {
    int key;
    if (terminal) {
      key = console_->ReadKey();
      if (key == ZerkaConsole::kNoKey) {
        get_timer()->Sleep(10);
        continue;
      }
    } else {
      key = std::getchar();
      // Without a terminal nobody can type an answer later: end of input refuses.
      if (key == EOF) {
        display_->Text("\n");
        return false;
      }
      if (key == '\n') key = 13;
      if (key == 127) key = 8;
    }
    if (key == 'y' || key == 'Y' || key == 'n' || key == 'N') {
      if (answer) display_->Text("\b");
      answer = static_cast<char>(key == 'y' || key == 'Y' ? 'y' : 'n');
      display_->Text(std::string(1, answer));
    } else if (key == 8 && answer) {
      display_->Text("\b");
      answer = 0;
    } else if (key == 13 && answer) {
      display_->Text("\n");
      return answer == 'y';
    }
  }
}

extern "C" __attribute__((visibility("default"))) ToolCli* GetToolCli(ModuleInterfaceView* module,
                                                                      ToolView* tool) {
  return new MdrCli(module, tool);
}

extern "C" __attribute__((visibility("default"))) void ReleaseToolCli(ToolCli* tool) { delete tool; }
