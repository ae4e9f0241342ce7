// Pages of the diagnostics log: header and status of an entry, device sections, test rows,
// translated messages, the entry filter, and hostile texts from the log.
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTranslator>
#include <QtTest>

#include <deque>
#include <limits>
#include <string>

#include "gui/logs/core/log_records.h"
#include "gui/logs/html_generator.h"
#include "gui/shell/kolv_lite_translator.h"
#include "tests/gui/logs/support/report_test_support.h"

using report_test::Render;

namespace {

const QString kStatuses = QStringLiteral(":/kolv_lite/Resources/Images/Statuses/");

QString E(const QString& text) { return HtmlGenerator::Escape(text); }

QString Row(const QString& key, const QString& value) {
  return QStringLiteral("<tr><td style='white-space:pre-wrap;' width='40%'><b>") + key +
         QStringLiteral(":</b></td><td style='padding-left: 35px; white-space:pre-wrap;' "
                        "width='60%'>") +
         value + QStringLiteral("</td></tr>");
}

// A group of one entry with the given mask, broken flag and resources. Records view their texts,
// so these are literals.
LogGroup GroupOf(std::string_view module, int64_t number, uint32_t mask, bool broken,
                 std::vector<LogResource> resources = {}) {
  LogGroupEntry entry;
  entry.name = module;
  entry.status_mask = mask;
  entry.broken = broken;
  static const char* const kUdis[] = {"UDI0", "UDI1", "UDI2", "UDI3", "UDI4", "UDI5"};
  size_t udi = 0;
  for (LogResource& resource : resources) entry.resources.Append({kUdis[udi++], std::move(resource)});
  LogGroup group;
  group.number = number;
  group.entries.Append({module, std::move(entry)});
  return group;
}

// A line as the reader keeps it, ending with its line end; kept for the whole run.
const char* Line(const std::string& text) {
  static std::deque<std::string> lines;
  return lines.emplace_back(text + '\n').c_str();
}

LogTest TestOf(std::string_view name, std::string_view result, double seconds = 1) {
  LogTest test;
  test.start_line = Line("2024-05-01T10.20.30 START " + std::string(name));
  if (!result.empty()) {
    test.stop_line = Line("2024-05-01T10.20.31 STOP " + std::string(name) + " " +
                          std::string(result) + " 1 S");
  }
  test.duration = seconds;
  test.start_time = 1714558830;
  return test;
}

}  // namespace

class TestHtmlLogRendering : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(gui_test::RegisterProgramResources()); }

  void exampleLogWithWarnings() {
    const QVector<HtmlLogEntry> entries = Render(report_test::Fixture("two_runs.log"));
    QCOMPARE(entries.size(), 2);
    const HtmlLogEntry& entry = entries[0];
    QCOMPARE(entry.title, QStringLiteral("STORAGE_MODULE"));
    QCOMPARE(entry.time_key, QStringLiteral("1714558830"));
    QCOMPARE(entry.time_text, QStringLiteral("5/1/2024 10:20:30 AM"));
    QCOMPARE(entry.status, int(LOG_ENTRY_WARNING));
    QVERIFY(!entry.broken);

    const QString& body = entry.body;
    QVERIFY(body.startsWith(
        QStringLiteral("<table cellspacing='0' cellpadding='5'><tr><td width='0%' height='0%'><b>"
                       "<img src='") +
        kStatuses +
        QStringLiteral("icn_Warning_big.png' height='50' width='50'></td><td width='100%' "
                       "valign='bottom' style='font-size:14px'><span "
                       "style='font-size:18px;font-weight:bold'>WARNING</span><br>"
                       "LOG_ENTRY_WARNING_MESSAGE</td></td></table></tr></table>")));
    QVERIFY(body.contains(QStringLiteral("<img src='") + kStatuses +
                          QStringLiteral("icn_Warning16x16.png'><b style='vertical-align: "
                                         "bottom;font-size:14px'> Disk 0 Example SSD</b>")));
    QVERIFY(body.contains(
        QStringLiteral("background:#F2F2F2;'><pre style='font-family: Segoe UI;font-size:14px;'>"
                       "<span style='font-weight: bold;'>RESULT_CODE</span>:0</pre></td>")));
    // Properties in the log's order; the display name is the header, not a row.
    const int udi = body.indexOf(Row("UDI", "PCI\\VEN_1234&amp;DEV_5678\\0001"));
    const int model = body.indexOf(Row("MODEL", "EXAMPLE-SSD-512"));
    QVERIFY(udi > 0);
    QVERIFY(model > udi);
    QVERIFY(!body.contains(QStringLiteral("DISPLAY_NAME")));
    QVERIFY(body.contains(Row("RESOURCE_TYPE", "PARTITION") + Row("INDEX", "0") +
                          Row("INDEX", "0") + Row("MOUNT_POINT", "/")));

    const QString first_row =
        QStringLiteral("<tr bgcolor='#FFFFFF'><td width='100%'>") + E("5/1/2024 10:20:31 AM") +
        QStringLiteral(" - SMART_STATUS_TEST<p style='margin:5px 0px;padding: 0px;'>") +
        E("5/1/2024 10:20:31 AM") +
        QStringLiteral(" - <i><b>MESSAGE</b> SMART_READ_OK </i></p></td><td width='0%' "
                       "valign='top'><img src='") +
        kStatuses +
        QStringLiteral("icn_OK16x16.png'></td><td width='100%' style='white-space:nowrap;' "
                       "valign='top'><pre style='font-family: Segoe UI;font-size:11px;'>"
                       "SUCCESS (2s)</pre></td></tr>");
    QVERIFY(body.contains(first_row));
    const int second = body.indexOf(QStringLiteral("<tr bgcolor='#EEEEEE'><td width='100%'>") +
                                    E("5/1/2024 10:20:33 AM") + QStringLiteral(" - READ_SCAN_TEST"));
    QVERIFY(second > body.indexOf(first_row));
    QVERIFY(body.indexOf(QStringLiteral("<i><b>WARNING</b> SLOW_SECTORS_FOUND </i>"), second) > 0);
    QVERIFY(body.indexOf(QStringLiteral("WARNING (68.5s)</pre>"), second) > 0);
    QVERIFY(body.endsWith(QStringLiteral("</table></td></tr></table><br><br><br>")));
  }

  void exampleRunOverTwoDevices() {
    const QVector<HtmlLogEntry> entries = Render(report_test::Fixture("two_runs.log"));
    const HtmlLogEntry& entry = entries[1];
    QCOMPARE(entry.time_key, QStringLiteral("1714559100"));
    QCOMPARE(entry.status, int(LOG_ENTRY_FAILED));
    QVERIFY(entry.body.contains(kStatuses + QStringLiteral("icn_Error_big.png")));
    QVERIFY(entry.body.contains(QStringLiteral("FAILED</span><br>LOG_ENTRY_FAILED_MESSAGE")));
    // Both blocks of the run, in the order written, each with its own code.
    const int usb = entry.body.indexOf(QStringLiteral("> USB Flash Disk</b>"));
    const int disk = entry.body.indexOf(QStringLiteral("> Disk 0 Example SSD</b>"));
    QVERIFY(usb > 0 && disk > usb);
    QVERIFY(entry.body.indexOf(QStringLiteral("RESULT_CODE</span>:5</pre>"), usb) < disk);
    QVERIFY(entry.body.indexOf(QStringLiteral("RESULT_CODE</span>:0</pre>"), disk) > disk);
    // A message between tests is a row of the device, translated whole.
    QVERIFY(entry.body.contains(
        QStringLiteral("<tr><td style='white-space:nowrap;' ><b>") + E("5/1/2024 10:25:01 AM") +
        QStringLiteral("</b></td><td style='padding-left: 35px; white-space:pre-wrap;' "
                       "width='100%'>MESSAGE DEVICE_LOCKED</td></tr>")));
    // A test message word by word: each word is followed by one blank.
    QVERIFY(entry.body.contains(QStringLiteral("<i><b>ERROR</b> READ_FAILED_AT_LBA  123456 </i>")));
    QVERIFY(entry.body.contains(QStringLiteral("FAILED (89s)</pre>")));
  }

  // A device whose id comes twice in one entry (two runs started in the same second) lists the
  // tests of both blocks in log order, and a failure among them marks the device and the entry.
  void repeatedDeviceShowsTheResultsOfEveryBlock() {
    const QVector<HtmlLogEntry> entries = Render(QStringLiteral(
        "+++ 2024-05-01T10.20.30 MOD 1714558830\n"
        "UDI: D1\n"
        "DISPLAY_NAME: Disk\n"
        "START TESTS\n"
        "2024-05-01T10.20.31 START READ\n"
        "2024-05-01T10.20.32 STOP READ FAILED 1 S\n"
        "STOP TESTS 5\n"
        "--- MOD\n"
        "+++ 2024-05-01T10.20.30 MOD 1714558830\n"
        "UDI: D1\n"
        "DISPLAY_NAME: Disk\n"
        "START TESTS\n"
        "2024-05-01T10.20.33 START WRITE\n"
        "2024-05-01T10.20.34 STOP WRITE SUCCESS 1 S\n"
        "STOP TESTS 0\n"
        "--- MOD\n"));
    QCOMPARE(entries.size(), 1);
    const QString& body = entries[0].body;
    const int failed = body.indexOf(QStringLiteral(" - READ"));
    QVERIFY(failed > 0);
    QVERIFY(body.indexOf(QStringLiteral("FAILED (1s)"), failed) > failed);
    QVERIFY(body.indexOf(QStringLiteral(" - WRITE"), failed) > failed);
    QVERIFY(body.contains(QStringLiteral("SUCCESS (1s)")));
    QVERIFY(body.contains(kStatuses + QStringLiteral("icn_Error16x16.png'><b style='vertical-align: "
                                                     "bottom;font-size:14px'> Disk</b>")));
    QCOMPARE(entries[0].status, int(LOG_ENTRY_FAILED));
    QVERIFY(body.contains(kStatuses + QStringLiteral("icn_Error_big.png")));
  }

  // A device whose tests block starts again after a property: the failure recorded before it
  // decides the entry, its list row and its device, and its row and code stay on the page.
  void failureBeforeARestartedTestsBlockIsShown() {
    const QString log = QStringLiteral(
        "+++ 2026-01-02T03.04.05 m 100\n"
        "UDI: A\n"
        "START TESTS\n"
        "2026-01-02T03.04.05 START X\n"
        "2026-01-02T03.04.05 STOP X FAILED 1 S\n"
        "STOP TESTS 5\n"
        "K: after\n"
        "START TESTS\n"
        "2026-01-02T03.04.05 START Y\n"
        "2026-01-02T03.04.05 STOP Y SUCCESS 1 S\n"
        "STOP TESTS 0\n"
        "--- m\n");
    const QVector<HtmlLogEntry> entries = Render(log);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].status, int(LOG_ENTRY_FAILED));
    const QString& body = entries[0].body;
    QVERIFY(body.contains(kStatuses + QStringLiteral("icn_Error_big.png")));
    QVERIFY(body.contains(QStringLiteral("font-weight:bold'>FAILED</span>")));
    QVERIFY(body.contains(kStatuses + QStringLiteral("icn_Error16x16.png'><b style='vertical-align: "
                                                     "bottom;font-size:14px'> </b>")));
    QVERIFY(body.contains(QStringLiteral("</span>:5</pre>")));
    const int failed = body.indexOf(QStringLiteral(" - X"));
    QVERIFY(failed > 0);
    QVERIFY(body.indexOf(QStringLiteral("FAILED (1s)"), failed) > failed);
    QVERIFY(body.indexOf(QStringLiteral(" - Y"), failed) > failed);
    QVERIFY(!body.contains(kStatuses + QStringLiteral("icn_OK_big.png")));
  }

  // On the pages the program shows, a device message's time stands on one line.
  void messageTimesStayOnOneLine() {
    const QVector<HtmlLogEntry> entries = Render(report_test::Fixture("two_runs.log"));
    QTextDocument page;
    page.setHtml(entries[1].body);
    page.setTextWidth(640);
    QVERIFY(page.size().height() > 0);  // lays the whole page out
    const QString time = QStringLiteral("5/1/2024 10:25:01 AM");
    int found = 0;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
      if (block.text().replace(QChar::Nbsp, QLatin1Char(' ')) != time) continue;
      ++found;
      QCOMPARE(block.layout()->lineCount(), 1);
    }
    QCOMPARE(found, 1);
  }

  void headerFollowsStatusPriority_data() {
    QTest::addColumn<uint>("mask");
    QTest::addColumn<bool>("broken");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("first_line");
    QTest::newRow("broken over everything") << 63u << true << 6 << "icn_Broken_big.png" << "";
    QTest::newRow("failed") << 63u << false << 1 << "icn_Error_big.png" << "FAILED";
    QTest::newRow("warning") << 31u << false << 4 << "icn_Warning_big.png" << "WARNING";
    QTest::newRow("aborted") << 15u << false << 3 << "icn_Aborted_big.png" << "ABORTED";
    QTest::newRow("success") << 7u << false << 0 << "icn_OK_big.png" << "SUCCESS";
    QTest::newRow("invalid") << 3u << false << 5 << "icn_Invalid_big.png" << "INVALID";
    QTest::newRow("not applicable") << 1u << false << 2 << "icn_Unsupported_big.png"
                                    << "NOT_APPLICABLE";
    QTest::newRow("no result counted") << 0u << false << 5 << "" << "";
  }

  void headerFollowsStatusPriority() {
    QFETCH(uint, mask);
    QFETCH(bool, broken);
    QFETCH(int, status);
    QFETCH(QString, image);
    QFETCH(QString, first_line);
    const LogGroup group = GroupOf("MOD", 100, mask, broken);
    QVector<HtmlLogEntry> out;
    HtmlGenerator generator;
    QVERIFY(generator.ReadLogGroup(out, &group, 0, QStringLiteral("all")));
    QCOMPARE(out.size(), 1);
    QCOMPARE(out[0].status, status);
    QCOMPARE(out[0].broken, broken);
    QVERIFY(out[0].body.contains(QStringLiteral("<img src='") +
                                 (image.isEmpty() ? QString() : kStatuses + image) +
                                 QStringLiteral("' height='50'")));
    QVERIFY(out[0].body.contains(QStringLiteral("font-weight:bold'>") + first_line +
                                 QStringLiteral("</span>")));
  }

  void nullGroupEndsTheRead() {
    QVector<HtmlLogEntry> out;
    HtmlGenerator generator;
    QVERIFY(!generator.ReadLogGroup(out, nullptr, 0, QStringLiteral("ALL")));
    QVERIFY(out.isEmpty());
    // A default record is already in a defined state.
    const HtmlLogEntry fresh;
    QCOMPARE(fresh.status, int(LOG_ENTRY_INVALID));
    QVERIFY(!fresh.broken);
  }

  void filterKeepsRecordsOfOtherEntries() {
    LogResource disk;
    disk.display_name = "Disk";
    disk.result_code = "0";
    disk.tests.push_back(TestOf("T1", "SUCCESS"));
    LogGroup group = GroupOf("STORAGE_MODULE", 500, kLogStatusSuccess, false, {disk});
    LogGroupEntry other;
    other.name = "MEMORY_MODULE";
    other.status_mask = kLogStatusFailed;
    LogResource ram;
    ram.display_name = "Ram";
    other.resources.Append({"R", ram});
    group.entries.Append({"MEMORY_MODULE", other});

    QVector<HtmlLogEntry> out;
    HtmlGenerator generator;
    generator.set_translation_context(QStringLiteral("KEEP"));
    QVERIFY(generator.ReadLogGroup(out, &group, 500, QStringLiteral("storage_module")));
    QCOMPARE(generator.translation_context(), QStringLiteral("KEEP"));
    QCOMPARE(out.size(), 2);
    QVERIFY(!out[0].time_text.isEmpty());
    QVERIFY(out[0].body.contains(QStringLiteral("> Disk</b>")));
    QCOMPARE(out[1].title, QStringLiteral("MEMORY_MODULE"));
    QCOMPARE(out[1].time_key, QStringLiteral("500"));
    QCOMPARE(out[1].status, int(LOG_ENTRY_FAILED));
    QVERIFY(out[1].time_text.isEmpty());
    QVERIFY(!out[1].body.contains(QStringLiteral("Ram")));

    // The same module in a group of another number does not match either.
    out.clear();
    generator.ReadLogGroup(out, &group, 501, QStringLiteral("STORAGE_MODULE"));
    QVERIFY(out[0].time_text.isEmpty());
    QVERIFY(!out[0].body.contains(QStringLiteral("> Disk</b>")));
  }

  void rowsCodesAndBrokenDevices() {
    LogResource device;
    device.display_name = "Disk";
    device.broken = true;
    device.status_mask = kLogStatusSuccess;
    device.tests = {TestOf("A", "SUCCESS", 0.5), TestOf("PENDING", ""),
                    TestOf("B", "PASSED", 1234567.0), TestOf("C", "ABORTED", 3)};
    const LogGroup group = GroupOf("MOD", 1, kLogStatusSuccess, false, {device});
    QVector<HtmlLogEntry> out;
    HtmlGenerator().ReadLogGroup(out, &group, 0, QStringLiteral("ALL"));
    const QString& body = out[0].body;
    // An empty code is shown as invalid on red.
    QVERIFY(body.contains(QStringLiteral("background:#CE4E34;'>")));
    QVERIFY(body.contains(QStringLiteral("RESULT_CODE</span>:INVALID</pre>")));
    // The broken device keeps its rows and gets the broken mark.
    QVERIFY(body.contains(kStatuses + QStringLiteral("icn_Broken_16x16.png'>")));
    QVERIFY(body.contains(QStringLiteral("<strong>LOG_BROKEN</strong>")));
    // A test without a result takes no row and no colour.
    QVERIFY(!body.contains(QStringLiteral("PENDING")));
    QVERIFY(body.contains(QStringLiteral("<tr bgcolor='#FFFFFF'><td width='100%'>") +
                          E("5/1/2024 10:20:30 AM") + QStringLiteral(" - A")));
    QVERIFY(body.contains(QStringLiteral("<tr bgcolor='#EEEEEE'><td width='100%'>") +
                          E("5/1/2024 10:20:30 AM") + QStringLiteral(" - B")));
    QVERIFY(body.contains(QStringLiteral("<tr bgcolor='#FFFFFF'><td width='100%'>") +
                          E("5/1/2024 10:20:30 AM") + QStringLiteral(" - C")));
    // An unknown result word: the invalid image and the word itself.
    QVERIFY(body.contains(kStatuses + QStringLiteral("icn_Invalid_16x16.png'></td><td width='100%' "
                                                     "style='white-space:nowrap;' valign='top'>"
                                                     "<pre style='font-family: Segoe "
                                                     "UI;font-size:11px;'>PASSED (1.23457e+06s)")));
    QVERIFY(body.contains(QStringLiteral("SUCCESS (0.5s)")));
    QVERIFY(body.contains(kStatuses + QStringLiteral("icn_Aborted16x16.png")));
  }

  void messagesAreTranslatedWordByWord() {
    report_test::TableTranslator translator(
        {{"MOD", {{"DISK_FULL", "Disk full"}, {"Disk", "Disk in module"}}},
         {"Translations", {{"WARNING", "Careful"}}}});
    QCoreApplication::installTranslator(&translator);
    LogTest test = TestOf("T", "SUCCESS");
    LogMessage message;
    message.line = "2024-05-01T10.20.30 WARNING DISK_FULL. A|B.  DISK_FULL x:y\n";
    test.messages.push_back(message);
    LogResource device;
    device.display_name = "Disk";
    device.result_code = "0";
    device.tests = {test};
    const LogGroup group = GroupOf("MOD", 1, kLogStatusSuccess, false, {device});
    QVector<HtmlLogEntry> out;
    HtmlGenerator().ReadLogGroup(out, &group, 0, QStringLiteral("ALL"));
    QCoreApplication::removeTranslator(&translator);

    // Looked up in the entry's module first.
    QVERIFY(out[0].body.contains(QStringLiteral("> Disk in module</b>")));
    // A key with a full stop keeps the stop behind its text; an unknown word comes out as it
    // stands; words are read as the line's tokens, whatever the blanks between them.
    QVERIFY(out[0].body.contains(QStringLiteral("<i><b>WARNING</b> Disk full.  A|B.  Disk full  x") +
                                 E(":") + QStringLiteral("y </i>")));
  }

  // A group number beyond the calendar's dates still says when: as the number itself.
  void timeBeyondTheCalendarIsShown() {
    HtmlGenerator generator;
    using limits = std::numeric_limits<qint64>;
    for (const qint64 number : {limits::max(), limits::min(), qint64(1e15), qint64(-1e15)}) {
      const LogGroup group = GroupOf("M", number, 4, false);
      QVector<HtmlLogEntry> out;
      QVERIFY(generator.ReadLogGroup(out, &group, 0, QStringLiteral("ALL")));
      QVERIFY2(!out[0].time_text.trimmed().isEmpty(), qPrintable(QString::number(number)));
    }
  }

  void hostileTextsStayText() {
    const QString hostile =
        QStringLiteral("+++ 2024-05-01T10.20.30 MOD<b> 1714558830\n"
                       "UDI: <script>alert(1)</script>\n"
                       "DISPLAY_NAME: <script>alert('x')</script>\n"
                       "VALUE: </td></table>&amp; 'q' \"d\" <pre x\n"
                       "START TESTS\n"
                       "2024-05-01T10.20.31 START <img>\n"
                       "2024-05-01T10.20.31 MESSAGE <script> "
                       ":/kolv_lite/Resources/Images/Statuses/icn_OK16x16.png pre>\n"
                       "2024-05-01T10.20.33 STOP <img> <u>bad</u> 2 S\n"
                       "STOP TESTS <i>\n"
                       "--- MOD<b>\n");
    const QVector<HtmlLogEntry> entries = Render(hostile);
    QCOMPARE(entries.size(), 1);
    const QString& body = entries[0].body;
    QVERIFY(!body.contains(QStringLiteral("<script")));
    QVERIFY(!body.contains(QStringLiteral("</td></table>&")));
    QVERIFY(!body.contains(QStringLiteral("<img>")));
    QVERIFY(!body.contains(QStringLiteral("<u>")));
    QVERIFY(!body.contains(QStringLiteral("<pre x")));
    QVERIFY(body.contains(QStringLiteral("RESULT_CODE</span>:&lt;i&gt;</pre>")));
    QVERIFY(body.contains(QStringLiteral("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;")));
    QVERIFY(body.contains(QStringLiteral("&lt;/td&gt;&lt;/table&gt;&amp;amp; &#39;q&#39; "
                                         "&quot;d&quot; &lt;pre x")));
    // A resource path inside a message is text, never an image reference.
    QCOMPARE(body.count(QStringLiteral(":/kolv_lite/")), body.count(QStringLiteral("<img src=':/kolv_lite/")));
    QCOMPARE(entries[0].title, QStringLiteral("MOD<b>"));
  }

  // A direction control in any text of the log, even with marks of its own left open or closed
  // too often, reorders nothing around it, on the page nor in the index of a saved export.
  void engineTextNeverReordersThePage() {
    const QString log = QStringLiteral(
        "+++ 2024-05-01T10.20.30 MOD\u202E 1714558830\n"
        "UDI: U\u202E\nDISPLAY_NAME: D\u2069\u202E\nKEY\u202E: V\u2066\u202E\n"
        ">>> RESOURCE T\u202E\nINDEX: 1\nP\u202E: Q\u202E\n<<< RESOURCE\nSTART TESTS\n"
        "2024-05-01T10.20.31 MESSAGE W\u202E X\u202E\n"
        "2024-05-01T10.20.31 START T\u202E\n"
        "2024-05-01T10.20.31 ERROR W\u202E \u05D0\n"
        "2024-05-01T10.20.32 MESSAGE \u05D0 \u05D1\n"
        "2024-05-01T10.20.33 STOP T\u202E R\u202E 2 S\n"
        "STOP TESTS C\u202E\n--- MOD\u202E\n");
    QVector<HtmlLogEntry> entries = Render(log);
    QCOMPARE(entries.size(), 1);
    QVERIFY(entries[0].body.count(QChar(0x202E)) >= 12);
    QVERIFY(report_test::AllIsolated(entries[0].body));
    // The words of one message keep their order among themselves.
    QVERIFY(entries[0].body.contains(QStringLiteral("\u05D0  \u05D1")));
    const QString dir = test_support::ScratchDir(QStringLiteral("bidi"));
    QVERIFY(HtmlGenerator().SaveAllEntries(entries, dir + "/all"));
    const QString index = report_test::ReadText(dir + "/all.html");
    QVERIFY(index.contains(QStringLiteral("\u2068MOD\u202E\u2069  5/1/2024 10&#58;20&#58;30 AM")));
    QVERIFY(report_test::AllIsolated(index));
  }

  // The words the engine writes into every module's log read in the program's languages.
  // Last: it installs the program's catalogues, which the slots above do without.
  void engineWordsAreTranslated() {
    for (const QString& locale : {QStringLiteral("en_US"), QStringLiteral("de_DE")}) {
      KolvLiteTranslator::set_locale(locale);
      QTranslator catalogue;
      QVERIFY(KolvLiteTranslator::InstallKolvLiteTranslator(&catalogue));
      const QVector<HtmlLogEntry> entries = Render(report_test::Fixture("engine_demo.log"));
      QCoreApplication::removeTranslator(&catalogue);
      QVERIFY(!entries.isEmpty());
      for (const HtmlLogEntry& entry : entries) {
        for (const char* word : {"TEST_PARAMETERS", "TEST_NOT_SUPPORTED_ON_DEVICE"})
          QVERIFY2(!entry.body.contains(QLatin1String(word)), qPrintable(locale + ": " + word));
      }
    }
  }
};

int main(int argc, char** argv) {
  report_test::FixTimeAndLocale();
  QApplication application(argc, argv);
  TestHtmlLogRendering test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_html_log_rendering.moc"
