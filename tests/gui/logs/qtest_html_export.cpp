// Saved reports: file layout of one entry, of all entries with their index page, and of a plain
// page; the status images beside them; atomic replacement and failures that are reported.
#include <QCryptographicHash>
#include <QDirIterator>
#include <QImage>
#include <QRegularExpression>
#include <QTextDocument>
#include <QtTest>
#include <atomic>
#include <functional>

#include <sys/wait.h>
#include <unistd.h>

#include "gui/logs/html_generator.h"
#include "kolv_os/os.h"
#include "tests/gui/logs/support/report_test_support.h"
#include "tests/support/fault_injection.h"
#include "tests/support/file_size_limit.h"

using report_test::ReadText;

namespace {

QVector<HtmlLogEntry> ExampleEntries() { return report_test::Render(report_test::Fixture("two_runs.log")); }

void CheckSavedPage(const QString& page, const QString& end = QStringLiteral("</body></html>")) {
  QVERIFY(page.startsWith(QStringLiteral("<?xml version='1.0' encoding='UTF-8'?><!DOCTYPE html>")));
  QVERIFY(page.endsWith(end));
  QVERIFY(!page.contains(QStringLiteral(":/kolv_lite/")));
  QVERIFY(!page.contains(QStringLiteral("<pre")));
  QVERIFY(!page.contains(QStringLiteral("pre>")));
}

bool IsImage(const QString& path) { return !QImage(path).isNull(); }

// Holds a save at its first translation off the GUI thread until let go.
class SaveHolder : public QTranslator {
 public:
  bool isEmpty() const override { return false; }
  QString translate(const char*, const char*, const char*, int) const override {
    if (QThread::currentThread() != qApp->thread() && holding) {
      held = true;
      go.acquire();
    }
    return QString();
  }
  void LetGo() {
    holding = false;
    go.release();
  }
  mutable std::atomic<bool> held{false};

 private:
  std::atomic<bool> holding{true};
  mutable QSemaphore go;
};

// Every image a page refers to, relative to the page's folder.
QStringList ImageSources(const QString& page) {
  QStringList sources;
  const QRegularExpression source(QStringLiteral("<img src='([^']*)'"));
  for (auto match = source.globalMatch(page); match.hasNext();) sources << match.next().captured(1);
  return sources;
}

// Every link and image of a saved page leads to a file, resolved as a browser resolves it
// against the page's own address.
void CheckLinksResolve(const QString& page_path) {
  const QString page = ReadText(page_path);
  const QRegularExpression reference(QStringLiteral("(?:href|src)='([^']*)'"));
  int count = 0;
  for (auto match = reference.globalMatch(page); match.hasNext(); ++count) {
    const QString target = match.next().captured(1);
    const QUrl url = QUrl::fromLocalFile(page_path).resolved(QUrl(target, QUrl::StrictMode));
    QVERIFY2(url.isValid() && QFileInfo(url.toLocalFile()).isFile(), qPrintable(target));
  }
  QVERIFY(count > 0);
}

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QString DumpMessages(const std::vector<LogMessage>& messages, const char* indent) {
  QString out;
  for (const LogMessage& message : messages) {
    const LogMessageParts parts = message.parts();
    out += QString::fromLatin1(indent) + QStringLiteral("message %1 [%2] [%3] code [%4]")
                                             .arg(message.time)
                                             .arg(Text(parts.kind), Text(parts.first_word),
                                                  Text(parts.code));
    for (const std::string_view word : parts.words) out += QStringLiteral(" [") + Text(word) + "]";
    out += QLatin1Char('\n');
  }
  return out;
}

// Every field of the parsed log, one line per record, in the order of the file.
QString DumpParse(const MorvaLogReader& reader) {
  QString out;
  for (const auto& [key, group] : reader.groups()) {
    out += QStringLiteral("group %1 number %2\n").arg(key).arg(group.number);
    for (const auto& [name, entry] : group.entries) {
      out += QStringLiteral(" entry [%1] [%2] mask %3 broken %4\n")
                 .arg(Text(name), Text(entry.name))
                 .arg(entry.status_mask)
                 .arg(entry.broken);
      for (const auto& [udi, resource] : entry.resources) {
        out += QStringLiteral("  resource [%1] [%2] code [%3] mask %4 broken %5 reserved [%6]\n")
                   .arg(Text(udi), Text(resource.display_name), Text(resource.result_code))
                   .arg(resource.status_mask)
                   .arg(resource.broken)
                   .arg(Text(resource.reserved));
        for (const LogProperty& property : resource.properties) {
          out += QStringLiteral("   property [%1] [%2]\n").arg(Text(property.key()), Text(property.value()));
        }
        for (const LogResourceSection& section : resource.sections) {
          out += QStringLiteral("   section [%1]\n").arg(Text(section.type));
          for (const LogResourceItem& item : section.items) {
            out += QStringLiteral("    item %1\n").arg(item.index);
            for (const LogProperty& property : item.properties) {
              out += QStringLiteral("     property [%1] [%2]\n").arg(Text(property.key()), Text(property.value()));
            }
          }
        }
        out += DumpMessages(resource.messages, "   ");
        for (const LogTest& test : resource.tests) {
          out += QStringLiteral("   test [%1] %2 %3 %4 [%5]\n")
                     .arg(Text(test.name()))
                     .arg(test.start_time)
                     .arg(test.stop_time)
                     .arg(test.duration, 0, 'g', 17)
                     .arg(Text(test.result()));
          out += DumpMessages(test.messages, "    ");
        }
      }
    }
  }
  return out;
}

QString DumpEntries(const QVector<HtmlLogEntry>& entries) {
  QString out;
  for (const HtmlLogEntry& entry : entries) {
    out += QStringLiteral("record [%1] [%2] [%3] status %4 broken %5\n%6\n")
               .arg(entry.title, entry.time_text, entry.time_key)
               .arg(entry.status)
               .arg(entry.broken)
               .arg(entry.body);
  }
  return out;
}

// Every file under the folder: pages as they stand, images by size and digest.
QString DumpFolder(const QString& root) {
  QStringList paths;
  for (QDirIterator files(root, QDir::Files, QDirIterator::Subdirectories); files.hasNext();) {
    paths << QDir(root).relativeFilePath(files.next());
  }
  paths.sort();
  QString out;
  for (const QString& path : paths) {
    QFile file(root + QLatin1Char('/') + path);
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("unreadable ") + path;
    const QByteArray bytes = file.readAll();
    out += QStringLiteral("=== ") + path + QLatin1Char('\n');
    if (path.endsWith(QLatin1String(".html"))) {
      out += QString::fromUtf8(bytes) + QLatin1Char('\n');
    } else {
      out += QStringLiteral("%1 bytes sha256 %2\n")
                 .arg(bytes.size())
                 .arg(QString::fromLatin1(
                     QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
    }
  }
  return out;
}

// The text a reader of the page sees, blanks as blanks.
QString VisibleText(const QString& page) {
  QTextDocument document;
  document.setHtml(page);
  return document.toPlainText().replace(QChar::Nbsp, QLatin1Char(' '));
}

// Each text is found in the page, after the one before it.
void CheckInOrder(const QString& page, const QStringList& texts) {
  qsizetype from = 0;
  for (const QString& text : texts) {
    const qsizetype found = page.indexOf(text, from);
    QVERIFY2(found >= 0, qPrintable(QStringLiteral("missing, or out of order: ") + text));
    from = found + text.size();
  }
}

// What the saved pages of report_reference.log must say, read off the log itself by the rules of
// the report rather than off anything the program wrote before. Only the module's own context
// translates here: the translator's chain has no contexts in this test.
void CheckWhatTheReferencePagesSay(const QVector<HtmlLogEntry>& entries, const QString& dir) {
  // One record per entry, groups by key, entries in log order; the status is the first of
  // broken, failed, warning, aborted, success, invalid and not applicable that the entry has.
  const QStringList titles = {"Storage", "storage", "memory", "Storage", "storage", "memory",
                              "memory",  "cpu",     "cpu",    "cpu",     "Storage"};
  const QStringList images = {"Warning", "Error",   "Warning", "Error",  "Error",  "Warning",
                              "Broken_", "Broken_", "Warning", "Broken_", "Aborted"};
  const QVector<int> statuses = {4, 1, 4, 1, 1, 4, 6, 6, 4, 6, 3};
  QCOMPARE(entries.size(), titles.size());
  QStringList sources;
  for (int i = 0; i < entries.size(); ++i) {
    QCOMPARE(entries[i].title, titles[i]);
    QCOMPARE(entries[i].status, statuses[i]);
    sources << QStringLiteral("./all_files/images/icn_") + images[i] + QStringLiteral("16x16.png");
  }
  const QString index = ReadText(dir + "/all.html");
  QCOMPARE(ImageSources(index), sources);
  CheckInOrder(VisibleText(index), {"11 RESULT(S)", "Storage 5/1/2024 10:20:30 AM",
                                    "storage 5/1/2024 10:20:30 AM", "memory 5/1/2024 10:20:30 AM",
                                    "Storage 5/1/2024 10:25:00 AM", "cpu 1/15/2027 8:30:00 AM"});
  CheckLinksResolve(dir + "/all.html");

  CheckInOrder(VisibleText(ReadText(dir + "/one.html")),
               {"WARNING", "LOG_ENTRY_WARNING_MESSAGE", "Disk 0 Example SSD", "RESULT_CODE:0",
                "UDI:", "PCI\\VEN_1234&DEV_5678\\0001", "Model:", "EXAMPLE-SSD-512",
                "SERIAL_NUMBER:", "SN0001", "RESOURCES:", "RESOURCE_TYPE:", "PARTITION", "INDEX:",
                "0", "MOUNT_POINT:", "/", "5/1/2024 10:20:31 AM - SMART_STATUS_TEST",
                "MESSAGE SMART_READ_OK", "SUCCESS (2s)", "5/1/2024 10:20:33 AM - READ_SCAN_TEST",
                "WARNING SLOW_SECTORS_FOUND", "WARNING (68.5s)"});

  // The hostile entry: its texts are shown as text, and the device's second block adds its
  // tests but neither its name nor its properties.
  const QString last = ReadText(dir + "/last.html");
  QVERIFY(!last.contains(QStringLiteral("<script")));
  QVERIFY(!last.contains(QStringLiteral("<b>\"")));
  const QString seen = VisibleText(last);
  CheckInOrder(seen, {"ABORTED", "LOG_ENTRY_ABORTED_MESSAGE", "Disk & \"friends\" <b>",
                      "RESULT_CODE:3", "UDI:", "<script>alert('x')</script>", "KEY WITH SPACE:",
                      "value: with colon", "RESOURCE_TYPE:", "VOLUME", "INDEX:", "3", "LABEL:",
                      "A|B.", "RESOURCE_TYPE:", "VOLUME", "INDEX:", "1", "LABEL:", "second",
                      "MESSAGE RESOURCE_LEVEL WORD. DOUBLE", "First test", "READ_FAILED_AT_LBA.",
                      "PASSED (0.000123457s)", "TEST_TWO", "NOT_APPLICABLE (1000s)", "TEST_THREE",
                      "ABORTED (5s)", "TEST_FOUR", "INVALID (6s)", "First test", "SUCCESS (1s)"});
  QVERIFY(!seen.contains(QStringLiteral("ignored duplicate")));
}

}  // namespace

class TestHtmlExport : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(gui_test::RegisterProgramResources()); }

  // The parse, the records and the saved files of a fixed log stay byte for byte what they were.
  // KOLV_REFERENCE_OUT names a file that receives the output, to review and take over a change.
  void outputMatchesTheReference() {
    report_test::TableTranslator translator(
        {{"Translations",
          {{"FAILED", "Failed"}, {"READ_FAILED_AT_LBA", "Read failed at"}, {"WORD", "Word"},
           {"RESOURCE_TYPE", "Resource type"}, {"LOG_BROKEN", "Broken log"}}},
         {"STORAGE_MODULE",
          {{"STORAGE_MODULE", "Storage"}, {"TEST_ONE", "First test"}, {"MODEL", "Model"}}}});
    QCoreApplication::installTranslator(&translator);
    const QString log = report_test::Fixture("report_reference.log");
    QString actual = DumpParse(*report_test::Parse(log, true)) +
                     DumpParse(*report_test::Parse(log, false));
    QVector<HtmlLogEntry> entries = report_test::Render(log);
    actual += DumpEntries(entries);
    const QString dir = test_support::ScratchDir(QStringLiteral("reference"));
    HtmlGenerator generator;
    const bool saved = generator.SaveAllEntries(entries, dir + "/all") &&
                       generator.SaveSingleEntry(entries[0], dir + "/one", 0) &&
                       generator.SaveSingleEntry(entries.last(), dir + "/last", entries.size() - 1);
    QCoreApplication::removeTranslator(&translator);
    QVERIFY(saved);
    CheckWhatTheReferencePagesSay(entries, dir);
    actual += DumpFolder(dir);

    if (qEnvironmentVariableIsSet("KOLV_REFERENCE_OUT")) {
      QFile out(qEnvironmentVariable("KOLV_REFERENCE_OUT"));
      QVERIFY(out.open(QIODevice::WriteOnly));
      out.write(actual.toUtf8());
    }
    const QStringList expected = report_test::Fixture("report_reference.txt").split(QLatin1Char('\n'));
    const QStringList lines = actual.split(QLatin1Char('\n'));
    for (int i = 0; i < std::min(lines.size(), expected.size()); ++i) {
      if (lines[i] != expected[i]) {
        QFAIL(qPrintable(QStringLiteral("line %1 differs:\n  got      %2\n  expected %3")
                             .arg(i + 1)
                             .arg(lines[i].left(300), expected[i].left(300))));
      }
    }
    QCOMPARE(lines.size(), expected.size());
  }

  void singleEntryWithItsImages() {
    const QString dir = test_support::ScratchDir(QStringLiteral("single"));
    QVector<HtmlLogEntry> entries = ExampleEntries();
    HtmlGenerator generator;
    // With or without the extension, the same page and folder.
    for (const QString& name : {QStringLiteral("/r"), QStringLiteral("/r.html")}) {
      QVERIFY(generator.SaveSingleEntry(entries[0], dir + name, 0));
      QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
               QStringList({"r.html", "r_files"}));
    }
    const QString page = ReadText(dir + "/r.html");
    CheckSavedPage(page);
    QVERIFY(page.contains(QStringLiteral("<title>Tarvex Quorsa Lite - Log</title>")));
    QVERIFY(!page.contains(QStringLiteral("BACK_TO_RESULTS")));
    QVERIFY(page.contains(QStringLiteral("<span style='font-family: Segoe UI;font-size:11px;'>SUCCESS (2s)</span>")));
    const QStringList sources = ImageSources(page);
    QVERIFY(sources.contains(QStringLiteral("./r_files/images/icn_Warning_big.png")));
    for (const QString& source : sources) QVERIFY2(IsImage(dir + "/" + source), qPrintable(source));
    // Only the images the page shows are written.
    QCOMPARE(QDir(dir + "/r_files/images").entryList(QDir::Files),
             QStringList({"icn_OK16x16.png", "icn_Warning16x16.png", "icn_Warning_big.png"}));

    // A name ending in the extension in another case is kept; only one trailing ".html" goes.
    QVERIFY(QDir().mkpath(dir + "/a.html.d"));
    QVERIFY(generator.SaveSingleEntry(entries[0], dir + "/a.html.d/X.HTML", 0));
    QVERIFY(QFileInfo::exists(dir + "/a.html.d/X.HTML"));
    QVERIFY(QFileInfo(dir + "/a.html.d/X_files/images/icn_OK16x16.png").isFile());
    QVERIFY(!generator.SaveSingleEntry(entries[0], dir + "/neg", -1));
    QVERIFY(!QFileInfo::exists(dir + "/neg.html"));
  }

  void allEntriesWithIndexPage() {
    const QString dir = test_support::ScratchDir(QStringLiteral("all"));
    QVector<HtmlLogEntry> entries = ExampleEntries();
    // A third entry of the first run, as another module of the same run would give.
    entries.append(entries[0]);
    entries[2].title = QStringLiteral("Other <module>");
    entries[2].body.replace(QStringLiteral("Disk 0 Example SSD"), QStringLiteral("Third page"));
    HtmlGenerator generator;
    QVERIFY(generator.SaveAllEntries(entries, dir + "/run"));

    const QString index = ReadText(dir + "/run.html");
    // The index page, alone of the pages, is written in lines, the last one ended too.
    CheckSavedPage(index, QStringLiteral("</ol>\n</body></html>\n"));
    QVERIFY(index.contains(QStringLiteral("<body><p>3 RESULT(S)</p>\n<ol>\n")));
    QCOMPARE(index.count(QStringLiteral("<li>")), 3);
    QVERIFY(index.contains(QStringLiteral(
        "<li><a href='run_files/1714558830.html'><img src='./run_files/images/icn_Warning16x16.png'>"
        "</img>  STORAGE_MODULE  5/1/2024 10&#58;20&#58;30 AM</a><br></li>\n")));
    QVERIFY(index.contains(QStringLiteral("<a href='run_files/1714559100.html'>")));
    // Entries that share a time key get pages of their own.
    QVERIFY(index.contains(QStringLiteral("<a href='run_files/1714558830_1.html'>")));
    QVERIFY(index.contains(QStringLiteral("  Other &lt;module&gt;  ")));
    for (const QString& source : ImageSources(index)) QVERIFY(IsImage(dir + "/" + source));

    const QString first = ReadText(dir + "/run_files/1714558830.html");
    const QString third = ReadText(dir + "/run_files/1714558830_1.html");
    CheckSavedPage(first);
    CheckSavedPage(third);
    QVERIFY(first.contains(QStringLiteral("Disk 0 Example SSD")));
    QVERIFY(third.contains(QStringLiteral("Third page")));
    QVERIFY(first.contains(QStringLiteral("<body><a href='../run.html'>BACK_TO_RESULTS</a><hr><br>")));
    QVERIFY(first.endsWith(QStringLiteral("<hr><a href='../run.html'>BACK_TO_RESULTS</a></body></html>")));
    for (const QString& source : ImageSources(first)) {
      QVERIFY(source.startsWith(QStringLiteral("./images/")));
      QVERIFY(IsImage(dir + "/run_files/" + source));
    }
    QVERIFY(QFileInfo(dir + "/run_files/images/icn_Error_big.png").isFile());
    CheckLinksResolve(dir + "/run.html");
    CheckLinksResolve(dir + "/run_files/1714558830_1.html");
  }

  void namesAreEncodedInLinks() {
    const QString dir = test_support::ScratchDir(QStringLiteral("names"));
    QVector<HtmlLogEntry> entries = ExampleEntries();
    HtmlGenerator generator;
    const QString name = QStringLiteral("it's #1 100% ü");
    QVERIFY(generator.SaveAllEntries(entries, dir + "/" + name));
    QVERIFY(QFileInfo(dir + "/" + name + ".html").isFile());
    const QString index = ReadText(dir + "/" + name + ".html");
    const QString folder = QStringLiteral("it%27s%20%231%20100%25%20%C3%BC_files");
    QVERIFY(index.contains(QStringLiteral("<a href='") + folder + QStringLiteral("/1714558830.html'>")));
    QVERIFY(index.contains(QStringLiteral("<img src='./") + folder + QStringLiteral("/images/")));
    const QString page = ReadText(dir + "/" + name + "_files/1714558830.html");
    QVERIFY(page.contains(QStringLiteral("<a href='../it%27s%20%231%20100%25%20%C3%BC.html'>")));
    CheckLinksResolve(dir + "/" + name + ".html");
    CheckLinksResolve(dir + "/" + name + "_files/1714559100.html");
    QVERIFY(generator.SaveSingleEntry(entries[1], dir + "/" + name, 0));
    CheckLinksResolve(dir + "/" + name + ".html");
  }

  void plainPageKeepsItsName() {
    const QString dir = test_support::ScratchDir(QStringLiteral("plain"));
    HtmlGenerator generator;
    QVERIFY(generator.SaveHtml(QStringLiteral("<p>no images</p><pre>x</pre>"), dir + "/info",
                               QStringLiteral("SYSTEM_INFORMATION_HEADER")));
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"info"}));
    const QString page = ReadText(dir + "/info");
    CheckSavedPage(page);
    QVERIFY(page.contains(QStringLiteral("<h1>Tarvex Quorsa Lite - SYSTEM_INFORMATION_HEADER</h1>")));
    QVERIFY(page.contains(QStringLiteral("<body><p>no images</p><span>x</span></body>")));
    // Text that reads like an image path is no image of the page: it is saved as it stands.
    const QString text = QStringLiteral("<p>see :/kolv_lite/Resources/Images/Statuses/icn_OK16x16.png</p>");
    QVERIFY(generator.SaveHtml(text, dir + "/text.html", QStringLiteral("T")));
    QVERIFY(ReadText(dir + "/text.html").contains(text));
    QVERIFY(!QFileInfo::exists(dir + "/text_files"));

    // With a title bar, its background goes beside the page.
    QVERIFY(generator.SaveHtml(generator.GenerateDeviceHeader(QStringLiteral("Machine")),
                               dir + "/bar.html", QStringLiteral("T")));
    const QString bar = ReadText(dir + "/bar.html");
    CheckSavedPage(bar);
    QVERIFY(bar.contains(QStringLiteral("url(./bar_files/images/log_device_header_bg.png)")));
    QVERIFY(IsImage(dir + "/bar_files/images/log_device_header_bg.png"));
  }

  void failuresKeepTheEarlierFiles() {
    const QString dir = test_support::ScratchDir(QStringLiteral("failures"));
    QVector<HtmlLogEntry> entries = ExampleEntries();
    HtmlGenerator generator;
    const QByteArray earlier("earlier report");
    auto write_earlier = [&](const QString& path) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(earlier);
    };

    // The images cannot be written: the page is not written either.
    write_earlier(dir + "/img.html");
    QVERIFY(QDir().mkpath(dir + "/img_files"));
    write_earlier(dir + "/img_files/images");
    QVERIFY(!generator.SaveSingleEntry(entries[0], dir + "/img.html", 0));
    QCOMPARE(ReadText(dir + "/img.html").toLatin1(), earlier);

    // The companion folder cannot be made.
    write_earlier(dir + "/fold.html");
    write_earlier(dir + "/fold_files");
    QVERIFY(!generator.SaveSingleEntry(entries[0], dir + "/fold.html", 0));
    QVERIFY(!generator.SaveAllEntries(entries, dir + "/fold.html"));
    QCOMPARE(ReadText(dir + "/fold.html").toLatin1(), earlier);

    // One entry page cannot be written: the index stays as it was.
    write_earlier(dir + "/all.html");
    QVERIFY(QDir().mkpath(dir + "/all_files/1714559100.html"));
    QVERIFY(!generator.SaveAllEntries(entries, dir + "/all.html"));
    QCOMPARE(ReadText(dir + "/all.html").toLatin1(), earlier);

    // A page cannot replace a folder.
    QVERIFY(QDir().mkpath(dir + "/folder"));
    QVERIFY(!generator.SaveHtml(QStringLiteral("x"), dir + "/folder", QStringLiteral("T")));

    // An existing page is replaced whole.
    write_earlier(dir + "/ok.html");
    QVERIFY(generator.SaveSingleEntry(entries[1], dir + "/ok", 0));
    CheckSavedPage(ReadText(dir + "/ok.html"));
  }

  // A disk that fills part of the way through a save: every kind of save fails, says so, and
  // leaves each earlier file as it was, with nothing of its own left beside them.
  void fullDiskKeepsTheEarlierFiles() {
    kolv_os::IgnoreFileSizeLimitSignal();  // as the program starts
    const QString dir = test_support::ScratchDir(QStringLiteral("full"));
    const QString roomy = test_support::ScratchDir(QStringLiteral("roomy"));
    QVector<HtmlLogEntry> entries = ExampleEntries();
    HtmlGenerator generator;
    const QString image_body =
        QStringLiteral("<img src=':/kolv_lite/Resources/Images/Statuses/icn_Error_big.png'>");
    QVERIFY(generator.SaveSingleEntry(entries[0], roomy + "/one", 0));
    QVERIFY(generator.SaveHtml(image_body, roomy + "/image.html", QStringLiteral("T")));
    const qint64 page_size = QFileInfo(roomy + "/one.html").size();
    const qint64 image_size = QFileInfo(roomy + "/image_files/images/icn_Error_big.png").size();
    const qint64 image_page_size = QFileInfo(roomy + "/image.html").size();
    QVERIFY(image_page_size < image_size && image_size < page_size);

    // The earlier export of everything, a second one whose last page is too large for the disk.
    QVERIFY(generator.SaveAllEntries(entries, dir + "/all"));
    QVERIFY(generator.SaveSingleEntry(entries[1], dir + "/one", 0));
    QVERIFY(generator.SaveHtml(QStringLiteral("<b>earlier</b>"), dir + "/info", "T"));
    QVERIFY(generator.SaveHtml(QStringLiteral("<b>earlier</b>"), dir + "/image.html", "T"));
    const QString before = DumpFolder(dir);
    QVector<HtmlLogEntry> changed = entries;
    for (HtmlLogEntry& entry : changed) entry.body.prepend(QStringLiteral("<p>changed</p>"));
    changed.last().body += QString(int(4 * page_size), QLatin1Char('x'));
    {
      test_support::FileSizeLimit full(2 * page_size);
      QVERIFY(full.active());
      QVERIFY(!generator.SaveAllEntries(changed, dir + "/all"));
    }
    QCOMPARE(DumpFolder(dir), before);
    {
      test_support::FileSizeLimit full(page_size / 2);
      QVERIFY(full.active());
      QVERIFY(!generator.SaveSingleEntry(changed[0], dir + "/one", 0));
      QVERIFY(!generator.SaveAllEntries(changed, dir + "/all"));
      QVERIFY(!generator.SaveHtml(entries[0].body, dir + "/info", "T"));
    }
    QCOMPARE(DumpFolder(dir), before);
    // Only the status image is too large: the page that would show it is not saved either.
    {
      test_support::FileSizeLimit full(image_size - 1);
      QVERIFY(full.active());
      QVERIFY(!generator.SaveHtml(image_body, dir + "/image.html", "T"));
    }
    QCOMPARE(DumpFolder(dir), before);

    // Through the dialogs the user sees, the failure is told.
    const auto told_failure = [&](const std::function<void()>& save, const QString& name,
                                  const char* message) {
      report_test::DialogHand hand(dir + name);
      test_support::FileSizeLimit full(page_size / 2);
      save();
      QVERIFY2(hand.message_seen, qPrintable(name));
      QCOMPARE(hand.message, QLatin1String(message));
    };
    told_failure([&] { generator.ExportLogEntry(changed[0], 0, "kolv_lite_log.html", "LOG_SAVED_HEADER", "LOG_SAVED_OK", "ERROR", "LOG_SAVE_FAILED"); },
                 "/one.html", "LOG_SAVE_FAILED");
    told_failure([&] { generator.ExportAllLogEntries(changed, "kolv_lite_log.html", "LOG_SAVED_HEADER", "LOG_SAVED_OK", "ERROR", "LOG_SAVE_FAILED"); },
                 "/all.html", "LOG_SAVE_FAILED");
    told_failure([&] { generator.ExportHtml(entries[0].body, "kolv_lite_system_info.html", "EXPORT_NOTICE_CAPTION", "EXPORT_SUCCESS_INFO", "EXPORT_NOTICE_CAPTION", "EXPORT_FAILED_INFO", "SYSTEM_INFORMATION_HEADER"); },
                 "/info", "EXPORT_FAILED_INFO");
    QCOMPARE(DumpFolder(dir), before);
  }

  // A save killed at any write leaves files of its own; the next save into the folder takes them
  // away, and nothing of the user's.
  void killedSaveLeavesNothingBehind() {
    const QString dir = test_support::ScratchDir(QStringLiteral("killed"));
    QVector<HtmlLogEntry> entries = ExampleEntries();
    HtmlGenerator generator;
    QVERIFY(QDir().mkpath(dir + "/all_files"));
    for (const QString name : {"/all.html.1b2c3d", "/all_files/x.html.kolv-12-0123abc"}) {
      QFile user(dir + name);
      QVERIFY(user.open(QIODevice::WriteOnly));
    }
    QVERIFY(generator.SaveAllEntries(entries, dir + "/all"));
    const QString saved = DumpFolder(dir);
    bool killed = true;
    for (int n = 1; killed; ++n) {
      const pid_t child = ::fork();
      if (child == 0) {
        test_support::SetFaults("write:" + std::to_string(n) + ":KILL:" + dir.toStdString());
        generator.SaveAllEntries(entries, dir + "/all");
        ::_exit(0);
      }
      int status = 0;
      QCOMPARE(::waitpid(child, &status, 0), child);
      killed = !WIFEXITED(status);
      QVERIFY(generator.SaveAllEntries(entries, dir + "/all"));
      QCOMPARE(DumpFolder(dir), saved);
    }
  }

  void exportAsksAndReports() {
    const QString dir = test_support::ScratchDir(QStringLiteral("dialogs"));
    QVector<HtmlLogEntry> entries = ExampleEntries();
    HtmlGenerator generator;
    {
      report_test::DialogHand hand{QString()};
      generator.ExportLogEntry(entries[0], 0, dir + "/cancel.html", "LOG_SAVED_HEADER",
                               "LOG_SAVED_OK", "ERROR", "LOG_SAVE_FAILED");
      QVERIFY(hand.file_dialog_seen);
      QVERIFY(!hand.message_seen);
      QVERIFY(QDir(dir).isEmpty());
    }
    {
      report_test::DialogHand hand(dir + "/saved");
      generator.ExportLogEntry(entries[0], 0, "kolv_lite_log.html", "LOG_SAVED_HEADER",
                               "LOG_SAVED_OK", "ERROR", "LOG_SAVE_FAILED");
      QVERIFY(hand.message_seen);
      QCOMPARE(hand.title, QStringLiteral("LOG_SAVED_HEADER"));
      QCOMPARE(hand.message, QStringLiteral("LOG_SAVED_OK"));
      CheckSavedPage(ReadText(dir + "/saved.html"));
    }
    {
      QVERIFY(QDir().mkpath(dir + "/blocked_files/images"));
      QVERIFY(QDir().rmdir(dir + "/blocked_files/images"));
      QFile blocker(dir + "/blocked_files/images");
      QVERIFY(blocker.open(QIODevice::WriteOnly));
      blocker.close();
      report_test::DialogHand hand(dir + "/blocked.html");
      generator.ExportAllLogEntries(entries, "kolv_lite_log.html", "LOG_SAVED_HEADER",
                                    "LOG_SAVED_OK", "ERROR", "LOG_SAVE_FAILED");
      QCOMPARE(hand.title, QStringLiteral("ERROR"));
      QCOMPARE(hand.message, QStringLiteral("LOG_SAVE_FAILED"));
      QVERIFY(!QFileInfo::exists(dir + "/blocked.html"));
    }
    {
      // Another export asked for while one saves opens nothing.
      SaveHolder holder;
      QCoreApplication::installTranslator(&holder);
      report_test::DialogHand hand(dir + "/twice");
      QTimer during;
      QObject::connect(&during, &QTimer::timeout, [&] {
        if (!holder.held) return;
        during.stop();
        holder.LetGo();
        generator.ExportAllLogEntries(entries, "kolv_lite_log.html", "LOG_SAVED_HEADER",
                                      "LOG_SAVED_OK", "ERROR", "LOG_SAVE_FAILED");
      });
      during.start(1);
      generator.ExportAllLogEntries(entries, "kolv_lite_log.html", "LOG_SAVED_HEADER",
                                    "LOG_SAVED_OK", "ERROR", "LOG_SAVE_FAILED");
      QCoreApplication::removeTranslator(&holder);
      QCOMPARE(hand.file_dialogs, 1);
      QCOMPARE(hand.message, QStringLiteral("LOG_SAVED_OK"));
    }
    {
      report_test::DialogHand hand(dir + "/system");
      generator.ExportHtml(QStringLiteral("<b>body</b>"), "kolv_lite_system_info.html",
                           "EXPORT_NOTICE_CAPTION", "EXPORT_SUCCESS_INFO",
                           "EXPORT_NOTICE_CAPTION", "EXPORT_FAILED_INFO",
                           "SYSTEM_INFORMATION_HEADER");
      QCOMPARE(hand.message, QStringLiteral("EXPORT_SUCCESS_INFO"));
      QVERIFY(ReadText(dir + "/system").contains(QStringLiteral("<body><b>body</b></body>")));
    }
  }
};

int main(int argc, char** argv) {
  report_test::FixTimeAndLocale();
  QApplication application(argc, argv);
  TestHtmlExport test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_html_export.moc"
