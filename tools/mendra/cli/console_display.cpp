#include "tools/mendra/cli/console_display.h"

#include <cctype>
#include <ostream>

#include "cli/engine_text.h"
#include "tools/mendra/common/mdr_result_codes.h"
#include "tools/mendra/common/mdr_utils.h"

namespace {

const char* const kHostName = "kolv_cli";

const char kScanningText[] = "Scanning devices... ";
// The spinner's line is wiped as wide as the tool always wiped it.
constexpr size_t kSpinnerWipeWidth = 35;
static_assert(sizeof(kScanningText) + 1 <= kSpinnerWipeWidth, "the wipe must cover the spinner");

char NextSpinner(char c) {
  switch (c) {
    case '-': return '\\';
    case '\\': return '|';
    case '|': return '/';
    default: return '-';
  }
}

std::string Replace(const std::string& text, const std::string& from, const std::string& to) {
  std::string result;
  for (char c : text) {
    if (std::string(1, c) == from)
      result += to;
    else
      result += c;
  }
  return result;
}

}  // namespace

std::string FormatDisplayKey(const std::string& key, bool capital_first) {
  bool capital = capital_first;
  std::string text;
  for (size_t i = 0; i < key.size(); ++i) {
    const char c = key[i];
    if (c == ' ' || c == '_') {
      text += ' ';
    } else if (c == '|') {
      capital = true;
    } else if (c == '^') {
      size_t end = key.find('$', i + 1);
      if (end == std::string::npos) end = key.size();
      text += key.substr(i + 1, end - i - 1);
      i = end;
    } else if (capital) {
      text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      capital = false;
    } else {
      text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return text;
}

std::string VerbatimKey(const std::string& text) {
  std::string key = "^";
  for (const char c : text) key += c == '$' ? std::string("$$^") : std::string(1, c);
  return key + "$";
}

std::string ElapsedText(unsigned long seconds) {
  const unsigned long h = seconds / 3600;
  const unsigned long m = (seconds % 3600) / 60;
  const unsigned long s = seconds % 60;
  std::string text;
  if (h > 0) text += std::to_string(h) + " hour " + (h > 1 ? "\bs " : "");
  if (m > 0) text += std::to_string(m) + " minute " + (m > 1 ? "\bs " : "");
  if (s > 0 || (h == 0 && m == 0)) text += std::to_string(s) + " second" + (s > 1 ? "s" : "");
  return text;
}

std::string JoinBadSectors(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += (i % 5 == 0) ? "\n" : ", ";
    text += items[i];
  }
  return text;
}

ConsoleDisplay::ConsoleDisplay(bool bootable, std::ostream& out) : bootable_(bootable), out_(out) {}

void ConsoleDisplay::Flush() { out_.flush(); }

bool ConsoleDisplay::Shown() {
  Flush();
  return !out_.fail();
}

void ConsoleDisplay::Text(const std::string& text) {
  out_ << text;
  Flush();
}

void ConsoleDisplay::Spinner() {
  out_ << kScanningText << spinner_ << "\r";
  spinner_ = NextSpinner(spinner_);
  Flush();
}

void ConsoleDisplay::WipeSpinner() {
  out_ << std::string(kSpinnerWipeWidth, ' ') << "\r";
  Flush();
}

void ConsoleDisplay::Wipe() {
  out_ << std::string(last_ticker_.size(), ' ') << "\r";
  Flush();
}

void ConsoleDisplay::Banner() {
  const std::string rule(58, '=');
  out_ << "\n" << rule << "\n" << FormatDisplayKey("_|TARVEX_|QUORSA") << "  -  "
       << FormatDisplayKey("|MENDRA_TOOL") << "\n Press ESC To Abort Operations\n" << rule
       << "\n\n";
  Flush();
}

void ConsoleDisplay::Warnings(const std::vector<std::string>& warnings) {
  // They name devices by the engine's ids and repeat words as typed.
  for (const std::string& warning : warnings)
    out_ << FormatDisplayKey("[|WARNING]") << " " << EngineText(FormatDisplayKey(warning)) << "\n";
  Flush();
}

void ConsoleDisplay::Errors(const std::vector<std::string>& errors) {
  if (errors.empty()) return;
  out_ << ">> " << FormatDisplayKey("|ERRORS:") << "\n";
  for (const std::string& error : errors) out_ << "\t- " << FormatDisplayKey(error) << "\n";
  out_ << "\n";
  Flush();
}

void ConsoleDisplay::InstructionsHint() {
  out_ << ">> To see instructions use: " << kHostName << " -Mstorage -Trecover -h\n";
  Flush();
}

void ConsoleDisplay::Usage() {
  out_ << "> General options\n"
       << "  Usage: " << kHostName << "  -Mstorage -Trecover [option(s)]\n"
       << "  Options:\n"
       << "\t-h, --help\t       Shows the CLI instructions\n"
       << "\t-l, --list-devices     Shows the devices and their supported partitions\n"
       << "\n"
       << "> Scan only or Scan and Repair Bad Sectors\n"
       << "  Usage: " << kHostName << "  -Mstorage -Trecover [-s or -r] [devices]\n"
       << "  Options:\n"
       << "\t-s, --scan\t       Performs physical scan on the specified devices\n"
       << "\t-r, --repair\t       Performs physical scan and repair on the specified devices\n"
       << "\n"
       << "  Examples:\n"
       << "\t=> Perform Scan only on devices 0 and 1\n"
       << "\t   " << kHostName << "  -Mstorage -Trecover -s 0 1\n"
       << "\t=> Perform Scan and Repair on devices 0 and 2\n"
       << "\t   " << kHostName << "  -Mstorage -Trecover -r 0 2\n"
       << "\t=> Perform Scan and repair on all applicable devices\n"
       << "\t   " << kHostName << "  -Mstorage -Trecover -r\n"
       << "\n";
  Flush();
}

void ConsoleDisplay::OperationStart(const std::string& operation) {
  out_ << FormatDisplayKey("|STARTED_|OPERATION: |" + EngineText(operation)) << "\n";
  Flush();
}

void ConsoleDisplay::DeviceStart(const std::string& display_name) {
  out_ << "=> " << EngineText(display_name) << " " << std::endl;
  last_ticker_.clear();
  progress_ = 0;
}

void ConsoleDisplay::PartitionStart(const std::string& partition, const std::string& file_system) {
  out_ << "\n=> " << FormatDisplayKey("|PARTITION:") << " " << EngineText(partition) << " - "
       << EngineText(file_system) << std::endl;
  last_ticker_.clear();
  progress_ = 0;
}

void ConsoleDisplay::Ticker(unsigned long seconds) {
  std::string line = "   " + std::to_string(progress_) + "% " + spinner_ + " " + ElapsedText(seconds);
  out_ << line;
  if (last_ticker_.size() > line.size()) out_ << std::string(last_ticker_.size() - line.size(), ' ');
  out_ << "  \r";
  last_ticker_ = line;
  spinner_ = NextSpinner(spinner_);
  Flush();
}

std::string ConsoleDisplay::PartitionStatusKey(int code) {
  switch (code) {
    case kMdrNoErrorsFound: return "|NO_ERRORS_WERE_FOUND";
    case kMdrPartitionLocked: return "|ABORTED";
    case kMdrOperationFailed: return "|UNABLE_TO_EXECUTE";
    case kMdrNotEnoughPrivileges: return "|NOT_ENOUGH_PRIVILEGES";
    case kMdrAborted: return "|ABORTED";
    case kMdrErrorsFoundAndFixed: return "|THE_ERRORS_WERE_CORRECTED";
    case kMdrErrorsFoundButNotFixed: return "|UNABLE_TO_FIX_ERRORS";
    case kMdrErrorsCorrectedNeedReboot: return "|THE_ERRORS_WERE_CORRECTED!_PLEASE_REBOOT_NOW";
    default: return std::string();
  }
}

std::string ConsoleDisplay::DeviceStatusKey(int code) {
  switch (code) {
    case kMdrNoErrorsFound: return "|NO_ERRORS_WERE_FOUND";
    case kMdrUnableToUnmountDevice: return "|HARD_DISK_LOCKED";
    case kMdrOperationFailed: return "|UNABLE_TO_EXECUTE";
    case kMdrNotEnoughPrivileges: return "|NOT_ENOUGH_PRIVILEGES";
    case kMdrAborted: return "|ABORTED";
    case kMdrErrorsFoundAndFixed: return "|THE_ERRORS_WERE_CORRECTED";
    case kMdrErrorsFoundButNotFixed: return "|UNABLE_TO_FIX_ERRORS";
    case kMdrErrorsFound: return "|ERRORS_WERE_FOUND";
    default: return std::string();
  }
}

void ConsoleDisplay::StatusAndElapsed(const std::string& status_key, unsigned long seconds) {
  out_ << "   " << FormatDisplayKey("|OPERATION_STATUS:") << " " << FormatDisplayKey(status_key);
  if (!pending_message_.empty()) {
    out_ << " - " << EngineText(pending_message_);
    pending_message_.clear();
  }
  out_ << "\n   " << FormatDisplayKey("|ELAPSED_TIME:") << " " << ElapsedText(seconds) << "\n";
}

void ConsoleDisplay::PartitionReport(const std::string& /*partition*/, int code,
                                     unsigned long seconds, const std::string& summary) {
  Wipe();
  StatusAndElapsed(PartitionStatusKey(code), seconds);
  if (!summary.empty())
    out_ << "   Execution summary:\n\n\t" << Replace(EngineText(summary), "\n", "\n        ");
  out_ << "\n";
  last_ticker_.clear();
  Flush();
}

void ConsoleDisplay::DeviceReport(int code, unsigned long seconds,
                                  const std::vector<std::string>& sectors,
                                  const std::string& bad_sectors, const std::string& operation) {
  Wipe();
  auto item = [&sectors](size_t i) { return i < sectors.size() ? EngineText(sectors[i]) : std::string("0"); };
  out_ << "   Number of sectors read: " << item(0) << "\n";
  out_ << "   Number of bad sectors found: " << item(1) << "\n";
  if (operation == kMdrOperationRepair && sectors.size() >= 4) {
    out_ << "   Number of bad sectors corrected: " << item(2) << "\n";
    out_ << "   Number of bad sectors left uncorrected: " << item(3) << "\n";
  }
  StatusAndElapsed(DeviceStatusKey(code), seconds);
  if (!bad_sectors.empty()) {
    if (operation == kMdrOperationScan)
      out_ << "   " << FormatDisplayKey("[|INFO]")
           << " It is recommended for you to run Scan and Repair Bad Sectors";
    out_ << "\n   Bad sectors list:\n   " << Replace(EngineText(bad_sectors), "\n", "\n   ") << "\n";
  }
  out_ << "\n";
  last_ticker_.clear();
  Flush();
}

void ConsoleDisplay::OperationFinish() {
  out_ << "\n";
  Flush();
}

void ConsoleDisplay::NoDevices() {
  out_ << FormatDisplayKey("|There are no devices applicable for that operation") << "\n";
  Flush();
}

void ConsoleDisplay::RepairTargets(MdrUtils& model) {
  out_ << "> " << FormatDisplayKey("|THESE_DEVICES_WILL_BE_REPAIRED:") << "\n";
  for (morva_service::SystemComponentView* component : *model.selected_devices()) {
    const std::string id = component->id();
    const MdrDevice* device = model.FindDevice(id);
    out_ << "  " << EngineText(id) << "\t" << (device ? EngineText(device->name) : std::string()) << "\n";
  }
  Flush();
}

void ConsoleDisplay::ListDevices(MdrUtils& model, const std::vector<std::string>* chosen_ids) {
  std::vector<const MdrDevice*> devices;
  if (chosen_ids == nullptr) {
    for (const MdrDevice& device : *model.applicable_devices()) devices.push_back(&device);
  } else {
    for (const std::string& id : *chosen_ids)
      if (const MdrDevice* device = model.FindDevice(id)) devices.push_back(device);
  }
  if (devices.empty()) {
    out_ << "> " << FormatDisplayKey("THERE_ARE_NO_APPLICABLE_DEVICES_FOR_THIS_TOOL") << "\n";
    Flush();
    return;
  }
  if (chosen_ids == nullptr)
    out_ << "> " << FormatDisplayKey("|LIST_OF_DEVICES_AND_THEIR_APPLICABLE_PARTITIONS") << "\n";
  else
    out_ << ">>" << FormatDisplayKey("|LISTING_DEVICES_AND_THEIR_APPLICABLE_PARTITIONS") << "\n";
  for (const MdrDevice* device : devices) {
    out_ << "\n" << std::string(58, '-') << "\n";
    out_ << "  " << FormatDisplayKey("|DEVICE_|ID") << "\t\t" << EngineText(device->id) << "\n";
    out_ << "  " << FormatDisplayKey("|DISPLAY_|NAME") << "\t\t" << EngineText(device->name) << "\n";
    if (device->non_rotating)
      out_ << "  * " << FormatDisplayKey("|THIS_DEVICE_IS_A_NON_ROTATING_MEDIA_(|S|S|D)") << "\n";
    if (device->partitions.empty()) {
      out_ << "   * "
           << FormatDisplayKey("|This device has no applicable partitions for this operational system!")
           << "\n";
      continue;
    }
    out_ << "  " << FormatDisplayKey("|PARTITION\t|SIZE\t\t|FILESYSTEM") << "\n";
    for (const MdrPartition& p : device->partitions)
      out_ << "  " << EngineText(MdrUtils::PartitionKey(device->id, p)) << "\t" << EngineText(p.size)
           << "\t\t" << EngineText(p.file_system) << "\n";
  }
  out_ << "\n";
  Flush();
}
