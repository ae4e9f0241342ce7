#include "log_test_support.h"

#include <sstream>
#include <stdexcept>

#include "zerka/zerka.h"

std::unique_ptr<MorvaLogReader> ParseLog(std::string_view text, bool keyed_by_number) {
  auto reader = std::make_unique<MorvaLogReader>(keyed_by_number);
  reader->ParseText(text);
  return reader;
}

const LogGroup* FindGroup(const MorvaLogReader& reader, int64_t key) {
  const auto found = reader.groups().find(key);
  return found == reader.groups().end() ? nullptr : &found->second;
}

const LogGroupEntry* FindEntry(const MorvaLogReader& reader, int64_t key, std::string_view name) {
  const LogGroup* group = FindGroup(reader, key);
  if (group == nullptr) return nullptr;
  const auto* entry = group->entries.Find(name);
  return entry == nullptr ? nullptr : &entry->second;
}

const LogResource* FindResource(const LogGroupEntry& entry, std::string_view udi) {
  const auto* resource = entry.resources.Find(udi);
  return resource == nullptr ? nullptr : &resource->second;
}

namespace {

void DumpMessage(std::ostream& out, const LogMessage& message, const char* indent) {
  const LogMessageParts parts = message.parts();
  out << indent << "message " << message.time << ' ' << parts.kind << ' ' << parts.first_word;
  for (const auto& word : parts.words) out << " [" << word << ']';
  out << " code=" << parts.code << '\n';
}

}  // namespace

PropertyPairs Pairs(const std::vector<LogProperty>& properties) {
  PropertyPairs pairs;
  for (const LogProperty& property : properties) pairs.push_back(property.pair());
  return pairs;
}

std::string Dump(const MorvaLogReader& reader) {
  std::ostringstream out;
  for (const auto& [key, group] : reader.groups()) {
    out << "group " << key << " number=" << group.number << '\n';
    for (const auto& [name, entry] : group.entries) {
      out << " entry " << name << '/' << entry.name << " mask=" << entry.status_mask
          << " broken=" << entry.broken << '\n';
      for (const auto& [udi, resource] : entry.resources) {
        out << "  resource " << udi << " name=" << resource.display_name
            << " mask=" << resource.status_mask << " broken=" << resource.broken
            << " code=" << resource.result_code << " reserved=" << resource.reserved << '\n';
        for (const auto& [k, v] : Pairs(resource.properties)) {
          out << "   property " << k << '=' << v << '\n';
        }
        for (const auto& section : resource.sections) {
          out << "   section " << section.type << '\n';
          for (const auto& item : section.items) {
            out << "    item " << item.index << '\n';
            for (const auto& [k, v] : Pairs(item.properties)) out << "     " << k << '=' << v << '\n';
          }
        }
        for (const auto& message : resource.messages) DumpMessage(out, message, "   ");
        for (const auto& test : resource.tests) {
          out << "   test " << test.name() << ' ' << test.start_time << '-' << test.stop_time << ' '
              << test.result() << ' ' << test.duration << '\n';
          for (const auto& message : test.messages) DumpMessage(out, message, "    ");
        }
      }
    }
  }
  return out.str();
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string FixturePath(const std::string& name) { return std::string(KOLV_LOG_FIXTURES) + "/" + name; }

int64_t Seconds(const std::string& time_stamp) {
  struct tm calendar {};
  if (!get_time_handler()->ParseDateTime(time_stamp, calendar)) {
    throw std::invalid_argument("not a log time stamp: " + time_stamp);
  }
  return get_time_handler()->ToTime(calendar);
}
