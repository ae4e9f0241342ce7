#include "cli/cli_stdio_null.h"

CliStdioNull::CliStdioNull() : MorvaStdio(nullptr, stderr) { keyboard_disabled_ = true; }

int CliStdioNull::PrintField(std::string, std::string, bool) { return kSinkDone; }
int CliStdioNull::Print(std::string, bool, bool, bool, bool) { return kSinkDone; }
int CliStdioNull::PrintWide(std::string, bool) { return kSinkDone; }
int CliStdioNull::NewLine() { return kSinkDone; }
int CliStdioNull::Ruler() { return kSinkDone; }
int CliStdioNull::EndDevice(std::string, double, bool) {
  device_title_.clear();
  return kSinkDone;
}
int CliStdioNull::EndTest(uint32_t, double) {
  test_name_.clear();
  return kSinkDone;
}
int CliStdioNull::TestProgress(int, double) { return kSinkDone; }
int CliStdioNull::ScanProgress(std::string, bool) { return kSinkDone; }
int CliStdioNull::SuiteProgress(int, double) { return kSinkDone; }
int CliStdioNull::Start() { return kSinkDone; }
bool CliStdioNull::AbortRequested() { return false; }
