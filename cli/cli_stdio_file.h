#pragma once

#include <cstdint>
#include <string>

#include "cli/morva_stdio.h"

// Writes the console text into the file -o names; live progress lines stay out of it. A write
// that fails (full disk, I/O error, a pipe's reader gone) is told once on standard error and
// Finish reports it.
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
  // True when another copy of the program has the file open as its output.
  bool WrittenElsewhere() const;

 protected:
  int Write(const std::string& text) override;
  int Flush() override;
  void OutputFailed(int error) override;
  std::string Destination() const override;

 private:
  std::string file_name_;
  std::string directory_;
};
