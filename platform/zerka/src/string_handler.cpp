#include <string>

#include "zerka/zerka_string_handler.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

class StringHandler : public ZerkaStringHandler {
 public:
  void Trim(const std::string& in, std::string& out) override {
    std::string::size_type begin = 0, end = in.size();
    while (begin < end && IsBlank(in[begin])) ++begin;
    while (end > begin && IsBlank(in[end - 1])) --end;
    out = in.substr(begin, end - begin);
  }

  void ToLower(std::string& text) override {
    for (char& c : text)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
};

}  // namespace

ZerkaStringHandler* get_string_handler() {
  static StringHandler* instance = new StringHandler;
  return instance;
}
