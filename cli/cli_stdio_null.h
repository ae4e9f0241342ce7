#pragma once

#include <cstdint>
#include <string>

#include "cli/morva_stdio.h"

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
