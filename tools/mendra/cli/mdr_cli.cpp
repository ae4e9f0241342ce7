#include "tools/mendra/cli/mdr_cli.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "cli/exit_status.h"
#include "tools/mendra/cli/mdr_exit_status.h"
#include "tools/mendra/common/mdr_result_codes.h"

using morva_service::ModuleInterfaceView;
using morva_service::ToolView;

namespace {

// The console interrupt reaches a plain function on the platform's thread; it acts on the tool
// object being run. The lock orders it against the run's start and end and against the
// object's destruction.
std::mutex g_signal_mutex;
MdrCli* g_current = nullptr;

constexpr double kPollSeconds = 0.25;
// Standard input has ended: nobody can answer any more.
constexpr int kEndOfInput = -2;

}  // namespace

MdrCli::MdrCli(ModuleInterfaceView* module, ToolView* tool)
    : module_(module),
      tool_(tool),
      service_(GetMorvaServiceInstance()),
      model_(new MdrUtils(module, tool, service_)),
      console_(get_console()),
      listener_(new MdrCliListener(&queue_, model_.get())) {
  {
    std::lock_guard<std::mutex> lock(g_signal_mutex);
    g_current = this;
  }
  if (ZerkaSignalHandler* signals = get_signal_handler())
    signals_taken_ = signals->Register(&MdrCli::OnConsoleSignal) == 0;
  // No run on the engine starts once an interrupt was taken, seen by a callback or not.
  model_->SetStartGuard([this] { return !Interrupted(); });
}

MdrCli::~MdrCli() {
  // Only its own callback: an Unregister without one would take the host's away.
  if (ZerkaSignalHandler* signals = get_signal_handler(); signals && signals_taken_)
    signals->Unregister();
  {
    // Waits for an interrupt still being handled.
    std::lock_guard<std::mutex> lock(g_signal_mutex);
    g_current = nullptr;
  }
  if (console_) release_console_instance(console_);
  // The engine instance is counted: give back the one taken in the constructor.
  if (service_) ReleaseMorvaServiceInstance();
}

void MdrCli::OnConsoleSignal(int /*signal_number*/) {
  // Also for a reader that takes no more output: the host ends the program as on its own runs.
  ToolInterrupted();
  std::lock_guard<std::mutex> lock(g_signal_mutex);
  MdrCli* cli = g_current;
  if (cli == nullptr) return;
  cli->signal_abort_ = true;
  // Before the run the interrupt only keeps the tool from starting; the engine hears nothing
  // that could outlast this run.
  if (!cli->tool_started_ || cli->tool_ == nullptr || cli->service_ == nullptr) return;
  cli->tool_->SetParameter("ForcedAbort", {"Forced to abort"});
  cli->service_->AbortTool(cli->tool_);
}

int MdrCli::SpinnerThread(void* self) {
  MdrCli* cli = static_cast<MdrCli*>(self);
  ZerkaTimer* timer = get_timer();
  uint32_t t = timer->Tick();
  while (cli->spinning_) {
    // Waiting for the scan to return could mean waiting forever.
    if (cli->scanning_ && cli->Interrupted()) {
      cli->display_->WipeSpinner();
      EndToolRunWithoutWaiting(kolv_exit::kTestCancelled);
    }
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
  try {
    cli->service_->ExecuteTool(cli->tool_, cli->listener_.get(), cli->selected_);
  } catch (...) {
    // Read once the thread was joined.
    cli->engine_failed_ = true;
  }
  cli->running_ = false;
  return 0;
}

int MdrCli::Run(int argc, char** argv) {
  const int status = RunSteps(argc, argv);
  if (!Interrupted()) return status;
  return static_cast<int>(RunOutcome::Cancelled(static_cast<unsigned>(status)));
}

int MdrCli::RunSteps(int argc, char** argv) {
  const std::string bootable = GetProperty("BOOTABLE");
  if (bootable == "TRUE") bootable_ = true;
  if (bootable == "FALSE") bootable_ = false;
  display_.reset(new ConsoleDisplay(bootable_, ToolConsole()));
  parser_.reset(new CliOptionParser(model_.get()));
  if (service_ == nullptr || module_ == nullptr || tool_ == nullptr || !signals_taken_) {
    display_->Banner();
    display_->Errors({"|UNABLE_TO_EXECUTE"});
    return kolv_exit::kPlatformUnavailable;
  }
  // Interrupted since the host took the signals: the tool does not start.
  if (Interrupted()) return kolv_exit::kTestCancelled;

  // The spinner also ends the program on an interrupt during the device scan, which nothing
  // else could stop: without it the scan does not start.
  spinning_ = true;
  ZerkaThreadHandle spinner = nullptr;
  if (get_thread()->Create(spinner, 0, &MdrCli::SpinnerThread, this, nullptr) != 0) {
    display_->Banner();
    display_->Errors({"|UNABLE_TO_EXECUTE"});
    return kolv_exit::kPlatformUnavailable;
  }
  const int result = ReadCommandLine(argc, argv);
  spinning_ = false;
  // The spinner must be off the console before anything else is written.
  get_thread()->Join(spinner);

  display_->WipeSpinner();
  if (Interrupted()) return kolv_exit::kTestCancelled;
  display_->Banner();
  display_->Warnings(warnings_);
  if (result == kReadScanFailed) {
    // As the host tells its own failed scans.
    display_->Text(FormatDisplayKey("[|WARNING]") + " " +
                   FormatDisplayKey("|DEVICE_SCAN_FAILED: ") + std::to_string(scan_result_) + "\n");
    return kolv_exit::kPlatformUnavailable;
  }
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
  return RunOperation();
}

int MdrCli::ReadCommandLine(int argc, char** argv) {
  if (parser_->ParseOptions(argc, argv, flags_, errors_, warnings_) != 0) return 1;
  if (!CliOptionParser::NeedsDevices(flags_)) return 0;
  scanning_ = true;
  scan_result_ = model_->FilterDevices(true, false, false);
  scanning_ = false;
  if (scan_result_ != 0) return kReadScanFailed;
  // The start guard said no and left the list empty: the interrupt ends the run.
  if (Interrupted()) return 0;
  return parser_->ValidateTargets(argc, argv, flags_, errors_, warnings_, selection_);
}

int MdrCli::RunOperation() {
  std::string operation;
  if (flags_ & kFlagScan)
    operation = kMdrOperationScan;
  else if (flags_ & kFlagRepair)
    operation = kMdrOperationRepair;
  if (operation.empty()) return kolv_exit::kSuccess;
  // The question names exactly the devices the run will be given.
  if (!SelectDevices()) {
    display_->NoDevices();
    return kolv_exit::kDevicesMissing;
  }
  if (operation == kMdrOperationRepair) {
    if (const int declined = ConfirmOperation()) return declined;
    display_->Text("\n");
  }
  tool_->SetParameter("Operation", {operation});
  return Execute();
}

bool MdrCli::SelectDevices() {
  const bool partition_mode = (flags_ & kFlagFilesystem) != 0;
  const bool repair = (flags_ & kFlagRepair) != 0;
  if (parser_->had_target_words())
    model_->SetSelectedPartitions(&selection_, partition_mode, repair, true);
  else
    model_->SelectEveryDevice(&selection_, partition_mode, repair, true);
  selected_ = *model_->selected_devices();
  return !selected_.empty();
}

int MdrCli::Execute() {
  if (selected_.empty()) {
    display_->NoDevices();
    return kolv_exit::kDevicesMissing;
  }
  ZerkaTimer* timer = get_timer();
  uint32_t t = timer->Tick();
  device_running_ = false;
  ZerkaThreadHandle worker = nullptr;
  {
    std::lock_guard<std::mutex> lock(g_signal_mutex);
    if (Interrupted()) return kolv_exit::kTestCancelled;
    MdrClearAbortRequests(tool_);
    running_ = true;
    if (get_thread()->Create(worker, 0, &MdrCli::ToolRunThread, this, nullptr) != 0) {
      running_ = false;
      display_->Errors({"|UNABLE_TO_EXECUTE"});
      return kolv_exit::kPlatformUnavailable;
    }
    tool_started_ = true;
  }
  auto escape_pressed = [this] {
    if (signal_abort_ || console_ == nullptr || console_->ReadKey() != ZerkaConsole::kEscape) return;
    abort_asked_ = true;
    service_->AbortTool(tool_);
  };
  escape_pressed();

  while (true) {
    if (!running_ && queue_.Empty()) break;
    std::unique_ptr<MdrCliEvent> event = queue_.Take();
    if (event) {
      event->Process(*this);
      continue;
    }
    const uint32_t now = timer->Tick();
    if (timer->SecondsBetween(t, now) > kPollSeconds) {
      escape_pressed();
      if (device_running_) display_->Ticker(SecondsSinceDeviceStart());
      t = now;
    }
    timer->Sleep(5);
  }
  get_thread()->Join(worker);
  // Events the worker queued just before it ended.
  while (std::unique_ptr<MdrCliEvent> event = queue_.Take()) event->Process(*this);
  {
    std::lock_guard<std::mutex> lock(g_signal_mutex);
    tool_started_ = false;
  }
  // As the host ends its own runs whose engine threw (out of memory, for one).
  if (engine_failed_) {
    display_->Errors({"|UNABLE_TO_EXECUTE"});
    outcome_.Report(kolv_exit::kPlatformUnavailable);
  }
  // A device the tool never reported on was not done.
  if (Interrupted() || (abort_asked_ && results_ < selected_.size()))
    outcome_.Report(kolv_exit::kTestCancelled);
  else if (results_ < selected_.size())
    outcome_.Report(kolv_exit::kTestInvalid);
  return static_cast<int>(outcome_.Status());
}

void MdrCli::ResultReported(int code, bool whole_device) {
  ReportToolResult(outcome_, code);
  if (whole_device) ++results_;
}

void MdrCli::DeviceStarted() {
  device_start_tick_ = get_timer()->Tick();
  device_running_ = true;
}

unsigned long MdrCli::SecondsSinceDeviceStart() {
  return static_cast<unsigned long>(get_timer()->SecondsBetween(device_start_tick_, get_timer()->Tick()));
}

int MdrCli::ReadAnswerKey(bool terminal) {
  if (terminal) {
    // A terminal that was closed answers nothing any more.
    if (isatty(STDIN_FILENO) != 1) return kEndOfInput;
    const int key = console_->ReadKey();
    if (key == ZerkaConsole::kNoKey) get_timer()->Sleep(10);
    return key;
  }
  // Waits a little at a time, so that an interrupt ends the question at once.
  pollfd input{STDIN_FILENO, POLLIN, 0};
  if (poll(&input, 1, 50) <= 0) return ZerkaConsole::kNoKey;
  unsigned char byte = 0;
  const ssize_t n = read(STDIN_FILENO, &byte, 1);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return ZerkaConsole::kNoKey;
  if (n <= 0) return kEndOfInput;
  if (byte == '\n') return 13;
  if (byte == 127) return 8;
  return byte;
}

int MdrCli::ConfirmOperation() {
  display_->Text("> " + FormatDisplayKey("|THE_EXECUTION_OF_THE_SCAN_AND_REPAIR_CAN_CAUSE_DATA_LOSS._"
                                         "|IT_IS_RECOMMENDED_TO_MAKE_A_BACKUP_BEFORE_EXECUTE_THIS_"
                                         "OPERATION.") +
                 "\n");
  display_->RepairTargets(*model_);
  const bool terminal = isatty(STDIN_FILENO) != 0 && console_ != nullptr;
  // Only a key pressed once the question is shown may answer it. Input from a pipe or a file is
  // kept: it was written as the answer.
  if (terminal) console_->DiscardKeys();
  display_->Text("> " + FormatDisplayKey("|ARE_YOU_SURE_YOU_WANT_TO_PROCEED?_(y/n)") + " ");
  // A question nobody could see is never answered.
  if (!display_->Shown()) return kolv_exit::kOutputFileError;
  char answer = 0;
  while (true) {
    if (Interrupted()) {
      display_->Text("\n");
      return kolv_exit::kTestCancelled;
    }
    // Shown: an answer that never comes (a closed terminal, too) declines it.
    const int key = ReadAnswerKey(terminal);
    if (key == kEndOfInput) {
      display_->Text("\n");
      return kolv_exit::kTestCancelled;
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
      return answer == 'y' ? kolv_exit::kSuccess : kolv_exit::kTestCancelled;
    }
  }
}

extern "C" __attribute__((visibility("default"))) ToolCli* GetToolCli(ModuleInterfaceView* module,
                                                                      ToolView* tool) {
  return new MdrCli(module, tool);
}

extern "C" __attribute__((visibility("default"))) void ReleaseToolCli(ToolCli* tool) { delete tool; }
