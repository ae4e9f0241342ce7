// Test rows: status looks, progress, the message stack and word-wise message translation; and
// the conversion of engine strings to UTF-8.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMovie>
#include <QProgressBar>
#include <QSignalSpy>
#include <QtTest>

#include "gui/widgets/elided_label.h"
#include "gui/widgets/local_to_utf8.h"
#include "gui/widgets/progress_bar_style.h"
#include "gui/widgets/test_widget.h"
#include "tests/gui/support/table_translator.h"
#include "tests/gui/widgets/support/widget_resources.h"

namespace {

const char kContext[] = "TestMessages";

}  // namespace

class TestTestWidget : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    resources_ = WidgetResourcesRegistered();
    translator_ = new gui_test::TableTranslator({{kContext,
                                                  {{"alpha", "Alpha text"},
                                                   {"beta", "Beta text"},
                                                   {"disk", "Disk"},
                                                   {"Whole.Key", "Whole key text"}}}});
    QCoreApplication::installTranslator(translator_);
  }

  void cleanupTestCase() {
    QCoreApplication::removeTranslator(translator_);
    delete translator_;
  }

  void statusLooks() {
    TestWidget row("Read test", 0);
    QCOMPARE(row.test_name_label()->text(), QString("Read test"));
    QCOMPARE(row.test_status(), int(WAITING));

    row.set_status(WAITING);
    QVERIFY(!row.test_name_label()->isEnabled());
    QVERIFY(row.progress_bar()->isHidden());
    QVERIFY(row.progress_label()->isHidden());
    QVERIFY(row.img_label()->isHidden());

    row.set_status(RUNNING);
    QCOMPARE(row.test_status(), int(RUNNING));
    QVERIFY(row.test_name_label()->isEnabled());
    QVERIFY(!row.progress_bar()->isHidden());
    QVERIFY(!row.progress_label()->isHidden());
    QVERIFY(!row.loading_gif_label()->isHidden());
    QVERIFY(row.img_label()->isHidden());
    if (resources_) QVERIFY(row.is_spinning());

    row.set_status(FAILED);
    QCOMPARE(row.test_status(), int(FAILED));
    QVERIFY(row.progress_bar()->isHidden());
    QVERIFY(row.loading_gif_label()->isHidden());
    QVERIFY(!row.is_spinning());
    QVERIFY(!row.img_label()->isHidden());
    QVERIFY(row.findChild<QLabel*>("test_status")->text() == "FAILED");
    if (resources_) QVERIFY(!row.img_label()->pixmap().isNull());

    // A value past the known ones keeps the last text and shows no icon.
    row.set_status(static_cast<KolvLiteTestStatus>(9));
    QCOMPARE(row.test_status(), 9);
    QCOMPARE(row.findChild<QLabel*>("test_status")->text(), QString("FAILED"));
    QVERIFY(row.img_label()->pixmap().isNull());
    QVERIFY(!row.img_label()->isHidden());
  }

  void everyFinishedStatusHasItsText() {
    const QPair<KolvLiteTestStatus, QString> cases[] = {
        {SUCCESS, "SUCCESS"}, {FAILED, "FAILED"},   {NOT_APPLICABLE, "NOT_APPLICABLE"},
        {ABORTED, "ABORTED"}, {WARNING, "WARNING"}, {INVALID, "INVALID"}};
    for (const auto& [status, text] : cases) {
      TestWidget row("t", 1);
      row.set_status(RUNNING);
      row.set_status(status);
      QCOMPARE(row.findChild<QLabel*>("test_status")->text(), text);
      if (resources_) QVERIFY2(!row.img_label()->pixmap().isNull(), qPrintable(text));
    }
  }

  void progressAndCompletedBar() {
    TestWidget row("t", 0);
    row.set_status(RUNNING);
    row.set_progress(42);
    QCOMPARE(row.progress(), 42);
    QCOMPARE(row.progress_label()->text(), QString("42%"));
    QCOMPARE(row.progress_bar()->value(), 42);
    QCOMPARE(row.progress_bar()->styleSheet(), QString(kRunningProgressBarStyle));

    row.set_progress(100);
    QCOMPARE(row.progress_bar()->styleSheet(), QString(kCompletedProgressBarStyle));
    // The completed look is never taken back.
    row.set_progress(30);
    QCOMPARE(row.progress_bar()->styleSheet(), QString(kCompletedProgressBarStyle));

    // Out of range: the text says what was given, the bar stays where it was.
    row.set_progress(130);
    QCOMPARE(row.progress_label()->text(), QString("130%"));
    QCOMPARE(row.progress_bar()->value(), 30);
  }

  void messagesAreTranslatedWordByWord_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("bare forms with a full stop") << "alpha beta." << "Alpha text Beta text. ";
    QTest::newRow("other punctuation") << "disk: beta," << "Disk: Beta text, ";
    QTest::newRow("bar removed only for the lookup") << "di|sk" << "Disk ";
    QTest::newRow("untranslated word with a bar") << "x|y alpha" << "x|y Alpha text ";
    QTest::newRow("whole word first") << "Whole.Key" << "Whole key text ";
    QTest::newRow("empty words kept") << "alpha  beta" << "Alpha text  Beta text ";
    QTest::newRow("only the first mark found goes") << "beta.," << "beta., ";
  }

  void messagesAreTranslatedWordByWord() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    TestWidget row("t", 0);
    row.AddTestMessage(message, kContext);
    QCOMPARE(row.messages().size(), 1);
    QCOMPARE(row.messages().first(), shown);
  }

  void messageStackKeepsNewestThree() {
    TestWidget row("t", 0);
    QSignalSpy added(&row, &TestWidget::TestMessageAdded);
    const int line = QFontMetrics(row.test_messages_label()->font()).lineSpacing();
    const int start = row.height();

    row.AddTestMessage(QString(), kContext);
    QCOMPARE(added.count(), 0);
    QCOMPARE(row.height(), start);
    QVERIFY(row.test_messages_label()->isHidden());

    row.AddTestMessage("one", kContext);
    QVERIFY(!row.test_messages_label()->isHidden());
    QCOMPARE(row.total_height(), start + line);
    QCOMPARE(row.height(), start + line);
    QCOMPARE(row.minimumHeight(), start + line);
    row.AddTestMessage("two", kContext);
    row.AddTestMessage("three", kContext);
    QCOMPARE(row.total_height(), start + 3 * line);

    row.AddTestMessage("four", kContext);
    QCOMPARE(row.total_height(), start + 3 * line);
    QCOMPARE(row.messages(), (QVector<QString>{"two ", "three ", "four "}));
    QCOMPARE(row.test_messages_label()->text(), QString("two \nthree \nfour \n"));
    QCOMPARE(added.count(), 4);
  }

  void messagesAreNeverMarkup() {
    TestWidget row("<b>name</b>", 0);
    row.AddTestMessage("<a href='file:///etc/passwd'>x</a>", kContext);
    // An elided label always draws plain text; its tool tip shows the tags as written.
    QCOMPARE(row.test_name_label()->text(), QString("<b>name</b>"));
    QVERIFY(row.test_name_label()->toolTip().contains("&lt;b&gt;"));
    QCOMPARE(row.test_messages_label()->textFormat(), Qt::PlainText);
    QVERIFY(!row.test_messages_label()->openExternalLinks());
  }

  void statusColumnFitsTheWidestKey() {
    TestWidget row("t", 0);
    row.AdjustSizeToContents();
    const QFontMetrics metrics(QApplication::font());
    const int widest = metrics.horizontalAdvance("NOT_APPLICABLE");
    QVERIFY(row.findChild<QLabel*>("test_status")->minimumWidth() >= widest);
  }

  // A name or a message word far wider than the row: the name is elided with its whole text in
  // the tool tip, and neither pushes the status out of the row.
  void longTextsLeaveTheStatusInTheRow() {
    const QString name = QStringLiteral("Surface scan of every sector ").repeated(10).left(294);
    TestWidget row(name, 0);
    row.AdjustSizeToContents();
    row.set_status(FAILED);
    row.resize(600, 46);
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    const auto statusInRow = [&row] {
      const QWidget* status = row.findChild<QLabel*>("test_status");
      const QRect shown(status->mapTo(&row, QPoint(0, 0)), status->size());
      return status->isVisible() && row.rect().contains(shown);
    };
    QVERIFY(statusInRow());
    QCOMPARE(row.test_name_label()->toolTip(), name);
    row.grab();
    const ElidedLabel* elided = row.test_name_label();
    QVERIFY(elided->elided());
    QCOMPARE(elided->text(), name);

    row.AddTestMessage(QString(300, QChar('m')), kContext);
    QCoreApplication::processEvents();
    QVERIFY(statusInRow());
  }

  void rowsAlternateTheirBackground() {
    TestWidget even("t", 2);
    TestWidget odd("t", 3);
    QVERIFY(even.styleSheet().contains("#FFFFFF"));
    QVERIFY(odd.styleSheet().contains("#EEEEEE"));
  }

  void localToUtf8_data() {
    QTest::addColumn<QByteArray>("local");
    QTest::addColumn<QByteArray>("utf8");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("ascii") << QByteArray("Disk 0") << QByteArray("Disk 0");
    QTest::newRow("valid two-byte") << QByteArray("Gr\xC3\xB6\xC3\x9F" "e")
                                    << QByteArray("Gr\xC3\xB6\xC3\x9F" "e");
    QTest::newRow("valid four-byte") << QByteArray("\xF0\x9F\x92\xBE")
                                     << QByteArray("\xF0\x9F\x92\xBE");
    QTest::newRow("lone latin-1 byte") << QByteArray("caf\xE9") << QByteArray("caf\xC3\xA9");
    QTest::newRow("truncated sequence") << QByteArray("\xE2\x82") << QByteArray("\xC3\xA2\xC2\x82");
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QByteArray("\xC3\x80\xC2\xAF");
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80")
                               << QByteArray("\xC3\xAD\xC2\xA0\xC2\x80");
    QTest::newRow("beyond unicode") << QByteArray("\xF4\x90\x80\x80")
                                    << QByteArray("\xC3\xB4\xC2\x90\xC2\x80\xC2\x80");
  }

  void localToUtf8() {
    QFETCH(QByteArray, local);
    QFETCH(QByteArray, utf8);
    const std::string out = LocalToUtf8(local.toStdString());
    QCOMPARE(QByteArray::fromStdString(out), utf8);
    // Whatever came in, the result decodes cleanly.
    QVERIFY(QString::fromUtf8(out.data(), int(out.size())).toUtf8() == QByteArray::fromStdString(out));
  }

 private:
  bool resources_ = false;
  gui_test::TableTranslator* translator_ = nullptr;
};

QTEST_MAIN(TestTestWidget)
#include "qtest_test_widget.moc"
