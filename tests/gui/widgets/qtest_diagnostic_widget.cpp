// Device panels and the overall progress panel: rows by test id, abort of a partly finished run,
// the panel's height, the result code, the progress panel's texts and bar, and the contexts their
// captions are translated in; engine names as the rows and lists draw them.
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMap>
#include <QPointer>
#include <QProgressBar>
#include <QTextLayout>
#include <QWheelEvent>
#include <QtTest>

#include <algorithm>
#include <stdexcept>

#include "gui/widgets/diagnostic_widget.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/groupable_check_box.h"
#include "gui/widgets/progress_bar_style.h"
#include "gui/widgets/progress_widget.h"
#include "gui/widgets/test_widget.h"
#include "tests/gui/support/drawn_texts.h"
#include "tests/gui/support/table_translator.h"

namespace {

// Whether a drawn text, laid out between two words, leaves them where they are: left to right
// the letters of "before", of the text, its ellipsis if it is cut, and the letters of "after",
// those of each word in their own order.
bool KeepsItsSurroundings(const QString& drawn) {
  const QString line = "before " + drawn + " after";
  QTextLayout layout(line, QApplication::font());
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  QMap<qreal, QPair<int, qsizetype>> by_x;  // part (0 to 3) and order within it, by place
  for (qsizetype i = 0; i < line.size(); ++i) {
    const int part = i < 7 ? 0 : i >= 7 + drawn.size() ? 3 : line[i] == QChar(0x2026) ? 2 : 1;
    if (!line[i].isLetter() && part != 2) continue;
    by_x.insert(layout.glyphRuns(int(i), 1).at(0).positions().at(0).x(), {part, part == 1 ? 0 : i});
  }
  const QList<QPair<int, qsizetype>> order = by_x.values();
  return std::is_sorted(order.begin(), order.end());
}

}  // namespace

class TestDiagnosticWidget : public QObject {
  Q_OBJECT

 private slots:
  void rowsAreKeptByTestId() {
    DiagnosticWidget panel("Disk 0");
    QCOMPARE(panel.device_name_label()->text(), QString("Disk 0"));
    panel.AddTest(30, "Seek");
    panel.AddTest(10, "Read");
    QCOMPARE(panel.TestsCount(), 2);
    QCOMPARE(panel.table()->rowCount(), 2);
    QCOMPARE(panel[10].test_name(), QString("Read"));
    QCOMPARE(panel[30].test_name(), QString("Seek"));
    QCOMPARE(panel[10].test_status(), int(WAITING));
    // Rows sit in the table in the order they were added.
    QCOMPARE(panel.table()->cellWidget(0, 0), static_cast<QWidget*>(&panel[30]));
    QCOMPARE(panel.table()->cellWidget(1, 0), static_cast<QWidget*>(&panel[10]));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, panel[99]);
    QCOMPARE(panel.TestsCount(), 2);
  }

  void repeatedIdReplacesItsRowCleanly() {
    DiagnosticWidget panel("Disk 0");
    panel.AddTest(1, "First");
    panel.AddTest(2, "Second");
    QPointer<TestWidget> old_row = &panel[1];
    QPointer<TestWidget> second = &panel[2];

    panel.AddTest(1, "First again");
    QCOMPARE(panel.TestsCount(), 2);
    QCOMPARE(panel.table()->rowCount(), 2);
    QTRY_VERIFY(old_row.isNull());
    QCOMPARE(panel[1].test_name(), QString("First again"));
    QCOMPARE(panel.table()->cellWidget(0, 0), static_cast<QWidget*>(&panel[1]));

    // A later new id gets a row of its own and disturbs none of the others.
    panel.AddTest(3, "Third");
    QCOMPARE(panel.table()->rowCount(), 3);
    QVERIFY(!second.isNull());
    QCOMPARE(panel.table()->cellWidget(1, 0), static_cast<QWidget*>(second.data()));
    panel.AbortAll();
    QCOMPARE(panel[1].test_status(), int(ABORTED));
    QCOMPARE(panel[2].test_status(), int(ABORTED));
    QCOMPARE(panel[3].test_status(), int(ABORTED));
  }

  void abortOfPartlyFinishedRun() {
    DiagnosticWidget panel("Disk 0");
    for (int id = 1; id <= 5; ++id) panel.AddTest(id, QString("T%1").arg(id));
    panel[1].set_status(RUNNING);
    panel[1].set_progress(100);
    panel[1].set_status(SUCCESS);
    panel[2].set_status(RUNNING);
    panel[2].set_progress(40);
    panel[2].set_status(FAILED);  // finished early
    panel[3].set_status(RUNNING);
    panel[3].set_progress(60);
    // 4 never started.
    panel[5].set_status(RUNNING);
    panel[5].set_progress(100);  // done, but its end was never reported

    panel.AbortAll();
    QCOMPARE(panel[1].test_status(), int(SUCCESS));
    QCOMPARE(panel[2].test_status(), int(FAILED));
    QCOMPARE(panel[3].test_status(), int(ABORTED));
    QCOMPARE(panel[4].test_status(), int(ABORTED));
    QCOMPARE(panel[5].test_status(), int(RUNNING));
    QVERIFY(!panel[5].is_spinning());
    QVERIFY(panel[5].loading_gif_label()->isHidden());
    QVERIFY(panel[3].loading_gif_label()->isHidden());
  }

  void panelIsAsHighAsHeaderAndRows() {
    DiagnosticWidget panel("Disk 0");
    panel.resize(600, 100);
    panel.AddTest(1, "A");
    panel.AddTest(2, "B");
    panel.AddTest(3, "C");
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel[2].AddTestMessage("first", "Ctx");
    panel[2].AddTestMessage("second", "Ctx");
    QCoreApplication::processEvents();
    panel.AdjustSizeToContents();

    int expected = panel.device_header_widget()->height();
    for (int id = 1; id <= 3; ++id) expected += panel[id].height() + 1;
    QCOMPARE(panel.height(), expected);
    QCOMPARE(panel.minimumHeight(), expected);
    QCOMPARE(panel.maximumHeight(), expected);
    QCOMPARE(panel.device_header_widget()->height(), 28);

    // A new message resizes the panel through the row's signal.
    const int before = panel.height();
    panel[1].AddTestMessage("more", "Ctx");
    QVERIFY(panel.height() > before);
    QCoreApplication::processEvents();
    panel.AdjustSizeToContents();
    expected = panel.device_header_widget()->height();
    for (int id = 1; id <= 3; ++id) expected += panel[id].height() + 1;
    QCOMPARE(panel.height(), expected);

    // A row is as high as its texts: its one-line message shows whole (the line feed after the
    // last message draws nothing), in about a line more than a row without one.
    const QLabel* message = panel[1].test_messages_label();
    const int line = message->fontMetrics().lineSpacing();
    QVERIFY(message->height() >= message->heightForWidth(message->width()) - line);
    QVERIFY2(panel[1].height() < panel[3].height() + 3 * line,
             qPrintable(QString::number(panel[1].height())));
  }

  void resultCodeShownOnce() {
    DiagnosticWidget panel("Disk 0");
    QVERIFY(panel.result_code_text_label()->isHidden());
    panel.set_unique_code("<b>A1B2</b>");
    QVERIFY(!panel.result_code_text_label()->isHidden());
    QCOMPARE(panel.result_code_label()->text(), QString("<b>A1B2</b>"));
    QCOMPARE(panel.result_code_label()->textFormat(), Qt::PlainText);
    const QString caption = panel.result_code_text_label()->text();
    QVERIFY(caption.endsWith(":"));
    panel.set_unique_code("C3");
    QCOMPARE(panel.result_code_text_label()->text(), caption);
    QCOMPARE(panel.result_code_label()->text(), QString("C3"));
    panel.set_device_name("<i>Disk 1</i>");
    QCOMPARE(panel.device_name_label()->text(), QString("<i>Disk 1</i>"));
    QVERIFY(panel.device_name_label()->toolTip().contains("&lt;i&gt;"));
  }

  // A device name of 300 characters neither widens the panel nor hides the rows' statuses: it is
  // elided in the header, whole in the tool tip.
  void longDeviceNameKeepsThePanelNarrow() {
    const QString name = QStringLiteral("Fixed disk with a very long model string ").repeated(8).left(300);
    DiagnosticWidget panel(name);
    panel.AddTest(0, "Read");
    QVERIFY(panel.sizeHint().width() < 600);
    QVERIFY(panel.minimumSizeHint().width() < 600);
    panel.resize(600, 100);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.AdjustSizeToContents();
    QCOMPARE(panel.device_name_label()->toolTip(), name);
    panel.grab();
    const ElidedLabel* elided = panel.device_name_label();
    QVERIFY(elided->elided());
    QVERIFY(panel.device_name_label()->geometry().right() < panel.device_header_widget()->width());
    QVERIFY(panel[0].width() <= panel.width());

    panel.set_device_name("Disk 1");
    QCOMPARE(panel.device_name_label()->toolTip(), QString("Disk 1"));
    QCOMPARE(elided->text(), QString("Disk 1"));
  }

  // An engine name on a device or test row, listed or running, is whole in its tool tip, and a
  // direction control in it neither reorders nor leaks into what is drawn around it.
  void namesKeepTheirSurroundings_data() {
    QTest::addColumn<int>("widget");
    QTest::addColumn<QString>("name");
    // An override left open, and one behind a pop that would close an isolate around the name.
    const QPair<const char*, QString> names[] = {{"open", "disk \u202E evil "},
                                                 {"after a pop", "disk \u2069\u202E evil "}};
    int widget = 0;
    for (const char* shown : {"list box", "test row", "device panel"}) {
      for (const auto& [override, name] : names) {
        QTest::addRow("%s, override %s", shown, override) << widget << name;
        QTest::addRow("%s, override %s, 300 characters", shown, override)
            << widget << name.leftJustified(300, 'x');
      }
      ++widget;
    }
  }
  void namesKeepTheirSurroundings() {
    QFETCH(int, widget);
    QFETCH(QString, name);
    GroupableCheckBox box(name);
    TestWidget row(name, 0);
    DiagnosticWidget panel(name);
    QWidget* const top[] = {&box, &row, &panel};
    QWidget* const shown[] = {&box, row.test_name_label(), panel.device_name_label()};
    top[widget]->resize(400, 40);
    top[widget]->show();
    QVERIFY(QTest::qWaitForWindowExposed(top[widget]));
    gui_test::DrawnTexts style;
    const QStringList drawn = style.Of(shown[widget]);
    QCOMPARE(drawn.size(), 1);
    QCOMPARE(drawn.first().contains(QChar(0x2026)), name.size() > 100);
    QVERIFY2(KeepsItsSurroundings(drawn.first()), qPrintable(drawn.first()));
    QCOMPARE(shown[widget]->toolTip(), name);
    // A box with a tool tip of its own keeps it.
    box.setToolTip("Own");
    style.Of(&box);
    QCOMPARE(box.toolTip(), QString("Own"));
  }

  void wheelIsLeftToTheEnclosingView() {
    DiagnosticWidget panel("Disk 0");
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    wheel.accept();
    QCoreApplication::sendEvent(panel.table()->viewport(), &wheel);
    QVERIFY(!wheel.isAccepted());
    wheel.accept();
    QCoreApplication::sendEvent(&panel, &wheel);
    QVERIFY(!wheel.isAccepted());
  }

  void progressPanelTexts() {
    ProgressWidget progress;
    QCOMPARE(progress.status_label()->text(), QString("WAITING"));
    QCOMPARE(progress.progress_label()->text(), QString("0%"));
    QCOMPARE(progress.info_label()->text(), QString("OVERALL_STATUS"));
    QCOMPARE(progress.progress_bar()->maximum(), 100);

    progress.SetProgress(99);
    QCOMPARE(progress.status_label()->text(), QString("IN_PROGRESS"));
    QCOMPARE(progress.progress_label()->text(), QString("99%"));
    QCOMPARE(progress.progress_bar()->value(), 99);
    QCOMPARE(progress.progress_bar()->styleSheet(), QString(kRunningProgressBarStyle));

    progress.SetProgress(100);
    QCOMPARE(progress.status_label()->text(), QString("FINISHED"));
    QCOMPARE(progress.progress_label()->text(), QString("100%"));
    QCOMPARE(progress.progress_bar()->styleSheet(), QString(kCompletedProgressBarStyle));

    // Out of range: the bar keeps its value, so the status follows the bar.
    progress.SetProgress(250);
    QCOMPARE(progress.progress_label()->text(), QString("250%"));
    QCOMPARE(progress.progress_bar()->value(), 100);
    QCOMPARE(progress.status_label()->text(), QString("FINISHED"));

    progress.SetStatusText("Custom");
    progress.SetInfoText("Info");
    QCOMPARE(progress.status_label()->text(), QString("Custom"));
    QCOMPARE(progress.info_label()->text(), QString("Info"));
  }

  // The catalogues hold the captions under the panels' own contexts, the status words under the
  // shared one.
  void captionsAreTranslatedInTheirContexts() {
    gui_test::TableTranslator translator(
        {{"DiagnosticWidget", {{"RESULT_CODE", "Result code"}}},
         {"ProgressWidget", {{"OVERALL_STATUS", "Overall status"}}},
         {"Translations", {{"WAITING", "Waiting"}}}});
    QCoreApplication::installTranslator(&translator);
    DiagnosticWidget panel("Disk 0");
    QCOMPARE(panel.result_code_text_label()->text(), QString("Result code"));
    panel.set_unique_code("0");
    QCOMPARE(panel.result_code_text_label()->text(), QString("Result code:"));
    ProgressWidget progress;
    QCOMPARE(progress.info_label()->text(), QString("Overall status"));
    QCOMPARE(progress.status_label()->text(), QString("Waiting"));
    QCoreApplication::removeTranslator(&translator);
  }
};

QTEST_MAIN(TestDiagnosticWidget)
#include "qtest_diagnostic_widget.moc"
