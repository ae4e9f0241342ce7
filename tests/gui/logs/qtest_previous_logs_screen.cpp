// The previous-logs screen over generated logs: which runs a day, a range and the whole log
// find and in what order, the result rows, the entry pages, the status pages, the export of all
// results, the pickers' dates, and leaving, stopping or deleting the screen while it searches.
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QtTest>
#include <ctime>

#include "gui/logs/previous_logs_screen.h"
#include "gui/shell/kolv_lite_controller.h"
#include "tests/gui/logs/support/report_test_support.h"

namespace {

// A run of one module with one device and one test, started at the given second (UTC).
QString Run(qint64 number, const QString& result, const QString& module = "STORAGE") {
  const QString time =
      QDateTime::fromSecsSinceEpoch(number, Qt::UTC).toString(QStringLiteral("yyyy-MM-ddTHH.mm.ss"));
  return QStringLiteral("+++ %1 %2 %3\nUDI: U%3\nDISPLAY_NAME: Disk\nSTART TESTS\n%1 START T\n"
                        "%1 STOP T %4 1 S\nSTOP TESTS 0\n--- %2\n")
      .arg(time, module)
      .arg(number)
      .arg(result);
}

qint64 At(int year, int month, int day, int hour, int minute, int second) {
  return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC)
      .toSecsSinceEpoch();
}

// Runs on both edges of 1 and 2 May 2024, one in March, and one an hour after the epoch.
const qint64 kEarly = 3600;
const qint64 kMarch = At(2024, 3, 10, 12, 0, 0);
const qint64 kBeforeDay = At(2024, 4, 30, 23, 59, 59);
const qint64 kDayStart = At(2024, 5, 1, 0, 0, 0);
const qint64 kDayNoon = At(2024, 5, 1, 12, 0, 0);
const qint64 kDayEnd = At(2024, 5, 1, 23, 59, 59);
const qint64 kNextDay = At(2024, 5, 2, 0, 0, 0);

QString AllRuns() {
  // Written out of order: the list order comes from the start times, not the file.
  return Run(kDayNoon, "FAILED") + Run(kEarly, "SUCCESS") + Run(kDayStart, "SUCCESS") +
         Run(kNextDay, "WARNING") + Run(kMarch, "ABORTED") + Run(kBeforeDay, "SUCCESS") +
         Run(kDayEnd, "NOT_APPLICABLE");
}

QStringList Keys(const QVector<HtmlLogEntry>& entries) {
  QStringList keys;
  for (const HtmlLogEntry& entry : entries) keys << entry.time_key;
  return keys;
}

// A flow screen to come from, so that the screen has one to go back to.
class FlowScreen : public KolvLiteScreen {
 public:
  explicit FlowScreen(KolvLiteController* c) : KolvLiteScreen(c) {}
  bool isBusy(QString&) override { return false; }
  void Stop() override { emit Stopped(this); }
  void Unload() override {}
};

QStringList Keys(std::initializer_list<qint64> numbers) {
  QStringList keys;
  for (qint64 number : numbers) keys << QString::number(number);
  return keys;
}

}  // namespace

class TestPreviousLogsScreen : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    report_test::RegisterProgramResources();
    controller_ = new KolvLiteController;
  }

  void cleanupTestCase() { delete controller_; }

  void init() {
    screen_ = new LogsScreen(controller_);
    controller_->AddDefaultScreen(screen_);
    controller_->GoToScreen(screen_);
  }

  void cleanup() {
    controller_->RemoveDefaultScreen(screen_);
    delete screen_;
    screen_ = nullptr;
  }

  void searchesFindTheRunsOfTheIntervalNewestFirst() {
    report_test::WriteDiagnosticsLog(AllRuns());
    // One day: both of its edges belong to it.
    Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
    QCOMPARE(Keys(screen_->results()), Keys({kDayEnd, kDayNoon, kDayStart}));
    QCOMPARE(Page(), int(LogsScreen::kResultsPage));
    QCOMPARE(Form()->results_label->text(), QStringLiteral("3 RESULT(S)"));

    Search(QDate(2024, 3, 1), QDate(2024, 5, 1));
    QCOMPARE(Keys(screen_->results()), Keys({kDayEnd, kDayNoon, kDayStart, kBeforeDay, kMarch}));

    // From the first date the pickers offer: the whole log, however early a run started.
    Search(LogsScreen::FirstDate(), QDate::currentDate());
    QCOMPARE(Keys(screen_->results()),
             Keys({kNextDay, kDayEnd, kDayNoon, kDayStart, kBeforeDay, kMarch, kEarly}));
  }

  void wholeLogInEveryTimeZone() {
    report_test::WriteDiagnosticsLog(AllRuns());
    // The zone goes back even when a check fails, so that later cases are not misled.
    struct ZoneRestorer {
      QByteArray kept = qgetenv("TZ");
      ~ZoneRestorer() {
        qputenv("TZ", kept);
        tzset();
      }
    } restorer;
    for (const char* zone : {"Europe/Berlin", "America/New_York", "Asia/Tokyo", "UTC"}) {
      qputenv("TZ", zone);
      tzset();
      Search(LogsScreen::FirstDate(), QDate::currentDate());
      QVERIFY2(screen_->results().size() == 7, zone);
      QCOMPARE(screen_->results().last().time_key, QString::number(kEarly));
    }
  }

  void resultRowsAndEntryPages() {
    QString log;
    for (int i = 0; i < 10; ++i) log += Run(kDayStart + i * 60, i == 3 ? "FAILED" : "SUCCESS");
    report_test::WriteDiagnosticsLog(log);
    Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
    QCOMPARE(screen_->results().size(), 10);
    QTableWidget* table = Form()->results_tableWidget;
    QCOMPARE(table->rowCount(), 10);
    int width = -1;
    for (int row = 0; row < 10; ++row) {
      auto* number = table->cellWidget(row, 0)->findChild<QLabel*>(QStringLiteral("number_label"));
      QCOMPARE(number->text(), QString::number(row + 1) + QStringLiteral(". "));
      if (width < 0) width = number->width();
      // Every number is as wide as the widest, that of row 10.
      QCOMPARE(number->width(), width);
      auto* icon =
          table->cellWidget(row, 0)->findChild<QLabel*>(QStringLiteral("status_icon_label"));
      QVERIFY(!icon->pixmap().isNull());
    }
    const QList<ClickableQLabel*> titles = screen_->result_labels();
    QCOMPARE(titles.size(), 10);
    // Newest first, so the failed run, the fourth written, is the seventh row.
    QCOMPARE(screen_->results()[6].status, int(LOG_ENTRY_FAILED));
    QVERIFY(titles[6]->text().startsWith(screen_->results()[6].title + " - "));
    QVERIFY(titles[6]->text().endsWith(screen_->results()[6].time_text));
    QVERIFY(!screen_->export_all()->isHidden());
    QVERIFY(screen_->export_entry()->isHidden());
    QVERIFY(Form()->log_entry_navigator_container_widget->isHidden());

    // A click opens the entry.
    QTest::mouseClick(titles[6], Qt::LeftButton);
    QCOMPARE(Page(), int(LogsScreen::kEntryPage));
    QCOMPARE(screen_->current(), 6);
    QCOMPARE(Form()->log_entry_index_label->text(), QStringLiteral("ENTRY: 7 OF 10"));
    QCOMPARE(Form()->log_entry_textEdit->toHtml().isEmpty(), false);
    QVERIFY(!screen_->export_entry()->isHidden());
    QVERIFY(!screen_->back_to_results()->isHidden());
    QVERIFY(screen_->export_all()->isHidden());
    QVERIFY(!Form()->log_entry_navigator_container_widget->isHidden());

    // The space bar on a focused title does the same.
    screen_->GoToEntriesList();
    titles[0]->setFocus();
    QTest::keyClick(titles[0], Qt::Key_Space);
    QCOMPARE(screen_->current(), 0);
    QVERIFY(!Form()->previous_entry_pushButton->isEnabled());
    QVERIFY(Form()->next_entry_pushButton->isEnabled());
    screen_->DisplayPreviousEntry();
    QCOMPARE(screen_->current(), 0);
    for (int i = 0; i < 12; ++i) screen_->DisplayNextEntry();
    QCOMPARE(screen_->current(), 9);
    QVERIFY(!Form()->next_entry_pushButton->isEnabled());
    QVERIFY(Form()->previous_entry_pushButton->isEnabled());
    QCOMPARE(Form()->log_entry_header_label->text(),
             screen_->results()[9].title + " - " + screen_->results()[9].time_text);

    screen_->GoToEntriesList();
    QCOMPARE(Page(), int(LogsScreen::kResultsPage));

    // The results stay until the screen is left.
    controller_->GoToScreen(nullptr);
    screen_->OnExit();
    QVERIFY(screen_->results().isEmpty());
    QCOMPARE(Form()->results_tableWidget->rowCount(), 0);
  }

  void singleEntryHasNoNeighbours() {
    report_test::WriteDiagnosticsLog(Run(kDayNoon, "SUCCESS"));
    Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
    screen_->DisplayLogEntry(0);
    QVERIFY(!Form()->previous_entry_pushButton->isEnabled());
    QVERIFY(!Form()->next_entry_pushButton->isEnabled());
    // Out of range does nothing.
    screen_->DisplayLogEntry(1);
    screen_->DisplayLogEntry(-1);
    QCOMPARE(screen_->current(), 0);
  }

  void statusPages() {
    report_test::WriteDiagnosticsLog(AllRuns());
    Search(QDate(2024, 4, 1), QDate(2024, 4, 29));
    QCOMPARE(Page(), int(LogsScreen::kStatusPage));
    QCOMPARE(Form()->log_status_label->text(), QStringLiteral("NO_LOGS_FOUND_ON_INTERVAL"));
    QVERIFY(screen_->results().isEmpty());
    QVERIFY(Form()->search_pushButton->isEnabled());

    report_test::RemoveDiagnosticsLog();
    Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
    QCOMPARE(Page(), int(LogsScreen::kStatusPage));
    QCOMPARE(Form()->log_status_label->text(), QStringLiteral("LOG_FILE_NOT_FOUND"));
    QVERIFY(Form()->search_pushButton->isEnabled());
    QVERIFY(Form()->from_dateEdit->isEnabled());
    QVERIFY(screen_->export_all()->isHidden());
    // Without a flow to go back to, there is no back button.
    QVERIFY(screen_->back()->isHidden());

    // Come from a flow: back leads there, from every page but the loading and entry pages.
    FlowScreen flow(controller_);
    controller_->AddFlowScreen(&flow, false);
    controller_->GoToScreen(&flow);
    controller_->GoToScreen(screen_);
    QVERIFY(controller_->HasBackgroundFlowScreen());
    QVERIFY(!screen_->back()->isHidden());
    report_test::WriteDiagnosticsLog(AllRuns());
    Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
    QVERIFY(!screen_->back()->isHidden());
    screen_->DisplayLogEntry(0);
    QVERIFY(screen_->back()->isHidden());
    screen_->GoToEntriesList();
    QTest::mouseClick(screen_->back(), Qt::LeftButton);
    QCOMPARE(controller_->current_screen(), &flow);
    controller_->ClearBackgroundFlowScreen();
    controller_->RemoveFlowScreen(&flow);
  }

  void exportOfAllResults() {
    report_test::WriteDiagnosticsLog(Run(kDayStart, "SUCCESS") + Run(kDayNoon, "FAILED"));
    Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
    const QString dir = report_test::Scratch(QStringLiteral("previous_logs_export"));
    {
      report_test::DialogHand hand(dir + "/all");
      screen_->ExportAllEntries();
      QVERIFY(hand.file_dialog_seen);
      QCOMPARE(hand.title, QStringLiteral("LOG_SAVED_HEADER"));
      QCOMPARE(hand.message, QStringLiteral("LOG_SAVED_OK"));
    }
    const QString index = report_test::ReadText(dir + "/all.html");
    QVERIFY(index.contains(QStringLiteral("2 RESULT(S)")));
    for (qint64 key : {kDayNoon, kDayStart}) {
      const QString page = QStringLiteral("all_files/%1.html").arg(key);
      QVERIFY(index.contains(page));
      QVERIFY(report_test::ReadText(dir + "/" + page).contains(QStringLiteral("../all.html")));
    }
    // The newest run is listed first in the index too.
    QVERIFY(index.indexOf(QString::number(kDayNoon)) < index.indexOf(QString::number(kDayStart)));

    // One entry, the one shown.
    screen_->DisplayLogEntry(1);
    {
      report_test::DialogHand hand(dir + "/one");
      screen_->ExportCurrentEntry();
      QCOMPARE(hand.message, QStringLiteral("LOG_SAVED_OK"));
    }
    QVERIFY(QFileInfo(dir + "/one.html").isFile());
  }

  void datesOfThePickers() {
    QDateEdit* from = Form()->from_dateEdit;
    QDateEdit* to = Form()->to_dateEdit;
    const QDate today = QDate::currentDate();
    QCOMPARE(from->date(), today);
    QCOMPARE(to->maximumDate(), today);
    QCOMPARE(from->minimumDate(), QDate(1970, 1, 1));
    QVERIFY(Form()->search_pushButton->isEnabled());
    from->setDate(QDate(2024, 5, 2));
    to->setDate(QDate(2024, 5, 1));
    QVERIFY(!Form()->search_pushButton->isEnabled());
    to->setDate(QDate(2024, 5, 2));
    QVERIFY(Form()->search_pushButton->isEnabled());

    // A day change while the screen is shown: the new day can be picked, the dates stay.
    from->setMaximumDate(today.addDays(-1));
    to->setMaximumDate(today.addDays(-1));
    screen_->RefreshMaximumDate();
    QCOMPARE(from->maximumDate(), today);
    QCOMPARE(to->maximumDate(), today);
    QCOMPARE(from->date(), QDate(2024, 5, 2));
    to->setDate(today);
    QCOMPARE(to->date(), today);

    // Entering again starts from today.
    screen_->OnExit();
    screen_->OnEnter();
    QCOMPARE(from->date(), today);
    QCOMPARE(Page(), int(LogsScreen::kEmptyPage));
  }

  void pickersDrawTheirDropDownArrow() {
    for (QDateEdit* edit : {Form()->from_dateEdit, Form()->to_dateEdit}) {
      edit->resize(110, 27);
      const QImage image = edit->grab().toImage();
      // The drop-down button is the right 18 px; its arrow is the only dark shape there.
      int dark = 0;
      for (int x = image.width() - 17; x < image.width() - 1; ++x) {
        for (int y = 1; y < image.height() - 1; ++y) {
          if (qGray(image.pixel(x, y)) < 0x80) ++dark;
        }
      }
      QVERIFY2(dark >= 10, qPrintable(edit->objectName()));
    }
  }

  void searchHidesTheWayOutUntilItEnds() {
    report_test::WriteDiagnosticsLog(ManyRuns());
    QSignalSpy hidden(controller_, &KolvLiteController::GlobalButtonsHidden);
    QSignalSpy shown(controller_, &KolvLiteController::GlobalButtonsShown);
    StartSearch(LogsScreen::FirstDate(), QDate::currentDate());
    QString message;
    QVERIFY(screen_->isBusy(message));
    QCOMPARE(hidden.count(), 1);
    QCOMPARE(shown.count(), 0);
    QCOMPARE(Page(), int(LogsScreen::kLoadingPage));
    QVERIFY(!Form()->search_pushButton->isEnabled());
    QVERIFY(!Form()->to_dateEdit->isEnabled());
    QVERIFY(screen_->back()->isHidden());
    // A second press while it runs starts nothing.
    screen_->StartLogsRead();
    QTRY_VERIFY_WITH_TIMEOUT(!screen_->isBusy(message), 60000);
    QCOMPARE(screen_->results().size(), kManyRuns);
    QCOMPARE(shown.count(), 1);

    // Thousands of rows are made a few at a time, the GUI thread handling its events between;
    // once all are there they are as they would be made at once.
    QTRY_COMPARE_WITH_TIMEOUT(screen_->result_labels().size(), kManyRuns, 60000);
    VerifyRows();
    if (QTest::currentTestFailed()) return;
    // A new search replaces them; the old rows go a few at a time as well, with their table.
    Search(LogsScreen::FirstDate(), QDate::currentDate());
    QTRY_COMPARE_WITH_TIMEOUT(screen_->result_labels().size(), kManyRuns, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(Form()->results_page->findChildren<QTableWidget*>().size(), 1, 60000);
    QCOMPARE(Form()->results_page->findChild<QTableWidget*>(), Form()->results_tableWidget);
    VerifyRows();
    // Leaving while rows are being made stops them.
    Search(LogsScreen::FirstDate(), QDate::currentDate());
    QVERIFY(screen_->result_labels().size() < kManyRuns);
    screen_->OnExit();
    QTest::qWait(50);
    QVERIFY(screen_->result_labels().isEmpty());
    QCOMPARE(Form()->results_tableWidget->rowCount(), 0);
    screen_->OnEnter();
  }

  void stopDuringSearch() {
    report_test::WriteDiagnosticsLog(ManyRuns());
    StartSearch(LogsScreen::FirstDate(), QDate::currentDate());
    QSignalSpy stopped(screen_, &KolvLiteScreen::Stopped);
    screen_->Stop();
    QTRY_COMPARE_WITH_TIMEOUT(stopped.count(), 1, 60000);
    QString message;
    QVERIFY(!screen_->isBusy(message));
    QVERIFY(Form()->search_pushButton->isEnabled());
    // Only one Stopped for one stop.
    QTest::qWait(50);
    QCOMPARE(stopped.count(), 1);

    // Idle: at once.
    screen_->Stop();
    QCOMPARE(stopped.count(), 2);
  }

  void leavingDuringSearch() {
    report_test::WriteDiagnosticsLog(ManyRuns());
    StartSearch(LogsScreen::FirstDate(), QDate::currentDate());
    screen_->OnExit();
    QString message;
    QVERIFY(!screen_->isBusy(message));
    // The abandoned search ends by itself and leaves nothing in the screen.
    QTest::qWait(300);
    QVERIFY(screen_->results().isEmpty());
    screen_->OnEnter();
    Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
    QVERIFY(!screen_->results().isEmpty());
  }

  void deletingDuringSearch() {
    report_test::WriteDiagnosticsLog(ManyRuns());
    for (int delay : {0, 5, 20, 80}) {
      auto* screen = new LogsScreen(controller_);
      screen->widgets()->from_dateEdit->setDate(LogsScreen::FirstDate());
      screen->StartLogsRead();
      QTest::qWait(delay);
      delete screen;
    }
    QTest::qWait(50);
  }

 private:
  static constexpr int kManyRuns = 3000;

  static QString ManyRuns() {
    QString log;
    for (int i = 0; i < kManyRuns; ++i) log += Run(kDayStart + i, i % 7 ? "SUCCESS" : "FAILED");
    return log;
  }

  static QWidget* NextTabStop(QWidget* widget) {
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    return next;
  }

  // Every row numbered, as wide and as high as the others, its title reached from the previous
  // one by Tab, in the order of the results.
  void VerifyRows() {
    const QList<ClickableQLabel*> titles = screen_->result_labels();
    QTableWidget* table = Form()->results_tableWidget;
    QCOMPARE(table->rowCount(), titles.size());
    const int width = table->cellWidget(0, 0)->findChild<QLabel*>("number_label")->width();
    for (int row = 0; row < titles.size(); ++row) {
      auto* number = table->cellWidget(row, 0)->findChild<QLabel*>(QStringLiteral("number_label"));
      QCOMPARE(number->text(), QString::number(row + 1) + QStringLiteral(". "));
      QCOMPARE(number->width(), width);
      QCOMPARE(table->rowHeight(row), table->rowHeight(0));
      QVERIFY(titles[row]->text().startsWith(screen_->results()[row].title + " - "));
      if (row > 0) QCOMPARE(NextTabStop(titles[row - 1]), titles[row]);
    }
    QCOMPARE(table->focusProxy(), titles.first());
  }

  LogsScreenForm* Form() const { return screen_->widgets(); }
  int Page() const { return Form()->logs_stackedWidget->currentIndex(); }

  void StartSearch(QDate from, QDate to) {
    Form()->to_dateEdit->setDate(to);
    Form()->from_dateEdit->setDate(from);
    QVERIFY(Form()->search_pushButton->isEnabled());
    QTest::mouseClick(Form()->search_pushButton, Qt::LeftButton);
  }

  void Search(QDate from, QDate to) {
    StartSearch(from, to);
    QString message;
    QTRY_VERIFY_WITH_TIMEOUT(!screen_->isBusy(message), 30000);
  }

  KolvLiteController* controller_ = nullptr;
  LogsScreen* screen_ = nullptr;
};

int main(int argc, char** argv) {
  report_test::FixTimeAndLocale();
  QApplication application(argc, argv);
  TestPreviousLogsScreen test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_previous_logs_screen.moc"
