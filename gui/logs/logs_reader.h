// One search of the diagnostics log: parses it, picks the groups of a time interval or the last
// groups of the file, renders each into HtmlLogEntry records and reports the outcome by signals.
// It lives on the thread that runs StartRead, usually one of its own.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>
#include <QtGlobal>
#include <atomic>
#include <ctime>
#include <memory>

#include "gui/logs/html_log_entry.h"

class MorvaLogReader;

class LogsReader : public QObject {
  Q_OBJECT

 public:
  // The whole days from and to, in local time.
  LogsReader(QDate from, QDate to, QVector<HtmlLogEntry>* output, int count,
             bool keyed_by_number, bool by_time);
  // Bounds in seconds since 1970.
  LogsReader(time_t from, time_t to, QVector<HtmlLogEntry>* output, int count,
             bool keyed_by_number, bool by_time);

  // Keeps only the groups with these numbers, in the order given, and of each only the entries
  // of that module (all modules when it is empty). For reading back the groups of one run; use
  // with groups keyed by number and the time filter over the run's first and last number.
  // An entry with fewer than devices devices, and a group missing while others are there, come
  // out as pages that say the log of the run is incomplete.
  void RestrictToGroups(QVector<qint64> numbers, QString module_name, int devices = 0);

  bool IsReading() const;

  // The last second of the day in local time: the one before the next day begins, so that a day
  // the clocks skipped has none.
  static QDateTime LastSecondOf(QDate day);

 public slots:
  // Appends the entries found to the output; the output is never emptied here.
  void StartRead();
  // Takes effect at the next group; the parse itself runs to its end.
  void AbortRead();

 signals:
  void LogFileNotFound();
  void NoLogsFoundOnInterval();
  void LogResultsFound();
  void ReadFinished();
  void ReadAborted();

 private:
  // The run's groups of a restricted read, in the order of their numbers.
  void ReadRunGroups(MorvaLogReader& reader, const std::shared_ptr<const void>& parsed);

  QDateTime from;
  QDateTime to;
  std::atomic<bool> reading;
  std::atomic<bool> abort_requested;
  bool by_time;
  QVector<HtmlLogEntry>* output;
  int count;
  bool keyed_by_number;
  bool restricted = false;
  QVector<qint64> group_numbers;
  QString module_name;
  int devices = 0;
};
