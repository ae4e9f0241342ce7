// The option loop of ParseCommandLine: takes getopt's options one by one into the application,
// then gives the words that are no option to the module scopes they stand in.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "cli/cli_application.h"

class CommandLineParser {
 public:
  CommandLineParser(CliApplication& app, int argc, char** argv, std::string& error)
      : app_(app), argc_(argc), argv_(argv), error_(error) {
    for (int i = 0; i < argc; ++i) original_index_[argv[i]] = i;
  }

  int Run();

 private:
  int HandleOption(int option, bool& stop);
  int Unrecognised();
  int HandleInformation(int option, uint32_t own, uint32_t set);
  int HandleProtocol();
  int HandleBackgroundChild();
  int HandleBackground();
  int HandleOutput();
  int HandleGroup();
  int HandleModule();
  int HandleTool();
  int HandleDiagnostic(int option);
  int AttributeScopeWords();
  int EndOfParse();
  int EndOfToolParse();
  int OriginalIndex(const char* word) const {
    auto it = original_index_.find(word);
    return it == original_index_.end() ? -1 : it->second;
  }
  bool IsDeviceWord(const char* word);

  CliApplication& app_;
  int argc_;
  char** argv_;
  std::string& error_;
  std::map<const char*, int> original_index_;
  bool seen_ = false;  // an option that -T refuses
  bool protocol_seen_ = false;
};
