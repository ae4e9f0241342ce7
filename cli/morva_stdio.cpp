#include "cli/morva_stdio.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include <unistd.h>

#include "cli/engine_text.h"
#include "cli/test_outcome.h"
#include "zerka/zerka.h"

namespace {

char UpperAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : char(c); }
char LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : char(c); }

const char kRuler[] = "--------------------------------------------------------------";  // 62

// No single write of a sink waits for more than a pipe's page to be taken.
constexpr size_t kWritePiece = 4096;
std::atomic<uint64_t> g_output_progress{0};

}  // namespace

MorvaStdio::MorvaStdio(FILE* out, FILE* err)
    : out_(out), err_(err), terminal_(out != nullptr && isatty(fileno(out)) == 1) {}

MorvaStdio::~MorvaStdio() {
  if (console_) release_console_instance(console_);
}

std::string MorvaStdio::KeyToText(std::string key, bool cap_words, bool cap_first, bool decode) {
  std::string text;
  text.reserve(key.size());
  bool pending_capital = cap_words || cap_first;
  for (char ch : key) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '_') {
      if (decode) {
        text += ' ';
        if (cap_words) pending_capital = true;
      } else {
        text += '_';
      }
    } else if (c == '|') {
      if (decode) pending_capital = true;
    } else if (pending_capital) {
      text += UpperAscii(c);
      pending_capital = false;
    } else {
      text += LowerAscii(c);
    }
  }
  return text;
}

uint64_t MorvaStdio::OutputProgress() { return g_output_progress.load(); }

int MorvaStdio::Write(const std::string& text) {
  if (!out_) return kSinkStdoutFailed;
  for (size_t at = 0; at < text.size(); at += kWritePiece) {
    const size_t piece = std::min(kWritePiece, text.size() - at);
    if (std::fwrite(text.data() + at, 1, piece, out_) != piece) {
      OutputFailed(errno);
      return kSinkStdoutFailed;
    }
    ++g_output_progress;
  }
  return std::ferror(out_) ? kSinkStdoutFailed : kSinkDone;
}

int MorvaStdio::Flush() {
  if (!out_) return kSinkStdoutFailed;
  if (std::fflush(out_) != 0) {
    OutputFailed(errno);
    return kSinkStdoutFailed;
  }
  ++g_output_progress;
  return kSinkDone;
}

void MorvaStdio::OutputFailed(int error) {
  // A terminal that was closed fails as a pipe whose reader went away.
  if (error != EPIPE && !(error == EIO && terminal_)) ReportLost(error);
}

void MorvaStdio::ReportLost(int error) {
  if (lost_) return;
  lost_ = true;
  if (err_)
    std::fprintf(err_, "%s: %s: %s\n", KeyToText("[|WARNING]_OUTPUT_LOST", false, false, true).c_str(),
                 Destination().c_str(), std::strerror(error));
}

std::string MorvaStdio::Destination() const {
  return KeyToText("STANDARD_OUTPUT", false, false, true);
}

int MorvaStdio::Print(std::string text, bool newline, bool convert, bool cap_words,
                      bool cap_first) {
  if (convert) text = KeyToText(std::move(text), cap_words, cap_first, true);
  if (newline) text += '\n';
  return Write(text);
}

int MorvaStdio::PrintText(std::string key, bool newline) {
  return Print(std::move(key), newline, true, false, true);
}

int MorvaStdio::PrintTitle(std::string key, bool newline) {
  return Print(std::move(key), newline, true, true, true);
}

int MorvaStdio::PrintRaw(std::string text, bool newline) {
  return Print(std::move(text), newline, false, false, false);
}

int MorvaStdio::PrintField(std::string label, std::string value, bool newline) {
  if (label.size() > 24) label = label.substr(0, 21) + "...";
  const size_t length = label.size();
  std::string line = KeyToText(label, true, true, true);
  line.append(26 - length, ' ');
  line += value;
  if (newline) line += '\n';
  return Write(line);
}

// Output is UTF-8 throughout, so a wide write is the same bytes as a narrow one.
int MorvaStdio::PrintWide(std::string text, bool newline) {
  if (newline) text += '\n';
  return Write(text);
}

int MorvaStdio::NewLine() { return Write("\n"); }

int MorvaStdio::Ruler() { return Write(std::string(kRuler) + "\n"); }

int MorvaStdio::BeginModule(std::string module_name) {
  if (!module_name_.empty()) return kSinkOutOfOrder;
  module_name_ = std::move(module_name);
  return kSinkDone;
}

int MorvaStdio::EndModule() {
  if (module_name_.empty()) return kSinkOutOfOrder;
  module_name_.clear();
  return kSinkDone;
}

int MorvaStdio::BeginDevice(std::string device_id, std::string /*module_name*/) {
  device_title_ = std::move(device_id);
  return kSinkDone;
}

int MorvaStdio::EndDevice(std::string result_text, double seconds, bool /*failed*/) {
  if (module_name_.empty() || device_title_.empty()) return kSinkOutOfOrder;
  int status = NewLine();
  if (status == kSinkDone) status = Ruler();
  if (status == kSinkDone) status = Write("   ");
  if (status == kSinkDone) status = PrintTitle("RESULT_CODE: ", false);
  if (status == kSinkDone) status = PrintRaw(EngineText(result_text), true);
  if (status == kSinkDone)
    status = Write("   " + KeyToText("TOTAL_ELAPSED_TIME:", false, true, true) + " " +
                   ElapsedText(seconds) + " \n");
  if (status == kSinkDone) status = Ruler();
  device_title_.clear();
  return status;
}

int MorvaStdio::BeginDiagnostic(std::string name) {
  int status = NewLine();
  if (status == kSinkDone) status = PrintText("STARTED_DIAGNOSTIC: ", false);
  if (status == kSinkDone) status = PrintTitle(EngineText(name), true);
  diagnostic_name_ = std::move(name);
  return status;
}

int MorvaStdio::EndDiagnostic() {
  int status = PrintText("FINISHED_DIAGNOSTIC: ", false);
  if (status == kSinkDone) status = PrintTitle(EngineText(diagnostic_name_), true);
  diagnostic_name_.clear();
  return status;
}

bool MorvaStdio::AbortRequested() {
  return !keyboard_disabled_ && console_ && console_->ReadKey() == ZerkaConsole::kEscape;
}

bool MorvaStdio::AskYesNo() {
  for (;;) {
    // Checked on every round: a terminal that closes while waiting never answers.
    if (!console_ || keyboard_disabled_ || !isatty(STDIN_FILENO)) return false;
    const int key = console_->ReadKey();
    if (key == 'Y' || key == 'y' || key == 'N' || key == 'n') {
      Write(std::string(" - ") + char(key));
      Flush();
      return key == 'Y' || key == 'y';
    }
    if (key == ZerkaConsole::kNoKey) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

int MorvaStdio::BeginTest(std::string name, std::string /*identifier*/) {
  int status = PrintText("=> ", false);
  if (status == kSinkDone) status = PrintTitle(EngineText(name), true);
  test_name_ = std::move(name);
  return status;
}

const char* MorvaStdio::StatusWord(uint32_t status) { return TestOutcome::Of(status).word; }

int MorvaStdio::EndTest(uint32_t status, double seconds) {
  const std::string text =
      std::string(57, ' ') + "\r" + "   " + KeyToText("TEST_STATUS:", true, true, true) + " " +
      KeyToText(StatusWord(status), true, true, true) + "!\n" + "   " +
      KeyToText("ELAPSED_TIME:", false, true, true) + " " + ElapsedText(seconds) + " \n\n";
  test_name_.clear();
  return Write(text) == kSinkDone ? kSinkDone : kSinkOutOfOrder;
}

char MorvaStdio::AdvanceSpinner() {
  switch (spinner_) {
    case '-': spinner_ = '\\'; break;
    case '\\': spinner_ = '|'; break;
    case '|': spinner_ = '/'; break;
    default: spinner_ = '-'; break;
  }
  return spinner_;
}

int MorvaStdio::TestProgress(int percent, double seconds) {
  if (percent < 0) return kSinkDone;
  char shown;
  if (percent >= 100) {
    spinner_ = '-';
    shown = '*';
  } else {
    shown = AdvanceSpinner();
  }
  const std::string line = "   " + std::to_string(percent) + "% " + shown + " " +
                           ElapsedText(seconds) + " \r";
  if (Write(line) != kSinkDone || Flush() != kSinkDone) return kSinkOutOfOrder;
  return kSinkDone;
}

int MorvaStdio::ScanProgress(std::string module_name, bool finished) {
  std::string text = KeyToText("SCANNING " + EngineText(module_name) + " DEVICES", false, true, true);
  std::string line;
  if (finished) {
    text = KeyToText(text + " FINISHED\n", false, true, true);
    spinner_ = '-';
    line = KeyToText("[|INFO]", true, false, true) + " " + text + " \r";
  } else {
    line = std::string(1, AdvanceSpinner()) + " " + text + " \r";
  }
  if (Write(line) != kSinkDone || Flush() != kSinkDone) return kSinkOutOfOrder;
  return kSinkDone;
}

int MorvaStdio::SuiteProgress(int /*percent*/, double /*seconds*/) { return kSinkDone; }

int MorvaStdio::ReportAssert(std::string expression, std::string file, int line) {
  if (!err_ || std::fprintf(err_, "Assert Failed: %s in file %s, line %d.\n",
                            EngineText(expression).c_str(), EngineText(file).c_str(), line) < 0)
    return kSinkStderrFailed;
  return kSinkDone;
}

std::string MorvaStdio::ElapsedText(double seconds) {
  const long long total =
      (std::isfinite(seconds) && seconds > 0) ? static_cast<long long>(std::floor(seconds)) : 0;
  const long long hours = total / 3600;
  const long long minutes = (total % 3600) / 60;
  const long long secs = total % 60;
  std::string text;
  if (hours != 0) text += std::to_string(hours) + (hours == 1 ? " hour " : " hours ");
  if (minutes > 0) text += std::to_string(minutes) + (minutes == 1 ? " minute " : " minutes ");
  text += std::to_string(secs) + (secs == 1 ? " second" : " seconds");
  return text;
}

int MorvaStdio::Start() {
  if (!console_) console_ = get_console();
  return kSinkDone;
}

int MorvaStdio::DisableKeyboard(bool disabled) {
  keyboard_disabled_ = disabled;
  return kSinkDone;
}

void MorvaStdio::SetAbortWaker(std::function<void()> /*waker*/) {}

int MorvaStdio::Finish() {
  if (out_) Flush();
  return lost_ ? kSinkStdoutFailed : kSinkDone;
}
