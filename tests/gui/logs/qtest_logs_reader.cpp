// The log search worker: the signals of each outcome, the choice and order of the groups, the
// groups of one run, and a search on a thread of its own.
#include <QSignalSpy>
#include <QThread>
#include <QtTest>
#include <unistd.h>

#include "gui/logs/logs_reader.h"
#include "tests/gui/logs/support/report_test_support.h"

namespace {

// The signals a reader sent, by name, in order.
struct Sent {
  explicit Sent(LogsReader& reader) {
    auto note = [this](const char* name) { return [this, name] { names.append(name); }; };
    QObject::connect(&reader, &LogsReader::LogFileNotFound, note("LogFileNotFound"));
    QObject::connect(&reader, &LogsReader::NoLogsFoundOnInterval, note("NoLogsFoundOnInterval"));
    QObject::connect(&reader, &LogsReader::LogResultsFound, note("LogResultsFound"));
    QObject::connect(&reader, &LogsReader::ReadFinished, note("ReadFinished"));
    QObject::connect(&reader, &LogsReader::ReadAborted, note("ReadAborted"));
  }
  QStringList names;
};

QStringList Keys(const QVector<HtmlLogEntry>& entries) {
  QStringList keys;
  for (const HtmlLogEntry& entry : entries) keys << entry.time_key;
  return keys;
}

// A run of one module with one device and one test.
QString Run(const QString& time, const QString& module, qint64 number, const QString& result) {
  return QStringLiteral("+++ %1 %2 %3\nUDI: U\nDISPLAY_NAME: D\nSTART TESTS\n%1 START T\n"
                        "%1 STOP T %4 1 S\nSTOP TESTS 0\n--- %2\n")
      .arg(time, module)
      .arg(number)
      .arg(result);
}

const QDate kDay(2024, 5, 1);

}  // namespace

class TestLogsReader : public QObject {
  Q_OBJECT

 private slots:
  void outcomes() {
    QVector<HtmlLogEntry> out;
    report_test::RemoveDiagnosticsLog();
    {
      LogsReader reader(kDay, kDay, &out, 1, true, true);
      Sent sent(reader);
      reader.StartRead();
      QCOMPARE(sent.names, QStringList({"LogFileNotFound"}));
      QVERIFY(!reader.IsReading());
    }
    report_test::WriteDiagnosticsLog(report_test::Fixture("two_runs.log"));
    {
      LogsReader reader(kDay, kDay, &out, 1, true, true);
      Sent sent(reader);
      reader.StartRead();
      QCOMPARE(sent.names, QStringList({"LogResultsFound", "ReadFinished"}));
      // Newest first.
      QCOMPARE(Keys(out), QStringList({"1714559100", "1714558830"}));
      QVERIFY(!out[0].time_text.isEmpty());
    }
    {
      // No page is rendered by the search; once asked for, after the reader has gone, each is
      // the page rendered at once from the same log.
      const QVector<HtmlLogEntry> rendered = report_test::Render(report_test::Fixture("two_runs.log"));
      HtmlGenerator generator;
      for (int i = 0; i < out.size(); ++i) {
        QVERIFY(out[i].body.isEmpty());
        QCOMPARE(generator.EntryBody(out[i]), rendered[out.size() - 1 - i].body);
        QCOMPARE(out[i].status, rendered[out.size() - 1 - i].status);
      }
    }
    {
      LogsReader reader(QDate(2024, 4, 1), QDate(2024, 4, 30), &out, 1, true, true);
      Sent sent(reader);
      reader.StartRead();
      QCOMPARE(sent.names, QStringList({"NoLogsFoundOnInterval", "ReadFinished"}));
      QCOMPARE(out.size(), 2);  // appended to, never emptied
    }
    {
      out.clear();
      LogsReader reader(kDay, kDay, &out, 1, true, true);
      Sent sent(reader);
      reader.AbortRead();
      reader.StartRead();
      QCOMPARE(sent.names, QStringList({"ReadAborted"}));
      QVERIFY(out.isEmpty());
    }
    {
      LogsReader reader(kDay, kDay, nullptr, 1, true, true);
      Sent sent(reader);
      reader.StartRead();
      QVERIFY(sent.names.isEmpty());
    }
  }

  // A log too large to hold (a sparse terabyte) is reported as not found by both searches, the
  // previous-logs screen's and the execution log's, and the program goes on.
  void logTooLargeToHold() {
    report_test::WriteDiagnosticsLog(report_test::Fixture("two_runs.log"));
    QVERIFY(::truncate(QFile::encodeName(report_test::DiagnosticsLogPath()).constData(),
                       off_t{1} << 40) == 0);
    QVector<HtmlLogEntry> out;
    {
      LogsReader reader(kDay, kDay, &out, 1, true, true);
      Sent sent(reader);
      reader.StartRead();
      QCOMPARE(sent.names, QStringList({"LogFileNotFound"}));
      QVERIFY(!reader.IsReading());
    }
    {
      LogsReader reader(time_t(1714558830), time_t(1714559100), &out, 2, true, true);
      reader.RestrictToGroups({1714558830, 1714559100}, QStringLiteral("STORAGE_MODULE"));
      Sent sent(reader);
      reader.StartRead();
      QCOMPARE(sent.names, QStringList({"LogFileNotFound"}));
    }
    QVERIFY(out.isEmpty());
    report_test::RemoveDiagnosticsLog();
  }

  // Samoa skipped 30 December 2011: its clocks went from the 29th, 23:59:59 (UTC-10) to the
  // 31st, 00:00:00 (UTC+14). A day search still starts where the day would have, never at 1970.
  void dayWithoutMidnight() {
    struct ZoneForThisTest {
      const QByteArray kept = qgetenv("TZ");
      ZoneForThisTest() {
        qputenv("TZ", "Pacific/Apia");
        tzset();
      }
      ~ZoneForThisTest() {
        qputenv("TZ", kept);
        tzset();
      }
    } zone;
    const qint64 last_of_29th = 1325239199;  // 2011-12-30T09:59:59Z
    const qint64 first_of_31st = 1325239200;
    report_test::WriteDiagnosticsLog(
        Run("2011-06-01T00.00.00", "A", 1306886400, "SUCCESS") +
        Run("2011-12-29T23.59.59", "A", last_of_29th, "SUCCESS") +
        Run("2011-12-31T00.00.00", "A", first_of_31st, "FAILED"));
    QVector<HtmlLogEntry> out;
    {
      LogsReader reader(QDate(2011, 12, 30), QDate(2011, 12, 31), &out, 1, true, true);
      reader.StartRead();
      QCOMPARE(Keys(out), QStringList({QString::number(first_of_31st)}));
    }
    {
      out.clear();
      LogsReader reader(QDate(2011, 12, 30), QDate(2011, 12, 30), &out, 1, true, true);
      Sent sent(reader);
      reader.StartRead();
      QCOMPARE(sent.names, QStringList({"NoLogsFoundOnInterval", "ReadFinished"}));
    }
    {
      out.clear();
      LogsReader reader(QDate(2011, 12, 29), QDate(2011, 12, 30), &out, 1, true, true);
      reader.StartRead();
      QCOMPARE(Keys(out), QStringList({QString::number(last_of_29th)}));
    }
  }

  void choiceOfGroups() {
    report_test::WriteDiagnosticsLog(
        Run("2024-04-30T23.59.59", "A", 1714521599, "SUCCESS") +
        Run("2024-05-01T00.00.00", "A", 1714521600, "FAILED") +
        Run("2024-05-01T23.59.59", "A", 1714607999, "WARNING") +
        Run("2024-05-02T00.00.00", "A", 1714608000, "SUCCESS"));
    QVector<HtmlLogEntry> out;
    {
      // Both ends of the day belong to it.
      LogsReader reader(kDay, kDay, &out, 1, true, true);
      reader.StartRead();
      QCOMPARE(Keys(out), QStringList({"1714607999", "1714521600"}));
    }
    {
      // More groups asked for than there are: all of them, oldest first.
      out.clear();
      LogsReader reader(time_t(1), time_t(1), &out, 10, false, false);
      reader.StartRead();
      QCOMPARE(out.size(), 4);
      QCOMPARE(out.first().time_key, QStringLiteral("1714521599"));
      QCOMPARE(out.last().time_key, QStringLiteral("1714608000"));
    }
  }

  void groupsOfOneRun() {
    // The run wrote groups 200 and 202; its iteration 201 was aborted before writing. Another
    // program wrote 150, and a group of another module shares the number 202.
    report_test::WriteDiagnosticsLog(Run("2024-05-01T10.00.00", "STORAGE", 150, "SUCCESS") +
                                     Run("2024-05-01T10.00.01", "STORAGE", 200, "FAILED") +
                                     Run("2024-05-01T10.00.03", "MEMORY", 202, "SUCCESS") +
                                     Run("2024-05-01T10.00.03", "STORAGE", 202, "WARNING") +
                                     Run("2024-05-01T10.00.09", "STORAGE", 300, "SUCCESS"));
    QVector<HtmlLogEntry> out;
    LogsReader reader(time_t(200), time_t(202), &out, 3, true, true);
    reader.RestrictToGroups({200, 201, 202}, QStringLiteral("STORAGE"));
    Sent sent(reader);
    reader.StartRead();
    QCOMPARE(sent.names, QStringList({"LogResultsFound", "ReadFinished"}));
    QCOMPARE(Keys(out), QStringList({"200", "202"}));
    QCOMPARE(out[0].status, int(LOG_ENTRY_FAILED));
    QCOMPARE(out[1].status, int(LOG_ENTRY_WARNING));

    QVector<HtmlLogEntry> none;
    LogsReader missing(time_t(201), time_t(201), &none, 1, true, true);
    missing.RestrictToGroups({201}, QStringLiteral("STORAGE"));
    Sent missing_sent(missing);
    missing.StartRead();
    QCOMPARE(missing_sent.names, QStringList({"NoLogsFoundOnInterval", "ReadFinished"}));
  }

  void searchOnItsOwnThread() {
    report_test::WriteDiagnosticsLog(report_test::Fixture("two_runs.log"));
    QVector<HtmlLogEntry> out;
    QThread thread;
    auto* reader = new LogsReader(kDay, kDay, &out, 1, true, true);
    reader->moveToThread(&thread);
    QObject::connect(&thread, &QThread::finished, reader, &QObject::deleteLater);
    QSignalSpy found(reader, &LogsReader::LogResultsFound);
    QSignalSpy finished(reader, &LogsReader::ReadFinished);
    thread.start();
    QMetaObject::invokeMethod(reader, "StartRead", Qt::QueuedConnection);
    QVERIFY(finished.wait(10000));
    QCOMPARE(found.count(), 1);
    QCOMPARE(out.size(), 2);
    thread.quit();
    QVERIFY(thread.wait(10000));
  }
};

int main(int argc, char** argv) {
  report_test::FixTimeAndLocale();
  QApplication application(argc, argv);
  TestLogsReader test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_logs_reader.moc"
