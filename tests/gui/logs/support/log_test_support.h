// Helpers shared by the log tests: parsing text, finding records, and a text dump of a parsed
// log that two parses can be compared with.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gui/logs/core/morva_log_reader.h"

std::unique_ptr<MorvaLogReader> ParseLog(std::string_view text, bool keyed_by_number = true);

// Null when absent.
const LogGroup* FindGroup(const MorvaLogReader& reader, int64_t key);
const LogGroupEntry* FindEntry(const MorvaLogReader& reader, int64_t key, std::string_view name);
const LogResource* FindResource(const LogGroupEntry& entry, std::string_view udi);

// Key and value of each property, to compare with a list of pairs.
using PropertyPairs = std::vector<std::pair<std::string_view, std::string_view>>;
PropertyPairs Pairs(const std::vector<LogProperty>& properties);

// Every group, entry, resource, section, item, test and message with all their fields.
std::string Dump(const MorvaLogReader& reader);

// The same text with CR LF line ends.
std::string WithCrLf(std::string_view text);

std::string FixturePath(const std::string& name);

// Seconds since 1970 of a log time stamp ("2024-05-01T10.20.30").
int64_t Seconds(const std::string& time_stamp);
