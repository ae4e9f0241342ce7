// The last screen of each of the tool's flows: the report of the last run, and its export.
#pragma once

#include <QString>

#include "gui/screens/execution_log_screen.h"

class MdrExecutionLogScreen : public ExecutionLogScreen {
  Q_OBJECT

 public:
  explicit MdrExecutionLogScreen(KolvLiteController* controller);
  ~MdrExecutionLogScreen() override;

  QString html() const { return html_; }

 public slots:
  void ReadExecutionLog() override;
  void ExportLogAction() override;

 private:
  QString html_;
};
