#include "gui/logs/logs_screen.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QThread>
#include <QTime>
#include <ctime>

#include "gui/logs/html_generator.h"
#include "gui/logs/kolv_lite_calendar.h"
#include "gui/logs/log_results_model.h"
#include "gui/logs/log_results_view.h"
#include "gui/logs/logs_reader.h"
#include "gui/logs/logs_screen_form.h"
#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"

namespace {

// The entry pager's word, in the program's context.
constexpr char kEntry[] = "ENTRY";

constexpr char kDefaultFileName[] = "kolv_lite_log.html";

constexpr ActionButtonSize kButtonSize = ActionButtonSize::kAtLeastStandard;

// Groups keyed earlier than any real run; a search from the first date starts here, so that it
// covers the whole log whatever the time zone.
qint64 EarliestSecond() {
  return QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
}

// Milliseconds until the next local midnight, a little after it.
int MillisecondsToMidnight() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDateTime midnight = QDate::currentDate().addDays(1).startOfDay();
  const qint64 left = now.msecsTo(midnight) + 1000;
  return static_cast<int>(qBound<qint64>(1000, left, 25LL * 3600 * 1000));
}

}  // namespace

// --- LogsScreen --------------------------------------------------------------------------------

LogsScreen::LogsScreen(KolvLiteController* screen_controller)
    : KolvLiteScreen(screen_controller),
      back_button(
          MakeActionButton(TranslationKeys::BACK, TranslationKeys::BACK_TOOLTIP, kButtonSize)),
      back_to_results_button(MakeActionButton(
          TranslationKeys::BACK_TO_RESULTS, TranslationKeys::BACK_TO_RESULTS_TOOLTIP, kButtonSize)),
      export_entry_button(MakeActionButton(TranslationKeys::EXPORT_ENTRY,
                                           TranslationKeys::EXPORT_ENTRY_TOOLTIP, kButtonSize)),
      export_all_button(MakeActionButton(TranslationKeys::EXPORT_ALL_ENTRIES,
                                         TranslationKeys::EXPORT_ALL_ENTRIES_TOOLTIP,
                                         kButtonSize)),
      current_entry(0),
      searching(false),
      stop_requested(false),
      reader(nullptr),
      form(new LogsScreenForm),
      search_output_(nullptr) {
  BuildForm();
  connect(back_button, &QPushButton::clicked, controller,
          &KolvLiteController::GoToBackgroundFlowScreen);
  connect(back_to_results_button, &QPushButton::clicked, this, &LogsScreen::GoToEntriesList);
  connect(export_entry_button, &QPushButton::clicked, this, &LogsScreen::ExportCurrentEntry);
  connect(export_all_button, &QPushButton::clicked, this, &LogsScreen::ExportAllEntries);
  connect(form->from_dateEdit, &QDateEdit::dateChanged, this, &LogsScreen::DateChanged);
  connect(form->to_dateEdit, &QDateEdit::dateChanged, this, &LogsScreen::DateChanged);
  connect(form->search_pushButton, &QPushButton::clicked, this, &LogsScreen::StartLogsRead);
  connect(form->previous_entry_pushButton, &QPushButton::clicked, this,
          &LogsScreen::DisplayPreviousEntry);
  connect(form->next_entry_pushButton, &QPushButton::clicked, this,
          &LogsScreen::DisplayNextEntry);
  connect(form->logs_stackedWidget, &QStackedWidget::currentChanged, this,
          &LogsScreen::SetPageState);

  midnight_timer_.setSingleShot(true);
  connect(&midnight_timer_, &QTimer::timeout, this, &LogsScreen::RefreshMaximumDate);
  ArmMidnightTimer();
  SetPageState(kEmptyPage);
}

LogsScreen::~LogsScreen() {
  midnight_timer_.stop();
  if (reader != nullptr) {
    disconnect(reader, nullptr, this, nullptr);
    reader->AbortRead();
  }
  // No thread of the screen outlives it: not a search, one left behind, nor the release of the
  // results that the program's end starts as it unloads the screen. A search may wait in a
  // blocking call to this screen: such calls are dropped until it has ended. Each reader goes with
  // its thread's end, and the threads with the screen.
  for (QThread* thread : findChildren<QThread*>(Qt::FindDirectChildrenOnly)) {
    thread->quit();
    while (!thread->wait(QDeadlineTimer(10))) {
      QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    }
  }
  for (QPushButton* button :
       {back_button, back_to_results_button, export_entry_button, export_all_button}) {
    if (controller != nullptr) controller->RemoveAndHideActionWidget(button);
    delete button;
  }
  // The list outlives the entries it reads: it lets them go first.
  form->results_tableWidget->SetEntries(nullptr);
  delete form;
}

QDate LogsScreen::FirstDate() { return QDate(1970, 1, 1); }

void LogsScreen::BuildForm() {
  setObjectName(QStringLiteral("LogsScreen"));
  setAttribute(Qt::WA_StyledBackground, true);
  form->setupUi(this);
  // A layout's own alignment has no place in the form file.
  form->status_page->layout()->setAlignment(Qt::AlignTop);
  // The pickers offer the days up to today, and open on it.
  for (QDateEdit* edit : {form->from_dateEdit, form->to_dateEdit}) {
    edit->setCalendarWidget(new KolvLiteCalendar(edit));
    edit->setMinimumDate(FirstDate());
    edit->setMaximumDate(QDate::currentDate());
    edit->setDate(QDate::currentDate());
  }
  connect(form->results_tableWidget, &LogResultsView::TitleClicked, this,
          &LogsScreen::OnEntryClicked);
  connect(form->results_tableWidget, &LogResultsView::TitleFocused, this,
          &LogsScreen::LogEntryFocusChange);
}

void LogsScreen::ArmMidnightTimer() { midnight_timer_.start(MillisecondsToMidnight()); }

void LogsScreen::RefreshMaximumDate() {
  const QDate today = QDate::currentDate();
  // Raising the maximum keeps the dates chosen; the calendars follow their edits.
  form->from_dateEdit->setMaximumDate(today);
  form->to_dateEdit->setMaximumDate(today);
  ArmMidnightTimer();
}

void LogsScreen::OnEnter() {
  controller->AddActionWidget(back_to_results_button);
  controller->AddActionWidget(back_button);
  controller->AddActionWidget(export_all_button);
  controller->AddActionWidget(export_entry_button);
  const QDate today = QDate::currentDate();
  for (QDateEdit* edit : {form->from_dateEdit, form->to_dateEdit}) {
    edit->setMaximumDate(today);
    edit->setDate(today);
  }
  ArmMidnightTimer();
  if (form->logs_stackedWidget->currentIndex() == kEmptyPage) {
    SetPageState(kEmptyPage);
  } else {
    form->logs_stackedWidget->setCurrentIndex(kEmptyPage);
  }
  controller->ShowHomeButton();
  controller->ShowActionBar();
  controller->HideBreadcrumb();
  controller->HideModuleName();
  loaded = true;
}

void LogsScreen::OnExit() {
  for (QPushButton* button :
       {back_to_results_button, back_button, export_all_button, export_entry_button}) {
    controller->RemoveAndHideActionWidget(button);
  }
  // A search still going would write results for a screen no longer shown.
  AbandonSearch();
  ClearResults();
}

bool LogsScreen::isBusy(QString&) { return searching; }

void LogsScreen::Stop() {
  stop_requested = true;
  if (!searching || reader == nullptr) {
    emit Stopped(this);
    return;
  }
  // The search reports the abort at its next group; Stopped follows that report.
  reader->AbortRead();
}

void LogsScreen::Unload() {
  ClearResults();
  loaded = false;
}

void LogsScreen::ClearResults() {
  // The list stops reading the entries before they go.
  form->results_tableWidget->SetEntries(nullptr);
  // The parsed log behind the entries takes tens of milliseconds to free: another thread does,
  // or this one when no thread can start. (A pool would keep a task whose thread could not start
  // for good, and wait for it at the program's end.)
  if (!entries.isEmpty()) {
    QThread* release = QThread::create([released = std::move(entries)]() mutable {
      released.clear();
    });
    release->setParent(this);
    connect(release, &QThread::finished, release, &QObject::deleteLater);
    release->start();
    if (!release->isRunning() && !release->isFinished()) delete release;
  }
  entries.clear();
  current_entry = 0;
  form->log_entry_textEdit->clear();
}

void LogsScreen::DateChanged() {
  const QDate from = form->from_dateEdit->date();
  const QDate to = form->to_dateEdit->date();
  form->search_pushButton->setEnabled(from <= to && from >= FirstDate());
}

void LogsScreen::StartLogsRead() {
  if (searching) return;
  const QDate from = form->from_dateEdit->date();
  const QDate to = form->to_dateEdit->date();
  if (from > to || from < FirstDate()) return;
  ClearResults();

  // The reader fills a list of its own, which the screen takes over while the search thread
  // waits; the screen's list is never written from two threads.
  auto* output = new QVector<HtmlLogEntry>;
  if (from == FirstDate()) {
    reader = new LogsReader(static_cast<time_t>(EarliestSecond()),
                            static_cast<time_t>(LogsReader::LastSecondOf(to).toSecsSinceEpoch()),
                            output, 1, true, true);
  } else {
    reader = new LogsReader(from, to, output, 1, true, true);
  }
  search_output_ = output;
  connect(reader, &QObject::destroyed, [output] { delete output; });

  auto* thread = new QThread(this);
  thread->setObjectName(QStringLiteral("LogsSearch"));
  reader->moveToThread(thread);
  connect(reader, &LogsReader::NoLogsFoundOnInterval, this, &LogsScreen::NoLogsFoundOnInterval);
  connect(reader, &LogsReader::LogFileNotFound, this, &LogsScreen::LogFileNotFound);
  connect(reader, &LogsReader::LogResultsFound, this, &LogsScreen::DisplayLogSearchResults,
          Qt::BlockingQueuedConnection);
  connect(reader, &LogsReader::ReadAborted, this, &LogsScreen::OnReadAborted);
  connect(reader, &LogsReader::ReadFinished, this, &LogsScreen::OnSearchFinished);
  connect(reader, &LogsReader::LogFileNotFound, thread, &QThread::quit);
  connect(reader, &LogsReader::ReadFinished, thread, &QThread::quit);
  connect(reader, &LogsReader::ReadAborted, thread, &QThread::quit);
  connect(thread, &QThread::started, reader, &LogsReader::StartRead);
  connect(thread, &QThread::finished, reader, &QObject::deleteLater);
  connect(thread, &QThread::finished, thread, &QObject::deleteLater);

  form->search_pushButton->setEnabled(false);
  form->from_dateEdit->setEnabled(false);
  form->to_dateEdit->setEnabled(false);
  form->logs_stackedWidget->setCurrentIndex(kLoadingPage);
  controller->HideHomeButton();
  controller->HideGlobalButtons();
  searching = true;
  thread->start(QThread::InheritPriority);
  if (thread->isRunning() || thread->isFinished()) return;
  // A thread that could not start never reports: the search found nothing, and its reader and
  // list go here.
  delete reader;
  delete thread;
  form->log_status_label->setText(KolvLiteTranslate(TranslationKeys::NO_LOGS_FOUND_ON_INTERVAL));
  form->logs_stackedWidget->setCurrentIndex(kStatusPage);
  EndSearch();
}

bool LogsScreen::FromCurrentSearch() { return reader != nullptr && sender() == reader; }

void LogsScreen::EndSearch() {
  form->search_pushButton->setEnabled(true);
  form->from_dateEdit->setEnabled(true);
  form->to_dateEdit->setEnabled(true);
  DateChanged();
  controller->ShowHomeButton();
  controller->ShowGlobalButtons();
  searching = false;
  reader = nullptr;
  search_output_ = nullptr;
  if (stop_requested) emit Stopped(this);
}

void LogsScreen::AbandonSearch() {
  if (!searching || reader == nullptr) return;
  disconnect(reader, nullptr, this, nullptr);
  reader->AbortRead();
  form->logs_stackedWidget->setCurrentIndex(kEmptyPage);
  EndSearch();
}

void LogsScreen::DisplayLogSearchResults() {
  if (!FromCurrentSearch()) return;
  // The search thread waits in this call, so its list can be taken over here.
  if (search_output_ != nullptr) {
    entries = std::move(*search_output_);
    search_output_->clear();
  }
  setFocus();
  form->logs_stackedWidget->setCurrentIndex(kResultsPage);
  form->results_label->setText(QString::number(entries.size()) + QLatin1Char(' ') +
                               KolvLiteTranslate(TranslationKeys::RESULTS));

  form->results_tableWidget->SetEntries(&entries);
}

void LogsScreen::OnEntryClicked(int row) {
  if (row < 0 || row >= entries.size()) return;
  current_entry = row;
  DisplayLogEntry(current_entry);
}

void LogsScreen::LogEntryFocusChange(int row) {
  LogResultsView* list = form->results_tableWidget;
  if (row < 0 || row >= list->rowCount()) return;
  list->scrollTo(list->model()->index(row, 0));
}

void LogsScreen::DisplayLogEntry(int index) {
  if (index < 0 || index >= entries.size()) return;
  current_entry = index;
  const HtmlLogEntry& entry = entries[index];
  form->logs_stackedWidget->setCurrentIndex(kEntryPage);
  form->log_entry_navigator_container_widget->show();
  form->log_entry_header_label->setText(LogResultsModel::TitleText(entry));
  form->log_entry_index_label->setText(KolvLiteTranslate(kEntry) + QStringLiteral(": ") +
                                       KolvLitePositionOf(index + 1, entries.size()));
  form->log_entry_textEdit->setHtml(HtmlGenerator().EntryBody(entry));
  form->log_entry_textEdit->setEnabled(true);
  form->previous_entry_pushButton->setEnabled(index != 0);
  form->next_entry_pushButton->setEnabled(index != entries.size() - 1);
}

void LogsScreen::DisplayNextEntry() {
  if (current_entry + 1 >= entries.size()) return;
  DisplayLogEntry(current_entry + 1);
}

void LogsScreen::DisplayPreviousEntry() {
  if (current_entry <= 0) return;
  DisplayLogEntry(current_entry - 1);
}

void LogsScreen::GoToEntriesList() { form->logs_stackedWidget->setCurrentIndex(kResultsPage); }

void LogsScreen::SetPageState(int page) {
  const bool background = controller != nullptr && controller->HasBackgroundFlowScreen();
  const bool idle_page = page == kEmptyPage || page == kStatusPage || page == kResultsPage;
  back_button->setVisible(idle_page && background);
  back_to_results_button->setVisible(page == kEntryPage);
  export_entry_button->setVisible(page == kEntryPage);
  export_all_button->setVisible(page == kResultsPage);
  form->log_entry_navigator_container_widget->setVisible(page == kEntryPage);
  form->log_entry_index_label->setVisible(page == kEntryPage);
}

void LogsScreen::ExportCurrentEntry() {
  if (current_entry < 0 || current_entry >= entries.size()) return;
  HtmlGenerator generator;
  generator.ExportLogEntry(entries[current_entry], current_entry,
                           QLatin1String(kDefaultFileName),
                           QLatin1String(TranslationKeys::LOG_SAVED_HEADER),
                           QLatin1String(TranslationKeys::LOG_SAVED_OK),
                           QLatin1String(TranslationKeys::ERROR),
                           QLatin1String(TranslationKeys::LOG_SAVE_FAILED));
  form->log_entry_textEdit->setFocus();
}

void LogsScreen::ExportAllEntries() {
  if (entries.isEmpty()) return;
  HtmlGenerator generator;
  generator.ExportAllLogEntries(entries, QLatin1String(kDefaultFileName),
                                QLatin1String(TranslationKeys::LOG_SAVED_HEADER),
                                QLatin1String(TranslationKeys::LOG_SAVED_OK),
                                QLatin1String(TranslationKeys::ERROR),
                                QLatin1String(TranslationKeys::LOG_SAVE_FAILED));
  form->results_tableWidget->setFocus();
}

void LogsScreen::NoLogsFoundOnInterval() {
  if (!FromCurrentSearch()) return;
  form->log_status_label->setText(KolvLiteTranslate(TranslationKeys::NO_LOGS_FOUND_ON_INTERVAL));
  form->logs_stackedWidget->setCurrentIndex(kStatusPage);
  ClearResults();
  // The search ends with the ReadFinished that follows.
}

void LogsScreen::LogFileNotFound() {
  if (!FromCurrentSearch()) return;
  ClearResults();
  form->log_status_label->setText(KolvLiteTranslate(TranslationKeys::LOG_FILE_NOT_FOUND));
  form->logs_stackedWidget->setCurrentIndex(kStatusPage);
  EndSearch();
}

void LogsScreen::OnSearchFinished() {
  if (!FromCurrentSearch()) return;
  EndSearch();
}

void LogsScreen::OnReadAborted() {
  if (!FromCurrentSearch()) return;
  ClearResults();
  form->logs_stackedWidget->setCurrentIndex(kEmptyPage);
  EndSearch();
}
