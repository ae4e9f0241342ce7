// The previous-logs screen over generated logs: which runs a day, a range and the whole log
// find and in what order, the result rows, the entry pages, the status pages, the export of all
// results, the pickers' dates, and leaving, stopping or deleting the screen while it searches.
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTextEdit>
#include <QThread>
#include <QThreadPool>
#include <QtTest>
#include <ctime>
#include <functional>

#include "gui/logs/log_results_view.h"
#include "gui/logs/kolv_lite_calendar.h"
#include "gui/logs/logs_screen.h"
#include "gui/logs/logs_screen_form.h"
#include "gui/shell/kolv_lite_controller.h"
#include "tests/gui/logs/support/report_test_support.h"
#include "tests/support/fault_injection.h"

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

// The pickers' calendar, noting where it paints each day.
class RecordingCalendar : public KolvLiteCalendar {
 public:
  RecordingCalendar() : KolvLiteCalendar(nullptr) {}
  mutable QMap<QDate, QRect> cells;

 protected:
  void paintCell(QPainter* painter, const QRect& rect, QDate date) const override {
    cells.insert(date, rect);
    KolvLiteCalendar::paintCell(painter, rect, date);
  }
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
    gui_test::RegisterProgramResources();
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
    LogResultsView* list = List();
    QCOMPARE(list->rowCount(), 10);
    int width = -1;
    for (int row = 0; row < 10; ++row) {
      QCOMPARE(list->NumberText(row), QString::number(row + 1) + QStringLiteral(". "));
      const int number = list->RowLayout(row).number.width();
      if (width < 0) width = number;
      // Every number is as wide as the widest, that of row 10.
      QCOMPARE(number, width);
      QVERIFY(!list->Icon(row).isNull());
    }
    QVERIFY(width >= list->fontMetrics().horizontalAdvance(QStringLiteral("10.")));
    // Newest first, so the failed run, the fourth written, is the seventh row.
    QCOMPARE(screen_->results()[6].status, int(LOG_ENTRY_FAILED));
    QVERIFY(list->TitleText(6).startsWith(screen_->results()[6].title + " - "));
    QVERIFY(list->TitleText(6).endsWith(screen_->results()[6].time_text));
    QVERIFY(!screen_->export_all()->isHidden());
    QVERIFY(screen_->export_entry()->isHidden());
    QVERIFY(Form()->log_entry_navigator_container_widget->isHidden());

    // A click beside a title opens nothing; a click on it opens the entry.
    const LogResultRowLayout seventh = list->RowLayout(6);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, seventh.icon.center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(seventh.title.right() + 20, seventh.title.center().y()));
    QCOMPARE(Page(), int(LogsScreen::kResultsPage));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, seventh.title.center());
    QCOMPARE(Page(), int(LogsScreen::kEntryPage));
    QCOMPARE(screen_->current(), 6);
    QCOMPARE(Form()->log_entry_index_label->text(), QStringLiteral("ENTRY: 7 OF 10"));
    QCOMPARE(Form()->log_entry_textEdit->toHtml().isEmpty(), false);
    QVERIFY(!screen_->export_entry()->isHidden());
    QVERIFY(!screen_->back_to_results()->isHidden());
    QVERIFY(screen_->export_all()->isHidden());
    QVERIFY(!Form()->log_entry_navigator_container_widget->isHidden());

    // The space bar on a focused title does the same, and so does Enter.
    screen_->GoToEntriesList();
    list->setFocus();
    list->setCurrentIndex(list->model()->index(2, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(screen_->current(), 2);
    screen_->GoToEntriesList();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(Page(), int(LogsScreen::kEntryPage));
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
    QCOMPARE(List()->rowCount(), 0);
  }

  // A direction control in a module's name reorders neither its row nor the entry's heading.
  void engineTextNeverReordersTheTitles() {
    report_test::WriteDiagnosticsLog(Run(kDayNoon, "SUCCESS", QStringLiteral("M\u202E")));
    Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
    screen_->DisplayLogEntry(0);
    QVERIFY(List()->TitleText(0).contains(QChar(0x202E)));
    QVERIFY(report_test::AllIsolated(List()->TitleText(0)));
    QVERIFY(report_test::AllIsolated(Form()->log_entry_header_label->text()));
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
    const QString dir = test_support::ScratchDir(QStringLiteral("previous_logs_export"));
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

  // A search and the export of all its results, with a fault at each thread start, and at each
  // open and write of the log and of the saved pages: each ends, can be left, and never tells
  // success after a fault hit it.
  void faultsAtTheEdges() {
    const QString dir = test_support::ScratchDir(QStringLiteral("drive_c/faults"));
    for (const std::string kind : {"thread:", "open:", "write:"}) {
      for (int n = 1;; ++n) {
        report_test::WriteDiagnosticsLog(Run(kDayStart, "SUCCESS") + Run(kDayNoon, "FAILED"));
        QDir(dir).removeRecursively();
        // No pooled work waits for good, and no pooled thread is kept for the next pass.
        QVERIFY(QThreadPool::globalInstance()->waitForDone(5000));
        const std::string where = kind == "thread:" ? "" : ":/drive_c/";
        test_support::FaultScope faults(kind + std::to_string(n) + where);
        Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
        if (QTest::currentTestFailed()) return;
        const int in_search = test_support::FaultsFired();
        const bool listed = Page() == 3;
        report_test::DialogHand hand(dir + "/all");
        if (listed) {
          QCOMPARE(screen_->results().size(), 2);
          screen_->ExportAllEntries();
        } else {
          QVERIFY(Page() == 2 && in_search > 0 && Form()->search_pushButton->isEnabled());
        }
        const bool in_export = test_support::FaultsFired() > in_search;
        screen_->Unload();
        const int fired = test_support::FaultsFired();
        test_support::ClearFaults();
        if (hand.message == "LOG_SAVED_OK") {
          QVERIFY(!in_export || kind == "thread:");
          QVERIFY(report_test::ReadText(dir + "/all.html").contains("2 RESULT(S)"));
        } else if (listed) {
          QCOMPARE(hand.message, QStringLiteral("LOG_SAVE_FAILED"));
          QVERIFY(in_export);
        }
        if (fired == 0) break;
      }
    }
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

  // Days of the month white, days of other months and past the last date grey, the chosen day
  // green; every two neighbouring days share one border line, the chosen day's all green.
  void calendarCells() {
    RecordingCalendar calendar;
    calendar.setFirstDayOfWeek(Qt::Sunday);
    calendar.setMaximumDate(QDate(2024, 5, 24));
    const QDate chosen(2024, 5, 15);
    calendar.setSelectedDate(chosen);
    const QImage image = Grab(&calendar);
    QWidget* cells = calendar.findChild<QTableView*>()->viewport();
    const QPoint offset = cells->mapTo(&calendar, QPoint(0, 0));
    const auto cell = [&](QDate date) { return calendar.cells.value(date).translated(offset); };
    QVERIFY(calendar.cells.contains(QDate(2024, 4, 28)));
    QVERIFY(calendar.cells.contains(QDate(2024, 6, 8)));

    // The day names above, white on blue.
    const QRect first_day = cell(QDate(2024, 4, 28));
    const QRect names(first_day.left(), first_day.top() - 12, first_day.width(), 10);
    QVERIFY(Count(image, names, QColor(0x1e73dc)) > names.width() * names.height() / 2);
    QVERIFY(Count(image, names, Qt::white) > 0);

    const QColor grey_border(0xd8d8d8), green_border(0x78a41f);
    for (QDate date = QDate(2024, 4, 28); date <= QDate(2024, 6, 8); date = date.addDays(1)) {
      const QRect area = cell(date);
      const bool shown = date.month() == 5;
      const QColor fill = date == chosen                                 ? QColor(0xb7e133)
                          : shown && date <= calendar.maximumDate()      ? QColor(0xffffff)
                                                                         : QColor(0xefefef);
      QCOMPARE(QColor(image.pixel(area.topLeft() + QPoint(3, 3))), fill);
      if (shown && date <= calendar.maximumDate() && date != chosen) {
        const QColor text = date.dayOfWeek() == Qt::Sunday ? QColor(0x1e73dc) : QColor(0x191919);
        QVERIFY2(Count(image, area, text) > 0, qPrintable(date.toString()));
      } else if (!shown) {
        QVERIFY2(Count(image, area, QColor(0x696969)) > 0, qPrintable(date.toString()));
      }
      const auto between = [&](QDate other) {
        return other == chosen || date == chosen ? green_border : grey_border;
      };
      // One line to the right neighbour, one to the day below.
      if (date.dayOfWeek() != Qt::Saturday) {
        const QRect right = cell(date.addDays(1));
        const QRect line(area.right() - 2, area.top() + 3, right.left() + 2 - (area.right() - 2) + 1, 1);
        QVERIFY2(Count(image, line, between(date.addDays(1))) == 1, qPrintable(date.toString()));
        QVERIFY2(Count(image, line, grey_border) + Count(image, line, green_border) == 1,
                 qPrintable(date.toString()));
      }
      if (calendar.cells.contains(date.addDays(7))) {
        const QRect below = cell(date.addDays(7));
        const QRect line(area.left() + 3, area.bottom() - 2, 1, below.top() + 2 - (area.bottom() - 2) + 1);
        QVERIFY2(Count(image, line, between(date.addDays(7))) == 1, qPrintable(date.toString()));
        QVERIFY2(Count(image, line, grey_border) + Count(image, line, green_border) == 1,
                 qPrintable(date.toString()));
      }
    }
    // The chosen day's frame is closed, its corners too.
    const QRect frame = FrameOf(image, cell(chosen), green_border);
    QVERIFY(!frame.isEmpty());
    for (int x = frame.left(); x <= frame.right(); ++x) {
      QCOMPARE(QColor(image.pixel(x, frame.top())), green_border);
      QCOMPARE(QColor(image.pixel(x, frame.bottom())), green_border);
    }
    for (int y = frame.top(); y <= frame.bottom(); ++y) {
      QCOMPARE(QColor(image.pixel(frame.left(), y)), green_border);
      QCOMPARE(QColor(image.pixel(frame.right(), y)), green_border);
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

    // Thousands of rows are all there when the search ends; the column widens to the widest
    // title while the GUI thread goes on handling its events.
    QCOMPARE(List()->rowCount(), kManyRuns);
    QTRY_VERIFY_WITH_TIMEOUT(List()->sized(), 60000);
    VerifyRows();
    if (QTest::currentTestFailed()) return;
    // A new search replaces them, in the same list.
    Search(LogsScreen::FirstDate(), QDate::currentDate());
    QCOMPARE(List()->rowCount(), kManyRuns);
    QTRY_VERIFY_WITH_TIMEOUT(List()->sized(), 60000);
    QCOMPARE(Form()->results_page->findChildren<QTableView*>().size(), 1);
    QCOMPARE(Form()->results_page->findChild<QTableView*>(), List());
    VerifyRows();
    // Leaving stops the list and empties it.
    Search(LogsScreen::FirstDate(), QDate::currentDate());
    screen_->OnExit();
    QTest::qWait(50);
    QCOMPARE(List()->rowCount(), 0);
    QVERIFY(List()->sized());
    screen_->OnEnter();
  }

  // The rows are painted where they lie: the number, the icon as it is, the title in the link's
  // colour and underlined under the mouse, which points there.
  void resultRowsArePaintedAsLaidOut() {
    QString log;
    for (int i = 0; i < 3; ++i) log += Run(kDayStart + i * 60, "SUCCESS");
    report_test::WriteDiagnosticsLog(log);
    Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
    LogResultsView* list = List();
    list->resize(600, 200);
    const LogResultRowLayout row = list->RowLayout(1);
    const QImage plain = Grab(list->viewport());
    const QColor link(0, 102, 204);
    QVERIFY(Count(plain, row.title, link) > 0);
    int in_titles = 0;
    for (int i = 0; i < 3; ++i) in_titles += Count(plain, list->RowLayout(i).title, link);
    QCOMPARE(Count(plain, plain.rect(), link), in_titles);
    QVERIFY(Count(plain, row.number, Qt::black) > 0);
    QImage icon(row.icon.size(), QImage::Format_RGB32);
    icon.fill(Qt::white);
    QPainter(&icon).drawPixmap(0, 0, list->Icon(1));
    QCOMPARE(plain.copy(row.icon), icon);

    MoveMouse(list, row.title.center());
    QCOMPARE(list->viewport()->cursor().shape(), Qt::PointingHandCursor);
    const QImage hovered = Grab(list->viewport());
    // The underline: a line of the link's colour below the text.
    QVERIFY(Count(hovered, row.title, link) >= Count(plain, row.title, link) + row.title.width() / 2);
    MoveMouse(list, row.icon.center());
    QCOMPARE(list->viewport()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(Grab(list->viewport()), plain);

    // The title with the keyboard focus is underlined too, and only it.
    controller_->show();
    QApplication::setActiveWindow(controller_);
    QVERIFY(QTest::qWaitForWindowActive(controller_));
    list->setFocus(Qt::OtherFocusReason);
    QVERIFY(list->hasFocus());
    QCOMPARE(list->currentIndex().row(), 0);
    QTest::keyClick(list, Qt::Key_Tab);
    const QImage focused = Grab(list->viewport());
    controller_->hide();
    QCOMPARE(focused.copy(row.title), hovered.copy(row.title));
    const QRect first = list->RowLayout(0).title;
    QCOMPARE(focused.copy(first), plain.copy(first));
  }

  // However many runs a search lists, the list is made of the same widgets.
  void resultRowsMakeNoWidgets() {
    report_test::WriteDiagnosticsLog(Run(kDayNoon, "SUCCESS"));
    Search(QDate(2024, 5, 1), QDate(2024, 5, 1));
    QCOMPARE(screen_->results().size(), 1);
    const qsizetype widgets = screen_->findChildren<QWidget*>().size();
    report_test::WriteDiagnosticsLog(ManyRuns());
    Search(LogsScreen::FirstDate(), QDate::currentDate());
    QCOMPARE(screen_->results().size(), kManyRuns);
    QCOMPARE(screen_->findChildren<QWidget*>().size(), widgets);
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

  // The search cannot end while the event loop does not run: it hands its results over in a
  // blocking call. So the screen is deleted while its search thread is alive, and the thread
  // must be gone once the screen is.
  void deletingDuringSearch() {
    report_test::WriteDiagnosticsLog(ManyRuns());
    for (bool thread_up : {false, true}) {
      auto* screen = new LogsScreen(controller_);
      screen->widgets()->from_dateEdit->setDate(LogsScreen::FirstDate());
      screen->StartLogsRead();
      QString message;
      QVERIFY(screen->isBusy(message));
      if (thread_up) QVERIFY(WaitWithoutEvents([] { return SearchThreads() == 1; }));
      delete screen;
      QVERIFY(WaitWithoutEvents([] { return SearchThreads() == 0; }));
    }
    // Nothing of the deleted searches is delivered later.
    QTest::qWait(50);
    QCOMPARE(SearchThreads(), 0);
    // Nor does the one that lets go of a search's results, as the program's end unloads the screen.
    Search(LogsScreen::FirstDate(), QDate::currentDate());
    const std::weak_ptr<const LogGroupEntry> parsed = screen_->results()[0].source;
    screen_->Unload();
    delete screen_;
    screen_ = nullptr;
    QVERIFY(parsed.expired());
  }

 private:
  static constexpr int kManyRuns = 3000;

  // The running search threads, by the name the screen gives them.
  static int SearchThreads() {
    int count = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
      if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "LogsSearch") ++count;
    }
    return count;
  }

  // Polls without running the event loop, so that no queued call reaches the screen meanwhile.
  static bool WaitWithoutEvents(const std::function<bool()>& done) {
    QDeadlineTimer deadline(20000);
    while (!done()) {
      if (deadline.hasExpired()) return false;
      QThread::yieldCurrentThread();
    }
    return true;
  }

  static QString ManyRuns() {
    QString log;
    for (int i = 0; i < kManyRuns; ++i) log += Run(kDayStart + i, i % 7 ? "SUCCESS" : "FAILED");
    return log;
  }

  // Every row numbered, as wide and as high as the others, its title reached from the previous
  // one by Tab, in the order of the results; the focus given to the list goes to the first.
  void VerifyRows() {
    LogResultsView* list = List();
    QCOMPARE(list->rowCount(), screen_->results().size());
    QCOMPARE(list->currentIndex().row(), 0);
    const int width = list->RowLayout(0).number.width();
    for (int row = 0; row < list->rowCount(); ++row) {
      QCOMPARE(list->NumberText(row), QString::number(row + 1) + QStringLiteral(". "));
      QCOMPARE(list->RowLayout(row).number.width(), width);
      QCOMPARE(list->rowHeight(row), list->rowHeight(0));
      QVERIFY(list->TitleText(row).startsWith(screen_->results()[row].title + " - "));
      if (row > 0) {
        QTest::keyClick(list, Qt::Key_Tab);
        QCOMPARE(list->currentIndex().row(), row);
      }
    }
    // Past the last title, Tab leaves the list; Backtab comes back title by title.
    QTest::keyClick(list, Qt::Key_Tab);
    QCOMPARE(list->currentIndex().row(), list->rowCount() - 1);
    QTest::keyClick(list, Qt::Key_Backtab);
    QCOMPARE(list->currentIndex().row(), list->rowCount() - 2);
    QFocusEvent tab_in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(list, &tab_in);
    QCOMPARE(list->currentIndex().row(), 0);
  }

  static QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

  static int Count(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
      for (int x = inside.left(); x <= inside.right(); ++x) {
        if (image.pixel(x, y) == colour.rgb()) ++count;
      }
    }
    return count;
  }

  // The smallest rectangle around a cell's middle whose edges are all of the colour, near it.
  static QRect FrameOf(const QImage& image, const QRect& cell, const QColor& colour) {
    const int y = cell.top() + 3;
    const int x = cell.left() + 3;
    int left = x, right = x, top = y, bottom = y;
    while (left > cell.left() - 3 && image.pixel(left, y) != colour.rgb()) --left;
    while (right < cell.right() + 3 && image.pixel(right, y) != colour.rgb()) ++right;
    while (top > cell.top() - 3 && image.pixel(x, top) != colour.rgb()) --top;
    while (bottom < cell.bottom() + 3 && image.pixel(x, bottom) != colour.rgb()) ++bottom;
    return QRect(QPoint(left, top), QPoint(right, bottom));
  }

  static void MoveMouse(QAbstractItemView* view, QPoint point) {
    QMouseEvent move(QEvent::MouseMove, point, view->viewport()->mapToGlobal(point), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &move);
  }

  LogsScreenForm* Form() const { return screen_->widgets(); }
  LogResultsView* List() const { return Form()->results_tableWidget; }
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

#include "qtest_logs_screen.moc"
