#include "cli/tool_stdio.h"

#include <ostream>
#include <string>

#include "cli/tool_cli.h"

ToolStdio& ToolStdio::Instance() {
  static ToolStdio* sink = new ToolStdio();
  return *sink;
}

ToolConsoleBuffer::int_type ToolConsoleBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  return sink_.Write(std::string(1, byte)) == kSinkDone ? c : traits_type::eof();
}

std::streamsize ToolConsoleBuffer::xsputn(const char* text, std::streamsize n) {
  return sink_.Write(std::string(text, static_cast<size_t>(n))) == kSinkDone ? n : 0;
}

int ToolConsoleBuffer::sync() { return sink_.Flush() == kSinkDone ? 0 : -1; }

std::ostream& ToolConsole() {
  static std::ostream* console = new std::ostream(new ToolConsoleBuffer(ToolStdio::Instance()));
  return *console;
}
