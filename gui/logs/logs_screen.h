// The previous-logs screen: the user picks a date interval, the diagnostics log is searched on a
// thread of its own, the runs found are listed newest first with their status icons, one entry
// is shown at a time, and one entry or all of them are exported as HTML.
#pragma once

#include <QDate>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <QVector>

#include "gui/logs/html_log_entry.h"
#include "gui/shell/kolv_lite_screen.h"

class LogsReader;
class QPushButton;

namespace Ui {
class LogsScreen;
}  // namespace Ui

// The widgets of the screen, by the names the style sheet and the tests find them by.
using LogsScreenForm = Ui::LogsScreen;

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

  // What the search's reader writes into; it goes away with the reader.
  QVector<HtmlLogEntry>* search_output_;
  QTimer midnight_timer_;
};
