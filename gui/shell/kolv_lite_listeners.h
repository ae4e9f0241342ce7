// The engine's suite and test callbacks turned into Qt signals. The callbacks arrive on the
// thread that runs the suite (the worker). TestFinished, SystemComponentFinished and
// TestInteracted carry pointers to data that lives only until the callback returns, so a
// receiver on another thread must connect them with Qt::BlockingQueuedConnection.
#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "gui/shell/kolv_lite_meta_types.h"
#include "morva_service/listeners.h"

class KolvLiteSuiteListener : public QObject, public morva_service::SuiteListenerView {
  Q_OBJECT

 public:
  KolvLiteSuiteListener();

  bool SuiteStarted() override;
  void SuiteFinished() override;
  bool DiagnosticStarted(morva_service::DiagnosticView* diagnostic) override;
  void DiagnosticFinished() override;
  bool TestStarted(morva_service::TestView* test) override;
  void TestFinished(morva_service::TestStatus status) override;
  bool SystemComponentStarted() override;
  bool SystemComponentRunStarted(int run, morva_service::SystemComponentView* device) override;
  void SystemComponentFinished(std::string code) override;
  void SystemComponentRunFinished(std::string result) override;
  void Message(std::string text) override;

 signals:
  // The callbacks SuiteStarted, SuiteFinished and SystemComponentStarted take the plain names.
  void SuiteStartedSignal();
  void SuiteFinishedSignal();
  void SystemComponentStartedSignal();
  void SystemComponentFinished(std::string* code);
  void DiagStarted();
  void DiagFinished();
  void TestStarted();
  void TestFinished(morva_service::TestStatus* status);
};

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
