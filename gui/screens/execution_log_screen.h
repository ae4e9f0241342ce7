// The last screen of a diagnostics flow: the log of each iteration of the run just finished,
// read back from the diagnostics log, one page per iteration, and the export of the page shown.
// The bad-sector tool's log screen derives from it and replaces the read and the export.
#pragma once

#include <QString>
#include <QVector>

#include "gui/logs/html_log_entry.h"
#include "gui/shell/kolv_lite_screen.h"

class LogsReader;
class QKeyEvent;
class QPushButton;
class QTextEdit;
class QThread;

namespace Ui {
class ExecutionLogScreen;
}

class ExecutionLogScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  explicit ExecutionLogScreen(KolvLiteController* controller);
  ~ExecutionLogScreen() override;

  // A single page for a subclass's own report: hides the iteration arrows, shows the export
  // button and returns the page, which the screen owns.
  QTextEdit* CreateTextEditAreaForSingleIteration();

 public slots:
  void OnEnter() override;
  void OnExit() override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void Unload() override;

  // Starts reading the run's groups; the pages are built when the read reports.
  virtual void ReadExecutionLog();
  virtual void ExportLogAction();

  void ExportLog();
  void UpdateIterationButtons();
  void NextIteration();
  void PreviousIteration();
  void BuildLogEntries();
  void NoLogsFoundInInterval();
  void LogFileNotFound();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

  bool stop_requested;
  LogsReader* reader;
  QPushButton* back_button;
  QPushButton* export_button;
  Ui::ExecutionLogScreen* form;
  QVector<HtmlLogEntry> entries;

 private slots:
  void ReadAborted();

 private:
  void BuildForm();
  QTextEdit* NewPage(bool wrap);
  void ShowStatus(const char* key);
  void SetIterationWidgetsVisible(bool visible);
  // Ends a read that is still going: its results are dropped and it is freed on its thread.
  void AbandonRead();
  // True when the signal comes from the read under way (and not from an abandoned one).
  bool FromCurrentRead();
  void ReadEnded();
  // The page of the iteration, or of the first later one that has a page; the last page when
  // none has; 0 without pages.
  int PageOfIteration(int iteration) const;
  // Shows an iteration's page and makes its iteration the context's current one.
  void ShowPage(int page);

  QThread* read_thread_;
  QVector<HtmlLogEntry>* read_output_;
  bool read_pending_;
  // The iteration (0-based) of each entry page, in page order.
  QVector<int> page_iterations_;
};
