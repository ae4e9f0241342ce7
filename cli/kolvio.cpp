#include "cli/kolvio.h"

#include <cmath>

#include "cli/cli_application.h"
#include "cli/console_interrupt.h"
#include "cli/engine_text.h"
#include "cli/test_outcome.h"

namespace {
// The abort byte stays for the rest of the process once read.
std::atomic<unsigned char> g_abort_byte{0};

std::string Seconds05(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%05.0f", seconds);
  return buffer;
}
}  // namespace

KOLVio::KOLVio(FILE* out, FILE* err) : MorvaStdio(out, err) {
  ZerkaThreads* threads = get_thread();
  if (g_abort_byte.load() != 0 || !threads) {
    reader_status_ = threads ? kSinkDone : kSinkReaderNotStarted;
    return;
  }
  // Nothing can ever arrive on a file or /dev/null, and its bytes are no request.
  if (!kolv_os::StandardInputIsLive()) return;
  input_ = std::make_unique<kolv_os::StandardInputWaiter>();
  ZerkaThreadHandle handle = nullptr;
  if (threads->Create(handle, 0, &KOLVio::ReaderProcedure, this, "KOLVio") != 0) {
    reader_status_ = kSinkReaderNotStarted;
    return;
  }
  reader_ = handle;
  if (threads->SetPriority(reader_, 0) != 0) reader_status_ = kSinkReaderNotStarted;
}

KOLVio::~KOLVio() {
  if (reader_) {
    input_->Interrupt();
    get_thread()->Join(reader_);
    reader_ = nullptr;
  }
}

int KOLVio::ReaderProcedure(void* argument) {
  static_cast<KOLVio*>(argument)->ReadLoop();
  return 0;
}

void KOLVio::ReadLoop() {
  for (;;) {
    std::string bytes;
    // Blocks until input comes: an abort is seen the moment it arrives.
    const int read = input_->Read(bytes);
    for (char c : bytes) {
      if (c == 'a' || c == 'A') {
        g_abort_byte.store(static_cast<unsigned char>(c));
        // The main thread may be held in a write to a reader that stopped reading.
        WatchForAStalledReader();
        std::lock_guard<std::mutex> lock(waker_mutex_);
        if (abort_waker_) abort_waker_();
        return;  // nothing after an abort is read
      }
    }
    if (read <= 0) return;  // end of input, or the sink is going away
  }
}

void KOLVio::SetAbortWaker(std::function<void()> waker) {
  std::lock_guard<std::mutex> lock(waker_mutex_);
  abort_waker_ = std::move(waker);
}

std::string KOLVio::ProtocolField(const std::string& raw) {
  // Engine text: never a raw ESC or BEL in the stream either.
  const std::string text = EngineText(raw);
  std::string out = text;
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] != ':') continue;
    const bool border = i == 0 || i + 1 == text.size();
    const bool next_to_colon = (i > 0 && text[i - 1] == ':') || (i + 1 < text.size() && text[i + 1] == ':');
    if (border || next_to_colon) out[i] = ';';
  }
  return out;
}

std::string KOLVio::ProtocolSubfield(const std::string& text) {
  std::string out = ProtocolField(text);
  for (char& c : out)
    if (c == '|') c = '/';
  return out;
}

char KOLVio::StatusLetter(uint32_t status) { return TestOutcome::Of(status).letter; }

int KOLVio::WriteLine(const std::string& line) {
  const int status = Write(line);
  if (status != kSinkDone) return status;
  return Flush();
}

int KOLVio::PrintField(std::string label, std::string value, bool newline) {
  return WriteLine(label + ":::" + value + (newline ? "\n" : ""));
}

int KOLVio::PrintText(std::string, bool) { return kSinkDone; }
int KOLVio::PrintTitle(std::string, bool) { return kSinkDone; }
int KOLVio::PrintRaw(std::string, bool) { return kSinkDone; }
int KOLVio::Print(std::string, bool, bool, bool, bool) { return kSinkDone; }
int KOLVio::PrintWide(std::string, bool) { return kSinkDone; }
int KOLVio::NewLine() { return kSinkDone; }
int KOLVio::Ruler() { return kSinkDone; }
int KOLVio::BeginModule(std::string) { return kSinkDone; }
int KOLVio::EndModule() { return kSinkDone; }
int KOLVio::BeginDiagnostic(std::string) { return kSinkDone; }
int KOLVio::EndDiagnostic() { return kSinkDone; }
int KOLVio::ScanProgress(std::string, bool) { return kSinkDone; }
int KOLVio::DisableKeyboard(bool) { return kSinkDone; }

int KOLVio::BeginDevice(std::string device_id, std::string module_name) {
  device_title_ = std::move(device_id);
  return WriteLine("BeginDiagSuite:::" + ProtocolField(module_name) + "\n");
}

int KOLVio::EndDevice(std::string result_text, double seconds, bool failed) {
  device_title_.clear();
  // The status letter keeps its historical three-byte form: two blanks and the letter.
  WriteLine(std::string("EndDiagSuite:::  ") + (failed ? '0' : '1') + "|" +
            ProtocolSubfield(result_text) + "|" + Seconds05(seconds) + "\n");
  Flush();
  return kSinkDone;
}

bool KOLVio::AbortRequested() {
  const unsigned char byte = g_abort_byte.load();
  return byte == 'a' || byte == 'A';
}

int KOLVio::BeginTest(std::string name, std::string identifier) {
  last_progress_ = -1;
  test_name_ = std::move(name);
  return WriteLine("BeginDiag:::" + ProtocolField(identifier) + "\n");
}

int KOLVio::EndTest(uint32_t status, double seconds) {
  last_progress_ = -1;
  test_name_.clear();
  WriteLine(std::string("EndDiag:::") + StatusLetter(status) + "|" + Seconds05(seconds) + "\n");
  return kSinkDone;
}

int KOLVio::TestProgress(int percent, double) {
  if (percent < 0 || percent == last_progress_) return kSinkDone;
  last_progress_ = percent;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "PrgDiag:::%03d\n", percent);
  return WriteLine(buffer);
}

int KOLVio::SuiteProgress(int percent, double) {
  return WriteLine("PrgDiagSuite:::" + std::to_string(percent) + "\n");
}
