// One line of the log as the reader keeps it, and the tokens it is made of. Records remember
// where their line starts and read their fields from it again when asked: a log holds millions
// of them, and a pointer costs less than a view per field.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "gui/logs/core/log_format.h"

namespace log_line {

// The line that starts here, without its line end (LF, or CR LF as logs written on Windows have
// it). The reader keeps a line end behind the last line of each text, so every line has one.
inline std::string_view LineAt(const char* start) {
  const char* end = static_cast<const char*>(rawmemchr(start, '\n'));
  std::string_view line(start, static_cast<size_t>(end - start));
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// Tokens are maximal runs of characters other than the blank; tabs are ordinary characters.
class Tokens {
 public:
  explicit Tokens(std::string_view text) : text_(text) {}

  bool Next(std::string_view& token) {
    Skip();
    if (position_ >= text_.size()) return false;
    size_t end = text_.find(log_format::kTokenSeparator, position_);
    if (end == std::string_view::npos) end = text_.size();
    token = text_.substr(position_, end - position_);
    position_ = end;
    return true;
  }

  // The token after skipping count of them; empty when the text has fewer.
  std::string_view Skipping(int count) {
    std::string_view token;
    for (int i = 0; i <= count; ++i) {
      if (!Next(token)) return std::string_view();
    }
    return token;
  }

  bool AtEnd() {
    Skip();
    return position_ >= text_.size();
  }

 private:
  void Skip() {
    while (position_ < text_.size() && text_[position_] == log_format::kTokenSeparator) {
      ++position_;
    }
  }

  std::string_view text_;
  size_t position_ = 0;
};

inline std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(log_format::kTokenSeparator);
  if (first == std::string_view::npos) return std::string_view();
  const size_t last = text.find_last_not_of(log_format::kTokenSeparator);
  return text.substr(first, last - first + 1);
}

}  // namespace log_line
