// The diagnostics log read into memory: a group per run, an entry per module, a resource per
// device with its sections, tests and messages. Text fields are views of the log's 8-bit text as
// it stands, kept by the reader for as long as it lives; every list keeps the order of the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gui/logs/core/keyed_list.h"

using LogProperty = std::pair<std::string_view, std::string_view>;

struct LogMessage {
  int64_t time = 0;
  std::string_view kind;        // MESSAGE, WARNING, ERROR or CRITICAL
  std::string_view first_word;  // a translation key, like every word
  std::string_view code;        // empty unless the line ends with CODE and a code
  std::vector<std::string_view> words;
};

struct LogTest {
  std::string_view name;
  int64_t start_time = 0;
  int64_t stop_time = 0;
  double duration = 0.0;  // seconds
  std::string_view result;  // empty until the test's stop line is read
  std::vector<LogMessage> messages;
};

struct LogResourceItem {
  uint64_t index = 0;
  std::vector<LogProperty> properties;  // the INDEX line first
};

struct LogResourceItemKey {
  using Key = uint64_t;
  static Key KeyOf(const LogResourceItem& item) { return item.index; }
  static size_t Hash(Key key) {
    key ^= key >> 33;
    key *= 0xff51afd7ed558ccdULL;
    key ^= key >> 33;
    return static_cast<size_t>(key);
  }
};

struct LogResourceSection {
  std::string_view type;
  KeyedList<LogResourceItem, LogResourceItemKey> items;
};

struct LogResourceSectionKey {
  using Key = std::string_view;
  static Key KeyOf(const LogResourceSection& section) { return section.type; }
  static size_t Hash(Key key) { return std::hash<std::string_view>()(key); }
};

struct LogResource {
  std::string_view display_name;
  std::vector<LogProperty> properties;  // the UDI line first; never the display name
  KeyedList<LogResourceSection, LogResourceSectionKey> sections;
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
  KeyedList<std::pair<std::string_view, LogResource>, PairKeyTraits<LogResource, std::string_view>>
      resources;  // by UDI
  bool broken = false;
};

struct LogGroup {
  KeyedList<std::pair<std::string_view, LogGroupEntry>,
            PairKeyTraits<LogGroupEntry, std::string_view>>
      entries;  // by name
  int64_t number = 0;  // the run's start time, shared by all its entries
};
