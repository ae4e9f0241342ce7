// Reads the diagnostics log into a tree of groups and hands the groups out one by one, chosen
// by a time interval or as the last groups of the file.
//
// Typical use: MorvaLogReader reader(true); reader.OpenDiagnosticsLog(); reader.Parse();
// reader.Filter(from, to, 1, true); while (const LogGroup* g = reader.NextGroup(true)) ...
//
// A malformed line never stops the parse: it marks its entry and resource broken, and the reader
// finds its way back into the grammar at the next line that fits. One thread at a time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/logs/core/log_format.h"
#include "gui/logs/core/log_records.h"

class ZerkaNumberHandler;
class ZerkaTimeHandler;
namespace log_line {
class Tokens;
}

class MorvaLogReader {
 public:
  // keyed_by_number: groups are keyed by the group number of their "+++ " lines; otherwise by
  // a counter that follows the order of appearance.
  explicit MorvaLogReader(bool keyed_by_number);
  ~MorvaLogReader();
  MorvaLogReader(const MorvaLogReader&) = delete;
  MorvaLogReader& operator=(const MorvaLogReader&) = delete;

  // Opens the main diagnostics log. kLogOpened, or kLogNotFound when it cannot be read.
  int OpenDiagnosticsLog();
  // Opens the log of that name (without ".log") in the log folder.
  int Open(const std::string& name);
  // Opens a log file by its local path.
  int OpenFile(const std::string& path);

  // Reads the open file to its end and closes it: kLogParsed, or kLogNotFound without a file
  // and for a log too large to hold (LargestLog), which is left unread.
  int Parse();
  // The size of the largest log Parse reads, in bytes.
  static size_t LargestLog();
  // Parses a copy of text as if it were the whole content of a log file.
  void ParseText(std::string_view text);

  // by_time: NextGroup(true) returns the groups whose key k lies in from <= k <= to, highest key
  // first (to is the last second of the interval). Otherwise NextGroup(false) returns the last
  // count groups, oldest first; then from must not be 0.
  void Filter(int64_t from, int64_t to, int count, bool by_time);
  // The next chosen group, or null when all were handed out. Valid while the reader lives.
  const LogGroup* NextGroup(bool by_time);

  // Every group read, by key.
  const std::map<int64_t, LogGroup>& groups() const { return groups_; }

 private:
  enum State : int {
    kOutside = 1,
    kAfterTestsStop = 4,
    kAfterGroupStart = 5,
    kAfterSectionStart = 6,
    kInSection = 7,
    kInTests = 8,
    kInTest = 9,
    kResourceProperties = 10,
    kAfterSectionEnd = 11,
    kResynchronising = 12,
  };
  // Handlers, as bits of the set that already acted on the current line.
  enum Handler : unsigned {
    kHandleGroupStart = 1u << 0,
    kHandleGroupEnd = 1u << 1,
    kHandleProperty = 1u << 2,
    kHandleSectionStart = 1u << 3,
    kHandleSectionEnd = 1u << 4,
    kHandleTestsStart = 1u << 5,
    kHandleTestsStop = 1u << 6,
    kHandleTestLine = 1u << 7,
  };

  // Lines are read in place: the text must live as long as the reader (see texts_).
  int ReadWhole();
  // Forgets everything read, as if nothing had been.
  void Clear();
  void Feed(std::string_view text);
  void Finish();
  void ProcessLine(std::string_view line);
  bool Dispatch(std::string_view line, int state);
  void Resynchronise(std::string_view line);

  bool HandleGroupStart(std::string_view line);
  bool HandleGroupEnd(std::string_view line);
  bool HandleProperty(std::string_view line);
  bool HandleSectionStart(std::string_view line);
  bool HandleSectionEnd(std::string_view line);
  bool HandleTestsStart(std::string_view line);
  bool HandleTestsStop(std::string_view line);
  bool HandleTestLine(std::string_view line);

  // The kinds of property line, by where they stand: a device's, an item's index, an item's.
  bool HandleUdi(std::string_view line, std::string_view udi);
  bool HandleResourceProperty(std::string_view line, std::string_view key, std::string_view value);
  bool HandleItemIndex(std::string_view line, std::string_view key, std::string_view value);
  void OpenItem(LogResource& resource, uint64_t index, std::string_view line);
  bool HandleItemProperty(std::string_view line, std::string_view key);
  // The kinds of test line, behind their time stamp.
  bool HandleTestStart(std::string_view line, log_line::Tokens& tokens, int64_t time, LogResource& resource);
  bool HandleTestStop(std::string_view line, log_line::Tokens& tokens, int64_t time, LogResource& resource);
  bool HandleMessage(std::string_view line, log_line::Tokens& tokens, int64_t time, LogResource& resource);

  // Records the effects of a handler on this line; false when it already acted on it, so that
  // the resynchronisation never applies a line twice.
  bool Act(Handler handler);

  bool ReadTime(std::string_view token, int64_t& seconds);
  bool ReadInt64(std::string_view token, int64_t& value);
  bool ReadDouble(std::string_view token, double& value);

  LogGroupEntry* CurrentEntry();
  LogResource* CurrentResource();
  // Lists start with room to grow (see kUsualTests); once complete, short ones give back what
  // they did not use, and every list does when the parse ends: every device of the log stays in
  // memory.
  void FitItem();
  void FitLists();
  void FitAll();
  void MarkBroken();

  bool keyed_by_number_;
  int state_ = kOutside;
  int saved_state_ = kOutside;
  unsigned acted_ = 0;
  bool resynchronising_ = false;

  FILE* file_ = nullptr;
  // A block of text; large ones are mapped in huge pages where the system offers them, since a
  // fresh block touched page by page costs more than reading the file into it.
  struct TextRelease {
    size_t size = 0;  // of the heap block, or of the mapping
    void operator()(char* text) const;
  };
  using Text = std::unique_ptr<char[], TextRelease>;
  static Text AllocateText(size_t size);

  // The texts read; every text field of the records is a view into one of them, or the start
  // of one of their lines. Each has a line end behind its last line.
  std::vector<Text> texts_;

  ZerkaTimeHandler* time_handler_;
  ZerkaNumberHandler* number_handler_;
  std::string scratch_;     // token handed to the conversions
  std::string_view last_time_text_;  // the log repeats its time stamps; the last one is kept
  int64_t last_time_ = 0;
  bool last_time_valid_ = false;
  struct tm calendar_ {};

  // Where the parse stands. Positions are valid while has_* is set.
  int64_t group_key_ = 0;
  LogGroup* group_ = nullptr;
  size_t entry_ = 0;
  bool has_entry_ = false;
  std::string_view entry_name_;
  size_t resource_ = 0;
  bool has_resource_ = false;  // a UDI is current
  std::string_view section_type_;
  size_t section_ = 0;
  size_t item_ = 0;
  bool has_item_ = false;
  std::string_view test_name_;
  bool duplicate_resource_ = false;
  bool no_test_yet_ = true;
  bool no_property_yet_ = true;

  std::map<int64_t, LogGroup> groups_;
  std::map<int64_t, const LogGroup*> chosen_;
  std::map<int64_t, const LogGroup*>::const_iterator forward_;
  std::map<int64_t, LogGroup>::const_iterator backward_;
  int64_t from_ = 0;
  int64_t to_ = 0;
  bool filtered_ = false;
  int64_t counter_ = 0;
};
