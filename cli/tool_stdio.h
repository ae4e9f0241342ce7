// Where a tool plug-in's console output goes: the stream ToolConsole hands out, written through
// one sink of the host's own kind on standard output.
#pragma once

#include <streambuf>

#include "cli/morva_stdio.h"

// A plug-in's console output through the host's own sink on standard output, so that lost output
// and slow readers are seen as for the host's runs.
class ToolStdio : public MorvaStdio {
 public:
  using MorvaStdio::Flush;
  using MorvaStdio::Write;
  // The one sink of every plug-in; lives as long as the loaded plug-ins.
  static ToolStdio& Instance();
};

class ToolConsoleBuffer : public std::streambuf {
 public:
  explicit ToolConsoleBuffer(ToolStdio& sink) : sink_(sink) {}

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize n) override;
  int sync() override;

 private:
  ToolStdio& sink_;
};
