#include "gui/logs/logs_reader.h"

#include <QTime>
#include <map>
#include <memory>

#include "gui/logs/core/log_records.h"
#include "gui/logs/core/morva_log_reader.h"
#include "gui/logs/html_generator.h"

namespace {

// The first second of the day in local time, or, on a day the clocks skipped whole, the first of
// the days after it: where a search from that day begins.
QDateTime FirstSecondOf(QDate day) {
  for (int skipped = 0; skipped < 3; ++skipped) {
    const QDateTime start = day.addDays(skipped).startOfDay();
    if (start.isValid()) return start;
  }
  return QDateTime(day, QTime(0, 0));
}

}  // namespace

LogsReader::LogsReader(QDate from_date, QDate to_date, QVector<HtmlLogEntry>* output_entries,
                       int group_count, bool keyed, bool filter_by_time)
    : from(FirstSecondOf(from_date)),
      to(LastSecondOf(to_date)),
      reading(false),
      abort_requested(false),
      by_time(filter_by_time),
      output(output_entries),
      count(group_count),
      keyed_by_number(keyed) {}

LogsReader::LogsReader(time_t from_seconds, time_t to_seconds,
                       QVector<HtmlLogEntry>* output_entries, int group_count, bool keyed,
                       bool filter_by_time)
    : from(QDateTime::fromSecsSinceEpoch(static_cast<qint64>(from_seconds))),
      to(QDateTime::fromSecsSinceEpoch(static_cast<qint64>(to_seconds))),
      reading(false),
      abort_requested(false),
      by_time(filter_by_time),
      output(output_entries),
      count(group_count),
      keyed_by_number(keyed) {}

QDateTime LogsReader::LastSecondOf(QDate day) {
  return FirstSecondOf(day.addDays(1)).addSecs(-1);
}

void LogsReader::RestrictToGroups(QVector<qint64> numbers, QString module, int device_count) {
  restricted = true;
  devices = device_count;
  group_numbers = std::move(numbers);
  module_name = std::move(module);
}

bool LogsReader::IsReading() const { return reading; }

void LogsReader::AbortRead() { abort_requested = true; }

void LogsReader::ReadRunGroups(MorvaLogReader& reader, const std::shared_ptr<const void>& parsed) {
  std::map<qint64, const LogGroup*> found;
  while (const LogGroup* group = reader.NextGroup(by_time)) found.emplace(group->number, group);
  // A run's pages are all shown at once: rendered here rather than on the GUI thread.
  HtmlGenerator generator;
  const QString modules = module_name.isEmpty() ? QStringLiteral("ALL") : module_name;
  QVector<HtmlLogEntry> run;
  bool any_found = false;
  for (const qint64 number : group_numbers) {
    if (abort_requested) break;
    const auto group = found.find(number);
    if (group == found.end()) {
      if (devices <= 0) continue;
      HtmlLogEntry missing;
      missing.time_key = LogEntryTimeKey(number);
      missing.body = generator.IncompleteEntryPage(missing);
      run.append(missing);
      continue;
    }
    // Entries of other modules that share the number come out without a time text.
    QVector<HtmlLogEntry> entries;
    generator.ReadLogGroup(entries, group->second, number, modules, parsed);
    for (HtmlLogEntry& entry : entries) {
      if (entry.time_text.isEmpty()) continue;
      any_found = true;
      const bool whole = devices <= 0 || entry.source->resources.size() >= size_t(devices);
      entry.body = whole ? generator.EntryBody(entry) : generator.IncompleteEntryPage(entry);
      entry.source.reset();
      run.append(entry);
    }
  }
  if (any_found) *output += run;
}

void LogsReader::StartRead() {
  if (!output) return;
  reading = true;
  // Shared with the entries found, whose pages are rendered from it when they are shown.
  const auto parsed = std::make_shared<MorvaLogReader>(keyed_by_number);
  MorvaLogReader& reader = *parsed;
  // A log too large to hold is as unreadable as a missing one.
  if (reader.OpenDiagnosticsLog() != kLogOpened || reader.Parse() != kLogParsed) {
    reading = false;
    emit LogFileNotFound();
    return;
  }
  reader.Filter(from.toSecsSinceEpoch(), to.toSecsSinceEpoch(), count, by_time);

  const int before = output->size();
  HtmlGenerator generator;
  const QString all = QStringLiteral("ALL");
  if (!restricted) {
    while (!abort_requested) {
      if (!generator.ReadLogGroup(*output, reader.NextGroup(by_time), 0, all, parsed)) break;
    }
  } else {
    ReadRunGroups(reader, parsed);
  }
  reading = false;

  if (abort_requested) {
    emit ReadAborted();
  } else if (output->size() > before) {
    emit LogResultsFound();
    emit ReadFinished();
  } else {
    emit NoLogsFoundOnInterval();
    emit ReadFinished();
  }
}
