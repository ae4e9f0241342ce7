// The file (-o) and discarding variants of the console sink.
#pragma once

#include "cli/morva_stdio.h"

// Writes the console text into a file; live progress lines stay out of it. A write that fails
// (full disk, I/O error, a pipe's reader gone) is told once on standard error and Finish
// reports it.
class CliStdioFile : public MorvaStdio {
 public:
  explicit CliStdioFile(std::string path);
  ~CliStdioFile() override;

  int EndTest(uint32_t status, double seconds) override;
  int TestProgress(int percent, double seconds) override;
  int SuiteProgress(int percent, double seconds) override;
  int Start() override;
  // Writes out what is buffered and closes the file; kSinkStdoutFailed when any output was lost.
  int Finish() override;

  // Opens directory/name for writing, truncating; a bare name goes to the current folder.
  virtual int OpenFile();
  // Removes every separator that directly follows another one.
  virtual std::string NormalizePath(std::string path);

  const std::string& directory() const { return directory_; }
  const std::string& file_name() const { return file_name_; }
  // The path the file is written to.
  std::string FullPath() const;

 protected:
  int Write(const std::string& text) override;
  int Flush() override;
  void OutputFailed(int error) override;
  std::string Destination() const override;

 private:
  std::string file_name_;
  std::string directory_;
};

// Discards everything; used by the background copy without an output file.
class CliStdioNull : public MorvaStdio {
 public:
  CliStdioNull();

  int PrintField(std::string label, std::string value, bool newline) override;
  int Print(std::string text, bool newline, bool convert, bool cap_words, bool cap_first) override;
  int PrintWide(std::string text, bool newline) override;
  int NewLine() override;
  int Ruler() override;
  int EndDevice(std::string result_text, double seconds, bool failed) override;
  int EndTest(uint32_t status, double seconds) override;
  int TestProgress(int percent, double seconds) override;
  int ScanProgress(std::string module_name, bool finished) override;
  int SuiteProgress(int percent, double seconds) override;
  int Start() override;
  bool AbortRequested() override;
};
