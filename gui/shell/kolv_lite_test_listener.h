// The engine's test callbacks turned into Qt signals. The callbacks arrive on the thread that runs
// the suite (the worker). TestInteracted carries a pointer to a request that lives only until the
// callback returns, so a receiver on another thread must connect it with
// Qt::BlockingQueuedConnection.
#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "gui/shell/kolv_lite_meta_types.h"
#include "morva_service/listeners.h"

class KolvLiteTestListener : public QObject, public morva_service::TestListenerView {
  Q_OBJECT

 public:
  KolvLiteTestListener();

  void ProgressUpdated(int percent, std::string text) override;
  // The answer is in the request when this returns, provided TestInteracted is connected
  // blocking queued (or direct) to whatever shows the dialog.
  void Interact(InputRequest* request) override;
  // The GUI answers requests itself, with a dialog.
  bool IsInteractive() override;
  int progress() override;
  std::string message() override;
  void ClearMessage() override;

 signals:
  void ProgressUpdated(int percent, QString text);
  void TestInteracted(InputRequest* request);
};
