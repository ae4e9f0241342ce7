// One log entry as the report pages show it: the texts of its row in a result list and the HTML
// body of its page.
#pragma once

#include <QString>
#include <memory>

struct LogGroupEntry;

// Status of an entry, and of a row of a tool report. The small status images are chosen in this
// order (OK, Error, Unsupported, Aborted, Warning, Invalid, Broken).
enum HtmlLogEntryStatus : int {
  LOG_ENTRY_SUCCESS = 0,
  LOG_ENTRY_FAILED = 1,
  LOG_ENTRY_NOT_APPLICABLE = 2,
  LOG_ENTRY_ABORTED = 3,
  LOG_ENTRY_WARNING = 4,
  LOG_ENTRY_INVALID = 5,
  LOG_ENTRY_BROKEN = 6,
};

// The time key of the entries of a run's group: its number (the run's start time), taken as a
// 32-bit number, in decimal.
inline QString LogEntryTimeKey(qint64 group_number) {
  return QString::number(static_cast<qint32>(static_cast<quint32>(group_number)));
}

struct HtmlLogEntry {
  QString title;      // the module's name, translated
  QString time_text;  // when the run started; empty for an entry outside the read's filter
  QString time_key;   // the run's number in decimal; names the entry's page in an export
  // Header block, then one section per device. Empty while the page is still to be rendered
  // from source: read it through HtmlGenerator::EntryBody.
  QString body;
  // An entry whose results set no status bit is shown as invalid rather than left undefined.
  int status = LOG_ENTRY_INVALID;
  bool broken = false;
  // The parsed entry the body is rendered from when it is shown or saved, which keeps the whole
  // parsed log alive; null once the body is held. A search finds far more pages than anyone
  // reads, and a rendered page is several times the size of its lines in the log.
  std::shared_ptr<const LogGroupEntry> source;
};
