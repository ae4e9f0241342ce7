#include "argv.h"

#include <getopt.h>

#include <utility>

#include "cli/command_line.h"

namespace clitest {

Argv::Argv(const std::vector<std::string>& args, std::string program) {
  words_.reserve(args.size() + 1);
  words_.push_back(std::move(program));
  words_.insert(words_.end(), args.begin(), args.end());
  for (std::string& word : words_) pointers_.push_back(word.data());
  pointers_.push_back(nullptr);
}

int ParseFresh(CliApplication& app, Argv& line, std::string& error) {
  optind = 0;
  return ParseCommandLine(app, line.argc(), line.argv(), error);
}

}  // namespace clitest
