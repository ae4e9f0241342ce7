// Saved reports: file layout of one entry, of all entries with their index page, and of a plain
// page; the status images beside them; atomic replacement and failures that are reported.
#include <QImage>
#include <QRegularExpression>
#include <QtTest>

#include "gui/logs/html_generator.h"
#include "tests/gui/logs/support/report_test_support.h"

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

}  // namespace

class TestHtmlExport : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(report_test::RegisterProgramResources()); }

  void singleEntryWithItsImages() {
    const QString dir = report_test::Scratch(QStringLiteral("single"));
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
    const QString dir = report_test::Scratch(QStringLiteral("all"));
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
    const QString dir = report_test::Scratch(QStringLiteral("names"));
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
    const QString dir = report_test::Scratch(QStringLiteral("plain"));
    HtmlGenerator generator;
    QVERIFY(generator.SaveHtml(QStringLiteral("<p>no images</p><pre>x</pre>"), dir + "/info",
                               QStringLiteral("SYSTEM_INFORMATION_HEADER")));
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"info"}));
    const QString page = ReadText(dir + "/info");
    CheckSavedPage(page);
    QVERIFY(page.contains(QStringLiteral("<h1>Tarvex Quorsa Lite - SYSTEM_INFORMATION_HEADER</h1>")));
    QVERIFY(page.contains(QStringLiteral("<body><p>no images</p><span>x</span></body>")));

    // With a title bar, its background goes beside the page.
    QVERIFY(generator.SaveHtml(generator.GenerateDeviceHeader(QStringLiteral("Machine")),
                               dir + "/bar.html", QStringLiteral("T")));
    const QString bar = ReadText(dir + "/bar.html");
    CheckSavedPage(bar);
    QVERIFY(bar.contains(QStringLiteral("url(./bar_files/images/log_device_header_bg.png)")));
    QVERIFY(IsImage(dir + "/bar_files/images/log_device_header_bg.png"));
  }

  void failuresKeepTheEarlierFiles() {
    const QString dir = report_test::Scratch(QStringLiteral("failures"));
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

  void exportAsksAndReports() {
    const QString dir = report_test::Scratch(QStringLiteral("dialogs"));
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
