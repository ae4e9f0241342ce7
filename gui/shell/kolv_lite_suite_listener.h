// The engine's suite callbacks turned into Qt signals. The callbacks arrive on the thread that
// runs the suite (the worker). TestFinished and SystemComponentFinished carry pointers to data
// that lives only until the callback returns, so a receiver on another thread must connect them
// with Qt::BlockingQueuedConnection.
#pragma once

#include <QObject>
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
