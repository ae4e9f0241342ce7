#include "gui/logs/core/morva_log_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

#include "gui/logs/core/log_line.h"
#include "gui/logs/core/log_paths.h"
#include "zerka/zerka.h"

namespace {

using namespace log_format;
using log_line::Tokens;
using log_line::TrimBlanks;

// Room for what the engine appends while the file is read.
constexpr size_t kGrowth = 1 << 16;
// Texts from this size on are mapped rather than taken from the heap.
constexpr size_t kMappedFrom = 2 << 20;
constexpr size_t kHugePage = 2 << 20;
// Lists start with room for this many elements, so that they seldom grow before they are made
// to fit once complete.
constexpr size_t kUsualProperties = 16;
constexpr size_t kUsualItemProperties = 8;
constexpr size_t kUsualTests = 16;
// Lists up to this long give back their unused room as soon as they are complete. A longer one
// may be growing block by block (a device repeated in its group, an item in its section): fitting
// it after every block would copy it every time, so it keeps its room until the parse ends.
constexpr size_t kFittedAtOnce = 16;

template <typename List>
void FitIfShort(List& list) {
  if (list.capacity() <= kFittedAtOnce) list.shrink_to_fit();
}

void GiveBackRoom(LogResource& resource) {
  resource.properties.shrink_to_fit();
  resource.tests.shrink_to_fit();
  resource.messages.shrink_to_fit();
  for (size_t section = 0; section < resource.sections.size(); ++section) {
    auto& items = resource.sections[section].items;
    for (size_t item = 0; item < items.size(); ++item) items[item].properties.shrink_to_fit();
  }
}

bool StartsWith(std::string_view line, std::string_view marker) {
  return line.size() >= marker.size() && line.compare(0, marker.size(), marker) == 0;
}

// The text behind a marker; empty when the line ends before it.
std::string_view After(std::string_view line, size_t position) {
  return position < line.size() ? line.substr(position) : std::string_view();
}

// An item's index is an unsigned decimal integer: no sign, no exponent, no fraction.
bool ParseIndex(std::string_view text, uint64_t& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

}  // namespace

MorvaLogReader::MorvaLogReader(bool keyed_by_number)
    : keyed_by_number_(keyed_by_number),
      time_handler_(get_time_handler()),
      number_handler_(get_number_handler()) {
  forward_ = chosen_.end();
  backward_ = groups_.begin();
}

MorvaLogReader::~MorvaLogReader() {
  if (file_ != nullptr) std::fclose(file_);
}

int MorvaLogReader::OpenDiagnosticsLog() { return Open(kLogBaseName); }

int MorvaLogReader::Open(const std::string& name) { return OpenFile(LogFilePath(name)); }

int MorvaLogReader::OpenFile(const std::string& path) {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  // Opened without waiting: a FIFO or a device in the log's place must not hold the reader's
  // thread. Only a regular file is a log.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return kLogNotFound;
  struct stat status {};
  FILE* file = nullptr;
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) file = fdopen(fd, "rb");
  if (file == nullptr) {
    ::close(fd);
    return kLogNotFound;
  }
  file_ = file;
  return kLogOpened;
}

void MorvaLogReader::TextRelease::operator()(char* text) const {
  if (size >= kMappedFrom) {
    munmap(text, size);
  } else {
    delete[] text;
  }
}

MorvaLogReader::Text MorvaLogReader::AllocateText(size_t size) {
  if (size < kMappedFrom) return Text(new char[size], TextRelease{size});
  // Huge pages need blocks aligned to their size: more room is mapped and what lies outside
  // the aligned block is given back at once. Only whole huge pages are asked for, so that the
  // text's last, partly used one costs no more than its small pages.
  const size_t mapped = (size + kHugePage - 1) & ~(kHugePage - 1);
  void* block = mmap(nullptr, mapped + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  char* const start = static_cast<char*>(block);
  char* const aligned = reinterpret_cast<char*>(
      (reinterpret_cast<uintptr_t>(start) + kHugePage - 1) & ~uintptr_t{kHugePage - 1});
  if (aligned != start) munmap(start, static_cast<size_t>(aligned - start));
  const size_t tail = static_cast<size_t>(start + mapped + kHugePage - (aligned + mapped));
  if (tail != 0) munmap(aligned + mapped, tail);
  madvise(aligned, size & ~(kHugePage - 1), MADV_HUGEPAGE);
  return Text(aligned, TextRelease{mapped});
}

size_t MorvaLogReader::LargestLog() {
  // The text stays in memory beside its records, which take about as much again: a log is held
  // only while both fit in a part of the machine's memory, and of the process's address space.
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGESIZE);
  uint64_t room = pages > 0 && page_size > 0
                      ? static_cast<uint64_t>(pages) * static_cast<uint64_t>(page_size)
                      : uint64_t{1} << 32;
  struct rlimit limit {};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    room = std::min<uint64_t>(room, limit.rlim_cur);
  }
  return static_cast<size_t>(std::min<uint64_t>(room / 4, SIZE_MAX / 2));
}

int MorvaLogReader::Parse() {
  if (file_ == nullptr) return kLogNotFound;
  int result = kLogNotFound;
  try {
    result = ReadWhole();
  } catch (const std::bad_alloc&) {
    // Memory ran short after all: the log is as unreadable as one that is too large.
    Clear();
  }
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  return result;
}

int MorvaLogReader::ReadWhole() {
  const size_t largest = LargestLog();
  // The whole file is kept in one block: the records point into it.
  struct stat status {};
  if (fstat(fileno(file_), &status) != 0) return kLogNotFound;
  if (static_cast<uint64_t>(status.st_size) > largest) return kLogNotFound;
  size_t capacity = static_cast<size_t>(status.st_size) + kGrowth;
  Text text = AllocateText(capacity);
  size_t size = 0;
  for (;;) {
    size += std::fread(text.get() + size, 1, capacity - size, file_);
    if (size < capacity) break;  // end of file, or a read error: what was read counts
    // The file grew while it was read, and may go on growing faster than it is read.
    if (size > largest) return kLogNotFound;
    const size_t grown = std::min(capacity * 2, largest + 1);
    Text larger = AllocateText(grown);
    std::memcpy(larger.get(), text.get(), size);
    text = std::move(larger);
    capacity = grown;
  }
  text[size] = '\n';  // records find their line's end without the text's size
  Feed(std::string_view(text.get(), size));
  texts_.push_back(std::move(text));
  Finish();
  return kLogParsed;
}

void MorvaLogReader::Clear() {
  chosen_.clear();
  groups_.clear();
  texts_.clear();
  forward_ = chosen_.end();
  backward_ = groups_.begin();
  filtered_ = false;
  state_ = kOutside;
  group_ = nullptr;
  has_entry_ = false;
  has_resource_ = false;
  has_item_ = false;
  last_time_valid_ = false;
}

void MorvaLogReader::ParseText(std::string_view text) {
  Text copy = AllocateText(text.size() + 1);
  std::memcpy(copy.get(), text.data(), text.size());
  copy[text.size()] = '\n';
  Feed(std::string_view(copy.get(), text.size()));
  texts_.push_back(std::move(copy));
  Finish();
}

void MorvaLogReader::Feed(std::string_view text) {
  const char* start = text.data();
  const char* const end = start + text.size();
  while (start < end) {
    const char* newline = static_cast<const char*>(std::memchr(start, '\n', end - start));
    if (newline == nullptr) newline = end;
    if (static_cast<size_t>(newline - start) <= kLongestLine) {
      ProcessLine(std::string_view(start, newline - start));
    } else if (state_ != kOutside) {
      // Garbage: no line of the grammar is this long. It breaks its entry like any line that
      // fits nowhere, and is never kept or shown.
      MarkBroken();
    }
    start = newline + 1;
  }
}

void MorvaLogReader::Finish() {
  // A run still being written, or one cut short, leaves its entry open.
  if (state_ != kOutside) MarkBroken();
  FitAll();
}

void MorvaLogReader::ProcessLine(std::string_view line) {
  // Logs written on Windows end their lines with CR LF.
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty()) return;
  acted_ = 0;
  const int state = state_;
  if (Dispatch(line, state)) return;
  if (state != kOutside) Resynchronise(line);
}

bool MorvaLogReader::Dispatch(std::string_view line, int state) {
  switch (state) {
    case kOutside:
      return HandleGroupStart(line);
    case kAfterTestsStop:
      if (HandleGroupEnd(line)) return true;
      state_ = kAfterGroupStart;
      return HandleProperty(line);
    case kAfterGroupStart:
    case kAfterSectionStart:
      return HandleProperty(line);
    case kInSection:
      return HandleSectionEnd(line) || HandleProperty(line);
    case kInTests:
      return HandleTestsStop(line) || HandleTestLine(line);
    case kInTest:
      return HandleTestLine(line);
    case kResourceProperties:
      return HandleSectionStart(line) || HandleTestsStart(line) || HandleProperty(line);
    case kAfterSectionEnd:
      return HandleSectionStart(line) || HandleTestsStart(line);
    case kResynchronising:
      return HandleGroupStart(line) || HandleGroupEnd(line) || HandleTestsStart(line) ||
             HandleTestsStop(line) || HandleSectionStart(line) || HandleSectionEnd(line) ||
             HandleTestLine(line) || HandleProperty(line);
    default:
      return false;
  }
}

void MorvaLogReader::Resynchronise(std::string_view line) {
  saved_state_ = state_;
  state_ = kResynchronising;
  resynchronising_ = true;
  MarkBroken();
  if (!Dispatch(line, kResynchronising)) state_ = saved_state_;
  resynchronising_ = false;
}

bool MorvaLogReader::Act(Handler handler) {
  if (acted_ & handler) return false;
  acted_ |= handler;
  return true;
}

bool MorvaLogReader::HandleGroupStart(std::string_view line) {
  if (!StartsWith(line, kGroupStart)) return false;
  Tokens tokens(After(line, kGroupStart.size()));
  std::string_view time_text, name, number_text;
  int64_t time = 0, number = 0;
  // A damaged group start opens nothing: without its name and number it belongs nowhere.
  if (!tokens.Next(time_text) || !tokens.Next(name) || !tokens.Next(number_text) ||
      !tokens.AtEnd() || !ReadTime(time_text, time) || !ReadInt64(number_text, number)) {
    return false;
  }
  if (!Act(kHandleGroupStart)) return false;
  if (state_ != kOutside) MarkBroken();
  FitLists();
  int64_t key = number;
  if (!keyed_by_number_) {
    const auto current = groups_.find(counter_);
    if (current != groups_.end() && !current->second.entries.empty() &&
        current->second.number != number) {
      ++counter_;
    }
    key = counter_;
  }
  group_key_ = key;
  group_ = &groups_[key];
  bool created = false;
  const size_t entry = group_->entries.FindOrAppend(
      name,
      [name] {
        LogGroupEntry made;
        made.name = name;
        return std::pair<std::string_view, LogGroupEntry>(name, std::move(made));
      },
      created);
  if (created) group_->number = number;
  entry_ = entry;
  has_entry_ = true;
  entry_name_ = name;
  has_resource_ = false;
  duplicate_resource_ = false;
  has_item_ = false;
  state_ = kAfterGroupStart;
  return true;
}

bool MorvaLogReader::HandleGroupEnd(std::string_view line) {
  if (!StartsWith(line, kGroupEnd) || !has_entry_) return false;
  if (!Act(kHandleGroupEnd)) return false;
  const bool after_tests = state_ == kAfterTestsStop;
  Tokens tokens(After(line, kGroupEnd.size()));
  std::string_view name;
  const bool fits = tokens.Next(name) && name == entry_name_ && tokens.AtEnd() && after_tests;
  FitLists();
  has_resource_ = false;
  duplicate_resource_ = false;
  has_item_ = false;
  state_ = kOutside;
  return fits;
}

bool MorvaLogReader::HandleProperty(std::string_view line) {
  const size_t colon = line.find(kPropertySeparator);
  if (colon == std::string_view::npos) return false;
  const std::string_view key = line.substr(0, colon);
  const std::string_view value = TrimBlanks(line.substr(colon + 1));
  if (state_ == kAfterGroupStart) state_ = kResourceProperties;
  if (value.empty()) return false;
  switch (state_) {
    case kResourceProperties:
      return key == kKeyUdi ? HandleUdi(line, value) : HandleResourceProperty(line, key, value);
    case kAfterSectionStart:
      return HandleItemIndex(line, key, value);
    case kInSection:
      return HandleItemProperty(line, key);
    default:
      return false;
  }
}

bool MorvaLogReader::HandleUdi(std::string_view line, std::string_view udi) {
  LogGroupEntry* entry = CurrentEntry();
  if (entry == nullptr) return false;
  FitLists();
  bool created = false;
  const size_t resource = entry->resources.FindOrAppend(
      udi, [udi] { return std::pair<std::string_view, LogResource>(udi, LogResource()); }, created);
  duplicate_resource_ = !created;
  if (created) {
    entry->resources[resource].second.properties.reserve(kUsualProperties);
    entry->resources[resource].second.properties.push_back({line.data()});
  }
  resource_ = resource;
  has_resource_ = true;
  has_item_ = false;
  return true;
}

bool MorvaLogReader::HandleResourceProperty(std::string_view line, std::string_view key, std::string_view value) {
  LogResource* resource = CurrentResource();
  if (resource == nullptr) return false;
  if (duplicate_resource_) return true;
  if (key == kKeyDisplayName || key == kKeyDisplayNameShort) {
    resource->display_name = value;
  } else {
    resource->properties.push_back({line.data()});
  }
  return true;
}

bool MorvaLogReader::HandleItemIndex(std::string_view line, std::string_view key, std::string_view value) {
  uint64_t index = 0;
  if (key != kKeyIndex || !ParseIndex(value, index)) return false;
  LogResource* resource = CurrentResource();
  if (resource == nullptr) return false;
  if (!duplicate_resource_) OpenItem(*resource, index, line);
  no_property_yet_ = true;
  state_ = kInSection;
  return true;
}

void MorvaLogReader::OpenItem(LogResource& resource, uint64_t index, std::string_view line) {
  bool created = false;
  const std::string_view type = section_type_;
  const size_t section = resource.sections.FindOrAppend(
      type,
      [type] {
        LogResourceSection made;
        made.type = type;
        return made;
      },
      created);
  auto& items = resource.sections[section].items;
  const size_t item = items.FindOrAppend(
      index,
      [index] {
        LogResourceItem made;
        made.index = index;
        made.properties.reserve(kUsualItemProperties);
        return made;
      },
      created);
  items[item].properties.push_back({line.data()});
  section_ = section;
  item_ = item;
  has_item_ = true;
}

bool MorvaLogReader::HandleItemProperty(std::string_view line, std::string_view key) {
  LogResource* resource = CurrentResource();
  if (resource == nullptr) return false;
  if (!duplicate_resource_) {
    if (!has_item_) return false;
    resource->sections[section_].items[item_].properties.push_back({line.data()});
  }
  if (key != kKeyIndex) no_property_yet_ = false;
  return true;
}

bool MorvaLogReader::HandleSectionStart(std::string_view line) {
  if (!StartsWith(line, kSectionStart) || CurrentResource() == nullptr) return false;
  Tokens tokens(After(line, kSectionStart.size()));
  std::string_view type;
  if (!tokens.Next(type)) return false;
  if (!Act(kHandleSectionStart)) return false;
  FitItem();
  section_type_ = type;
  has_item_ = false;
  state_ = kAfterSectionStart;
  return tokens.AtEnd();
}

bool MorvaLogReader::HandleSectionEnd(std::string_view line) {
  LogResource* resource = CurrentResource();
  if (!StartsWith(line, kSectionEnd) || resource == nullptr) return false;
  // An item needs a property besides its index.
  if (state_ == kInSection && no_property_yet_) return false;
  if (!Act(kHandleSectionEnd)) return false;
  FitItem();
  has_item_ = false;
  state_ = kAfterSectionEnd;
  return Tokens(After(line, kSectionEnd.size())).AtEnd();
}

bool MorvaLogReader::HandleTestsStart(std::string_view line) {
  if (!StartsWith(line, kTestsStart)) return false;
  LogResource* resource = CurrentResource();
  if (resource == nullptr) return false;
  if (!Act(kHandleTestsStart)) return false;
  resource->reserved = std::string_view();
  // Every block adds to what the device recorded before it, even one started again without the
  // device's id: a result the log holds is never dropped.
  if (resource->tests.empty()) resource->tests.reserve(kUsualTests);
  no_test_yet_ = true;
  state_ = kInTests;
  return Tokens(After(line, kTestsStart.size())).AtEnd();
}

bool MorvaLogReader::HandleTestsStop(std::string_view line) {
  if (!StartsWith(line, kTestsStop)) return false;
  // A block's stop line is accepted only once a test has started, except to resynchronise.
  if (state_ == kInTests && no_test_yet_) return false;
  LogResource* resource = CurrentResource();
  if (resource == nullptr) return false;
  // The code follows one separating character behind the marker.
  Tokens tokens(After(line, kTestsStop.size() + 1));
  std::string_view code;
  if (!tokens.Next(code)) return false;
  if (!Act(kHandleTestsStop)) return false;
  // A success code never hides an earlier block's code of the same device.
  if (code != "0" || resource->result_code.empty()) resource->result_code = code;
  FitLists();
  state_ = kAfterTestsStop;
  return tokens.AtEnd();
}

bool MorvaLogReader::HandleTestLine(std::string_view line) {
  Tokens tokens(line);
  std::string_view time_text, word;
  if (!tokens.Next(time_text) || !tokens.Next(word)) return false;
  const bool is_start = word == kTestStart;
  const bool is_stop = word == kTestStop;
  const bool is_message = word == kMessage || word == kWarning || word == kError || word == kCritical;
  if (!is_start && !is_stop && !is_message) return false;
  int64_t time = 0;
  if (!ReadTime(time_text, time)) return false;
  LogResource* resource = CurrentResource();
  if (resource == nullptr) return false;
  if (is_start) return HandleTestStart(line, tokens, time, *resource);
  if (is_stop) return HandleTestStop(line, tokens, time, *resource);
  return HandleMessage(line, tokens, time, *resource);
}

bool MorvaLogReader::HandleTestStart(std::string_view line, Tokens& tokens, int64_t time, LogResource& resource) {
  if (state_ != kInTests && !resynchronising_) return false;
  std::string_view name;
  if (!tokens.Next(name)) return false;
  if (!Act(kHandleTestLine)) return false;
  LogTest test;
  test.start_line = line.data();
  test.start_time = time;
  resource.tests.push_back(std::move(test));
  test_name_ = name;
  no_test_yet_ = false;
  state_ = kInTest;
  return tokens.AtEnd();
}

bool MorvaLogReader::HandleTestStop(std::string_view line, Tokens& tokens, int64_t time, LogResource& resource) {
  if (state_ != kInTest) return false;
  if (!Act(kHandleTestLine)) return false;
  state_ = kInTests;
  std::string_view name, result, duration_text, unit;
  if (!tokens.Next(name) || name != test_name_ || resource.tests.empty()) return false;
  if (!tokens.Next(result)) return false;
  LogTest& test = resource.tests.back();
  test.stop_time = time;
  test.stop_line = line.data();
  // The entry's mask follows its resources' masks as results arrive.
  const uint32_t bit = LogStatusBit(result);
  resource.status_mask |= bit;
  CurrentEntry()->status_mask |= bit;
  double duration = 0.0;
  if (!tokens.Next(duration_text) || !ReadDouble(duration_text, duration)) return false;
  if (!tokens.Next(unit) || unit != kSeconds) return false;
  test.duration = duration;
  test.messages.shrink_to_fit();
  return tokens.AtEnd();
}

bool MorvaLogReader::HandleMessage(std::string_view line, Tokens& tokens, int64_t time, LogResource& resource) {
  if (state_ != kInTests && state_ != kInTest) return false;
  std::vector<LogMessage>* messages = &resource.messages;
  if (state_ == kInTest) {
    if (resource.tests.empty()) return false;
    messages = &resource.tests.back().messages;
  }
  std::string_view first_word;
  if (!tokens.Next(first_word)) return false;
  if (!Act(kHandleTestLine)) return false;
  // Only the line's form is checked here; the message reads its fields from the line.
  bool fits = true;
  std::string_view token;
  while (tokens.Next(token)) {
    if (token == kCode) {
      std::string_view code;
      fits = tokens.Next(code) && tokens.AtEnd();
      break;
    }
  }
  LogMessage message;
  message.time = time;
  message.line = line.data();
  messages->push_back(std::move(message));
  return fits;
}

bool MorvaLogReader::ReadTime(std::string_view token, int64_t& seconds) {
  if (last_time_valid_ && token == last_time_text_) {
    seconds = last_time_;
    return true;
  }
  scratch_.assign(token);
  if (!time_handler_->ParseDateTime(scratch_, calendar_)) return false;
  seconds = time_handler_->ToTime(calendar_);
  last_time_text_ = token;
  last_time_ = seconds;
  last_time_valid_ = true;
  return true;
}

bool MorvaLogReader::ReadInt64(std::string_view token, int64_t& value) {
  scratch_.assign(token);
  return number_handler_->ToInt64(scratch_, value);
}

bool MorvaLogReader::ReadDouble(std::string_view token, double& value) {
  scratch_.assign(token);
  return number_handler_->ToDouble(scratch_, value);
}

LogGroupEntry* MorvaLogReader::CurrentEntry() {
  return has_entry_ ? &group_->entries[entry_].second : nullptr;
}

LogResource* MorvaLogReader::CurrentResource() {
  if (!has_resource_ || !has_entry_) return nullptr;
  return &group_->entries[entry_].second.resources[resource_].second;
}

void MorvaLogReader::FitItem() {
  LogResource* resource = CurrentResource();
  if (resource != nullptr && has_item_) {
    FitIfShort(resource->sections[section_].items[item_].properties);
  }
}

void MorvaLogReader::FitLists() {
  FitItem();
  if (LogResource* resource = CurrentResource()) {
    FitIfShort(resource->properties);
    FitIfShort(resource->tests);
    FitIfShort(resource->messages);
  }
}

void MorvaLogReader::FitAll() {
  for (auto& group : groups_) {
    auto& entries = group.second.entries;
    for (size_t entry = 0; entry < entries.size(); ++entry) {
      auto& resources = entries[entry].second.resources;
      for (size_t position = 0; position < resources.size(); ++position)
        GiveBackRoom(resources[position].second);
    }
  }
}

void MorvaLogReader::MarkBroken() {
  LogGroupEntry* entry = CurrentEntry();
  if (entry == nullptr) return;
  entry->broken = true;
  if (LogResource* resource = CurrentResource()) resource->broken = true;
}

void MorvaLogReader::Filter(int64_t from, int64_t to, int count, bool by_time) {
  from_ = from;
  to_ = to;
  filtered_ = true;
  chosen_.clear();
  backward_ = groups_.begin();
  if (by_time) {
    backward_ = groups_.upper_bound(to);
  } else if (count >= 1 && from != 0) {
    int64_t key = count;
    for (auto group = groups_.rbegin(); group != groups_.rend() && key > 0; ++group, --key) {
      chosen_.emplace(key, &group->second);
    }
  }
  forward_ = chosen_.begin();
}

const LogGroup* MorvaLogReader::NextGroup(bool by_time) {
  if (!filtered_) return nullptr;
  if (by_time) {
    if (backward_ == groups_.begin()) return nullptr;
    const auto group = std::prev(backward_);
    if (group->first < from_) {
      backward_ = groups_.begin();
      return nullptr;
    }
    backward_ = group;
    return &group->second;
  }
  if (from_ == 0 || forward_ == chosen_.end()) return nullptr;
  return (forward_++)->second;
}
