// A command line as getopt and exec see it, and kolv_cli's own parse of one inside a test.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_application.h"

namespace clitest {

// The program's name, the arguments, then a null pointer. The parse may keep pointers into the
// words, so they live as long as this and it is never copied.
class Argv {
 public:
  explicit Argv(const std::vector<std::string>& args, std::string program = "kolv_cli");
  Argv(const Argv&) = delete;
  Argv& operator=(const Argv&) = delete;

  int argc() const { return static_cast<int>(words_.size()); }
  char** argv() { return pointers_.data(); }
  const std::vector<std::string>& words() const { return words_; }

 private:
  std::vector<std::string> words_;
  std::vector<char*> pointers_;
};

// ParseCommandLine from a fresh getopt scan, as every start of kolv_cli begins one; a test
// process parses many command lines.
int ParseFresh(CliApplication& app, Argv& line, std::string& error);

}  // namespace clitest
