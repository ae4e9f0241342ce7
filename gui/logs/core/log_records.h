// The diagnostics log read into memory: a group per run, an entry per module, a resource per
// device with its sections, tests and messages. Text fields are views of the log's 8-bit text as
// it stands, kept by the reader for as long as it lives; every list keeps the order of the file.
// The records a log holds by the million (properties, tests, messages) keep only where their line
// starts and read their fields from it when asked (see log_line.h).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gui/logs/core/keyed_hash.h"
#include "gui/logs/core/indexed_list.h"
#include "gui/logs/core/log_line.h"

// A "KEY: value" line: the key up to the first separator, the value behind it without the blanks
// around it.
struct LogProperty {
  const char* line = nullptr;

  std::string_view key() const;
  std::string_view value() const;
  std::pair<std::string_view, std::string_view> pair() const { return {key(), value()}; }
};

// The further words of a message: the line's text from the first of them to the last, read
// word by word. Words are runs of characters other than the blank, as the line's tokens are; a
// log holds millions of them, and one view costs less than a list.
class LogWords {
 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::string_view*;
    using reference = std::string_view;

    const_iterator() = default;
    std::string_view operator*() const { return token_; }
    const_iterator& operator++() {
      if (!tokens_.Next(token_)) token_ = std::string_view();
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const const_iterator& other) const {
      return token_.data() == other.token_.data() && token_.size() == other.token_.size();
    }
    bool operator!=(const const_iterator& other) const { return !(*this == other); }

   private:
    friend class LogWords;
    explicit const_iterator(std::string_view text) : tokens_(text) { ++*this; }
    log_line::Tokens tokens_{std::string_view()};
    std::string_view token_;
  };
  using iterator = const_iterator;
  using value_type = std::string_view;

  LogWords() = default;
  explicit LogWords(std::string_view text) : text_(text) {}

  const_iterator begin() const { return const_iterator(text_); }
  const_iterator end() const { return const_iterator(); }
  bool empty() const { return begin() == end(); }
  size_t size() const { return static_cast<size_t>(std::distance(begin(), end())); }
  std::string_view text() const { return text_; }

  friend bool operator==(const LogWords& words, const std::vector<std::string_view>& list) {
    return std::equal(words.begin(), words.end(), list.begin(), list.end());
  }

 private:
  std::string_view text_;
};

// A message line: its time, kind and first word, the further words up to CODE and the code.
struct LogMessageParts {
  std::string_view kind;        // MESSAGE, WARNING, ERROR or CRITICAL
  std::string_view first_word;  // a translation key, like every word
  std::string_view code;        // empty unless the line ends with CODE and a code
  LogWords words;
};

struct LogMessage {
  int64_t time = 0;
  const char* line = nullptr;

  LogMessageParts parts() const;
  std::string_view kind() const { return parts().kind; }
  std::string_view first_word() const { return parts().first_word; }
  std::string_view code() const { return parts().code; }
  LogWords words() const { return parts().words; }
};

// A test: its name from its start line, its result from its stop line.
struct LogTest {
  const char* start_line = nullptr;
  const char* stop_line = nullptr;  // null until the test's stop line is read
  int64_t start_time = 0;
  int64_t stop_time = 0;
  double duration = 0.0;  // seconds
  std::vector<LogMessage> messages;

  std::string_view name() const;
  std::string_view result() const;  // empty until the test's stop line is read
};

struct LogResourceItem {
  uint64_t index = 0;
  std::vector<LogProperty> properties;  // the INDEX line first
};

struct LogResourceItemKey {
  using Key = uint64_t;
  static Key KeyOf(const LogResourceItem& item) { return item.index; }
  static size_t Hash(Key key) { return keyed_hash::Of(key); }
};

struct LogResourceSection {
  std::string_view type;
  IndexedList<LogResourceItem, LogResourceItemKey> items;
};

struct LogResourceSectionKey {
  using Key = std::string_view;
  static Key KeyOf(const LogResourceSection& section) { return section.type; }
  static size_t Hash(Key key) { return keyed_hash::Of(key); }
};

struct LogResource {
  std::string_view display_name;
  std::vector<LogProperty> properties;  // the UDI line first; never the display name
  IndexedList<LogResourceSection, LogResourceSectionKey> sections;
  std::string_view reserved;
  std::vector<LogTest> tests;
  std::string_view result_code;  // the token of the tests block's stop line
  std::vector<LogMessage> messages;  // those written between tests
  uint32_t status_mask = 0;          // LogStatusMask bits of its tests' results
  bool broken = false;
};

struct LogGroupEntry {
  std::string_view name;
  uint32_t status_mask = 0;  // OR of its resources' masks
  IndexedList<std::pair<std::string_view, LogResource>, PairKeyTraits<LogResource, std::string_view>>
      resources;  // by UDI
  bool broken = false;
};

struct LogGroup {
  IndexedList<std::pair<std::string_view, LogGroupEntry>,
            PairKeyTraits<LogGroupEntry, std::string_view>>
      entries;  // by name
  int64_t number = 0;  // the run's start time, shared by all its entries
};
