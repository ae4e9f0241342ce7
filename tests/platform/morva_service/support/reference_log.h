// A strict reading of the diagnostics log grammar, independent of the product's parser: every
// line must be exactly what a well-behaved writer produces.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace engine_test {

struct RefMessage {
  int64_t time = 0;
  std::string kind;
  std::vector<std::string> words;
  std::string code;
};

struct RefTest {
  std::string name;
  int64_t start = 0;
  int64_t stop = 0;
  std::string result;
  double seconds = 0;
  std::vector<RefMessage> messages;
};

struct RefSection {
  std::string type;
  uint64_t index = 0;
  std::vector<std::pair<std::string, std::string>> properties;  // INDEX not included
};

struct RefResource {
  std::string udi;
  std::string display_name;
  std::vector<std::pair<std::string, std::string>> properties;  // UDI and DISPLAY_NAME not included
  std::vector<RefSection> sections;
  std::vector<RefMessage> messages;  // between tests
  std::vector<RefTest> tests;
  std::string code;
};

struct RefEntry {
  int64_t time = 0;
  std::string name;
  int64_t group = 0;
  std::vector<RefResource> resources;
};

// Throws std::runtime_error naming the line for anything outside the grammar.
std::vector<RefEntry> ReadReferenceLog(const std::string& text);

// Group number -> entry name -> resources, as a reader merges entries of one group.
std::map<int64_t, std::map<std::string, std::vector<RefResource>>> MergeGroups(const std::vector<RefEntry>& entries);

}  // namespace engine_test
