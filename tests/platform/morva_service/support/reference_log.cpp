#include "reference_log.h"

#include <cstdlib>
#include <ctime>
#include <sstream>
#include <stdexcept>

#include "zerka/zerka.h"

namespace engine_test {

namespace {

class Reader {
 public:
  explicit Reader(const std::string& text) {
    if (!text.empty() && text.back() != '\n') throw std::runtime_error("the last line has no line end");
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) lines_.push_back(line);
  }

  std::vector<RefEntry> ReadAll() {
    std::vector<RefEntry> entries;
    while (at_ < lines_.size()) entries.push_back(Entry());
    return entries;
  }

 private:
  [[noreturn]] void Fail(const std::string& why) const {
    throw std::runtime_error("line " + std::to_string(at_ + 1) + ": " + why + ": \"" +
                             (at_ < lines_.size() ? lines_[at_] : std::string("<end of file>")) + "\"");
  }

  const std::string& Peek() const {
    static const std::string end;
    return at_ < lines_.size() ? lines_[at_] : end;
  }

  bool StartsWith(const std::string& prefix) const { return at_ < lines_.size() && Peek().rfind(prefix, 0) == 0; }

  static std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> tokens;
    size_t position = 0;
    while (position <= text.size()) {
      size_t blank = text.find(' ', position);
      if (blank == std::string::npos) blank = text.size();
      tokens.push_back(text.substr(position, blank - position));
      position = blank + 1;
    }
    return tokens;
  }

  // Exactly one blank between tokens, none empty, no control characters.
  std::vector<std::string> Tokens(const std::string& text) const {
    std::vector<std::string> tokens = Split(text);
    for (const std::string& token : tokens) {
      if (token.empty()) Fail("empty token or doubled blank");
      for (unsigned char c : token)
        if (c < ' ' || c == 0x7f) Fail("control character in a token");
    }
    return tokens;
  }

  int64_t Time(const std::string& token) const {
    struct tm parsed = {};
    if (!get_time_handler()->ParseDateTime(token, parsed)) Fail("not a date-time token");
    if (token.find(':') != std::string::npos) Fail("a date-time with \":\" would read as a property");
    return get_time_handler()->ToTime(parsed);
  }

  static bool IsWholeNumber(const std::string& text, bool allow_sign) {
    size_t first = allow_sign && !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() > first && text.find_first_not_of("0123456789", first) == std::string::npos;
  }

  std::pair<std::string, std::string> Property() {
    const std::string& line = Peek();
    size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) Fail("not a property");
    if (line.compare(colon, 2, ": ") != 0) Fail("a property is KEY \": \" VALUE");
    std::string value = line.substr(colon + 2);
    if (value.empty() || value.front() == ' ' || value.back() == ' ') Fail("empty or untrimmed value");
    auto property = std::make_pair(line.substr(0, colon), value);
    ++at_;
    return property;
  }

  bool AtMarker() const {
    return StartsWith("+++ ") || StartsWith("--- ") || StartsWith(">>> RESOURCE ") || StartsWith("<<< RESOURCE") ||
           StartsWith("START TESTS") || StartsWith("STOP TESTS");
  }

  RefMessage Message() {
    std::vector<std::string> tokens = Tokens(Peek());
    if (tokens.size() < 3) Fail("a message needs a time, a kind and a word");
    RefMessage message;
    message.time = Time(tokens[0]);
    message.kind = tokens[1];
    if (message.kind != "MESSAGE" && message.kind != "WARNING" && message.kind != "ERROR" && message.kind != "CRITICAL")
      Fail("unknown message kind");
    for (size_t i = 2; i < tokens.size(); ++i) {
      if (tokens[i] == "CODE") {
        if (i == 2) Fail("CODE before any word");
        if (i + 2 != tokens.size()) Fail("CODE must be followed by exactly one token");
        message.code = tokens[i + 1];
        break;
      }
      message.words.push_back(tokens[i]);
    }
    ++at_;
    return message;
  }

  bool AtTimed(const char* word) const {
    if (at_ >= lines_.size() || AtMarker()) return false;
    std::vector<std::string> tokens = Split(Peek());
    return tokens.size() > 1 && tokens[1] == word;
  }

  RefTest Test() {
    std::vector<std::string> start = Tokens(Peek());
    if (start.size() != 3 || start[1] != "START") Fail("expected a test start");
    RefTest test;
    test.start = Time(start[0]);
    test.name = start[2];
    ++at_;
    while (!AtTimed("STOP")) {
      if (at_ >= lines_.size() || AtMarker()) Fail("test " + test.name + " never stops");
      test.messages.push_back(Message());
    }
    std::vector<std::string> stop = Tokens(Peek());
    if (stop.size() != 6 || stop[5] != "S") Fail("a test stop is DT STOP NAME RESULT SECONDS S");
    if (stop[2] != test.name) Fail("stops another test than the one started");
    static const char* const kResults[] = {"SUCCESS", "FAILED", "WARNING", "ABORTED", "NOT_APPLICABLE", "INVALID"};
    bool known = false;
    for (const char* result : kResults) known = known || stop[3] == result;
    if (!known) Fail("result word outside the six the reader counts");
    char* end = nullptr;
    test.seconds = std::strtod(stop[4].c_str(), &end);
    if (end == stop[4].c_str() || *end != '\0' || stop[4].find(',') != std::string::npos) Fail("bad duration");
    test.stop = Time(stop[0]);
    test.result = stop[3];
    ++at_;
    return test;
  }

  RefResource Resource() {
    RefResource resource;
    auto udi = Property();
    if (udi.first != "UDI") { --at_; Fail("a resource begins with UDI"); }
    resource.udi = udi.second;
    auto name = Property();
    if (name.first != "DISPLAY_NAME") { --at_; Fail("DISPLAY_NAME must follow UDI"); }
    resource.display_name = name.second;
    while (!AtMarker()) {
      if (at_ >= lines_.size()) Fail("entry ends inside a resource");
      resource.properties.push_back(Property());
    }
    while (StartsWith(">>> RESOURCE ")) {
      RefSection section;
      std::vector<std::string> tokens = Tokens(Peek().substr(13));
      if (tokens.size() != 1) Fail("a section type is one token");
      section.type = tokens[0];
      ++at_;
      auto index = Property();
      if (index.first != "INDEX" || !IsWholeNumber(index.second, false)) { --at_; Fail("a section starts with a numeric INDEX"); }
      section.index = std::stoull(index.second);
      while (!StartsWith("<<< RESOURCE")) {
        if (at_ >= lines_.size() || AtMarker()) Fail("section not closed");
        section.properties.push_back(Property());
      }
      if (Peek() != "<<< RESOURCE") Fail("junk after the section end");
      if (section.properties.empty()) Fail("a section needs a property besides INDEX");
      ++at_;
      resource.sections.push_back(section);
    }
    if (Peek() != "START TESTS") Fail("expected START TESTS");
    ++at_;
    while (!StartsWith("STOP TESTS")) {
      if (at_ >= lines_.size() || AtMarker()) Fail("tests block not closed");
      if (AtTimed("START")) resource.tests.push_back(Test());
      else resource.messages.push_back(Message());
    }
    if (resource.tests.empty()) Fail("a tests block needs a test");
    std::vector<std::string> stop = Tokens(Peek());
    if (stop.size() != 3) Fail("STOP TESTS takes one code");
    resource.code = stop[2];
    ++at_;
    return resource;
  }

  RefEntry Entry() {
    if (!StartsWith("+++ ")) Fail("expected an entry start");
    std::vector<std::string> head = Tokens(Peek().substr(4));
    if (head.size() != 3 || !IsWholeNumber(head[2], true)) Fail("an entry start is DT NAME GROUP");
    RefEntry entry;
    entry.time = Time(head[0]);
    entry.name = head[1];
    entry.group = std::stoll(head[2]);
    ++at_;
    do {
      entry.resources.push_back(Resource());
    } while (StartsWith("UDI:"));
    if (Peek() != "--- " + entry.name) Fail("expected the end of entry " + entry.name);
    ++at_;
    return entry;
  }

  std::vector<std::string> lines_;
  size_t at_ = 0;
};

}  // namespace

std::vector<RefEntry> ReadReferenceLog(const std::string& text) { return Reader(text).ReadAll(); }

std::map<int64_t, std::map<std::string, std::vector<RefResource>>> MergeGroups(const std::vector<RefEntry>& entries) {
  std::map<int64_t, std::map<std::string, std::vector<RefResource>>> groups;
  for (const RefEntry& entry : entries) {
    auto& resources = groups[entry.group][entry.name];
    resources.insert(resources.end(), entry.resources.begin(), entry.resources.end());
  }
  return groups;
}

}  // namespace engine_test
