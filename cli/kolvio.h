// Protocol sink: short tagged lines for a supervising program on standard output, and an abort
// request ("a" or "A") read from standard input when that is a pipe, a socket or a terminal.
//
// Text from the engine is written so that a line always splits at ":::" (ProtocolField): a
// carriage return or line feed becomes a blank, and a ':' that stands next to another ':' or at
// the start or end of a field becomes ';'. PrintField writes its label and value as given; its
// callers make the engine's text safe first.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "cli/morva_stdio.h"
#include "kolv_os/os.h"
#include "zerka/zerka.h"

class KOLVio : public MorvaStdio {
 public:
  explicit KOLVio(FILE* out = stdout, FILE* err = stderr);
  ~KOLVio() override;

  int PrintField(std::string label, std::string value, bool newline) override;
  int PrintText(std::string key, bool newline) override;
  int PrintTitle(std::string key, bool newline) override;
  int PrintRaw(std::string text, bool newline) override;
  int Print(std::string text, bool newline, bool convert, bool cap_words, bool cap_first) override;
  int PrintWide(std::string text, bool newline) override;
  int NewLine() override;
  int Ruler() override;
  int BeginModule(std::string module_name) override;
  int EndModule() override;
  int BeginDevice(std::string device_id, std::string module_name) override;
  int EndDevice(std::string result_text, double seconds, bool failed) override;
  int BeginDiagnostic(std::string name) override;
  int EndDiagnostic() override;
  bool AbortRequested() override;
  int BeginTest(std::string name, std::string identifier) override;
  int EndTest(uint32_t status, double seconds) override;
  int TestProgress(int percent, double seconds) override;
  int ScanProgress(std::string module_name, bool finished) override;
  int SuiteProgress(int percent, double seconds) override;
  int DisableKeyboard(bool disabled) override;
  void SetAbortWaker(std::function<void()> waker) override;

  // Status of starting the standard-input reader (kSinkDone or kSinkReaderNotStarted).
  int reader_status() const { return reader_status_; }
  // The letter EndDiag carries for a test status.
  static char StatusLetter(uint32_t status);
  // A field made safe for the line format (see above).
  static std::string ProtocolField(const std::string& text);
  // The same for a field inside a "|"-separated value: a '|' also becomes '/'.
  static std::string ProtocolSubfield(const std::string& text);

 private:
  static int ReaderProcedure(void* argument);
  void ReadLoop();
  int WriteLine(const std::string& line);

  int last_progress_ = -1;
  int reader_status_ = kSinkDone;
  ZerkaThreadHandle reader_ = nullptr;
  std::unique_ptr<kolv_os::StandardInputWaiter> input_;
  std::mutex waker_mutex_;
  std::function<void()> abort_waker_;
};
