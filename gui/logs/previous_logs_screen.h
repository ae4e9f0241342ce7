// The previous-logs screen: the user picks a date interval, the diagnostics log is searched on a
// thread of its own, the runs found are listed newest first with their status icons, one entry
// is shown at a time, and one entry or all of them are exported as HTML.
#pragma once

#include <QDate>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVector>

#include "gui/logs/html_log_entry.h"
#include "gui/shell/kolv_lite_screen.h"

class KolvLiteCalendar;
class LogResultsView;
class LogsReader;
class QDateEdit;
class QFrame;
class QHBoxLayout;
class QPushButton;
class QStackedWidget;
class QTextEdit;
class QThread;
class QVBoxLayout;

// The widgets of the screen, by the names the style sheet and the tests find them by.
struct LogsScreenForm {
  QVBoxLayout* main_layout;
  QLabel* top_log_selection_label;
  QLabel* label;
  QFrame* controls_frame;
  QFrame* inner_control_frame;
  QLabel* from_label;
  QDateEdit* from_dateEdit;
  KolvLiteCalendar* from_calendar;
  QLabel* to_label;
  QDateEdit* to_dateEdit;
  KolvLiteCalendar* to_calendar;
  QPushButton* search_pushButton;
  QWidget* log_entry_navigator_container_widget;
  QPushButton* previous_entry_pushButton;
  QPushButton* next_entry_pushButton;
  QLabel* log_entry_index_label;
  QStackedWidget* logs_stackedWidget;
  QWidget* empty_page;
  QWidget* loading_page;
  QLabel* loading_label;
  QWidget* status_page;
  QFrame* log_status_frame;
  QLabel* log_status_label;
  QWidget* results_page;
  QLabel* results_label;
  LogResultsView* results_tableWidget;
  QWidget* log_entries_page;
  QFrame* log_entry_header_frame;
  QLabel* log_entry_header_label;
  QTextEdit* log_entry_textEdit;
};

class LogsScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  enum Page { kEmptyPage = 0, kLoadingPage = 1, kStatusPage = 2, kResultsPage = 3, kEntryPage = 4 };

  explicit LogsScreen(KolvLiteController* controller);
  ~LogsScreen() override;

  // The first date the pickers offer; searching from it searches the whole log.
  static QDate FirstDate();

  const QVector<HtmlLogEntry>& results() const { return entries; }
  int current() const { return current_entry; }
  LogsScreenForm* widgets() const { return form; }
  QPushButton* back() const { return back_button; }
  QPushButton* back_to_results() const { return back_to_results_button; }
  QPushButton* export_entry() const { return export_entry_button; }
  QPushButton* export_all() const { return export_all_button; }

 public slots:
  void OnEnter() override;
  void OnExit() override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void Unload() override;

  void OnReadAborted();
  void DateChanged();
  void OnSearchFinished();
  void GoToEntriesList();
  void ExportAllEntries();
  void SetPageState(int page);
  void ExportCurrentEntry();
  void DisplayLogEntry(int index);
  void DisplayNextEntry();
  void DisplayPreviousEntry();
  void LogEntryFocusChange(int row);
  void OnEntryClicked(int row);
  void DisplayLogSearchResults();
  void NoLogsFoundOnInterval();
  void LogFileNotFound();
  void StartLogsRead();
  // Lets the pickers reach the new day; runs by itself at every local midnight.
  void RefreshMaximumDate();

 private:
  void BuildForm();
  void ClearResults();
  // True when the signal being handled comes from the search under way.
  bool FromCurrentSearch();
  // The search is over: controls back, buttons back, Stopped when it was asked for.
  void EndSearch();
  // Leaves a running search to end by itself; nothing of it reaches the screen any more.
  void AbandonSearch();
  void ArmMidnightTimer();

  QPushButton* back_button;
  QPushButton* back_to_results_button;
  QPushButton* export_entry_button;
  QPushButton* export_all_button;
  QVector<HtmlLogEntry> entries;
  int current_entry;
  bool searching;
  bool stop_requested;
  LogsReader* reader;
  LogsScreenForm* form;

  // The search's thread and what its reader writes into; both go away with the reader.
  QPointer<QThread> search_thread_;
  QVector<HtmlLogEntry>* search_output_;
  QTimer midnight_timer_;
};
