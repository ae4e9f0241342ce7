// Feeds arbitrary bytes to the log reader under both keyings, walks every record, drains both
// filters and checks what must hold whatever the input: entry masks agree with their devices
// and device masks with their tests,
// and the filters hand groups out in order and within their bounds.
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <vector>

#include "gui/logs/core/morva_log_reader.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// A record reads its fields back from its line: they must be what the reader accepted.
size_t Properties(const std::vector<LogProperty>& properties) {
  size_t fields = 0;
  for (const LogProperty& property : properties) {
    Require(!property.value().empty());
    fields += property.key().size() + property.value().size();
  }
  return fields;
}

size_t Messages(const std::vector<LogMessage>& messages) {
  size_t fields = 0;
  for (const LogMessage& message : messages) {
    const LogMessageParts parts = message.parts();
    Require(parts.kind == "MESSAGE" || parts.kind == "WARNING" || parts.kind == "ERROR" ||
            parts.kind == "CRITICAL");
    Require(!parts.first_word.empty());
    fields += parts.words.size() + parts.code.size();
  }
  return fields;
}

size_t Walk(const LogGroup& group) {
  size_t fields = 0;
  for (size_t e = 0; e < group.entries.size(); ++e) {
    const auto& [name, entry] = group.entries[e];
    Require(name == entry.name && group.entries.Find(name) == &group.entries[e]);
    uint32_t mask = 0;
    for (size_t r = 0; r < entry.resources.size(); ++r) {
      const auto& [udi, resource] = entry.resources[r];
      Require(entry.resources.Find(udi) == &entry.resources[r]);
      mask |= resource.status_mask;
      fields += Properties(resource.properties) + Messages(resource.messages) +
                resource.result_code.size();
      for (const auto& section : resource.sections) {
        Require(resource.sections.Find(section.type) == &section);
        for (const auto& item : section.items) {
          Require(section.items.Find(item.index) == &item && !item.properties.empty());
          fields += Properties(item.properties);
        }
      }
      // No result is dropped: a device's mask is exactly what its listed tests say.
      uint32_t listed = 0;
      for (const auto& test : resource.tests) {
        Require(!test.name().empty() && (test.stop_line == nullptr) == test.result().empty());
        listed |= LogStatusBit(test.result());
        fields += Messages(test.messages);
      }
      Require(listed == resource.status_mask);
    }
    Require(mask == entry.status_mask);
  }
  return fields;
}

void Check(std::string_view text, bool keyed_by_number, int64_t from, int64_t to, int count) {
  MorvaLogReader reader(keyed_by_number);
  reader.ParseText(text);
  volatile size_t fields = 0;
  for (const auto& group : reader.groups()) fields = fields + Walk(group.second);

  reader.Filter(from, to, count, true);
  int64_t previous = std::numeric_limits<int64_t>::max();
  size_t handed_out = 0;
  while (const LogGroup* group = reader.NextGroup(true)) {
    // Keyed by number, a group's key is its number.
    if (keyed_by_number) {
      const int64_t key = group->number;
      Require(key >= from && key <= to && key < previous);
      previous = key;
    }
    Require(++handed_out <= reader.groups().size());
  }

  reader.Filter(from == 0 ? 1 : from, to, count, false);
  size_t counted = 0;
  while (reader.NextGroup(false) != nullptr) Require(++counted <= reader.groups().size());
  Require(count < 1 || counted == std::min<size_t>(static_cast<size_t>(count), reader.groups().size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The first bytes also choose the filter bounds, so odd bounds are tried too.
  int64_t from = 0, to = 0;
  if (size >= 2) {
    from = static_cast<int8_t>(data[0]) * int64_t{100000000};
    to = from + static_cast<uint8_t>(data[1]) * int64_t{10000000};
  }
  Check(text, true, from, to, size > 0 ? data[size - 1] % 5 : 1);
  Check(text, false, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), 3);
  return 0;
}
