// Console output sink of kolv_cli: every text the host shows goes through one of these. Display
// texts are upper-case keys that KeyToText turns into readable text. Each operation returns a
// sink status (kSinkDone, ...).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

class ZerkaConsole;

enum SinkStatus : int {
  kSinkDone = 0,
  kSinkFileNotOpen = 1,
  kSinkOutOfOrder = 45,
  kSinkStdoutFailed = 46,
  kSinkStderrFailed = 47,
  kSinkReaderNotStarted = 48,
};

class MorvaStdio {
 public:
  // Writes to out and err; the program passes stdout and stderr.
  explicit MorvaStdio(FILE* out = stdout, FILE* err = stderr);
  virtual ~MorvaStdio();
  MorvaStdio(const MorvaStdio&) = delete;
  MorvaStdio& operator=(const MorvaStdio&) = delete;

  virtual int PrintField(std::string label, std::string value, bool newline);
  virtual int PrintText(std::string key, bool newline);
  virtual int PrintTitle(std::string key, bool newline);
  virtual int PrintRaw(std::string text, bool newline);
  virtual int Print(std::string text, bool newline, bool convert, bool cap_words, bool cap_first);
  virtual int PrintWide(std::string text, bool newline);
  virtual int NewLine();
  virtual int Ruler();

  // Display-key rule: '_' is a blank (and starts a capital word with cap_words), '|' keeps the
  // next letter upper case, every other letter is lower-cased. Without decode only the case
  // changes and '|' is dropped. Bytes above 127 pass unchanged.
  static std::string KeyToText(std::string key, bool cap_words, bool cap_first, bool decode);

  virtual int BeginModule(std::string module_name);
  virtual int EndModule();
  virtual int BeginDevice(std::string device_id, std::string module_name);
  virtual int EndDevice(std::string result_text, double seconds, bool failed);
  virtual int BeginDiagnostic(std::string name);
  virtual int EndDiagnostic();
  virtual bool AbortRequested();
  // Waits for a yes or no key; "no" once no answer can come (no terminal, or it closed).
  virtual bool AskYesNo();
  virtual int BeginTest(std::string name, std::string identifier);
  virtual int EndTest(uint32_t status, double seconds);
  virtual int TestProgress(int percent, double seconds);
  virtual int ScanProgress(std::string module_name, bool finished);
  virtual int SuiteProgress(int percent, double seconds);
  virtual int ReportAssert(std::string expression, std::string file, int line);
  // "1 hour 2 minutes 5 seconds"; whole seconds, fractions dropped.
  virtual std::string ElapsedText(double seconds);
  virtual int Start();
  virtual int DisableKeyboard(bool disabled);
  // Called from another thread the moment an abort request arrives, for sinks that receive
  // requests on their own (a null waker stops the calls).
  virtual void SetAbortWaker(std::function<void()> waker);
  // Ends the output: kSinkDone when everything written reached its destination, else
  // kSinkStdoutFailed. A reader that went away from standard output is not a failure.
  virtual int Finish();

  // The descriptor written to; -1 when the sink writes nowhere.
  int OutputDescriptor() const { return out_ ? fileno(out_) : -1; }
  // Counts the pieces of output every sink of the process has handed on: it stands still while
  // a write waits for a reader that takes nothing, and moves on as soon as a slow one takes some.
  static uint64_t OutputProgress();

  const std::string& module_name() const { return module_name_; }

  // Word of a test status as the console shows it ("PASSED", "FAIL", ...).
  static const char* StatusWord(uint32_t status);

 protected:
  // Writes text to the sink's destination: kSinkDone or the failure status.
  virtual int Write(const std::string& text);
  virtual int Flush();
  // A write or flush failed with error (an errno value). Output to standard output is lost
  // unless its reader went away: a closed pipe, or a terminal that was closed.
  virtual void OutputFailed(int error);
  // Tells once on standard error that output to the destination was lost; Finish reports it.
  void ReportLost(int error);
  // The destination as the loss message names it.
  virtual std::string Destination() const;
  char AdvanceSpinner();

  std::string device_title_;
  std::string test_name_;
  std::string diagnostic_name_;
  std::string module_name_;
  ZerkaConsole* console_ = nullptr;
  bool keyboard_disabled_ = false;
  char spinner_ = '-';
  FILE* out_;
  FILE* err_;
  bool lost_ = false;
  bool terminal_ = false;  // out_ was a terminal when the sink was made
};
