#include "gui/logs/core/log_records.h"

#include "gui/logs/core/log_format.h"
#include "gui/logs/core/log_line.h"

using log_line::LineAt;
using log_line::Tokens;

std::string_view LogProperty::key() const {
  const std::string_view text = LineAt(line);
  return text.substr(0, text.find(log_format::kPropertySeparator));
}

std::string_view LogProperty::value() const {
  const std::string_view text = LineAt(line);
  const size_t separator = text.find(log_format::kPropertySeparator);
  if (separator == std::string_view::npos) return std::string_view();
  return log_line::TrimBlanks(text.substr(separator + 1));
}

// The line is "time kind first_word word... [CODE code]"; the reader accepted it in this form.
LogMessageParts LogMessage::parts() const {
  LogMessageParts parts;
  Tokens tokens(LineAt(line));
  std::string_view token;
  if (!tokens.Next(token) || !tokens.Next(parts.kind) || !tokens.Next(parts.first_word)) {
    return parts;
  }
  const char* words_begin = nullptr;
  const char* words_end = nullptr;
  while (tokens.Next(token)) {
    if (token == log_format::kCode) {
      tokens.Next(parts.code);
      break;
    }
    if (words_begin == nullptr) words_begin = token.data();
    words_end = token.data() + token.size();
  }
  if (words_begin != nullptr) {
    parts.words = LogWords(std::string_view(words_begin, size_t(words_end - words_begin)));
  }
  return parts;
}

// "time START name"
std::string_view LogTest::name() const {
  return start_line == nullptr ? std::string_view() : Tokens(LineAt(start_line)).Skipping(2);
}

// "time STOP name result duration S"
std::string_view LogTest::result() const {
  return stop_line == nullptr ? std::string_view() : Tokens(LineAt(stop_line)).Skipping(3);
}
