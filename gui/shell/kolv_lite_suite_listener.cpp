#include "gui/shell/kolv_lite_suite_listener.h"

KolvLiteSuiteListener::KolvLiteSuiteListener() : QObject(nullptr) { RegisterKolvLiteMetaTypes(); }

bool KolvLiteSuiteListener::SuiteStarted() {
  emit SuiteStartedSignal();
  return true;
}

void KolvLiteSuiteListener::SuiteFinished() { emit SuiteFinishedSignal(); }

bool KolvLiteSuiteListener::DiagnosticStarted(morva_service::DiagnosticView*) {
  emit DiagStarted();
  return true;
}

void KolvLiteSuiteListener::DiagnosticFinished() { emit DiagFinished(); }

bool KolvLiteSuiteListener::TestStarted(morva_service::TestView*) {
  emit TestStarted();
  return true;
}

void KolvLiteSuiteListener::TestFinished(morva_service::TestStatus status) {
  emit TestFinished(&status);
}

bool KolvLiteSuiteListener::SystemComponentStarted() {
  emit SystemComponentStartedSignal();
  return true;
}

bool KolvLiteSuiteListener::SystemComponentRunStarted(int, morva_service::SystemComponentView*) {
  return true;
}

void KolvLiteSuiteListener::SystemComponentFinished(std::string code) {
  emit SystemComponentFinished(&code);
}

void KolvLiteSuiteListener::SystemComponentRunFinished(std::string) {}

void KolvLiteSuiteListener::Message(std::string) {}
